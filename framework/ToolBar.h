// The toolbar on the comctl32 toolbar control: one image strip from a
// bitmap resource, buttons given by command id, and the button states that
// the update handlers set (a button is touched only when its state changes).
#pragma once
#include "ControlBar.h"
#include <vector>

// Button styles as GetButtonInfo reports them: the control's style in the
// low word (a separator's is TBBS_SEPARATOR), its state in the high word.
#define TBBS_SEPARATOR 0x0001u

class CToolBar : public CControlBar {
    DECLARE_DYNAMIC(CToolBar)
public:
    CToolBar() = default;
    ~CToolBar() override;

    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT nID = AFX_IDW_TOOLBAR);
    // Button size (image plus frame) and image size in pixels.
    void SetSizes(SIZE sizeButton, SIZE sizeImage);
    // The image strip: bitmap resource nIDResource, images side by side.
    BOOL LoadBitmap(UINT nIDResource);
    // Buttons in order; ID_SEPARATOR makes a separator. Button k (counting
    // buttons only) shows image k.
    BOOL SetButtons(const UINT* lpIDArray, int nIDCount);

    int GetCount() const { return int(m_buttons.size()); }
    UINT GetItemID(int nIndex) const;
    // By position, separators included.
    void GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const;
    void SetButtonInfo(int nIndex, UINT nID, UINT nStyle, int iImage);
    UINT GetButtonStyle(int nIndex) const;

    int CalcHeight() override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHandler) override;
    HWND GetToolTipWindow() const override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Changes the state bits of one button (TBSTATE_ENABLED,
    // TBSTATE_CHECKED); sends nothing when they already have those values.
    void SetButtonState(int nIndex, BYTE fsMask, BYTE fsState);

private:
    struct Button {
        UINT nID;
        BYTE fsStyle;
        BYTE fsState;   // the enabled and checked bits last set
        int iImage;
    };
    void ShowFlyBy(UINT nID);

    std::vector<Button> m_buttons;
    SIZE m_sizeButton = {23, 22};
    SIZE m_sizeImage = {16, 15};
    HBITMAP m_hbmImages = nullptr;
    UINT m_nFlyByID = 0;
    BOOL m_bTrackingLeave = FALSE;
};

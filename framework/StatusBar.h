// The status bar on the comctl32 status control: panes given by indicator
// ids, the first separator pane stretching without borders, the others as
// wide as their strings. Pane texts are sent only when they change.
#pragma once
#include "ControlBar.h"
#include <string>
#include <vector>

#define SBPS_NORMAL    0x0000u
#define SBPS_NOBORDERS 0x0100u
#define SBPS_POPOUT    0x0200u
#define SBPS_DISABLED  0x04000000u
#define SBPS_STRETCH   0x08000000u

class CStatusBar : public CControlBar {
    DECLARE_DYNAMIC(CStatusBar)
public:
    CStatusBar() = default;

    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT nID = AFX_IDW_STATUS_BAR);
    // One pane per id: ID_SEPARATOR makes a stretching pane without
    // borders; any other id's string gives the pane its width and its
    // first text.
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);

    int GetCount() const { return int(m_panes.size()); }
    UINT GetItemID(int nIndex) const;
    BOOL SetPaneText(int nIndex, const char* lpszNewText, BOOL bUpdate = TRUE);
    std::string GetPaneText(int nIndex) const;
    UINT GetPaneStyle(int nIndex) const;
    void SetPaneStyle(int nIndex, UINT nStyle);

    int CalcHeight() override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHandler) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct Pane {
        UINT nID;
        UINT nStyle;
        int cxText;         // width of the pane's text area
        std::string text;   // the text (shown unless the pane is disabled)
    };
    void ShowPane(int nIndex);   // sends the pane's text and style
    void UpdatePartEdges(int cxClient);

    std::vector<Pane> m_panes;
    std::vector<int> m_edges;   // the part edges last sent
};

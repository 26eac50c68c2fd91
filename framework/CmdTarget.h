// Objects that receive commands through a command map, and the object that
// update handlers use to set the state of a menu item, toolbar button or
// status-bar pane.
#pragma once
#include "MsgMap.h"
#include "Object.h"

// Filled by OnCmdMsg when a caller only asks whether a handler exists.
struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget;
};

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;

    // Routes command nID (nCode CN_COMMAND, or CN_UPDATE_COMMAND_UI with
    // pExtra the CCmdUI*) through this object's map chain. With
    // pHandlerInfo set, only reports whether a handler exists. TRUE when
    // handled.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    // The hourglass cursor while a long operation runs. Calls nest.
    void BeginWaitCursor();
    void EndWaitCursor();

    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

protected:
    // Finds the entry for a window message in the map chain.
    static const AFX_MSGMAP_ENTRY* FindMessageEntry(const AFX_MSGMAP* pMap, UINT nMessage);
};

// The state of one user-interface element during an update pass. The base
// class is the menu-item form (m_hMenu set); toolbars and status bars
// derive their own forms.
class CCmdUI {
public:
    CCmdUI() = default;
    virtual ~CCmdUI() = default;

    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1);   // 0 clear, 1 checked, 2 indeterminate
    virtual void SetText(const char* lpszText);

    // Asks pTarget's update handler; when there is none and
    // bDisableIfNoHandler is set, enables the element only if some command
    // handler for it exists. Returns TRUE when an update handler ran.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHandler);

    UINT m_nID = 0;
    UINT m_nIndex = 0;          // position in the menu or bar
    HMENU m_hMenu = nullptr;    // menu items only
    CWnd* m_pOther = nullptr;   // the bar for bar elements
    BOOL m_bEnableChanged = FALSE;
};

// A view: the child window inside a frame that shows a document. Paints
// through OnDraw and receives commands before its document.
#pragma once
#include "Wnd.h"

class CView : public CWnd {
    DECLARE_DYNAMIC(CView)
public:
    ~CView() override;
    CDocument* GetDocument() const { return m_pDocument; }

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    virtual void OnDraw(CDC* pDC) = 0;
    virtual void OnInitialUpdate();
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);

    int OnCreate(LPCREATESTRUCT lpcs);
    void OnPaint();

protected:
    CView() = default;
    void PostNcDestroy() override { delete this; }

    CDocument* m_pDocument = nullptr;
    friend class CDocument;
    DECLARE_MESSAGE_MAP()
};

// A document: the data that views show. Deletes itself when its last view
// goes away (unless m_bAutoDelete is cleared).
#pragma once
#include "CmdTarget.h"
#include <string>
#include <vector>

class CView;
class CDocTemplate;

class CDocument : public CCmdTarget {
    DECLARE_DYNAMIC(CDocument)
public:
    ~CDocument() override;

    void AddView(CView* pView);
    void RemoveView(CView* pView);
    const std::string& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(const char* lpszTitle) { m_strTitle = lpszTitle ? lpszTitle : ""; }

    // Initialises an empty document; FALSE when that fails.
    virtual BOOL OnNewDocument();
    virtual void DeleteContents() {}
    virtual void OnCloseDocument();

    BOOL m_bAutoDelete = TRUE;
    CDocTemplate* m_pDocTemplate = nullptr;

protected:
    CDocument() = default;
    std::vector<CView*> m_viewList;
    std::string m_strTitle;
    DECLARE_MESSAGE_MAP()
};

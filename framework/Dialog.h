// Modal dialogs from dialog templates, run with the system's modal loop.
#pragma once
#include "Wnd.h"

class CDataExchange {
public:
    explicit CDataExchange(BOOL bSaveAndValidate) : m_bSaveAndValidate(bSaveAndValidate) {}
    BOOL m_bSaveAndValidate;   // TRUE: controls to members; FALSE: members to controls
};

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    // With no parent the owner is the main window.
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Runs the dialog; returns the code given to EndDialog, or -1 when the
    // template could not be loaded.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);
    // Exchanges data through DoDataExchange; FALSE when that fails.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    virtual BOOL OnInitDialog();   // TRUE: the system sets the focus
    virtual void OnOK();
    virtual void OnCancel();
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    virtual void DoDataExchange(CDataExchange*) {}
    friend INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM);

    UINT m_nIDHelp;
    CWnd* m_pParentWnd;
    DECLARE_MESSAGE_MAP()
};

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

#include "Dialog.h"
#include "WinApp.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDHelp(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog()
{
    if (m_hWnd && !m_bTemporary) {
        HWND h = Detach();
        if (::IsWindow(h))
            ::DestroyWindow(h);
    }
}

INT_PTR CDialog::DoModal()
{
    HWND hOwner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!hOwner) {
        CWnd* pMain = AfxGetMainWnd();
        hOwner = pMain ? pMain->m_hWnd : nullptr;
    }
    AFX_WND_STATE& st = AfxGetWndState();
    CWnd* pOldInit = st.pWndInit;
    st.pWndInit = nullptr;
    INT_PTR result = ::DialogBoxParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIDHelp), hOwner, &AfxDlgProc,
                                       reinterpret_cast<LPARAM>(this));
    st.pWndInit = pOldInit;
    if (m_hWnd)
        Detach();
    return result;
}

void CDialog::EndDialog(int nResult) { ::EndDialog(m_hWnd, nResult); }

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(bSaveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (CException* e) {
        e->Delete();
        return FALSE;
    }
    return TRUE;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

LRESULT CDialog::DefWindowProc(UINT, WPARAM, LPARAM)
{
    return 0;   // the dialog manager does the default processing
}

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CDialog* pDlg = nullptr;
    if (message == WM_INITDIALOG) {
        pDlg = reinterpret_cast<CDialog*>(lParam);
        pDlg->Attach(hWnd);
        return pDlg->OnInitDialog();
    }
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (!pWnd || !pWnd->IsKindOf(RUNTIME_CLASS(CDialog)))
        return FALSE;
    pDlg = static_cast<CDialog*>(pWnd);
    switch (message) {
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
        if (HBRUSH hbr = AfxDialogColours(HDC(wParam)))
            return reinterpret_cast<INT_PTR>(hbr);
        return FALSE;
    case WM_COMMAND:
        if (lParam == 0 || HIWORD(wParam) == BN_CLICKED) {
            if (LOWORD(wParam) == IDOK) {
                pDlg->OnOK();
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                pDlg->OnCancel();
                return TRUE;
            }
        }
        break;
    case WM_NCDESTROY: pDlg->Detach(); return FALSE;
    default: break;
    }
    AFX_WND_STATE& st = AfxGetWndState();
    MSG old = st.lastSent;
    st.lastSent = {hWnd, message, wParam, lParam, 0, {0, 0}};
    LRESULT lResult = 0;
    BOOL bHandled = pDlg->OnWndMsg(message, wParam, lParam, &lResult);
    st.lastSent = old;
    if (bHandled)
        ::SetWindowLongPtrA(hWnd, DWLP_MSGRESULT, LONG_PTR(lResult));
    return bHandled;
}

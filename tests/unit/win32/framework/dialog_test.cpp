// Modal dialogs: the template's controls, data exchange at initialisation
// and at OK, the result of EndDialog, and the application's colours.
#include "framework_test_app.h"
#include <gtest/gtest.h>

namespace {

class CTestDialog : public CDialog {
public:
    explicit CTestDialog(UINT nID) : CDialog(nID) {}
    BOOL OnInitDialog() override
    {
        BOOL r = CDialog::OnInitDialog();
        // What the dialog looks like once initialised.
        char text[64] = "";
        ::GetDlgItemTextA(m_hWnd, IDC_TEST_TEXT, text, 64);
        m_initText = text;
        m_hOwner = ::GetWindow(m_hWnd, GW_OWNER);
        m_ctlBrush = HBRUSH(::SendMessageA(m_hWnd, WM_CTLCOLORDLG, WPARAM(::GetDC(m_hWnd)), LPARAM(m_hWnd)));
        ::PostMessageA(m_hWnd, WM_COMMAND, m_nPress, 0);
        return r;
    }
    void DoDataExchange(CDataExchange* pDX) override
    {
        m_exchanges.push_back(pDX->m_bSaveAndValidate);
        if (!pDX->m_bSaveAndValidate)
            SetDlgItemText(IDC_TEST_TEXT, "exchanged");
    }
    std::vector<BOOL> m_exchanges;
    std::string m_initText;
    HWND m_hOwner = nullptr;
    HBRUSH m_ctlBrush = nullptr;
    WPARAM m_nPress = IDOK;
};

}   // namespace

TEST(Dialog, OkExchangesDataTwiceCancelOnceAndTheOwnerIsTheMainWindow)
{
    CTestFrame* pFrame = OpenTestFrame();
    ASSERT_NE(pFrame, nullptr);
    theTestApp.SetDialogBkColor(RGB(192, 192, 192), RGB(0, 0, 0));
    CTestDialog ok(IDD_TEST_DIALOG);
    EXPECT_EQ(ok.DoModal(), IDOK);
    EXPECT_EQ(ok.m_initText, "exchanged");
    EXPECT_EQ(ok.m_exchanges, (std::vector<BOOL>{FALSE, TRUE}));
    EXPECT_EQ(ok.m_hOwner, pFrame->m_hWnd);
    EXPECT_EQ(ok.m_ctlBrush, theTestApp.m_hDlgBkBrush);
    EXPECT_EQ(ok.m_hWnd, nullptr);

    CTestDialog cancel(IDD_TEST_DIALOG);
    cancel.m_nPress = IDCANCEL;
    EXPECT_EQ(cancel.DoModal(), IDCANCEL);
    EXPECT_EQ(cancel.m_exchanges, (std::vector<BOOL>{FALSE}));
    CloseTestFrame();

    CDialog missing(4242);
    EXPECT_EQ(missing.DoModal(), -1);
}

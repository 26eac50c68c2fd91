#include "app/QuickHelpDlg.h"
#include "resources/resource.h"

BEGIN_MESSAGE_MAP(CQuickHelpDlg, CDialog)
END_MESSAGE_MAP()

CQuickHelpDlg::CQuickHelpDlg() : CDialog(IDD_QUICK_HELP) {}

// The help text is static; there is nothing to exchange.
void CQuickHelpDlg::DoDataExchange(CDataExchange*) {}

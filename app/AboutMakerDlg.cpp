#include "app/AboutMakerDlg.h"
#include "resources/resource.h"

BEGIN_MESSAGE_MAP(CAboutMakerDlg, CDialog)
END_MESSAGE_MAP()

CAboutMakerDlg::CAboutMakerDlg() : CDialog(IDD_ABOUT_MAKER) {}

// Every control is static text from the template; there is nothing to exchange.
void CAboutMakerDlg::DoDataExchange(CDataExchange*) {}

#include "app/AboutDlg.h"
#include "resources/resource.h"
#include "surface/SurfaceState.h"

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
END_MESSAGE_MAP()

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

const char* CAboutDlg::RendererStatusText()
{
    if (!g_bWinGInUse)
        return "WinG is not being used";
    // Any orientation other than bottom-up is reported as top-down.
    return g_nOrientation == ORIENT_BOTTOM_UP ? "WinG is being used, orientation is bottom-up"
                                              : "WinG is being used, orientation is top-down";
}

void CAboutDlg::DoDataExchange(CDataExchange*) { SetDlgItemText(IDC_RENDERER_STATUS, RendererStatusText()); }

// The main frame's answers to the view.
#include "starfield/FrameCalls.h"
#include "app/MainFrm.h"

BOOL FrameLayoutArea(RECT& rcClient, int32_t& nToolBarHeight, int32_t& nStatusBarHeight)
{
    CMainFrame* pFrame = GetMainFrame();
    if (!pFrame || !pFrame->m_hWnd)
        return FALSE;
    pFrame->GetClientRect(&rcClient);
    nToolBarHeight = pFrame->GetToolBarHeight();
    nStatusBarHeight = pFrame->GetStatusBarHeight();
    return TRUE;
}

void FrameSetButtonImage(int nPos, int nImage)
{
    CMainFrame* pFrame = GetMainFrame();
    if (!pFrame)
        return;
    CToolBar& bar = pFrame->m_wndToolBar;
    if (!bar.m_hWnd || nPos < 0 || nPos >= bar.GetCount())
        return;
    UINT nID = 0;
    UINT nStyle = 0;
    int iImage = 0;
    bar.GetButtonInfo(nPos, nID, nStyle, iImage);
    bar.SetButtonInfo(nPos, nID, nStyle, nImage);
}

// The About box: program name, origin, notice, and a line telling whether
// WinG renders the frame buffers and which way up their rows lie.
#pragma once
#include "framework/Framework.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg();

    // The status line for the current display-surface state.
    static const char* RendererStatusText();

protected:
    // Fills the renderer status line whichever way the exchange goes.
    void DoDataExchange(CDataExchange* pDX) override;
    DECLARE_MESSAGE_MAP()
};

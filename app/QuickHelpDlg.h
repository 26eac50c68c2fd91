// The Quick Help box: two paragraphs of usage text from its template. It has
// no system menu, so only OK, Enter and Esc close it.
#pragma once
#include "framework/Framework.h"

class CQuickHelpDlg : public CDialog {
public:
    CQuickHelpDlg();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    DECLARE_MESSAGE_MAP()
};

// The About-the-maker box: the maker's logo, name and contact lines, all
// from its template.
#pragma once
#include "framework/Framework.h"

class CAboutMakerDlg : public CDialog {
public:
    CAboutMakerDlg();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    DECLARE_MESSAGE_MAP()
};

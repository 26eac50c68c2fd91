// The settings dialog: one list for each of the five settings. OK writes
// them to the settings file; Cancel writes nothing.
#pragma once
#include "framework/Dialog.h"
#include "saver/SaverChoices.h"

class CSaverSettingsDlg : public CDialog {
public:
    explicit CSaverSettingsDlg(CWnd* pOwner);

    BOOL OnInitDialog() override;
    void OnOK() override;

    SaverChoices m_choices;
};

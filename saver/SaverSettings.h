// The screen saver's settings in the settings file "QUARVELL.INI": its own
// section "Screensaver", and the "WinG" section it shares with the program.
#pragma once
#include "saver/SaverChoices.h"
#include <windows.h>

// Each setting as stored, junk and missing keys read as the default.
SaverChoices ReadSaverChoices();
// Writes all five settings.
void WriteSaverChoices(const SaverChoices& choices);

// [WinG] "Do Not Use" and "Force Orientation", as the program reads them.
struct SaverWinGSettings {
    BOOL bDoNotUse;
    int32_t nForceOrientation;
};
SaverWinGSettings ReadSaverWinGSettings();

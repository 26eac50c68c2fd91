#include "saver/SaverSettings.h"
#include "framework/Profile.h"
#include <cstdio>

namespace {

const char kSettingsFile[] = "QUARVELL.INI";   // found in the Windows directory
const char kSection[] = "Screensaver";

}   // namespace

SaverChoices ReadSaverChoices()
{
    SaverChoices choices = DefaultSaverChoices();
    for (int32_t i = 0; i < CHOICE_COUNT; ++i) {
        const SaverChoiceList& list = GetSaverChoiceList(i);
        // Absent, or too long to be read whole: the list's default.
        char text[32];
        const bool bRead = AfxReadProfileText(kSettingsFile, kSection, list.pszKey, text, sizeof text);
        SetChoice(choices, i, ReadChoiceText(list, bRead ? text : nullptr));
    }
    return choices;
}

void WriteSaverChoices(const SaverChoices& choices)
{
    for (int32_t i = 0; i < CHOICE_COUNT; ++i) {
        char text[16];
        std::snprintf(text, sizeof text, "%i", int(GetChoice(choices, i)));
        ::WritePrivateProfileStringA(kSection, GetSaverChoiceList(i).pszKey, text, kSettingsFile);
    }
}

SaverWinGSettings ReadSaverWinGSettings()
{
    SaverWinGSettings s;
    s.bDoNotUse = ::GetPrivateProfileIntA("WinG", "Do Not Use", 0, kSettingsFile) != 0;
    s.nForceOrientation = int32_t(::GetPrivateProfileIntA("WinG", "Force Orientation", 0, kSettingsFile));
    return s;
}

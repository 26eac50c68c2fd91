#include "saver/SaverSettings.h"
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
        char text[32] = "";
        ::GetPrivateProfileStringA(kSection, list.pszKey, "", text, sizeof text, kSettingsFile);
        SetChoice(choices, i, ReadChoiceText(list, text));
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

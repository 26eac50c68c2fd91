#include "saver/SaverChoices.h"

namespace {

const int32_t kSimulations[] = {1, 2, 3};
const int32_t kPopulations[] = {500, 2000, 5000};
const int32_t kNauseaLevels[] = {0, 1, 2};
const int32_t kFrameRates[] = {30, 60, 0};
const int32_t kTunes[] = {0, 1, 2, 3};

const SaverChoiceList kLists[CHOICE_COUNT] = {
    {"Simulation", kSimulations, 3, 0},
    {"Population", kPopulations, 3, 1},
    {"Nausea", kNauseaLevels, 3, 0},
    {"Frame Rate", kFrameRates, 3, 1},
    {"Tune", kTunes, 4, 0},
};

}   // namespace

const SaverChoiceList& GetSaverChoiceList(int32_t nChoice)
{
    return kLists[nChoice >= 0 && nChoice < CHOICE_COUNT ? nChoice : 0];
}

SaverChoices DefaultSaverChoices()
{
    SaverChoices choices = {};
    for (int32_t i = 0; i < CHOICE_COUNT; ++i)
        SetChoice(choices, i, kLists[i].pValues[kLists[i].nDefault]);
    return choices;
}

int32_t GetChoice(const SaverChoices& choices, int32_t nChoice)
{
    switch (nChoice) {
    case CHOICE_SIMULATION: return choices.nSimulation;
    case CHOICE_POPULATION: return choices.nPopulation;
    case CHOICE_NAUSEA: return choices.nNausea;
    case CHOICE_FRAME_RATE: return choices.nFrameRate;
    default: return choices.nTune;
    }
}

void SetChoice(SaverChoices& choices, int32_t nChoice, int32_t nValue)
{
    switch (nChoice) {
    case CHOICE_SIMULATION: choices.nSimulation = nValue; break;
    case CHOICE_POPULATION: choices.nPopulation = nValue; break;
    case CHOICE_NAUSEA: choices.nNausea = nValue; break;
    case CHOICE_FRAME_RATE: choices.nFrameRate = nValue; break;
    default: choices.nTune = nValue; break;
    }
}

int32_t FindChoice(const SaverChoiceList& list, int32_t nValue)
{
    for (int32_t i = 0; i < list.nCount; ++i)
        if (list.pValues[i] == nValue)
            return i;
    return -1;
}

int32_t ReadChoiceText(const SaverChoiceList& list, const char* pszText)
{
    const int32_t nDefault = list.pValues[list.nDefault];
    if (!pszText)
        return nDefault;
    const char* p = pszText;
    while (*p == ' ' || *p == '\t')
        ++p;
    if (*p < '0' || *p > '9')
        return nDefault;
    int32_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        if (value > 100000)
            return nDefault;   // longer than any value a list holds
        value = value * 10 + (*p - '0');
    }
    while (*p == ' ' || *p == '\t')
        ++p;
    if (*p != '\0' || FindChoice(list, value) < 0)
        return nDefault;
    return value;
}

int32_t NauseaSpeed(int32_t nNausea)
{
    static const int32_t kSpeeds[] = {1, 3, 7};
    return kSpeeds[nNausea >= 0 && nNausea < 3 ? nNausea : 0];
}

// The screen saver's settings: what they may hold, their defaults, and how
// their stored texts read (strictly: junk reads as the default). Plain C++,
// tested natively; SaverSettings.h reads and writes them in the settings
// file.
#pragma once
#include <cstdint>

struct SaverChoices {
    int32_t nSimulation;   // 1 Tumble Dry, 2 Washing Machine, 3 Dirty Laundry
    int32_t nPopulation;   // 500, 2000 or 5000 stars
    int32_t nNausea;       // 0, 1 or 2
    int32_t nFrameRate;    // 30 or 60 frames a second, 0 as fast as possible
    int32_t nTune;         // 0 none, 1 to 3
};

// One setting: the values it may take, in the order the dialog lists them,
// and the index of its default.
struct SaverChoiceList {
    const char* pszKey;   // its key in the settings file
    const int32_t* pValues;
    int32_t nCount;
    int32_t nDefault;
};

enum : int32_t {
    CHOICE_SIMULATION = 0,
    CHOICE_POPULATION,
    CHOICE_NAUSEA,
    CHOICE_FRAME_RATE,
    CHOICE_TUNE,
    CHOICE_COUNT,
};

// The list of setting nChoice (one of CHOICE_*).
const SaverChoiceList& GetSaverChoiceList(int32_t nChoice);

SaverChoices DefaultSaverChoices();
// The value of setting nChoice in choices, and the same value set.
int32_t GetChoice(const SaverChoices& choices, int32_t nChoice);
void SetChoice(SaverChoices& choices, int32_t nChoice, int32_t nValue);

// The position of nValue in the list, or -1 when the list does not hold it.
int32_t FindChoice(const SaverChoiceList& list, int32_t nValue);

// Reads a stored text: a decimal number (blanks around it allowed) that the
// list holds; anything else, a missing key included (null), is the default.
int32_t ReadChoiceText(const SaverChoiceList& list, const char* pszText);

// g_nSpeed for a nausea level (1, 3 or 7; level 0's for anything else).
int32_t NauseaSpeed(int32_t nNausea);

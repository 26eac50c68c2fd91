// The main frame's toolbar buttons in order, separators (ID_SEPARATOR)
// included: the frame builds its toolbar from this table, and the view finds
// the buttons whose pictures it changes by their position in it.
#pragma once
#include "framework/Res.h"
#include "resources/resource.h"
#include <windows.h>

inline constexpr UINT kToolBarButtons[] = {
    ID_APP_EXIT,  ID_SEPARATOR, ID_SEPARATOR,       ID_DISPLAY_NORMAL,  ID_DISPLAY_DOUBLED, ID_DISPLAY_WINDOW,
    ID_SEPARATOR, ID_SEPARATOR, ID_AUDIO_NEXT_TUNE, ID_SIMULATION_NEXT, ID_POPULATION_NEXT, ID_NAUSEA_NEXT,
    ID_SEPARATOR, ID_SEPARATOR, ID_APP_ABOUT,       ID_APP_ABOUT_MAKER, ID_HELP_QUICK_HELP,
};
inline constexpr int kToolBarButtonCount = int(sizeof kToolBarButtons / sizeof kToolBarButtons[0]);
static_assert(kToolBarButtonCount == 17);

// The position of command nID's button, or -1 when it has none.
constexpr int ToolBarPosition(UINT nID)
{
    for (int i = 0; i < kToolBarButtonCount; ++i)
        if (kToolBarButtons[i] == nID && nID != ID_SEPARATOR)
            return i;
    return -1;
}

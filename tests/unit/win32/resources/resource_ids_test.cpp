// The resource header must not collide with the system's headers: none of
// its names may be defined by them already, and the framework's identifiers
// keep their fixed values.
#include <windows.h>
#include <commctrl.h>
#include <mmsystem.h>
#include <shellapi.h>

#if defined(IDR_MAINFRAME) || defined(IDD_ABOUTBOX) || defined(IDD_ABOUT_MAKER) || defined(IDD_QUICK_HELP) ||     \
    defined(IDI_MAKER_LOGO) || defined(IDC_RENDERER_STATUS) || defined(IDC_MAKER_LOGO) ||                         \
    defined(IDS_WING_INSTALL_HINT) || defined(IDS_FATAL_OUT_OF_MEMORY) || defined(IDS_FATAL_UNEXPECTED) ||        \
    defined(IDS_WING_PROFILING) || defined(ID_INDICATOR_FPS) || defined(ID_APP_ABOUT_MAKER) ||                    \
    defined(ID_HELP_QUICK_HELP) || defined(ID_DISPLAY_NORMAL) || defined(ID_DISPLAY_DOUBLED) ||                   \
    defined(ID_DISPLAY_WINDOW) || defined(ID_SIMULATION_TUMBLE_DRY) || defined(ID_SIMULATION_WASHING_MACHINE) ||  \
    defined(ID_SIMULATION_DIRTY_LAUNDRY) || defined(ID_SIMULATION_NEXT) || defined(ID_POPULATION_SPARSE) ||       \
    defined(ID_POPULATION_DENSE) || defined(ID_POPULATION_CROWDED) || defined(ID_POPULATION_NEXT) ||              \
    defined(ID_NAUSEA_FEELING_GOOD) || defined(ID_NAUSEA_UNCOMFORTABLE) || defined(ID_NAUSEA_GUT_WRENCHING) ||    \
    defined(ID_NAUSEA_NEXT) || defined(ID_AUDIO_TUNE1) || defined(ID_AUDIO_TUNE2) || defined(ID_AUDIO_TUNE3) ||   \
    defined(ID_AUDIO_NO_SOUND) || defined(ID_AUDIO_NEXT_TUNE) || defined(ID_APP_ABOUT) || defined(ID_APP_EXIT) || \
    defined(AFX_IDS_APP_TITLE) || defined(AFX_IDS_IDLEMESSAGE)
#error "a system header already defines one of the program's resource identifiers"
#endif

#include "resources/resource.h"

static_assert(ID_APP_ABOUT == 57664 && ID_APP_EXIT == 57665, "framework command ids");
static_assert(AFX_IDS_APP_TITLE == 57344 && AFX_IDS_IDLEMESSAGE == 57345, "framework string ids");
static_assert(IDR_MAINFRAME == 2 && ID_INDICATOR_FPS == 32795, "frame resources");

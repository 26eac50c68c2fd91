// Identifiers of the program's resources, shared by the resource script
// and the C++ sources. Read by both the C++ compiler and the resource
// compiler, so it holds nothing but #define lines.
//
// The framework's own identifiers (application title and idle message,
// About and Exit) keep their fixed framework values; they are guarded so
// that a framework header defining the same names first wins.
#ifndef VELMORA_RESOURCE_H
#define VELMORA_RESOURCE_H

// Menu, accelerators, toolbar strip, main icon, document template string.
#define IDR_MAINFRAME                   2

// Strings.
#define IDS_WING_INSTALL_HINT           3
#define IDS_FATAL_OUT_OF_MEMORY         4
#define IDS_FATAL_UNEXPECTED            5
#define IDS_WING_PROFILING              6

// Dialog templates.
#define IDD_ABOUTBOX                    100
#define IDD_ABOUT_MAKER                 102
#define IDD_QUICK_HELP                  103

// The maker's logo (icon) and the dialog controls.
#define IDI_MAKER_LOGO                  104
#define IDC_RENDERER_STATUS             1000
#define IDC_MAKER_LOGO                  1003

// Commands, with their status-bar prompt and tooltip strings.
#define ID_APP_ABOUT_MAKER              32771
#define ID_DISPLAY_NORMAL               32772
#define ID_DISPLAY_DOUBLED              32773
#define ID_DISPLAY_WINDOW               32774
#define ID_SIMULATION_TUMBLE_DRY        32775
#define ID_SIMULATION_WASHING_MACHINE   32776
#define ID_SIMULATION_DIRTY_LAUNDRY     32777
#define ID_POPULATION_SPARSE            32778
#define ID_POPULATION_CROWDED           32779
#define ID_POPULATION_DENSE             32780
#define ID_NAUSEA_FEELING_GOOD          32782
#define ID_NAUSEA_UNCOMFORTABLE         32783
#define ID_NAUSEA_GUT_WRENCHING         32784
#define ID_AUDIO_TUNE1                  32785
#define ID_AUDIO_TUNE2                  32786
#define ID_AUDIO_TUNE3                  32787
#define ID_AUDIO_NO_SOUND               32788
#define ID_AUDIO_NEXT_TUNE              32789
#define ID_SIMULATION_NEXT              32790
#define ID_POPULATION_NEXT              32792
#define ID_NAUSEA_NEXT                  32793
#define ID_HELP_QUICK_HELP              32794

// Status-bar pane of the frame-rate meter (its string is the pane's
// initial text and sets the pane's width).
#define ID_INDICATOR_FPS                32795

// The framework's own identifiers (the About and Exit commands, the title
// and idle-prompt strings), with the values it gives them.
#include "framework/Res.h"

#endif // VELMORA_RESOURCE_H

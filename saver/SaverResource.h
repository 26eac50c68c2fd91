// Identifiers of the screen saver's own resources. The icon, the bitmap,
// the tunes and the texts it shares with the program keep the program's
// identifiers (resources/resource.h). Read by the resource compiler too, so
// it holds nothing but #define lines.
#ifndef VELMORA_SAVER_RESOURCE_H
#define VELMORA_SAVER_RESOURCE_H

// The name Windows shows in its list of screen savers.
#define IDS_SAVER_NAME  1
#define IDS_SAVER_USAGE 7

#define IDD_SAVER_SETTINGS     200
// The five lists of the settings dialog, in the order of the settings.
#define IDC_SAVER_FIRST_CHOICE 1101
#define IDC_SAVER_SIMULATION   1101
#define IDC_SAVER_POPULATION   1102
#define IDC_SAVER_NAUSEA       1103
#define IDC_SAVER_FRAME_RATE   1104
#define IDC_SAVER_TUNE         1105

#endif   // VELMORA_SAVER_RESOURCE_H

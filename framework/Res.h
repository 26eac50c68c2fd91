// Identifiers that the framework itself gives meaning to. Each is guarded so
// that a resource header defining the same name with the same value may be
// included before or after this one.
#pragma once

#ifndef ID_SEPARATOR
#define ID_SEPARATOR 0
#endif
#ifndef AFX_IDS_APP_TITLE
#define AFX_IDS_APP_TITLE 57344
#endif
#ifndef AFX_IDS_IDLEMESSAGE
#define AFX_IDS_IDLEMESSAGE 57345
#endif
#ifndef ID_APP_ABOUT
#define ID_APP_ABOUT 57664
#endif
#ifndef ID_APP_EXIT
#define ID_APP_EXIT 57665
#endif
#ifndef AFX_IDW_TOOLBAR
#define AFX_IDW_TOOLBAR 0xE800
#endif
#ifndef AFX_IDW_STATUS_BAR
#define AFX_IDW_STATUS_BAR 0xE801
#endif
#ifndef AFX_IDW_PANE_FIRST
#define AFX_IDW_PANE_FIRST 0xE900
#endif

// Control-bar styles (the low word of a bar's creation style).
#define CBRS_BORDER_TOP    0x0200
#define CBRS_BORDER_BOTTOM 0x0800
#define CBRS_ALIGN_TOP     0x2000
#define CBRS_ALIGN_BOTTOM  0x8000
#define CBRS_TOP           (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM)
#define CBRS_BOTTOM        (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP)
#define CBRS_TOOLTIPS      0x0010
#define CBRS_FLYBY         0x0020
#define CBRS_ALL           0xFFFF

// Command-routing codes.
#define CN_COMMAND           0
#define CN_UPDATE_COMMAND_UI (-1)

// The display side of the identity build: whether the display has a
// hardware palette, and folding its static colours into a logical palette.
// The two platform services the build depends on are process-wide function
// pointers, so that tests can present displays this machine cannot produce
// (an odd reserved count, a tiny hardware palette) and watch the emptying
// of the system palette.
#pragma once
#include <windows.h>

struct PalDisplayHooks {
    int (*pfnGetDeviceCaps)(HDC hdc, int index);   // GetDeviceCaps
    void (*pfnClearSystemPalette)();               // CPalId::ClearSystemPalette
};
extern PalDisplayHooks g_palDisplay;

// The entry count of every palette the class builds.
constexpr int PAL_ENTRIES = 256;

// TRUE when an information context on "DISPLAY" reports RC_PALETTE; a
// display without such a context counts as having no hardware palette.
BOOL PalDisplayHasPalette();

// Empties the system palette, then puts the display's static colours at
// both ends of the 256 entries and marks the ones between them that the
// hardware palette can hold PC_RESERVED. The source colours of the middle
// entries are kept.
void PalFoldStaticColors(PALETTEENTRY* pEntries);

// Creates a 256-entry palette (version 0x300) from the entries; null when
// the system cannot create it.
HPALETTE PalCreate256(const PALETTEENTRY* pEntries);

// Tells every top-level window that hWndFrom has realised a new palette,
// without waiting for any of them: a window of another program that has
// stopped answering must not hold up the caller (a broadcast sent with
// SendMessage waits on each window in turn, with no time limit). Windows
// of the calling thread get the message before this returns.
void PalNotifyPaletteChanged(HWND hWndFrom);

// A window's device context (the screen's for no window), released at the
// end of the scope; m_hDC is null when none could be obtained.
class CPalWindowDC {
public:
    explicit CPalWindowDC(HWND hWnd) : m_hWnd(hWnd), m_hDC(::GetDC(hWnd)) {}
    ~CPalWindowDC()
    {
        if (m_hDC)
            ::ReleaseDC(m_hWnd, m_hDC);
    }
    CPalWindowDC(const CPalWindowDC&) = delete;
    CPalWindowDC& operator=(const CPalWindowDC&) = delete;
    HWND m_hWnd;
    HDC m_hDC;
};

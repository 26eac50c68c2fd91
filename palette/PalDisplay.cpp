#include "palette/PalDisplay.h"
#include "framework/Gdi.h"
#include "palette/PalId.h"
#include <algorithm>

namespace {

int QueryDeviceCaps(HDC hdc, int index) { return ::GetDeviceCaps(hdc, index); }

// LOGPALETTE with room for all 256 entries.
struct LogPalette256 {
    WORD palVersion;
    WORD palNumEntries;
    PALETTEENTRY palPalEntry[PAL_ENTRIES];
};

// Copies count system palette entries from start on into pDest: colours
// only, the flag byte 0 (a static colour is never reserved). Entries the
// system does not deliver keep what they held.
void CopySystemEntries(HDC hdc, int start, int count, PALETTEENTRY* pDest)
{
    if (count <= 0 || start < 0)
        return;
    PALETTEENTRY sys[PAL_ENTRIES / 2];
    const UINT got = ::GetSystemPaletteEntries(hdc, UINT(start), UINT(count), sys);
    for (UINT i = 0; i < got && i < UINT(count); ++i)
        pDest[i] = PALETTEENTRY{sys[i].peRed, sys[i].peGreen, sys[i].peBlue, 0};
}

}   // namespace

PalDisplayHooks g_palDisplay = {QueryDeviceCaps, CPalId::ClearSystemPalette};

HPALETTE PalCreate256(const PALETTEENTRY* pEntries)
{
    LogPalette256 log;
    log.palVersion = 0x300;
    log.palNumEntries = PAL_ENTRIES;
    std::copy(pEntries, pEntries + PAL_ENTRIES, log.palPalEntry);
    return ::CreatePalette(reinterpret_cast<const LOGPALETTE*>(&log));
}

BOOL PalDisplayHasPalette()
{
    CDC ic;   // deleted when the test is done
    if (!ic.Attach(::CreateICA("DISPLAY", nullptr, nullptr, nullptr)))
        return FALSE;
    return (g_palDisplay.pfnGetDeviceCaps(ic.m_hDC, RASTERCAPS) & RC_PALETTE) ? TRUE : FALSE;
}

void PalNotifyPaletteChanged(HWND hWndFrom)
{
    ::SendNotifyMessageA(HWND_BROADCAST, WM_PALETTECHANGED, WPARAM(hWndFrom), 0);
}

void PalFoldStaticColors(PALETTEENTRY* pEntries)
{
    g_palDisplay.pfnClearSystemPalette();

    CDC dc;
    if (!dc.Attach(::CreateDCA("DISPLAY", nullptr, nullptr, nullptr)))
        return;   // nothing to read the static colours from: the source stays
    const int nSize = g_palDisplay.pfnGetDeviceCaps(dc.m_hDC, SIZEPALETTE);
    // Half of the reserved colours sit at each end of the hardware palette
    // (an odd count rounds down). At most half of the logical entries can
    // be static at each end.
    const int nStatic = std::clamp(g_palDisplay.pfnGetDeviceCaps(dc.m_hDC, NUMRESERVED) / 2, 0, PAL_ENTRIES / 2);

    CopySystemEntries(dc.m_hDC, 0, nStatic, pEntries);
    CopySystemEntries(dc.m_hDC, nSize - nStatic, nStatic, pEntries + PAL_ENTRIES - nStatic);

    // The entries between the static ones that the hardware palette can
    // hold are reserved for this palette: realisation places them on free
    // system entries without matching them to other colours.
    const int nEnd = std::min(nSize - nStatic, PAL_ENTRIES - nStatic);
    for (int i = nStatic; i < nEnd; ++i)
        pEntries[i].peFlags = PC_RESERVED;
}

void CPalId::ClearSystemPalette()
{
    CPalWindowDC screen(nullptr);
    if (!screen.m_hDC)
        return;
    PALETTEENTRY black[PAL_ENTRIES];
    std::fill(black, black + PAL_ENTRIES, PALETTEENTRY{0, 0, 0, PC_NOCOLLAPSE});
    const HPALETTE hBlack = PalCreate256(black);
    if (!hBlack)
        return;   // nothing changes
    const HPALETTE hPrevious = ::SelectPalette(screen.m_hDC, hBlack, FALSE);
    ::RealizePalette(screen.m_hDC);
    if (hPrevious)
        ::SelectPalette(screen.m_hDC, hPrevious, FALSE);
    ::DeleteObject(hBlack);
}

#include "surface/PaletteBracket.h"
#include "palette/PalId.h"
#include "surface/SurfaceState.h"

CPaletteBracket::CPaletteBracket(CPalId* pPalette) : m_hWnd(GetDesktopWindow()), m_hDC(GetDC(m_hWnd))
{
    if (!g_bWinGInUse)
        return;
    HPALETTE hPalette = pPalette ? HPALETTE(pPalette->m_hObject) : nullptr;
    if (m_hDC) {
        m_hOldPalette = SelectPalette(m_hDC, hPalette, FALSE);
        RealizePalette(m_hDC);
    }
    SelectPalette(g_hWinGDC, hPalette, FALSE);
    RealizePalette(g_hWinGDC);
}

CPaletteBracket::~CPaletteBracket()
{
    if (m_hOldPalette)
        SelectPalette(m_hDC, m_hOldPalette, FALSE);
    if (m_hDC)
        ReleaseDC(m_hWnd, m_hDC);
}

void BuildPaletteIfNeeded(CPalId* pPalette, const RGBQUAD* pColors)
{
    if (pPalette && !pPalette->IsCreated())
        pPalette->CreateFromRGBQuad(pColors, TRUE);
}

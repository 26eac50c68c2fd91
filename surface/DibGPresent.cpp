// Presentation: copies a frame buffer into a device context, through WinG
// from the shared WinG DC, or through StretchDIBits straight from the pixel
// block. Source coordinates are image coordinates with y = 0 at the top.
// No operation selects or realises a palette: the caller prepares the DC.
#include "surface/DibG.h"
#include "surface/WinGBinding.h"

namespace {

HDC HandleOf(CDC* pDC) { return pDC ? pDC->m_hDC : nullptr; }

}   // namespace

int CDibG::Draw(CDC* pDC, int xDst, int yDst, int cxDst, int cyDst, int xSrc, int ySrc, int cxSrc, int cySrc)
{
    return DrawDirect(pDC, xDst, yDst, cxDst, cyDst, xSrc, ySrc, cxSrc, cySrc);
}

int CDibG::Draw(CDC* pDC, const RECT& rcDst, const RECT& rcSrc)
{
    return Draw(pDC, rcDst.left, rcDst.top, rcDst.right - rcDst.left, rcDst.bottom - rcDst.top, rcSrc.left, rcSrc.top,
                rcSrc.right - rcSrc.left, rcSrc.bottom - rcSrc.top);
}

int CDibG::Draw(CDC* pDC, const RECT& rcDst) { return Draw(pDC, rcDst, RECT{0, 0, GetWidth(), GetHeight()}); }

int CDibG::Draw(CDC* pDC, int x, int y)
{
    return Draw(pDC, x, y, GetWidth(), GetHeight(), 0, 0, GetWidth(), GetHeight());
}

int CDibG::Draw(CDC* pDC, const POINT& point) { return Draw(pDC, point.x, point.y); }

int CDibG::DrawDirect(CDC* pDC, int xDst, int yDst, int cxDst, int cyDst, int xSrc, int ySrc, int cxSrc, int cySrc)
{
    if (g_bWinGInUse) {
        // A printer cannot take WinG's copies: it gets a DIB instead.
        if (pDC && pDC->m_bPrinting)
            return DrawShared(pDC, xDst, yDst, cxDst, cyDst, xSrc, ySrc, cxSrc, cySrc);
        SelectIntoSharedDC();
        if (xSrc == xDst && ySrc == yDst && cxSrc == cxDst && cySrc == cyDst)
            return g_WinG.pfnBitBlt(HandleOf(pDC), xDst, yDst, cxDst, cyDst, g_hWinGDC, xSrc, ySrc);
        return g_WinG.pfnStretchBlt(HandleOf(pDC), xDst, yDst, cxDst, cyDst, g_hWinGDC, xSrc, ySrc, cxSrc, cySrc);
    }
    // Without WinG the rows are bottom-up: StretchDIBits counts source rows
    // from the bottom.
    return StretchDIBits(HandleOf(pDC), xDst, yDst, cxDst, cyDst, xSrc, GetHeight() - ySrc - cySrc, cxSrc, cySrc,
                         m_pBits, GetBitmapInfo(), UINT(g_nColorUse), SRCCOPY);
}

int CDibG::BltTo(CDC* pDC, const POINT& ptDst, const POINT& ptSrc, const SIZE& size)
{
    if (g_bWinGInUse)
        return g_WinG.pfnBitBlt(HandleOf(pDC), ptDst.x, ptDst.y, size.cx, size.cy, g_hWinGDC, ptSrc.x, ptSrc.y);
    return StretchDIBits(HandleOf(pDC), ptDst.x, ptDst.y, size.cx, size.cy, ptSrc.x, GetHeight() - ptSrc.y - size.cy,
                         size.cx, size.cy, m_pBits, GetBitmapInfo(), UINT(g_nColorUse), SRCCOPY);
}

int CDibG::StretchTo(CDC* pDC, const POINT& ptDst, const SIZE& sizeDst, const POINT& ptSrc, const SIZE& sizeSrc)
{
    if (g_bWinGInUse)
        return g_WinG.pfnStretchBlt(HandleOf(pDC), ptDst.x, ptDst.y, sizeDst.cx, sizeDst.cy, g_hWinGDC, ptSrc.x,
                                    ptSrc.y, sizeSrc.cx, sizeSrc.cy);
    return StretchDIBits(HandleOf(pDC), ptDst.x, ptDst.y, sizeDst.cx, sizeDst.cy, ptSrc.x,
                         GetHeight() - ptSrc.y - sizeSrc.cy, sizeSrc.cx, sizeSrc.cy, m_pBits, GetBitmapInfo(),
                         UINT(g_nColorUse), SRCCOPY);
}

namespace {

// Copies through a shared presentation header, which always declares
// bottom-up rows. With bMirror the memory rows are top-down, so the image is
// taken mirrored, with a negative source height.
int StretchShared(CDibG& dib, CDC* pDC, int xDst, int yDst, int cxDst, int cyDst, int xSrc, int ySrc, int cxSrc,
                  int cySrc, bool bMirror)
{
    if (!dib.IsValid())
        return 0;
    const int32_t nWidth = dib.GetWidth();
    const int32_t nHeight = dib.GetHeight();
    g_bmiRGB.bmiHeader.biWidth = nWidth;
    g_bmiRGB.bmiHeader.biHeight = nHeight;
    g_bmiIndex.bmiHeader.biWidth = nWidth;
    g_bmiIndex.bmiHeader.biHeight = nHeight;
    const BITMAPINFO* pbmi = g_nColorUse == DIB_PAL_COLORS ? reinterpret_cast<const BITMAPINFO*>(&g_bmiIndex)
                                                           : reinterpret_cast<const BITMAPINFO*>(&g_bmiRGB);
    if (bMirror)
        return StretchDIBits(HandleOf(pDC), xDst, yDst, cxDst, cyDst, xSrc, ySrc + cySrc + 1, cxSrc, -cySrc,
                             dib.m_pBits, pbmi, UINT(g_nColorUse), SRCCOPY);
    return StretchDIBits(HandleOf(pDC), xDst, yDst, cxDst, cyDst, xSrc, nHeight - cySrc - ySrc, cxSrc, cySrc,
                         dib.m_pBits, pbmi, UINT(g_nColorUse), SRCCOPY);
}

}   // namespace

int CDibG::DrawShared(CDC* pDC, int xDst, int yDst, int cxDst, int cyDst, int xSrc, int ySrc, int cxSrc, int cySrc)
{
    return StretchShared(*this, pDC, xDst, yDst, cxDst, cyDst, xSrc, ySrc, cxSrc, cySrc,
                         g_nOrientation == ORIENT_TOP_DOWN);
}

int CDibG::DrawSharedBottomUp(CDC* pDC, const RECT& rcDst)
{
    return DrawSharedBottomUp(pDC, rcDst.left, rcDst.top, rcDst.right - rcDst.left, rcDst.bottom - rcDst.top, 0, 0,
                              GetWidth(), GetHeight());
}

int CDibG::DrawSharedBottomUp(CDC* pDC, int xDst, int yDst, int cxDst, int cyDst, int xSrc, int ySrc, int cxSrc,
                              int cySrc)
{
    return StretchShared(*this, pDC, xDst, yDst, cxDst, cyDst, xSrc, ySrc, cxSrc, cySrc, false);
}

// WinG bitmaps: bitmap sections with their pixels in reach, and the colour
// table of the one selected into a WinG DC.
#include "wing/BitmapRecords.h"
#include "wing/WinG.h"

HBITMAP WINAPI WinGCreateBitmap(HDC hdc, const BITMAPINFO* pHeader, void** ppBits)
{
    if (ppBits)
        *ppBits = nullptr;
    // Only a full BITMAPINFOHEADER carries a signed height (row order).
    if (!pHeader || pHeader->bmiHeader.biSize < sizeof(BITMAPINFOHEADER))
        return nullptr;
    void* pBits = nullptr;
    // The colour table holds RGB values, so the DC is not consulted.
    HBITMAP hbm = CreateDIBSection(hdc, pHeader, DIB_RGB_COLORS, &pBits, nullptr, 0);
    if (hbm && !pBits) {
        DeleteObject(hbm);
        hbm = nullptr;
    }
    if (!hbm)
        return nullptr;
    if (!wing::RecordBitmap(hbm, pBits, pHeader->bmiHeader.biHeight < 0)) {
        DeleteObject(hbm);
        return nullptr;
    }
    if (ppBits)
        *ppBits = pBits;
    return hbm;
}

void* WINAPI WinGGetDIBPointer(HBITMAP hbm, BITMAPINFO* pHeader)
{
    if (!hbm)
        return nullptr;
    DIBSECTION ds;
    if (GetObjectW(hbm, sizeof ds, &ds) != int(sizeof ds) || !ds.dsBm.bmBits)
        return nullptr;
    if (pHeader) {
        BITMAPINFOHEADER& h = pHeader->bmiHeader;
        h = ds.dsBmih;
        const LONG height = ds.dsBmih.biHeight < 0 ? -ds.dsBmih.biHeight : ds.dsBmih.biHeight;
        const bool bTopDown =
            ds.dsBmih.biHeight < 0 || wing::RecordedRowOrder(hbm, ds.dsBm.bmBits) == wing::RowOrder::TopDown;
        h.biSize = sizeof(BITMAPINFOHEADER);
        h.biHeight = bTopDown ? -height : height;
    }
    return ds.dsBm.bmBits;
}

UINT WINAPI WinGGetDIBColorTable(HDC hdc, UINT start, UINT count, RGBQUAD* pColors)
{
    if (!hdc || !pColors)
        return 0;
    return GetDIBColorTable(hdc, start, count, pColors);
}

UINT WINAPI WinGSetDIBColorTable(HDC hdc, UINT start, UINT count, const RGBQUAD* pColors)
{
    if (!hdc || !pColors)
        return 0;
    return SetDIBColorTable(hdc, start, count, pColors);
}

// Frame buffer: the load and reload dispatchers and loading from a bitmap
// resource (a packed 8-bit DIB with a 256-entry colour table).
#include "surface/DibG.h"
#include "palette/PalId.h"
#include "surface/PaletteBracket.h"

namespace {

// A locked bitmap resource whose layout has been checked against its size.
struct BitmapResource {
    const RGBQUAD* pColors;
    const BYTE* pBits;
    int32_t nWidth;
    int32_t nHeight;
    int32_t nOrientation;   // of the rows in the resource
};

// Finds, loads and locks the RT_BITMAP resource and checks that it is what
// the buffer can take: 8 bits, uncompressed, a full colour table and every
// pixel row inside the resource. Anything else raises the resource
// exception, so a damaged resource is never read past its end.
BitmapResource LockBitmapResource(CDibG& dib, const char* pszName)
{
    HMODULE hModule = dib.GetResourceModule();
    HRSRC hInfo = FindResourceA(hModule, pszName, MAKEINTRESOURCEA(2) /* RT_BITMAP */);
    if (!hInfo)
        dib.ThrowResourceError();
    HGLOBAL hRes = LoadResource(hModule, hInfo);
    if (!hRes)
        dib.ThrowResourceError();
    const BYTE* pData = static_cast<const BYTE*>(LockResource(hRes));
    if (!pData)
        dib.ThrowResourceError();

    const DWORD nSize = SizeofResource(hModule, hInfo);
    if (nSize < sizeof(BITMAPINFOHEADER))
        dib.ThrowResourceError();
    const BITMAPINFOHEADER* pHeader = reinterpret_cast<const BITMAPINFOHEADER*>(pData);
    const int64_t nHeight = pHeader->biHeight < 0 ? -int64_t(pHeader->biHeight) : int64_t(pHeader->biHeight);
    const int64_t nPitch = ((int64_t(pHeader->biWidth) * 8 + 31) / 32) * 4;
    if (pHeader->biSize < sizeof(BITMAPINFOHEADER) || pHeader->biSize > nSize || pHeader->biBitCount != 8 ||
        pHeader->biCompression != BI_RGB || (pHeader->biClrUsed != 0 && pHeader->biClrUsed != 256) ||
        pHeader->biWidth <= 0 || nHeight == 0 || int64_t(pHeader->biSize) + 1024 + nPitch * nHeight > int64_t(nSize))
        dib.ThrowResourceError();

    BitmapResource res;
    res.pColors = reinterpret_cast<const RGBQUAD*>(pData + pHeader->biSize);
    res.pBits = pData + pHeader->biSize + 1024;
    res.nWidth = pHeader->biWidth;
    res.nHeight = int32_t(nHeight);
    res.nOrientation = pHeader->biHeight < 0 ? ORIENT_TOP_DOWN : ORIENT_BOTTOM_UP;
    return res;
}

}   // namespace

void CDibG::Load(const char* pszName, CPalId* pPalette, int32_t nSource)
{
    switch (nSource) {
    case SOURCE_BMP_FILE: LoadBmpFile(pszName, pPalette); break;
    case SOURCE_PCX_FILE: LoadPcxFile(pszName, pPalette); break;
    case SOURCE_RESOURCE: LoadResourceBitmap(pszName, pPalette); break;
    default: break;
    }
}

void CDibG::Reload(const char* pszName, CPalId* pPalette, int32_t nSource)
{
    switch (nSource) {
    case SOURCE_BMP_FILE: ReloadBmpFile(pszName, pPalette); break;
    case SOURCE_PCX_FILE: ReloadPcxFile(pszName, pPalette); break;
    case SOURCE_RESOURCE: ReloadResourceBitmap(pszName, pPalette); break;
    default: break;
    }
}

void CDibG::LoadResourceBitmap(const char* pszName, CPalId* pPalette)
{
    const BitmapResource res = LockBitmapResource(*this, pszName);
    BuildPaletteIfNeeded(pPalette, res.pColors);
    CPaletteBracket bracket(pPalette);
    Create(res.nWidth, res.nHeight, pPalette);
    // On a buffer that was already created Create changes nothing; its
    // pixels are replaced only when the sizes agree, never past its block.
    if (GetWidth() != res.nWidth || GetHeight() != res.nHeight)
        ThrowResourceError();
    CopyBitsIn(res.pBits, res.nOrientation);
}

void CDibG::ReloadResourceBitmap(const char* pszName, CPalId* pPalette)
{
    const BitmapResource res = LockBitmapResource(*this, pszName);
    if (!IsValid() || res.nWidth != GetWidth() || res.nHeight != GetHeight())
        ThrowResourceError();
    BuildPaletteIfNeeded(pPalette, res.pColors);
    CPaletteBracket bracket(pPalette);
    CopyBitsIn(res.pBits, res.nOrientation);
}

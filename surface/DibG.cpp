// Frame buffer: construction, creation, colour tables, pixel block, row
// offsets, filling, accessors and destruction.
#include "surface/DibG.h"
#include "palette/PalId.h"
#include "surface/PaletteBracket.h"
#include "surface/WinGBinding.h"
#include "framework/Globals.h"
#include <cstddef>
#include <cstring>

IMPLEMENT_DYNAMIC(CDibG, CObject)

// GCC lays out this non-standard-layout class like a plain struct; the check
// guards the one layout fact the BITMAPINFO view depends on.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(offsetof(CDibG, m_colors) == offsetof(CDibG, m_bmih) + sizeof(BITMAPINFOHEADER),
              "the colour table must follow the header so that both form a BITMAPINFO");
#pragma GCC diagnostic pop

namespace {

// Locks a new movable global block; null when it cannot be had.
void* AllocLocked(SIZE_T nBytes)
{
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, nBytes);
    if (!h)
        return nullptr;
    void* p = GlobalLock(h);
    if (!p)
        GlobalFree(h);
    return p;
}

void FreeLocked(void* p)
{
    if (!p)
        return;
    HGLOBAL h = GlobalHandle(p);
    GlobalUnlock(h);
    GlobalFree(h);
}

// Copies a palette's 256 entries into a table of RGBQUADs (reserved 0).
// Without a palette (or without its handle) the table becomes black.
void ReadPaletteQuads(CPalId* pPalette, RGBQUAD* pOut)
{
    PALETTEENTRY entries[256] = {};
    if (pPalette && pPalette->m_hObject)
        GetPaletteEntries(HPALETTE(pPalette->m_hObject), 0, 256, entries);
    for (int i = 0; i < 256; ++i)
        pOut[i] = RGBQUAD{entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
}

// True when a buffer of this size can exist: at least one pixel, and a
// pitch and pixel block that the signed 32-bit row offsets can address.
// Computed in 64 bits, so widths whose pitch would overflow are refused.
bool SizeFits(int32_t nWidth, int32_t nHeight)
{
    if (nWidth <= 0 || nHeight <= 0)
        return false;
    const int64_t nPitch = ((int64_t(nWidth) * 8 + 31) / 32) * 4;
    return nPitch * nHeight <= INT32_MAX;
}

// Back to the size of a new buffer: width, height and pitch 0, so that
// nothing computed from them reaches a pixel block that is not there.
void ClearGeometry(CDibG& dib)
{
    dib.m_bmih.biWidth = 0;
    dib.m_bmih.biHeight = 0;
    dib.m_nPitch = 0;
}

// Frees the pixel block: the WinG bitmap (which owns its pixels) or the
// locked global memory. The caller has put back the shared DC's bitmap.
void ReleasePixels(CDibG& dib)
{
    if (dib.m_hBitmap) {
        DeleteObject(dib.m_hBitmap);
        dib.m_hBitmap = nullptr;
    } else {
        FreeLocked(dib.m_pBits);
    }
    dib.m_pBits = nullptr;
}

}   // namespace

CDibG::CDibG()
{
    std::memset(&m_bmih, 0, sizeof m_bmih);
    m_bmih.biSize = sizeof(BITMAPINFOHEADER);
    m_bmih.biPlanes = 1;
    m_bmih.biBitCount = 8;
    m_bmih.biCompression = BI_RGB;
    std::memset(m_colors, 0, sizeof m_colors);
}

CDibG::~CDibG()
{
    Destroy();
    // The buffer owns its own DC, which Destroy leaves alone.
    if (m_hOwnDC)
        DeleteDC(m_hOwnDC);
}

BOOL CDibG::IsValid() { return GetWidth() > 0 && GetHeight() > 0 && m_pBits && m_pRowOffsets; }

BOOL CDibG::IsReady() { return IsValid(); }
BOOL CDibG::IsSelected() { return m_bSelected; }
BOOL CDibG::IsCreated() { return m_bCreated; }

void CDibG::CreateWithPalette(int32_t nWidth, int32_t nHeight, CPalId* pPalette)
{
    CPaletteBracket bracket(pPalette);
    CreateBuffer(nWidth, nHeight, pPalette);
}

void CDibG::CreateWithPalette(SIZE size, CPalId* pPalette) { CreateWithPalette(size.cx, size.cy, pPalette); }

void CDibG::Create(int32_t nWidth, int32_t nHeight, CPalId* pPalette) { CreateBuffer(nWidth, nHeight, pPalette); }

void CDibG::CreateBuffer(int32_t nWidth, int32_t nHeight, CPalId* pPalette)
{
    if (IsCreated())
        return;   // never re-created in place: Destroy comes first
    // An impossible size is refused before anything changes.
    if (!SizeFits(nWidth, nHeight))
        ThrowMemoryError();
    SetWidth(nWidth);
    SetHeight(nHeight);
    SetPalette(pPalette);   // the colour table is complete before the bitmap is made
    try {
        AllocateBits();
        BuildRowOffsets();
    } catch (...) {
        // Nothing of a failed creation stays allocated, and the buffer is
        // left as a not-created one of size 0.
        ReleasePixels(*this);
        ClearGeometry(*this);
        throw;
    }
    m_bCreated = TRUE;
}

void CDibG::SetWidth(int32_t nWidth)
{
    m_bmih.biWidth = nWidth;
    m_nPitch = int32_t(((int64_t(nWidth) * 8 + 31) / 32) * 4);
}

void CDibG::SetHeight(int32_t nHeight) { m_bmih.biHeight = g_nOrientation == ORIENT_TOP_DOWN ? -nHeight : nHeight; }

void CDibG::AllocateBits()
{
    // A buffer needs at least one pixel, and its block must be addressable
    // with the signed 32-bit row offsets.
    if (!SizeFits(GetWidth(), GetHeight()))
        ThrowMemoryError();
    const int64_t nBytes = int64_t(m_nPitch) * GetHeight();
    if (g_bWinGInUse) {
        // Both out-pointers are optional, but Wine's own library writes
        // through them unchecked: they get scratch space rather than null.
        void* pBitsOut = nullptr;
        SharedBmiRGB headerOut;
        m_hBitmap = g_WinG.pfnCreateBitmap(g_hWinGDC, GetBitmapInfo(), &pBitsOut);
        if (m_hBitmap)
            m_pBits = static_cast<BYTE*>(g_WinG.pfnGetDIBPointer(m_hBitmap, reinterpret_cast<BITMAPINFO*>(&headerOut)));
        if (!m_pBits && m_hBitmap) {
            DeleteObject(m_hBitmap);
            m_hBitmap = nullptr;
        }
    } else {
        m_pBits = static_cast<BYTE*>(AllocLocked(SIZE_T(nBytes)));
    }
    if (!m_pBits)
        ThrowMemoryError();
}

void CDibG::BuildRowOffsets()
{
    const int32_t nHeight = GetHeight();
    if (!m_pRowOffsets) {
        m_pRowOffsets = static_cast<int32_t*>(AllocLocked(SIZE_T(nHeight) * sizeof(int32_t)));
        if (!m_pRowOffsets)
            ThrowMemoryError();
    }
    if (g_nOrientation == ORIENT_TOP_DOWN) {
        for (int32_t i = 0; i < nHeight; ++i)
            m_pRowOffsets[i] = i * m_nPitch;
    } else {
        for (int32_t i = 0; i < nHeight; ++i)
            m_pRowOffsets[nHeight - 1 - i] = i * m_nPitch;
    }
}

void CDibG::SetPalette(CPalId* pPalette)
{
    m_pPalette = pPalette;
    if (!g_bWinGInUse) {
        if (g_nColorUse == DIB_PAL_COLORS) {
            WORD* pIndices = reinterpret_cast<WORD*>(m_colors);
            for (int i = 0; i < 256; ++i)
                pIndices[i] = WORD(i);
        } else if (pPalette) {
            pPalette->GetRGBQuads(m_colors);
        }
    }
    UpdateSharedHeaders(pPalette);
    if (g_bWinGInUse)
        ReadPaletteQuads(pPalette, m_colors);
}

void CDibG::UpdateSharedHeaders(CPalId* pPalette)
{
    if (g_bWinGInUse) {
        SelectPalette(g_hWinGDC, pPalette ? HPALETTE(pPalette->m_hObject) : nullptr, FALSE);
        RealizePalette(g_hWinGDC);
    }
    ReadPaletteQuads(pPalette, g_bmiRGB.bmiColors);
    for (int i = 0; i < 256; ++i)
        g_bmiIndex.bmiIndices[i] = WORD(i);
}

void CDibG::CopyBitsIn(const BYTE* pSource, int32_t nSourceOrientation)
{
    if (!IsCreated())
        return;
    const int32_t nHeight = GetHeight();
    if (nSourceOrientation == g_nOrientation) {
        // Rows are 4-byte aligned, so the block moves as 32-bit words.
        std::memcpy(m_pBits, pSource, size_t(GetImageSize()));
        return;
    }
    for (int32_t r = nHeight - 1; r >= 0; --r)
        std::memcpy(m_pBits + size_t(r) * size_t(m_nPitch), pSource + size_t(nHeight - 1 - r) * size_t(m_nPitch),
                    size_t(m_nPitch));
}

void CDibG::Fill(BYTE index)
{
    if (!IsCreated())
        return;
    // 32-bit stores over the whole block, padding included; the image size
    // is a multiple of 4 because the pitch is.
    const uint32_t value = uint32_t(index) * 0x01010101u;
    uint32_t* p = reinterpret_cast<uint32_t*>(m_pBits);
    const DWORD nWords = GetImageSize() / 4;
    for (DWORD i = 0; i < nWords; ++i)
        p[i] = value;
}

void CDibG::Destroy()
{
    if (!IsCreated())
        return;
    if (g_bWinGInUse && m_hBitmap && m_bSelected && g_hbmInitial) {
        // A bitmap selected into a DC cannot be deleted: put the first one back.
        SelectObject(g_hWinGDC, g_hbmInitial);
        g_pSelectedDib = nullptr;
        m_bSelected = FALSE;
    }
    ReleasePixels(*this);
    FreeLocked(m_pRowOffsets);
    m_pRowOffsets = nullptr;
    ClearGeometry(*this);
    m_bCreated = FALSE;
    m_bSelected = FALSE;
}

void CDibG::SetResourceModule(HMODULE hModule) { m_hResModule = hModule; }

HMODULE CDibG::GetResourceModule() { return m_hResModule ? m_hResModule : AfxGetResourceHandle(); }

RECT& CDibG::GetRect(RECT& rect)
{
    rect = RECT{0, 0, GetWidth() - 1, GetHeight() - 1};
    return rect;
}

SIZE& CDibG::GetSize(SIZE& size)
{
    size = SIZE{GetWidth(), GetHeight()};
    return size;
}

int32_t CDibG::GetWidth() { return m_bmih.biWidth; }
int32_t CDibG::GetHeight() { return m_bmih.biHeight < 0 ? -m_bmih.biHeight : m_bmih.biHeight; }
int32_t CDibG::GetPitch() { return m_nPitch; }
BITMAPINFO* CDibG::GetBitmapInfo() { return reinterpret_cast<BITMAPINFO*>(&m_bmih); }
BYTE* CDibG::GetBits() { return m_pBits; }
int32_t* CDibG::GetRowOffsets() { return m_pRowOffsets; }
DWORD CDibG::GetImageSize() { return DWORD(GetHeight()) * DWORD(m_nPitch); }
CPalId* CDibG::GetPalette() { return m_pPalette; }

// Pixel access does not check bounds, but a buffer that is not created has
// no pixels: reads give 0 and null, writes do nothing.
BYTE CDibG::GetPixel(int32_t x, int32_t y) { return GetPixel(POINT{x, y}); }

BYTE CDibG::GetPixel(const POINT& point) { return IsCreated() ? m_pBits[m_pRowOffsets[point.y] + point.x] : BYTE(0); }

BYTE* CDibG::GetPixelPtr(int32_t x, int32_t y) { return GetPixelPtr(POINT{x, y}); }

BYTE* CDibG::GetPixelPtr(const POINT& point) { return IsCreated() ? GetRowPtr(point.y) + point.x : nullptr; }

BYTE* CDibG::GetRowPtr(int32_t y) { return IsCreated() ? m_pBits + GetRowOffset(y) : nullptr; }
int32_t CDibG::GetPixelOffset(int32_t x, int32_t y) { return GetPixelOffset(POINT{x, y}); }
int32_t CDibG::GetPixelOffset(const POINT& point) { return GetRowOffset(point.y) + point.x; }
int32_t CDibG::GetRowOffset(int32_t y) { return IsCreated() ? m_pRowOffsets[y] : 0; }
int32_t CDibG::GetLineOffset(int32_t y) { return GetRowOffset(y); }
BYTE* CDibG::GetLinePtr(int32_t y) { return IsCreated() ? m_pBits + GetRowOffset(y) : nullptr; }
void CDibG::SetPixel(int32_t x, int32_t y, BYTE index) { SetPixel(POINT{x, y}, index); }

void CDibG::SetPixel(const POINT& point, BYTE index)
{
    if (IsCreated())
        m_pBits[GetPixelOffset(point)] = index;
}

void CDibG::PutBytesReserved(const BYTE*, const SIZE&, const POINT&)
{
    // Reserved slot: intentionally does nothing, whatever the size.
}

void CDibG::ThrowMemoryError() { AfxThrowMemoryException(); }
void CDibG::ThrowResourceError() { AfxThrowResourceException(); }

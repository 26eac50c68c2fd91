// Frame buffer: buffer-to-buffer copies, rectangle copies, block puts, the
// vertical flip and the colour lookups. Rows are addressed through the
// row-offset tables, so every operation works in both orientations. No
// operation clips: a rectangle that does not lie wholly inside its source
// and its destination copies nothing.
#include "surface/DibG.h"
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

namespace {

bool IsWordAligned(int32_t xSrc, int32_t xDst, int32_t cx) { return xSrc % 4 == 0 && xDst % 4 == 0 && cx % 4 == 0; }

uint32_t LoadWord(const BYTE* p)
{
    uint32_t w;
    std::memcpy(&w, p, 4);
    return w;
}

void StoreWord(BYTE* p, uint32_t w) { std::memcpy(p, &w, 4); }

// Whether a rectangle of that size at that place lies wholly inside a
// created buffer: no side negative, and the far corner within the buffer
// (summed in 64 bits, so that no position overflows). A negative size has
// nothing to copy, and one reaching outside could only read or write past
// the buffer's rows, so the copies and the block put copy nothing then.
bool Holds(CDibG& dib, const POINT& pt, const SIZE& size)
{
    return dib.IsCreated() && size.cx >= 0 && size.cy >= 0 && pt.x >= 0 && pt.y >= 0 &&
           int64_t(pt.x) + size.cx <= dib.GetWidth() && int64_t(pt.y) + size.cy <= dib.GetHeight();
}

}   // namespace

CDibG& CDibG::Assign(CDibG& source)
{
    if (source.GetWidth() == GetWidth() && source.GetHeight() == GetHeight())
        Copy(&source, TRUE);
    return *this;
}

void CDibG::CopyFrom(CDibG* pSource) { Copy(pSource, TRUE); }
void CDibG::CloneFrom(CDibG* pSource) { Copy(pSource, TRUE); }

void CDibG::Copy(CDibG* pSource, BOOL bCopyColors)
{
    if (pSource == this)
        return;
    if (!IsCreated())
        Create(pSource->GetWidth(), pSource->GetHeight(), pSource->GetPalette());
    if (pSource->GetWidth() != GetWidth() || pSource->GetHeight() != GetHeight())
        return;
    if (!IsValid() || !pSource->IsValid())
        ThrowMemoryError();
    // Equal widths give equal pitches: one block of 32-bit words.
    std::memcpy(m_pBits, pSource->m_pBits, GetImageSize());
    if (bCopyColors)
        std::memcpy(m_colors, pSource->m_colors, sizeof m_colors);
}

void CDibG::FlipVertical()
{
    const int32_t nHeight = GetHeight();
    if (!IsValid() || nHeight <= 1)
        return;
    std::unique_ptr<BYTE[]> scratch(new (std::nothrow) BYTE[size_t(m_nPitch)]);
    if (!scratch)
        ThrowMemoryError();
    for (int32_t i = 0; i < nHeight / 2; ++i) {
        BYTE* pTop = m_pBits + size_t(i) * size_t(m_nPitch);
        BYTE* pBottom = m_pBits + size_t(nHeight - 1 - i) * size_t(m_nPitch);
        std::memcpy(scratch.get(), pTop, size_t(m_nPitch));
        std::memcpy(pTop, pBottom, size_t(m_nPitch));
        std::memcpy(pBottom, scratch.get(), size_t(m_nPitch));
    }
}

void CDibG::FillRGB(const RGBTRIPLE& color) { Fill(NearestColor(color)); }

BYTE CDibG::FindColor(const RGBTRIPLE& color)
{
    // Entry 0 is the transparent index and is never returned.
    for (int i = 1; i < 256; ++i) {
        const RGBQUAD& q = g_bmiRGB.bmiColors[i];
        if (q.rgbRed == color.rgbtRed && q.rgbGreen == color.rgbtGreen && q.rgbBlue == color.rgbtBlue)
            return BYTE(i);
    }
    return NearestColor(color);
}

BYTE CDibG::NearestColor(const RGBTRIPLE& color)
{
    int nBest = 255;
    int nBestDistance = 29999;
    for (int i = 1; i < 256; ++i) {
        const RGBQUAD& q = g_bmiRGB.bmiColors[i];
        const int nDistance = std::abs(q.rgbRed - color.rgbtRed) + std::abs(q.rgbGreen - color.rgbtGreen) +
                              std::abs(q.rgbBlue - color.rgbtBlue);
        if (nDistance < nBestDistance) {   // strict: the lowest index wins a tie
            nBest = i;
            nBestDistance = nDistance;
        }
    }
    return BYTE(nBest);
}

void CDibG::CopyRect(CDibG* pSource, const POINT& ptSrc, const POINT& ptDst, const SIZE& size)
{
    if (!pSource || !Holds(*this, ptDst, size) || !Holds(*pSource, ptSrc, size))
        return;
    if (IsWordAligned(ptSrc.x, ptDst.x, size.cx)) {
        for (int32_t r = 0; r < size.cy; ++r) {
            const uint32_t* pFrom = reinterpret_cast<const uint32_t*>(pSource->GetLinePtr(ptSrc.y + r) + ptSrc.x);
            uint32_t* pTo = reinterpret_cast<uint32_t*>(GetLinePtr(ptDst.y + r) + ptDst.x);
            for (int32_t w = 0; w < size.cx / 4; ++w)
                pTo[w] = pFrom[w];
        }
        return;
    }
    for (int32_t r = size.cy - 1; r >= 0; --r) {
        const BYTE* pFrom = pSource->GetLinePtr(ptSrc.y + r) + ptSrc.x;
        BYTE* pTo = GetLinePtr(ptDst.y + r) + ptDst.x;
        for (int32_t x = 0; x < size.cx; ++x)
            pTo[x] = pFrom[x];
    }
}

void CDibG::CopyRectTransparent(CDibG* pSource, const POINT& ptSrc, const POINT& ptDst, const SIZE& size)
{
    if (!pSource || !Holds(*this, ptDst, size) || !Holds(*pSource, ptSrc, size))
        return;
    // Index 0 is transparent: a source byte of 0 leaves the destination.
    if (IsWordAligned(ptSrc.x, ptDst.x, size.cx)) {
        for (int32_t r = 0; r < size.cy; ++r) {
            const BYTE* pFrom = pSource->GetLinePtr(ptSrc.y + r) + ptSrc.x;
            BYTE* pTo = GetLinePtr(ptDst.y + r) + ptDst.x;
            for (int32_t x = 0; x < size.cx; x += 4) {
                const uint32_t w = LoadWord(pFrom + x);
                if (w == 0)
                    continue;
                if ((w & 0xFFu) && (w & 0xFF00u) && (w & 0xFF0000u) && (w & 0xFF000000u)) {
                    StoreWord(pTo + x, w);
                    continue;
                }
                for (int b = 0; b < 4; ++b)
                    if (pFrom[x + b])
                        pTo[x + b] = pFrom[x + b];
            }
        }
        return;
    }
    for (int32_t r = size.cy - 1; r >= 0; --r) {
        const BYTE* pFrom = pSource->GetLinePtr(ptSrc.y + r) + ptSrc.x;
        BYTE* pTo = GetLinePtr(ptDst.y + r) + ptDst.x;
        for (int32_t x = 0; x < size.cx; ++x)
            if (pFrom[x])
                pTo[x] = pFrom[x];
    }
}

void CDibG::PutBytes(const BYTE* pSource, const SIZE& size, const POINT& ptDst)
{
    if (!pSource || !Holds(*this, ptDst, size))
        return;
    for (int32_t r = 0; r < size.cy; ++r)
        std::memcpy(m_pBits + GetLineOffset(ptDst.y + r) + ptDst.x, pSource + size_t(r) * size_t(size.cx),
                    size_t(size.cx));
}

// Internal to the vector kernels of x86_64 builds (StarRenderSse2.cpp,
// StarRenderAvx2.cpp, StarRenderAvx512.cpp): what they share.
//
// Each works through the stars in chunks, in two passes. The first rotates
// a block of 4, 8 or 16 stars at a time and clips them, and keeps the ones
// on screen as 16-bit (h, depth) and (v, depth) pairs, in array order and
// without a branch per star. The second divides and plots those records in
// order, so the later star still wins a shared pixel.
//
// Rotations: both are sums of two 32-bit products shifted right by 16.
// With every offset from the camera in 16 bits, each sum is two PMADDWD
// instructions on 16-bit pairs: every coefficient k in -65535..65535 splits
// into 2 * (k >> 1) + (k & 1), both halves fit 16 bits, and the products
// add up modulo 2^32 exactly as the 32-bit formulas do. The shifted result
// is the sum's high 16 bits, which the next step takes from there.
//
// Offsets are taken biased by kOffsetBias, so that the ones the vector
// path handles (-16384..16383, the sheet's vertical one with its ripple)
// come out as 0..32767 and one OR per chunk checks them all. A chunk with
// an offset outside that range, the stars after the last whole block and
// frames with out-of-range coefficients go through the portable kernel.
//
// Clip before any division: 160 + trunc(n / d) lies in 0..319 exactly when
// -161 d < n < 160 d, and 100 + trunc(n / d) in 0..199 exactly when
// -101 d < n < 100 d (d > 0, which the first pair of bounds implies). Each
// bound is one PMADDWD on (h, depth) or (v, depth) pairs, negative exactly
// when the bound holds.
#pragma once

#include "starfield/StarKernels.h"

#if defined(__x86_64__) || defined(_M_X64)

namespace star_detail::vector {

// Stars per chunk (whole blocks of every kernel): the records of one chunk
// stay in the first-level cache between the passes.
constexpr int32_t kChunkStars = 512;
static_assert(kChunkStars % 16 == 0);

constexpr int32_t kOffsetBias = 0x4000;
constexpr int32_t kOffsetLimit = 0x8000; // biased offsets lie below this

// low in the low 16 bits and high in the high 16 bits.
constexpr int32_t PackPair(int32_t low, int32_t high)
{
    return static_cast<int32_t>((static_cast<uint32_t>(low) & 0xffffu) | (static_cast<uint32_t>(high) << 16));
}

// The clip bounds as PMADDWD coefficients on (h, depth) and (v, depth).
constexpr int32_t kClipRight = PackPair(160, -160);  // 160 h < 160 d
constexpr int32_t kClipLeft = PackPair(-160, -161);  // -161 d < 160 h
constexpr int32_t kClipBottom = PackPair(160, -100); // 160 v < 100 d
constexpr int32_t kClipTop = PackPair(-160, -101);   // -101 d < 160 v

// Table entries lie in -65535..65535, so they and their negations split;
// anything else (a table not built by BuildSineTable) takes the portable path.
inline bool CoefficientsFit(const StarView& view)
{
    const auto fits = [](int32_t k) { return k >= -65535 && k <= 65535; };
    return fits(view.sinPitch) && fits(view.cosPitch) && fits(view.sinYaw) && fits(view.cosYaw);
}

// A coefficient pair: k1 for the low 16-bit lane of the pairs it multiplies,
// k2 for the high one.
struct Coefficients
{
    int32_t k1, k2;
};

// The field's rotations: pitch on (dy, dz) gives v and w, then yaw on
// (dx, w) gives h and depth.
struct FieldRotations
{
    explicit FieldRotations(const StarView& view)
        : v{ view.cosPitch, -view.sinPitch }, w{ view.sinPitch, view.cosPitch },
          h{ -view.cosYaw, view.sinYaw }, depth{ view.sinYaw, view.cosYaw }
    {
    }

    Coefficients v, w, h, depth;
};

// The sheet's rotations: yaw on (dz, dx) gives depth1 and h, then pitch on
// (dy, depth1) gives v and depth.
struct SheetRotations
{
    explicit SheetRotations(const StarView& view)
        : depth1{ view.cosYaw, view.sinYaw }, h{ view.sinYaw, -view.cosYaw },
          v{ view.cosPitch, -view.sinPitch }, depth{ view.sinPitch, view.cosPitch }
    {
    }

    Coefficients depth1, h, v, depth;
};

// Both passes, chunk by chunk, with the blocks of one vector kernel:
// Block(view) holds the frame's constants, block.ClipChunk(stars, count,
// records) runs the first pass over a chunk and says whether all its
// offsets fitted, Block::Plot(records, bits, rowOffsets) runs the second.
// The portable kernel draws the chunks whose offsets did not fit, and the
// stars after the last whole block.
template <typename Block>
void DrawInChunks(DrawKernel portable, const STAR* stars, int32_t count, const StarView& view,
                  uint8_t* bits, const int32_t* rowOffsets)
{
    if (!CoefficientsFit(view))
    {
        portable(stars, count, view, bits, rowOffsets);
        return;
    }
    const Block block(view);
    typename Block::Records records;
    const int32_t blocks = count - count % Block::kStars;
    for (int32_t start = 0; start < blocks; start += kChunkStars)
    {
        const int32_t chunk = blocks - start < kChunkStars ? blocks - start : kChunkStars;
        if (block.ClipChunk(stars + start, chunk, records))
            Block::Plot(records, bits, rowOffsets);
        else
            portable(stars + start, chunk, view, bits, rowOffsets);
    }
    portable(stars + blocks, count - blocks, view, bits, rowOffsets);
}

// Divides and plots one record of a star on screen.
inline void PlotOnScreen(uint32_t hDepth, uint32_t vDepth, uint8_t* bits, const int32_t* rowOffsets)
{
    const int32_t h = static_cast<int16_t>(hDepth);
    const int32_t v = static_cast<int16_t>(vDepth);
    const int32_t depth = static_cast<int32_t>(hDepth) >> 16;
    const int32_t sx = kFrameWidth / 2 + DivideOnScreen(h * 160, depth);
    const int32_t sy = kFrameHeight / 2 + DivideOnScreen(v * 160, depth);
    int32_t colour = 10 + (depth >> 3);
    colour = colour > 235 ? 235 : colour;
    bits[rowOffsets[sy] + sx] = static_cast<uint8_t>(colour);
}

void DrawFieldSse2(const STAR* stars, int32_t count, const StarView& view, uint8_t* bits, const int32_t* rowOffsets);
void DrawSheetSse2(const STAR* stars, int32_t count, const StarView& view, uint8_t* bits, const int32_t* rowOffsets);

#if !defined(_WIN32)
// The wider kernels are in the host build only: the Windows builds do not
// promise the 32- and 64-byte stack alignment they need.
#define VELMORA_STAR_WIDE_KERNELS 1

// Eight stars at a time; only on processors that run AVX2.
bool ProcessorRunsAvx2();
void DrawFieldAvx2(const STAR* stars, int32_t count, const StarView& view, uint8_t* bits, const int32_t* rowOffsets);
void DrawSheetAvx2(const STAR* stars, int32_t count, const StarView& view, uint8_t* bits, const int32_t* rowOffsets);
// What the first pass of the AVX2 and AVX-512 kernels keeps of a chunk:
// (h, depth) and (v, depth) of each star on screen, in order.
struct WideRecords
{
    alignas(64) uint32_t hDepth[kChunkStars];
    alignas(64) uint32_t vDepth[kChunkStars];
    int32_t count;
};

// Their second pass: divides and plots the records in order.
void PlotRecordsAvx2(const WideRecords& records, uint8_t* bits, const int32_t* rowOffsets);

// Sixteen stars at a time; only on processors that run AVX-512 (F, BW, DQ).
bool ProcessorRunsAvx512();
void DrawFieldAvx512(const STAR* stars, int32_t count, const StarView& view, uint8_t* bits, const int32_t* rowOffsets);
void DrawSheetAvx512(const STAR* stars, int32_t count, const StarView& view, uint8_t* bits, const int32_t* rowOffsets);
#endif

} // namespace star_detail::vector

#endif

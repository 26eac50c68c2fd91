// The fast kernels: four stars at a time with SSE2 where the compiler
// targets it (every x86_64 build), the portable kernels otherwise.
//
// Both rotations are sums of two 32-bit products shifted right by 16. With
// the camera offsets in -32768..32767 (always so for the stars the engine
// places), each sum is two PMADDWD instructions on 16-bit pairs: every
// coefficient k in -65536..65535 splits into 2 * (k >> 1) + (k & 1), both
// halves fit 16 bits, and the products add up modulo 2^32 exactly as the
// 32-bit formulas do. Blocks outside that range, the last count % 4 stars
// and frames with out-of-range coefficients go through the portable kernel.
//
// The clip test runs on the whole block before any division:
// 160 + trunc(n / d) lies in 0..319 exactly when -161 d < n < 160 d, and
// 100 + trunc(n / d) in 0..199 exactly when -101 d < n < 100 d (d > 0).
// Only stars that pass are divided, by an exact reciprocal.
#include "starfield/StarKernels.h"
#include "starfield/StarMath.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace star_detail {

#if defined(__SSE2__)

namespace {

// Coefficient pair (k1 for the low 16-bit lane, k2 for the high one) split
// into the halves PMADDWD multiplies by.
struct CoefficientPair
{
    __m128i high;
    __m128i low;
};

// Table entries lie in -65535..65535, so they and their negations split;
// anything else (a table not built by BuildSineTable) takes the portable path.
bool FitsSplit(int32_t k)
{
    return k >= -65535 && k <= 65535;
}

CoefficientPair MakePair(int32_t k1, int32_t k2)
{
    const uint32_t high = (static_cast<uint32_t>(k1 >> 1) & 0xffffu) | (static_cast<uint32_t>(k2 >> 1) << 16);
    const uint32_t low = static_cast<uint32_t>(k1 & 1) | (static_cast<uint32_t>(k2 & 1) << 16);
    return { _mm_set1_epi32(static_cast<int32_t>(high)), _mm_set1_epi32(static_cast<int32_t>(low)) };
}

// Lanes a (low half) and b (high half) of each 32-bit element, both known
// to fit 16 bits.
inline __m128i Interleave(__m128i a, __m128i b)
{
    return _mm_or_si128(_mm_and_si128(a, _mm_set1_epi32(0xffff)), _mm_slli_epi32(b, 16));
}

// (a * k1 + b * k2) >> 16 per lane, modulo 2^32 before the shift.
inline __m128i Rotate(__m128i pairs, const CoefficientPair& k)
{
    const __m128i doubled = _mm_slli_epi32(_mm_madd_epi16(pairs, k.high), 1);
    return _mm_srai_epi32(_mm_add_epi32(doubled, _mm_madd_epi16(pairs, k.low)), 16);
}

// Nonzero when every lane of a, b and c lies in -32768..32767.
inline bool AllFit16(__m128i a, __m128i b, __m128i c)
{
    const __m128i bias = _mm_set1_epi32(0x8000);
    const __m128i spread = _mm_or_si128(_mm_or_si128(_mm_add_epi32(a, bias), _mm_add_epi32(b, bias)),
                                        _mm_add_epi32(c, bias));
    const __m128i outside = _mm_srli_epi32(spread, 16);
    return _mm_movemask_epi8(_mm_cmpeq_epi32(outside, _mm_setzero_si128())) == 0xffff;
}

// Four consecutive stars (x, y, z records) into one vector per axis.
inline void LoadBlock(const STAR* stars, __m128i& x, __m128i& y, __m128i& z)
{
    const float* p = reinterpret_cast<const float*>(stars);
    const __m128 a = _mm_loadu_ps(p);     // x0 y0 z0 x1
    const __m128 b = _mm_loadu_ps(p + 4); // y1 z1 x2 y2
    const __m128 c = _mm_loadu_ps(p + 8); // z2 x3 y3 z3
    const __m128 t0 = _mm_shuffle_ps(a, b, _MM_SHUFFLE(1, 0, 3, 2)); // z0 x1 y1 z1
    const __m128 t1 = _mm_shuffle_ps(b, c, _MM_SHUFFLE(1, 0, 3, 2)); // x2 y2 z2 x3
    x = _mm_castps_si128(_mm_shuffle_ps(a, t1, _MM_SHUFFLE(3, 0, 3, 0)));
    const __m128 y01 = _mm_shuffle_ps(a, t0, _MM_SHUFFLE(2, 2, 1, 1)); // y0 y0 y1 y1
    const __m128 y23 = _mm_shuffle_ps(t1, c, _MM_SHUFFLE(2, 2, 1, 1)); // y2 y2 y3 y3
    y = _mm_castps_si128(_mm_shuffle_ps(y01, y23, _MM_SHUFFLE(2, 0, 2, 0)));
    z = _mm_castps_si128(_mm_shuffle_ps(t0, c, _MM_SHUFFLE(3, 0, 3, 0)));
}

// Clip the block, then divide and plot the lanes that are on screen, in
// array order so that the later star wins a shared pixel.
inline void PlotBlock(uint8_t* bits, const int32_t* rowOffsets, __m128i h, __m128i v, __m128i depth)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i nh = _mm_add_epi32(_mm_slli_epi32(h, 7), _mm_slli_epi32(h, 5));   // 160 h
    const __m128i nv = _mm_add_epi32(_mm_slli_epi32(v, 7), _mm_slli_epi32(v, 5));   // 160 v
    const __m128i d32 = _mm_slli_epi32(depth, 5);
    const __m128i d160 = _mm_add_epi32(_mm_slli_epi32(depth, 7), d32);
    const __m128i d100 = _mm_add_epi32(_mm_add_epi32(_mm_slli_epi32(depth, 6), d32), _mm_slli_epi32(depth, 2));
    __m128i on = _mm_cmpgt_epi32(depth, zero);
    on = _mm_and_si128(on, _mm_cmplt_epi32(nh, d160));
    on = _mm_and_si128(on, _mm_cmpgt_epi32(nh, _mm_sub_epi32(zero, _mm_add_epi32(d160, depth))));
    on = _mm_and_si128(on, _mm_cmplt_epi32(nv, d100));
    on = _mm_and_si128(on, _mm_cmpgt_epi32(nv, _mm_sub_epi32(zero, _mm_add_epi32(d100, depth))));
    uint32_t mask = static_cast<uint32_t>(_mm_movemask_ps(_mm_castsi128_ps(on)));
    if (mask == 0)
        return;

    alignas(16) int32_t across[4];
    alignas(16) int32_t down[4];
    alignas(16) int32_t depths[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(across), nh);
    _mm_store_si128(reinterpret_cast<__m128i*>(down), nv);
    _mm_store_si128(reinterpret_cast<__m128i*>(depths), depth);
    do
    {
        const int lane = __builtin_ctz(mask);
        mask &= mask - 1;
        const int32_t d = depths[lane];
        const int32_t sx = kFrameWidth / 2 + DivideOnScreen(across[lane], d);
        const int32_t sy = kFrameHeight / 2 + DivideOnScreen(down[lane], d);
        int32_t colour = 10 + (d >> 3);
        colour = colour > 235 ? 235 : colour;
        bits[rowOffsets[sy] + sx] = static_cast<uint8_t>(colour);
    } while (mask != 0);
}

bool CoefficientsFit(const StarView& view)
{
    return FitsSplit(view.sinPitch) && FitsSplit(view.cosPitch) &&
           FitsSplit(view.sinYaw) && FitsSplit(view.cosYaw);
}

} // namespace

void DrawFieldFast(const STAR* stars, int32_t count, const StarView& view,
                   uint8_t* bits, const int32_t* rowOffsets)
{
    if (!CoefficientsFit(view))
    {
        DrawFieldPortable(stars, count, view, bits, rowOffsets);
        return;
    }
    const CoefficientPair kv = MakePair(view.cosPitch, -view.sinPitch); // (dy, dz) -> v
    const CoefficientPair kw = MakePair(view.sinPitch, view.cosPitch);  // (dy, dz) -> w
    const CoefficientPair kh = MakePair(-view.cosYaw, view.sinYaw);     // (dx, w) -> h
    const CoefficientPair kd = MakePair(view.sinYaw, view.cosYaw);      // (dx, w) -> depth
    const __m128i camX = _mm_set1_epi32(view.camX);
    const __m128i camY = _mm_set1_epi32(view.camY);
    const __m128i camZ = _mm_set1_epi32(view.camZ);

    const int32_t blocks = count & ~3;
    for (int32_t i = 0; i < blocks; i += 4)
    {
        __m128i x, y, z;
        LoadBlock(stars + i, x, y, z);
        const __m128i dx = _mm_sub_epi32(x, camX);
        const __m128i dy = _mm_sub_epi32(y, camY);
        const __m128i dz = _mm_sub_epi32(z, camZ);
        if (!AllFit16(dx, dy, dz))
        {
            DrawFieldPortable(stars + i, 4, view, bits, rowOffsets);
            continue;
        }
        const __m128i pitchPairs = Interleave(dy, dz);
        const __m128i v = Rotate(pitchPairs, kv);
        const __m128i w = Rotate(pitchPairs, kw);
        const __m128i yawPairs = Interleave(dx, w);
        PlotBlock(bits, rowOffsets, Rotate(yawPairs, kh), v, Rotate(yawPairs, kd));
    }
    DrawFieldPortable(stars + blocks, count - blocks, view, bits, rowOffsets);
}

void DrawSheetFast(const STAR* stars, int32_t count, const StarView& view,
                   uint8_t* bits, const int32_t* rowOffsets)
{
    if (!CoefficientsFit(view))
    {
        DrawSheetPortable(stars, count, view, bits, rowOffsets);
        return;
    }
    const CoefficientPair kDepth1 = MakePair(view.cosYaw, view.sinYaw);  // (dz, dx) -> depth1
    const CoefficientPair kh = MakePair(view.sinYaw, -view.cosYaw);      // (dz, dx) -> h
    const CoefficientPair kv = MakePair(view.cosPitch, -view.sinPitch);  // (dy, depth1) -> v
    const CoefficientPair kd = MakePair(view.sinPitch, view.cosPitch);   // (dy, depth1) -> depth
    const __m128i camX = _mm_set1_epi32(view.camX);
    const __m128i camY = _mm_set1_epi32(view.camY);
    const __m128i camZ = _mm_set1_epi32(view.camZ);
    const __m128i phase = _mm_set1_epi32(view.ripplePhase);
    const __m128i bandMask = _mm_set1_epi32(~63);
    const __m128i indexMask = _mm_set1_epi32(kSineEntries - 1);

    const int32_t blocks = count & ~3;
    for (int32_t i = 0; i < blocks; i += 4)
    {
        __m128i x, y, z;
        LoadBlock(stars + i, x, y, z);
        const __m128i index = _mm_and_si128(
            _mm_add_epi32(_mm_add_epi32(phase, _mm_and_si128(x, bandMask)), _mm_srai_epi32(z, 6)), indexMask);
        alignas(16) int32_t lanes[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(lanes), index);
        const __m128i ripple = _mm_srai_epi32(
            _mm_set_epi32(g_sinTable[lanes[3]], g_sinTable[lanes[2]], g_sinTable[lanes[1]], g_sinTable[lanes[0]]), 9);
        const __m128i dx = _mm_sub_epi32(x, camX);
        const __m128i dy = _mm_sub_epi32(_mm_add_epi32(y, ripple), camY);
        const __m128i dz = _mm_sub_epi32(z, camZ);
        if (!AllFit16(dx, dy, dz))
        {
            DrawSheetPortable(stars + i, 4, view, bits, rowOffsets);
            continue;
        }
        const __m128i yawPairs = Interleave(dz, dx);
        const __m128i depth1 = Rotate(yawPairs, kDepth1);
        const __m128i h = Rotate(yawPairs, kh);
        const __m128i pitchPairs = Interleave(dy, depth1);
        PlotBlock(bits, rowOffsets, h, Rotate(pitchPairs, kv), Rotate(pitchPairs, kd));
    }
    DrawSheetPortable(stars + blocks, count - blocks, view, bits, rowOffsets);
}

#else // no SSE2: the portable kernels are the fast ones

void DrawFieldFast(const STAR* stars, int32_t count, const StarView& view,
                   uint8_t* bits, const int32_t* rowOffsets)
{
    DrawFieldPortable(stars, count, view, bits, rowOffsets);
}

void DrawSheetFast(const STAR* stars, int32_t count, const StarView& view,
                   uint8_t* bits, const int32_t* rowOffsets)
{
    DrawSheetPortable(stars, count, view, bits, rowOffsets);
}

#endif

} // namespace star_detail

// The SSE2 kernels of x86_64 builds: four stars at a time (see StarVector.h).
#include "starfield/StarVector.h"

#if defined(__x86_64__) || defined(_M_X64)

#include "starfield/StarMath.h"

#include <emmintrin.h>

namespace star_detail::vector {

namespace {

// Coefficient pair (k1 for the low 16-bit lane, k2 for the high one) split
// into the halves PMADDWD multiplies by.
struct CoefficientPair
{
    __m128i high;
    __m128i low;
};

__m128i Pair16(int32_t low, int32_t high)
{
    return _mm_set1_epi32(PackPair(low, high));
}

CoefficientPair Split(const Coefficients& k)
{
    return { Pair16(k.k1 >> 1, k.k2 >> 1), Pair16(k.k1 & 1, k.k2 & 1) };
}

// a * k1 + b * k2 per element, modulo 2^32, for 16-bit pairs (a, b): the
// rotation before its shift, so the rotated value is the high 16 bits.
inline __m128i RotateSum(__m128i pairs, const CoefficientPair& k)
{
    return _mm_add_epi32(_mm_slli_epi32(_mm_madd_epi16(pairs, k.high), 1), _mm_madd_epi16(pairs, k.low));
}

inline __m128i HighHalves(__m128i a)
{
    return _mm_andnot_si128(_mm_set1_epi32(0xffff), a);
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

struct ClipBounds
{
    __m128i right = _mm_set1_epi32(kClipRight);
    __m128i left = _mm_set1_epi32(kClipLeft);
    __m128i bottom = _mm_set1_epi32(kClipBottom);
    __m128i top = _mm_set1_epi32(kClipTop);
};

// kLanesBelow[mask][j]: how many of the lanes below lane j are set in mask.
struct LanePrefixes
{
    uint8_t below[16][5];

    constexpr LanePrefixes() : below()
    {
        for (int32_t mask = 0; mask < 16; ++mask)
            for (int32_t lane = 1; lane <= 4; ++lane)
                below[mask][lane] = static_cast<uint8_t>(below[mask][lane - 1] + ((mask >> (lane - 1)) & 1));
    }
};

constexpr LanePrefixes kLanesBelow;

// Records of the stars on screen, 64 bits each: h and depth in the low
// word, v and depth in the high one, 16 bits apiece.
using OnScreenRecord = uint64_t;

// Clips one block of rotation sums (h, v and depth in their high 16 bits)
// and appends the stars on screen at records[count...] in lane order. Every
// lane is written; only the ones on screen count. Returns the new count.
inline int32_t ClipBlock(OnScreenRecord* records, int32_t count, const ClipBounds& clip,
                         __m128i hSum, __m128i vSum, __m128i depthSum)
{
    const __m128i depthHigh = HighHalves(depthSum);
    const __m128i hDepth = _mm_or_si128(_mm_srli_epi32(hSum, 16), depthHigh);
    const __m128i vDepth = _mm_or_si128(_mm_srli_epi32(vSum, 16), depthHigh);
    const __m128i inside = _mm_and_si128(
        _mm_and_si128(_mm_madd_epi16(hDepth, clip.right), _mm_madd_epi16(hDepth, clip.left)),
        _mm_and_si128(_mm_madd_epi16(vDepth, clip.bottom), _mm_madd_epi16(vDepth, clip.top)));
    const uint8_t* below = kLanesBelow.below[_mm_movemask_ps(_mm_castsi128_ps(inside))];

    const __m128d first = _mm_castsi128_pd(_mm_unpacklo_epi32(hDepth, vDepth));
    const __m128d second = _mm_castsi128_pd(_mm_unpackhi_epi32(hDepth, vDepth));
    _mm_storel_pd(reinterpret_cast<double*>(records + count), first);
    _mm_storeh_pd(reinterpret_cast<double*>(records + count + below[1]), first);
    _mm_storel_pd(reinterpret_cast<double*>(records + count + below[2]), second);
    _mm_storeh_pd(reinterpret_cast<double*>(records + count + below[3]), second);
    return count + below[4];
}

void PlotRecords(const OnScreenRecord* records, int32_t count, uint8_t* bits, const int32_t* rowOffsets)
{
    for (int32_t i = 0; i < count; ++i)
        PlotOnScreen(static_cast<uint32_t>(records[i]), static_cast<uint32_t>(records[i] >> 32), bits, rowOffsets);
}

// Whether every biased offset ORed into spread lies in 0..kOffsetLimit - 1.
inline bool OffsetsFit(__m128i spread)
{
    static_assert(kOffsetLimit == 1 << 15);
    return _mm_movemask_epi8(_mm_cmpeq_epi32(_mm_srli_epi32(spread, 15), _mm_setzero_si128())) == 0xffff;
}

// What the SSE2 blocks share: the records of a chunk, the chunk's first
// pass and the second.
template <typename Block>
struct Sse2Block
{
    static constexpr int32_t kStars = 4;

    struct Records
    {
        alignas(16) OnScreenRecord entries[kChunkStars];
        int32_t count;
    };

    bool ClipChunk(const STAR* stars, int32_t count, Records& records) const
    {
        __m128i spread = _mm_setzero_si128();
        int32_t onScreen = 0;
        for (int32_t i = 0; i < count; i += kStars)
            onScreen = static_cast<const Block&>(*this)(stars + i, spread, records.entries, onScreen);
        records.count = onScreen;
        return OffsetsFit(spread);
    }

    static void Plot(const Records& records, uint8_t* bits, const int32_t* rowOffsets)
    {
        PlotRecords(records.entries, records.count, bits, rowOffsets);
    }
};

// One block of the field. The camera less the bias is subtracted from the
// records as loaded (x0 y0 z0 x1, y1 z1 x2 y2, z2 x3 y3 z3), which gives the
// biased offsets in the same pattern.
struct FieldBlock : Sse2Block<FieldBlock>
{
    explicit FieldBlock(const StarView& view)
    {
        const FieldRotations rotations(view);
        kv = Split(rotations.v);
        kw = Split(rotations.w);
        kh = Split(rotations.h);
        kd = Split(rotations.depth);
        const int32_t x = WrapSub(view.camX, kOffsetBias);
        const int32_t y = WrapSub(view.camY, kOffsetBias);
        const int32_t z = WrapSub(view.camZ, kOffsetBias);
        originA = _mm_setr_epi32(x, y, z, x);
        originB = _mm_setr_epi32(y, z, x, y);
        originC = _mm_setr_epi32(z, x, y, z);
    }

    // Clips stars[0..4) into records[count...] (see ClipBlock) and ORs
    // their biased offsets into spread.
    inline int32_t operator()(const STAR* stars, __m128i& spread, OnScreenRecord* records, int32_t count) const
    {
        const __m128i* p = reinterpret_cast<const __m128i*>(stars);
        const __m128i a = _mm_sub_epi32(_mm_loadu_si128(p), originA);
        const __m128i b = _mm_sub_epi32(_mm_loadu_si128(p + 1), originB);
        const __m128i c = _mm_sub_epi32(_mm_loadu_si128(p + 2), originC);
        spread = _mm_or_si128(spread, _mm_or_si128(_mm_or_si128(a, b), c));
        const __m128 fa = _mm_castsi128_ps(a);
        const __m128 fc = _mm_castsi128_ps(c);
        const __m128 x2y2z2x3 = _mm_shuffle_ps(_mm_castsi128_ps(b), fc, _MM_SHUFFLE(1, 0, 3, 2));
        const __m128 yz01 = _mm_shuffle_ps(fa, _mm_castsi128_ps(b), _MM_SHUFFLE(1, 0, 2, 1));
        const __m128 yz23 = _mm_shuffle_ps(x2y2z2x3, fc, _MM_SHUFFLE(3, 2, 2, 1));
        const __m128i x0123 = _mm_castps_si128(_mm_shuffle_ps(fa, x2y2z2x3, _MM_SHUFFLE(3, 0, 3, 0)));
        // (dy, dz) pairs and dx (high halves zero) in 16 bits; offsets that
        // pass the chunk's check do not saturate in the pack.
        const __m128i pitchPairs = _mm_sub_epi16(_mm_packs_epi32(_mm_castps_si128(yz01), _mm_castps_si128(yz23)),
                                                 Pair16(kOffsetBias, kOffsetBias));
        const __m128i dx = _mm_sub_epi16(x0123, Pair16(kOffsetBias, 0));
        const __m128i vSum = RotateSum(pitchPairs, kv);
        const __m128i yawPairs = _mm_or_si128(dx, HighHalves(RotateSum(pitchPairs, kw)));
        return ClipBlock(records, count, clip, RotateSum(yawPairs, kh), vSum, RotateSum(yawPairs, kd));
    }

    CoefficientPair kv, kw, kh, kd;
    __m128i originA, originB, originC;
    ClipBounds clip;
};

// One block of the sheet: ripple, yaw, pitch.
struct SheetBlock : Sse2Block<SheetBlock>
{
    explicit SheetBlock(const StarView& view)
        : originX(_mm_set1_epi32(WrapSub(view.camX, kOffsetBias))),
          originY(_mm_set1_epi32(WrapSub(view.camY, kOffsetBias))),
          originZ(_mm_set1_epi32(WrapSub(view.camZ, kOffsetBias))),
          phase(_mm_set1_epi32(view.ripplePhase))
    {
        const SheetRotations rotations(view);
        kDepth1 = Split(rotations.depth1);
        kh = Split(rotations.h);
        kv = Split(rotations.v);
        kd = Split(rotations.depth);
    }

    inline int32_t operator()(const STAR* stars, __m128i& spread, OnScreenRecord* records, int32_t count) const
    {
        __m128i x, y, z;
        LoadBlock(stars, x, y, z);
        const __m128i band = _mm_and_si128(x, _mm_set1_epi32(~63));
        const __m128i index = _mm_and_si128(_mm_add_epi32(_mm_add_epi32(phase, band), _mm_srai_epi32(z, 6)),
                                            _mm_set1_epi32(kSineEntries - 1));
        alignas(16) int32_t lanes[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(lanes), index);
        const __m128i ripple = _mm_srai_epi32(
            _mm_set_epi32(g_sinTable[lanes[3]], g_sinTable[lanes[2]], g_sinTable[lanes[1]], g_sinTable[lanes[0]]), 9);
        const __m128i dx = _mm_sub_epi32(x, originX);
        const __m128i dy = _mm_sub_epi32(_mm_add_epi32(y, ripple), originY);
        const __m128i dz = _mm_sub_epi32(z, originZ);
        spread = _mm_or_si128(spread, _mm_or_si128(_mm_or_si128(dx, dy), dz));
        const __m128i yawPairs = _mm_sub_epi16(_mm_or_si128(dz, _mm_slli_epi32(dx, 16)),
                                               Pair16(kOffsetBias, kOffsetBias));
        const __m128i depth1Sum = RotateSum(yawPairs, kDepth1);
        const __m128i pitchPairs = _mm_sub_epi16(_mm_or_si128(dy, HighHalves(depth1Sum)), Pair16(kOffsetBias, 0));
        return ClipBlock(records, count, clip, RotateSum(yawPairs, kh), RotateSum(pitchPairs, kv),
                         RotateSum(pitchPairs, kd));
    }

    CoefficientPair kDepth1, kh, kv, kd;
    __m128i originX, originY, originZ, phase;
    ClipBounds clip;
};

} // namespace

void DrawFieldSse2(const STAR* stars, int32_t count, const StarView& view, uint8_t* bits, const int32_t* rowOffsets)
{
    DrawInChunks<FieldBlock>(&DrawFieldPortable, stars, count, view, bits, rowOffsets);
}

void DrawSheetSse2(const STAR* stars, int32_t count, const StarView& view, uint8_t* bits, const int32_t* rowOffsets)
{
    DrawInChunks<SheetBlock>(&DrawSheetPortable, stars, count, view, bits, rowOffsets);
}

} // namespace star_detail::vector

#endif

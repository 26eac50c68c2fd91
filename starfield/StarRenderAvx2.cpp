// The AVX2 kernels of the x86_64 host build: eight stars at a time (see
// StarVector.h), used only where the processor runs AVX2. Every function
// here that uses it carries the target attribute, so that nothing compiled
// for AVX2 can stand in for a function the rest of the engine calls.
#include "starfield/StarVector.h"

#if defined(VELMORA_STAR_WIDE_KERNELS)

#include "starfield/StarMath.h"

#include <immintrin.h>

#define VELMORA_AVX2 __attribute__((target("avx2,popcnt")))

namespace star_detail::vector {

bool ProcessorRunsAvx2()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt");
}

namespace {

// kLeftPack[mask]: for each output lane, three bits naming the input lane
// that goes there, so that the lanes of mask come first in lane order.
struct LeftPackTable
{
    uint32_t lanes[256];

    constexpr LeftPackTable() : lanes()
    {
        for (int32_t mask = 0; mask < 256; ++mask)
        {
            int32_t out = 0;
            for (int32_t lane = 0; lane < 8; ++lane)
                if ((mask >> lane) & 1)
                    lanes[mask] |= static_cast<uint32_t>(lane) << (3 * out++);
        }
    }
};

constexpr LeftPackTable kLeftPack;

struct CoefficientPair
{
    __m256i high;
    __m256i low;
};

VELMORA_AVX2 inline __m256i Pair16(int32_t low, int32_t high)
{
    return _mm256_set1_epi32(PackPair(low, high));
}

VELMORA_AVX2 inline CoefficientPair Split(const Coefficients& k)
{
    return { Pair16(k.k1 >> 1, k.k2 >> 1), Pair16(k.k1 & 1, k.k2 & 1) };
}

VELMORA_AVX2 inline __m256i RotateSum(__m256i pairs, const CoefficientPair& k)
{
    return _mm256_add_epi32(_mm256_slli_epi32(_mm256_madd_epi16(pairs, k.high), 1),
                            _mm256_madd_epi16(pairs, k.low));
}

// The low 16 bits of low and the high 16 bits of high in each element.
VELMORA_AVX2 inline __m256i LowHigh(__m256i low, __m256i high)
{
    return _mm256_blend_epi16(low, high, 0xaa);
}

// Eight consecutive stars (x, y, z records) into one vector per axis: two
// blends gather each axis from the three loads, a permutation orders it.
VELMORA_AVX2 inline void LoadBlock(const STAR* stars, __m256i& x, __m256i& y, __m256i& z)
{
    const __m256i* p = reinterpret_cast<const __m256i*>(stars);
    const __m256i a = _mm256_loadu_si256(p);     // x0 y0 z0 x1 y1 z1 x2 y2
    const __m256i b = _mm256_loadu_si256(p + 1); // z2 x3 y3 z3 x4 y4 z4 x5
    const __m256i c = _mm256_loadu_si256(p + 2); // y5 z5 x6 y6 z6 x7 y7 z7
    x = _mm256_permutevar8x32_epi32(_mm256_blend_epi32(_mm256_blend_epi32(a, b, 0x92), c, 0x24),
                                    _mm256_setr_epi32(0, 3, 6, 1, 4, 7, 2, 5));
    y = _mm256_permutevar8x32_epi32(_mm256_blend_epi32(_mm256_blend_epi32(a, b, 0x24), c, 0x49),
                                    _mm256_setr_epi32(1, 4, 7, 2, 5, 0, 3, 6));
    z = _mm256_permutevar8x32_epi32(_mm256_blend_epi32(_mm256_blend_epi32(a, b, 0x49), c, 0x92),
                                    _mm256_setr_epi32(2, 5, 0, 3, 6, 1, 4, 7));
}

// Clips one block of rotation sums (h, v and depth in their high 16 bits)
// and writes the stars on screen to hOut and vOut in lane order, followed
// by whatever fills the other lanes. Returns how many are on screen.
VELMORA_AVX2 inline int32_t ClipBlock(uint32_t* hOut, uint32_t* vOut, __m256i hSum, __m256i vSum, __m256i depthSum)
{
    const __m256i hDepth = LowHigh(_mm256_srli_epi32(hSum, 16), depthSum);
    const __m256i vDepth = LowHigh(_mm256_srli_epi32(vSum, 16), depthSum);
    const __m256i inside = _mm256_and_si256(
        _mm256_and_si256(_mm256_madd_epi16(hDepth, _mm256_set1_epi32(kClipRight)),
                         _mm256_madd_epi16(hDepth, _mm256_set1_epi32(kClipLeft))),
        _mm256_and_si256(_mm256_madd_epi16(vDepth, _mm256_set1_epi32(kClipBottom)),
                         _mm256_madd_epi16(vDepth, _mm256_set1_epi32(kClipTop))));
    const uint32_t mask = static_cast<uint32_t>(_mm256_movemask_ps(_mm256_castsi256_ps(inside)));
    const __m256i order = _mm256_srlv_epi32(_mm256_set1_epi32(static_cast<int32_t>(kLeftPack.lanes[mask])),
                                            _mm256_setr_epi32(0, 3, 6, 9, 12, 15, 18, 21));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(hOut), _mm256_permutevar8x32_epi32(hDepth, order));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(vOut), _mm256_permutevar8x32_epi32(vDepth, order));
    return __builtin_popcount(mask);
}

// trunc(n / d) per lane for on-screen n and d below kReciprocalDepths, given
// the reciprocals of d (see DivideOnScreen).
VELMORA_AVX2 inline __m256i DivideOnScreen8(__m256i n, __m256i reciprocal, __m256i reciprocalOdd)
{
    const __m256i magnitude = _mm256_abs_epi32(n);
    const __m256i even = _mm256_srli_epi64(_mm256_mul_epu32(magnitude, reciprocal), kReciprocalShift);
    const __m256i odd = _mm256_slli_epi64(_mm256_mul_epu32(_mm256_srli_epi64(magnitude, 32), reciprocalOdd),
                                          32 - kReciprocalShift);
    return _mm256_sign_epi32(_mm256_blend_epi32(even, odd, 0xaa), n);
}

} // namespace

// Divides and plots the records in order, eight at a time where every
// depth has a reciprocal.
VELMORA_AVX2 void PlotRecordsAvx2(const WideRecords& records, uint8_t* bits, const int32_t* rowOffsets)
{
    const uint32_t* hDepths = records.hDepth;
    const uint32_t* vDepths = records.vDepth;
    const int32_t count = records.count;
    const __m256i scale = Pair16(160, 0);
    const __m256i deepest = _mm256_set1_epi32(kReciprocalDepths - 1);
    const int* reciprocals = reinterpret_cast<const int*>(g_pReciprocals);
    int32_t i = 0;
    for (; i + 8 <= count; i += 8)
    {
        const __m256i hDepth = _mm256_load_si256(reinterpret_cast<const __m256i*>(hDepths + i));
        const __m256i vDepth = _mm256_load_si256(reinterpret_cast<const __m256i*>(vDepths + i));
        const __m256i depth = _mm256_srai_epi32(hDepth, 16);
        if (_mm256_movemask_epi8(_mm256_cmpgt_epi32(depth, deepest)) != 0)
        {
            for (int32_t k = i; k < i + 8; ++k)
                PlotOnScreen(hDepths[k], vDepths[k], bits, rowOffsets);
            continue;
        }
        const __m256i reciprocal = _mm256_i32gather_epi32(reciprocals, depth, 4);
        const __m256i reciprocalOdd = _mm256_srli_epi64(reciprocal, 32);
        const __m256i sx = _mm256_add_epi32(
            _mm256_set1_epi32(kFrameWidth / 2),
            DivideOnScreen8(_mm256_madd_epi16(hDepth, scale), reciprocal, reciprocalOdd));
        const __m256i sy = _mm256_add_epi32(
            _mm256_set1_epi32(kFrameHeight / 2),
            DivideOnScreen8(_mm256_madd_epi16(vDepth, scale), reciprocal, reciprocalOdd));
        const __m256i colour = _mm256_min_epi32(_mm256_add_epi32(_mm256_srai_epi32(depth, 3), _mm256_set1_epi32(10)),
                                                _mm256_set1_epi32(235));
        alignas(32) int32_t offsets[8];
        alignas(32) int32_t colours[8];
        _mm256_store_si256(reinterpret_cast<__m256i*>(offsets),
                           _mm256_add_epi32(_mm256_i32gather_epi32(rowOffsets, sy, 4), sx));
        _mm256_store_si256(reinterpret_cast<__m256i*>(colours), colour);
        // Read them back through memory: the load ports are idle here, while
        // extracting each lane from the registers would queue on the
        // shuffle port the vector arithmetic needs.
        asm("" : "+m"(offsets), "+m"(colours));
        for (int32_t k = 0; k < 8; ++k)
            bits[offsets[k]] = static_cast<uint8_t>(colours[k]);
    }
    for (; i < count; ++i)
        PlotOnScreen(hDepths[i], vDepths[i], bits, rowOffsets);
}

namespace {

VELMORA_AVX2 inline bool OffsetsFit(__m256i spread)
{
    static_assert(kOffsetLimit == 1 << 15);
    return _mm256_testz_si256(spread, _mm256_set1_epi32(~(kOffsetLimit - 1))) != 0;
}

// The camera less the bias, so that a coordinate less its origin is the
// biased offset.
struct Origin
{
    VELMORA_AVX2 explicit Origin(const StarView& view)
        : x(_mm256_set1_epi32(WrapSub(view.camX, kOffsetBias))),
          y(_mm256_set1_epi32(WrapSub(view.camY, kOffsetBias))),
          z(_mm256_set1_epi32(WrapSub(view.camZ, kOffsetBias)))
    {
    }

    __m256i x, y, z;
};

// What the AVX2 blocks share: the chunk's first pass and the second.
template <typename Block>
struct Avx2Block
{
    static constexpr int32_t kStars = 8;
    using Records = WideRecords;

    VELMORA_AVX2 bool ClipChunk(const STAR* stars, int32_t count, Records& records) const
    {
        __m256i spread = _mm256_setzero_si256();
        int32_t onScreen = 0;
        for (int32_t i = 0; i < count; i += kStars)
            onScreen += static_cast<const Block&>(*this)(stars + i, spread, records.hDepth + onScreen,
                                                         records.vDepth + onScreen);
        records.count = onScreen;
        return OffsetsFit(spread);
    }

    static void Plot(const Records& records, uint8_t* bits, const int32_t* rowOffsets)
    {
        PlotRecordsAvx2(records, bits, rowOffsets);
    }
};

struct FieldBlock : Avx2Block<FieldBlock>
{
    VELMORA_AVX2 explicit FieldBlock(const StarView& view) : origin(view)
    {
        const FieldRotations rotations(view);
        kv = Split(rotations.v);
        kw = Split(rotations.w);
        kh = Split(rotations.h);
        kd = Split(rotations.depth);
    }

    // Clips stars[0..8) into hOut and vOut (see ClipBlock) and ORs their
    // biased offsets into spread.
    VELMORA_AVX2 int32_t operator()(const STAR* stars, __m256i& spread, uint32_t* hOut, uint32_t* vOut) const
    {
        __m256i x, y, z;
        LoadBlock(stars, x, y, z);
        const __m256i dx = _mm256_sub_epi32(x, origin.x);
        const __m256i dy = _mm256_sub_epi32(y, origin.y);
        const __m256i dz = _mm256_sub_epi32(z, origin.z);
        spread = _mm256_or_si256(spread, _mm256_or_si256(_mm256_or_si256(dx, dy), dz));
        const __m256i pitchPairs = _mm256_sub_epi16(_mm256_or_si256(dy, _mm256_slli_epi32(dz, 16)),
                                                    Pair16(kOffsetBias, kOffsetBias));
        const __m256i vSum = RotateSum(pitchPairs, kv);
        const __m256i dx16 = _mm256_sub_epi16(dx, Pair16(kOffsetBias, 0));
        const __m256i yawPairs = LowHigh(dx16, RotateSum(pitchPairs, kw));
        return ClipBlock(hOut, vOut, RotateSum(yawPairs, kh), vSum, RotateSum(yawPairs, kd));
    }

    CoefficientPair kv, kw, kh, kd;
    Origin origin;
};

struct SheetBlock : Avx2Block<SheetBlock>
{
    VELMORA_AVX2 explicit SheetBlock(const StarView& view)
        : origin(view), phase(_mm256_set1_epi32(view.ripplePhase))
    {
        const SheetRotations rotations(view);
        kDepth1 = Split(rotations.depth1);
        kh = Split(rotations.h);
        kv = Split(rotations.v);
        kd = Split(rotations.depth);
    }

    VELMORA_AVX2 int32_t operator()(const STAR* stars, __m256i& spread, uint32_t* hOut, uint32_t* vOut) const
    {
        __m256i x, y, z;
        LoadBlock(stars, x, y, z);
        const __m256i band = _mm256_and_si256(x, _mm256_set1_epi32(~63));
        const __m256i index = _mm256_and_si256(_mm256_add_epi32(_mm256_add_epi32(phase, band), _mm256_srai_epi32(z, 6)),
                                               _mm256_set1_epi32(kSineEntries - 1));
        const __m256i ripple = _mm256_srai_epi32(_mm256_i32gather_epi32(g_sinTable, index, 4), 9);
        const __m256i dx = _mm256_sub_epi32(x, origin.x);
        const __m256i dy = _mm256_sub_epi32(_mm256_add_epi32(y, ripple), origin.y);
        const __m256i dz = _mm256_sub_epi32(z, origin.z);
        spread = _mm256_or_si256(spread, _mm256_or_si256(_mm256_or_si256(dx, dy), dz));
        const __m256i yawPairs = _mm256_sub_epi16(_mm256_or_si256(dz, _mm256_slli_epi32(dx, 16)),
                                                  Pair16(kOffsetBias, kOffsetBias));
        const __m256i depth1Sum = RotateSum(yawPairs, kDepth1);
        const __m256i pitchPairs = _mm256_sub_epi16(LowHigh(dy, depth1Sum), Pair16(kOffsetBias, 0));
        return ClipBlock(hOut, vOut, RotateSum(yawPairs, kh), RotateSum(pitchPairs, kv), RotateSum(pitchPairs, kd));
    }

    CoefficientPair kDepth1, kh, kv, kd;
    Origin origin;
    __m256i phase;
};

} // namespace

VELMORA_AVX2 void DrawFieldAvx2(const STAR* stars, int32_t count, const StarView& view,
                                uint8_t* bits, const int32_t* rowOffsets)
{
    DrawInChunks<FieldBlock>(&DrawFieldPortable, stars, count, view, bits, rowOffsets);
}

VELMORA_AVX2 void DrawSheetAvx2(const STAR* stars, int32_t count, const StarView& view,
                                uint8_t* bits, const int32_t* rowOffsets)
{
    DrawInChunks<SheetBlock>(&DrawSheetPortable, stars, count, view, bits, rowOffsets);
}

} // namespace star_detail::vector

#endif

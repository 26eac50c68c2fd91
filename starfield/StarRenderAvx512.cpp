// The AVX-512 kernels of the x86_64 host build: sixteen stars at a time (see
// StarVector.h), used only where the processor runs AVX-512 F, BW and DQ.
// The on-screen lanes are packed with a compress instead of a table, and
// the second pass is the AVX2 one. As in StarRenderAvx2.cpp, every function
// that uses the wider instructions carries the target attribute.
#include "starfield/StarVector.h"

#if defined(VELMORA_STAR_WIDE_KERNELS)

#include "starfield/StarMath.h"

// GCC 12 takes the undefined pass-through operand of its own AVX-512 shift
// and gather intrinsics for an uninitialised variable once they are inlined.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <immintrin.h>
#pragma GCC diagnostic pop

#define VELMORA_AVX512 __attribute__((target("avx2,popcnt,avx512f,avx512bw,avx512dq")))

namespace star_detail::vector {

bool ProcessorRunsAvx512()
{
    __builtin_cpu_init();
    return ProcessorRunsAvx2() && __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
           __builtin_cpu_supports("avx512dq");
}

namespace {

// Two-source permutations that gather one axis of sixteen records from
// three loads: the first takes the axis from the first two loads, the
// second the rest from the third.
struct AxisIndices
{
    int32_t first[3][16];
    int32_t second[3][16];

    constexpr AxisIndices() : first(), second()
    {
        for (int32_t axis = 0; axis < 3; ++axis)
        {
            for (int32_t star = 0; star < 16; ++star)
            {
                const int32_t word = 3 * star + axis;
                first[axis][star] = word < 32 ? word : 0;
                second[axis][star] = word < 32 ? star : 16 + word - 32;
            }
        }
    }
};

constexpr AxisIndices kAxis;

struct CoefficientPair
{
    __m512i high;
    __m512i low;
};

VELMORA_AVX512 inline __m512i Pair16(int32_t low, int32_t high)
{
    return _mm512_set1_epi32(PackPair(low, high));
}

VELMORA_AVX512 inline CoefficientPair Split(const Coefficients& k)
{
    return { Pair16(k.k1 >> 1, k.k2 >> 1), Pair16(k.k1 & 1, k.k2 & 1) };
}

VELMORA_AVX512 inline __m512i RotateSum(__m512i pairs, const CoefficientPair& k)
{
    return _mm512_add_epi32(_mm512_slli_epi32(_mm512_madd_epi16(pairs, k.high), 1),
                            _mm512_madd_epi16(pairs, k.low));
}

// The low 16 bits of low and the high 16 bits of high in each element.
VELMORA_AVX512 inline __m512i LowHigh(__m512i low, __m512i high)
{
    return _mm512_mask_blend_epi16(0xaaaaaaaau, low, high);
}

VELMORA_AVX512 inline __m512i Axis(__m512i a, __m512i b, __m512i c, int32_t axis)
{
    const __m512i ab = _mm512_permutex2var_epi32(a, _mm512_loadu_si512(kAxis.first[axis]), b);
    return _mm512_permutex2var_epi32(ab, _mm512_loadu_si512(kAxis.second[axis]), c);
}

// Sixteen consecutive stars (x, y, z records) into one vector per axis.
VELMORA_AVX512 inline void LoadBlock(const STAR* stars, __m512i& x, __m512i& y, __m512i& z)
{
    const int32_t* p = reinterpret_cast<const int32_t*>(stars);
    const __m512i a = _mm512_loadu_si512(p);
    const __m512i b = _mm512_loadu_si512(p + 16);
    const __m512i c = _mm512_loadu_si512(p + 32);
    x = Axis(a, b, c, 0);
    y = Axis(a, b, c, 1);
    z = Axis(a, b, c, 2);
}

// Clips one block of rotation sums (h, v and depth in their high 16 bits)
// and writes the stars on screen to hOut and vOut in lane order, followed
// by zeros. Returns how many are on screen.
VELMORA_AVX512 inline int32_t ClipBlock(uint32_t* hOut, uint32_t* vOut, __m512i hSum, __m512i vSum, __m512i depthSum)
{
    const __m512i hDepth = LowHigh(_mm512_srli_epi32(hSum, 16), depthSum);
    const __m512i vDepth = LowHigh(_mm512_srli_epi32(vSum, 16), depthSum);
    const __m512i bottomTop = _mm512_and_si512(_mm512_madd_epi16(vDepth, _mm512_set1_epi32(kClipBottom)),
                                               _mm512_madd_epi16(vDepth, _mm512_set1_epi32(kClipTop)));
    const __m512i inside = _mm512_ternarylogic_epi32(_mm512_madd_epi16(hDepth, _mm512_set1_epi32(kClipRight)),
                                                     _mm512_madd_epi16(hDepth, _mm512_set1_epi32(kClipLeft)),
                                                     bottomTop, 0x80); // a & b & c
    const __mmask16 mask = _mm512_movepi32_mask(inside);
    _mm512_storeu_si512(hOut, _mm512_maskz_compress_epi32(mask, hDepth));
    _mm512_storeu_si512(vOut, _mm512_maskz_compress_epi32(mask, vDepth));
    return __builtin_popcount(mask);
}

VELMORA_AVX512 inline __m512i Or3(__m512i a, __m512i b, __m512i c)
{
    return _mm512_ternarylogic_epi32(a, b, c, 0xfe); // a | b | c
}

struct Origin
{
    VELMORA_AVX512 explicit Origin(const StarView& view)
        : x(_mm512_set1_epi32(WrapSub(view.camX, kOffsetBias))),
          y(_mm512_set1_epi32(WrapSub(view.camY, kOffsetBias))),
          z(_mm512_set1_epi32(WrapSub(view.camZ, kOffsetBias)))
    {
    }

    __m512i x, y, z;
};

// What the AVX-512 blocks share: the chunk's first pass; the second is
// the AVX2 kernels' one.
template <typename Block>
struct Avx512Block
{
    static constexpr int32_t kStars = 16;
    using Records = WideRecords;

    VELMORA_AVX512 bool ClipChunk(const STAR* stars, int32_t count, Records& records) const
    {
        __m512i spread = _mm512_setzero_si512();
        int32_t onScreen = 0;
        for (int32_t i = 0; i < count; i += kStars)
            onScreen += static_cast<const Block&>(*this)(stars + i, spread, records.hDepth + onScreen,
                                                         records.vDepth + onScreen);
        records.count = onScreen;
        return _mm512_test_epi32_mask(spread, _mm512_set1_epi32(~(kOffsetLimit - 1))) == 0;
    }

    static void Plot(const Records& records, uint8_t* bits, const int32_t* rowOffsets)
    {
        PlotRecordsAvx2(records, bits, rowOffsets);
    }
};

struct FieldBlock : Avx512Block<FieldBlock>
{
    VELMORA_AVX512 explicit FieldBlock(const StarView& view) : origin(view)
    {
        const FieldRotations rotations(view);
        kv = Split(rotations.v);
        kw = Split(rotations.w);
        kh = Split(rotations.h);
        kd = Split(rotations.depth);
    }

    VELMORA_AVX512 int32_t operator()(const STAR* stars, __m512i& spread, uint32_t* hOut, uint32_t* vOut) const
    {
        __m512i x, y, z;
        LoadBlock(stars, x, y, z);
        const __m512i dx = _mm512_sub_epi32(x, origin.x);
        const __m512i dy = _mm512_sub_epi32(y, origin.y);
        const __m512i dz = _mm512_sub_epi32(z, origin.z);
        spread = _mm512_or_si512(spread, Or3(dx, dy, dz));
        const __m512i pitchPairs = _mm512_sub_epi16(_mm512_or_si512(dy, _mm512_slli_epi32(dz, 16)),
                                                    Pair16(kOffsetBias, kOffsetBias));
        const __m512i vSum = RotateSum(pitchPairs, kv);
        const __m512i dx16 = _mm512_sub_epi16(dx, Pair16(kOffsetBias, 0));
        const __m512i yawPairs = LowHigh(dx16, RotateSum(pitchPairs, kw));
        return ClipBlock(hOut, vOut, RotateSum(yawPairs, kh), vSum, RotateSum(yawPairs, kd));
    }

    CoefficientPair kv, kw, kh, kd;
    Origin origin;
};

struct SheetBlock : Avx512Block<SheetBlock>
{
    VELMORA_AVX512 explicit SheetBlock(const StarView& view)
        : origin(view), phase(_mm512_set1_epi32(view.ripplePhase))
    {
        const SheetRotations rotations(view);
        kDepth1 = Split(rotations.depth1);
        kh = Split(rotations.h);
        kv = Split(rotations.v);
        kd = Split(rotations.depth);
    }

    VELMORA_AVX512 int32_t operator()(const STAR* stars, __m512i& spread, uint32_t* hOut, uint32_t* vOut) const
    {
        __m512i x, y, z;
        LoadBlock(stars, x, y, z);
        const __m512i band = _mm512_and_si512(x, _mm512_set1_epi32(~63));
        const __m512i index = _mm512_and_si512(_mm512_add_epi32(_mm512_add_epi32(phase, band), _mm512_srai_epi32(z, 6)),
                                               _mm512_set1_epi32(kSineEntries - 1));
        const __m512i ripple = _mm512_srai_epi32(_mm512_i32gather_epi32(index, g_sinTable, 4), 9);
        const __m512i dx = _mm512_sub_epi32(x, origin.x);
        const __m512i dy = _mm512_sub_epi32(_mm512_add_epi32(y, ripple), origin.y);
        const __m512i dz = _mm512_sub_epi32(z, origin.z);
        spread = _mm512_or_si512(spread, Or3(dx, dy, dz));
        const __m512i yawPairs = _mm512_sub_epi16(_mm512_or_si512(dz, _mm512_slli_epi32(dx, 16)),
                                                  Pair16(kOffsetBias, kOffsetBias));
        const __m512i depth1Sum = RotateSum(yawPairs, kDepth1);
        const __m512i pitchPairs = _mm512_sub_epi16(LowHigh(dy, depth1Sum), Pair16(kOffsetBias, 0));
        return ClipBlock(hOut, vOut, RotateSum(yawPairs, kh), RotateSum(pitchPairs, kv), RotateSum(pitchPairs, kd));
    }

    CoefficientPair kDepth1, kh, kv, kd;
    Origin origin;
    __m512i phase;
};

} // namespace

VELMORA_AVX512 void DrawFieldAvx512(const STAR* stars, int32_t count, const StarView& view,
                                    uint8_t* bits, const int32_t* rowOffsets)
{
    DrawInChunks<FieldBlock>(&DrawFieldPortable, stars, count, view, bits, rowOffsets);
}

VELMORA_AVX512 void DrawSheetAvx512(const STAR* stars, int32_t count, const StarView& view,
                                    uint8_t* bits, const int32_t* rowOffsets)
{
    DrawInChunks<SheetBlock>(&DrawSheetPortable, stars, count, view, bits, rowOffsets);
}

} // namespace star_detail::vector

#endif

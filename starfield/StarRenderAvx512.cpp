// The AVX-512 kernels of the x86_64 host build: sixteen stars at a time (see
// StarVector.h and StarWideBlocks.inc), used only where the processor runs
// AVX-512 F, BW and DQ. The lanes on screen are packed with a compress, and
// the second pass is the AVX2 one. As in StarRenderAvx2.cpp, everything
// compiled for AVX-512 has internal linkage or is called only after the
// processor was asked.
#include "starfield/StarVector.h"

#if defined(VELMORA_STAR_WIDE_KERNELS)

#include "starfield/StarMath.h"

// GCC 12 takes the undefined pass-through operand of its own AVX-512 shift
// and gather intrinsics for an uninitialised variable once they are inlined.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuninitialized"
#if !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <immintrin.h>
#pragma GCC diagnostic pop

namespace star_detail::vector {

bool ProcessorRunsAvx512()
{
    __builtin_cpu_init();
    return ProcessorRunsAvx2() && __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
           __builtin_cpu_supports("avx512dq");
}

// Everything from here on is compiled for AVX-512 F, BW and DQ.
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2,popcnt,avx512f,avx512bw,avx512dq"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2,popcnt,avx512f,avx512bw,avx512dq")
#endif

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

using Vector = __m512i;
constexpr int32_t kLanes = 16;

inline Vector Broadcast(int32_t value) { return _mm512_set1_epi32(value); }
inline Vector Zero() { return _mm512_setzero_si512(); }
inline Vector Add32(Vector a, Vector b) { return _mm512_add_epi32(a, b); }
inline Vector Sub32(Vector a, Vector b) { return _mm512_sub_epi32(a, b); }
inline Vector Sub16(Vector a, Vector b) { return _mm512_sub_epi16(a, b); }
inline Vector And(Vector a, Vector b) { return _mm512_and_si512(a, b); }
inline Vector Or(Vector a, Vector b) { return _mm512_or_si512(a, b); }
template <int N> inline Vector ShiftLeft32(Vector a) { return _mm512_slli_epi32(a, N); }
template <int N> inline Vector ShiftRightLogical32(Vector a) { return _mm512_srli_epi32(a, N); }
template <int N> inline Vector ShiftRightArith32(Vector a) { return _mm512_srai_epi32(a, N); }
inline Vector Madd16(Vector a, Vector b) { return _mm512_madd_epi16(a, b); }
// The low 16 bits of low and the high 16 bits of high in each lane.
inline Vector LowHigh(Vector low, Vector high) { return _mm512_mask_blend_epi16(0xaaaaaaaau, low, high); }
inline Vector GatherTable(const int32_t* table, Vector index) { return _mm512_i32gather_epi32(index, table, 4); }

inline Vector Axis(Vector a, Vector b, Vector c, int32_t axis)
{
    const Vector ab = _mm512_permutex2var_epi32(a, _mm512_loadu_si512(kAxis.first[axis]), b);
    return _mm512_permutex2var_epi32(ab, _mm512_loadu_si512(kAxis.second[axis]), c);
}

// Sixteen consecutive stars (x, y, z records) into one vector per axis.
inline void LoadBlock(const STAR* stars, Vector& x, Vector& y, Vector& z)
{
    const int32_t* p = reinterpret_cast<const int32_t*>(stars);
    const Vector a = _mm512_loadu_si512(p);
    const Vector b = _mm512_loadu_si512(p + 16);
    const Vector c = _mm512_loadu_si512(p + 32);
    x = Axis(a, b, c, 0);
    y = Axis(a, b, c, 1);
    z = Axis(a, b, c, 2);
}

// The lanes whose sign bit is set in inside first, in lane order, then
// zeros; all sixteen lanes are stored.
inline int32_t PackOnScreen(Vector inside, Vector hDepth, Vector vDepth, uint32_t* hOut, uint32_t* vOut)
{
    const __mmask16 mask = _mm512_movepi32_mask(inside);
    _mm512_storeu_si512(hOut, _mm512_maskz_compress_epi32(mask, hDepth));
    _mm512_storeu_si512(vOut, _mm512_maskz_compress_epi32(mask, vDepth));
    return __builtin_popcount(mask);
}

inline bool OffsetsFit(Vector spread)
{
    return _mm512_test_epi32_mask(spread, _mm512_set1_epi32(~(kOffsetLimit - 1))) == 0;
}

#include "starfield/StarWideBlocks.inc"

} // namespace

void DrawFieldAvx512(const STAR* stars, int32_t count, const StarView& view, uint8_t* bits, const int32_t* rowOffsets)
{
    DrawInChunks<FieldBlock>(&DrawFieldPortable, stars, count, view, bits, rowOffsets);
}

void DrawSheetAvx512(const STAR* stars, int32_t count, const StarView& view, uint8_t* bits, const int32_t* rowOffsets)
{
    DrawInChunks<SheetBlock>(&DrawSheetPortable, stars, count, view, bits, rowOffsets);
}

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

} // namespace star_detail::vector

#endif

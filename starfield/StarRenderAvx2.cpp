// The AVX2 kernels of the x86_64 host build: eight stars at a time (see
// StarVector.h and StarWideBlocks.inc), used only where the processor runs
// AVX2, and the second pass they share with the AVX-512 kernels. Everything
// compiled for AVX2 here has internal linkage or is called only after the
// processor was asked, so that none of it can stand in for a function the
// rest of the engine calls.
#include "starfield/StarVector.h"

#if defined(VELMORA_STAR_WIDE_KERNELS)

#include "starfield/StarMath.h"

#include <immintrin.h>

namespace star_detail::vector {

bool ProcessorRunsAvx2()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt");
}

// Everything from here on is compiled for AVX2.
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2,popcnt"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2,popcnt")
#endif

namespace {

// kLeftPack.lanes[mask]: for each output lane, three bits naming the input
// lane that goes there, so that the lanes of mask come first in lane order.
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

using Vector = __m256i;
constexpr int32_t kLanes = 8;

inline Vector Broadcast(int32_t value) { return _mm256_set1_epi32(value); }
inline Vector Zero() { return _mm256_setzero_si256(); }
inline Vector Add32(Vector a, Vector b) { return _mm256_add_epi32(a, b); }
inline Vector Sub32(Vector a, Vector b) { return _mm256_sub_epi32(a, b); }
inline Vector Sub16(Vector a, Vector b) { return _mm256_sub_epi16(a, b); }
inline Vector And(Vector a, Vector b) { return _mm256_and_si256(a, b); }
inline Vector Or(Vector a, Vector b) { return _mm256_or_si256(a, b); }
template <int N> inline Vector ShiftLeft32(Vector a) { return _mm256_slli_epi32(a, N); }
template <int N> inline Vector ShiftRightLogical32(Vector a) { return _mm256_srli_epi32(a, N); }
template <int N> inline Vector ShiftRightArith32(Vector a) { return _mm256_srai_epi32(a, N); }
inline Vector Madd16(Vector a, Vector b) { return _mm256_madd_epi16(a, b); }
// The low 16 bits of low and the high 16 bits of high in each lane.
inline Vector LowHigh(Vector low, Vector high) { return _mm256_blend_epi16(low, high, 0xaa); }
inline Vector GatherTable(const int32_t* table, Vector index) { return _mm256_i32gather_epi32(table, index, 4); }

// Eight consecutive stars (x, y, z records) into one vector per axis: two
// blends gather each axis from the three loads, a permutation orders it.
inline void LoadBlock(const STAR* stars, Vector& x, Vector& y, Vector& z)
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

// The lanes whose sign bit is set in inside first, in lane order, through
// the pack table; all eight lanes are stored.
inline int32_t PackOnScreen(Vector inside, Vector hDepth, Vector vDepth, uint32_t* hOut, uint32_t* vOut)
{
    const uint32_t mask = static_cast<uint32_t>(_mm256_movemask_ps(_mm256_castsi256_ps(inside)));
    const __m256i order = _mm256_srlv_epi32(_mm256_set1_epi32(static_cast<int32_t>(kLeftPack.lanes[mask])),
                                            _mm256_setr_epi32(0, 3, 6, 9, 12, 15, 18, 21));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(hOut), _mm256_permutevar8x32_epi32(hDepth, order));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(vOut), _mm256_permutevar8x32_epi32(vDepth, order));
    return __builtin_popcount(mask);
}

inline bool OffsetsFit(Vector spread)
{
    static_assert(kOffsetLimit == 1 << 15);
    return _mm256_testz_si256(spread, _mm256_set1_epi32(~(kOffsetLimit - 1))) != 0;
}

#include "starfield/StarWideBlocks.inc"

// trunc(n / d) per lane for on-screen n and d below kReciprocalDepths, given
// the reciprocals of d (see DivideOnScreen).
inline __m256i DivideOnScreen8(__m256i n, __m256i reciprocal, __m256i reciprocalOdd)
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
void PlotRecordsAvx2(const WideRecords& records, uint8_t* bits, const int32_t* rowOffsets)
{
    const __m256i scale = Pair16(160, 0);
    const __m256i deepest = _mm256_set1_epi32(kReciprocalDepths - 1);
    const int* reciprocals = reinterpret_cast<const int*>(g_pReciprocals);
    int32_t i = 0;
    for (; i + 8 <= records.count; i += 8)
    {
        const __m256i hDepth = _mm256_load_si256(reinterpret_cast<const __m256i*>(records.hDepth + i));
        const __m256i vDepth = _mm256_load_si256(reinterpret_cast<const __m256i*>(records.vDepth + i));
        const __m256i depth = _mm256_srai_epi32(hDepth, 16);
        if (_mm256_movemask_epi8(_mm256_cmpgt_epi32(depth, deepest)) != 0)
        {
            for (int32_t k = i; k < i + 8; ++k)
                PlotOnScreen(records.hDepth[k], records.vDepth[k], bits, rowOffsets);
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
    for (; i < records.count; ++i)
        PlotOnScreen(records.hDepth[i], records.vDepth[i], bits, rowOffsets);
}

void DrawFieldAvx2(const STAR* stars, int32_t count, const StarView& view, uint8_t* bits, const int32_t* rowOffsets)
{
    DrawInChunks<FieldBlock>(&DrawFieldPortable, stars, count, view, bits, rowOffsets);
}

void DrawSheetAvx2(const STAR* stars, int32_t count, const StarView& view, uint8_t* bits, const int32_t* rowOffsets)
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

// The fast kernels: the widest vector kernels the processor runs, chosen
// once at start-up, or the portable kernels in 32-bit builds.
#include "starfield/StarKernels.h"
#include "starfield/StarVector.h"

namespace star_detail {

#if defined(__x86_64__) || defined(_M_X64)

namespace {

constexpr VectorKernels kVectorKernels[] = {
#if defined(VELMORA_STAR_WIDE_KERNELS)
    { "AVX-512", &vector::DrawFieldAvx512, &vector::DrawSheetAvx512 },
    { "AVX2", &vector::DrawFieldAvx2, &vector::DrawSheetAvx2 },
#endif
    { "SSE2", &vector::DrawFieldSse2, &vector::DrawSheetSse2 },
};
constexpr int32_t kVectorKernelCount = static_cast<int32_t>(sizeof kVectorKernels / sizeof kVectorKernels[0]);

// SSE2 is part of x86_64; the wider kernels come first and need asking.
int32_t FirstRunnable()
{
#if defined(VELMORA_STAR_WIDE_KERNELS)
    if (!vector::ProcessorRunsAvx2())
        return 2;
    if (!vector::ProcessorRunsAvx512())
        return 1;
#endif
    return 0;
}

const int32_t g_firstRunnable = FirstRunnable();
const VectorKernels& g_fast = kVectorKernels[g_firstRunnable];

} // namespace

const VectorKernels* RunnableVectorKernels(int32_t* count)
{
    *count = kVectorKernelCount - g_firstRunnable;
    return kVectorKernels + g_firstRunnable;
}

void DrawFieldFast(const STAR* stars, int32_t count, const StarView& view,
                   uint8_t* bits, const int32_t* rowOffsets)
{
    g_fast.field(stars, count, view, bits, rowOffsets);
}

void DrawSheetFast(const STAR* stars, int32_t count, const StarView& view,
                   uint8_t* bits, const int32_t* rowOffsets)
{
    g_fast.sheet(stars, count, view, bits, rowOffsets);
}

#else // 32-bit builds: the portable kernels are the fast ones

const VectorKernels* RunnableVectorKernels(int32_t* count)
{
    *count = 0;
    return nullptr;
}

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

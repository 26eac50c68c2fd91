// Internal to the engine (and its tests): the per-star drawing kernels.
// DrawStarfield and DrawStarSheet gather the frame's camera and angles into
// a StarView and hand the star range to a kernel. The portable kernels
// follow the projection formulas one star at a time; the fast kernels
// give bit-identical pictures with the widest vector kernel the build and
// the processor run (SSE2 on x86_64, AVX2 and AVX-512 too in the host
// build; 32-bit builds have none and use the portable kernels).
#pragma once

#include "starfield/StarEngine.h"

namespace star_detail {

struct StarView
{
    int32_t camX, camY, camZ;
    int32_t sinPitch, cosPitch;
    int32_t sinYaw, cosYaw;
    int32_t ripplePhase; // sheet only: already advanced for this frame
};

StarView CurrentView();

// Pitch first, then yaw (Tumble Dry, Washing Machine).
void DrawFieldPortable(const STAR* stars, int32_t count, const StarView& view,
                       uint8_t* bits, const int32_t* rowOffsets);
void DrawFieldFast(const STAR* stars, int32_t count, const StarView& view,
                   uint8_t* bits, const int32_t* rowOffsets);

// Ripple, yaw first, then pitch (Dirty Laundry).
void DrawSheetPortable(const STAR* stars, int32_t count, const StarView& view,
                       uint8_t* bits, const int32_t* rowOffsets);
void DrawSheetFast(const STAR* stars, int32_t count, const StarView& view,
                   uint8_t* bits, const int32_t* rowOffsets);

// A vector kernel pair of this build, for the tests and the benchmark.
using DrawKernel = void (*)(const STAR* stars, int32_t count, const StarView& view,
                            uint8_t* bits, const int32_t* rowOffsets);
struct VectorKernels
{
    const char* name;
    DrawKernel field;
    DrawKernel sheet;
};

// The vector kernels the processor runs, widest first (the ones the fast
// kernels use); *count of them, none in 32-bit builds.
const VectorKernels* RunnableVectorKernels(int32_t* count);

// Perspective divide, clip and plot of one rotated star (h across, v down,
// depth ahead), exactly as the portable kernels do it.
inline void PlotStar(uint8_t* bits, const int32_t* rowOffsets, int32_t h, int32_t v, int32_t depth)
{
    if (depth <= 0)
        return;
    // h, v and depth come out of a 32-bit sum shifted right by 16, so they
    // lie in -32768..32767 and the products by 160 cannot overflow.
    const int32_t sx = kFrameWidth / 2 + (h * 160) / depth;
    const int32_t sy = kFrameHeight / 2 + (v * 160) / depth;
    if (static_cast<uint32_t>(sx) >= static_cast<uint32_t>(kFrameWidth) ||
        static_cast<uint32_t>(sy) >= static_cast<uint32_t>(kFrameHeight))
        return;
    int32_t colour = 10 + (depth >> 3);
    if (colour > 235)
        colour = 235;
    bits[rowOffsets[sy] + sx] = static_cast<uint8_t>(colour);
}

// Truncating division n / d for 1 <= d and |n| < 161 * d (a star already
// known to be on screen), by an exact 32-bit reciprocal for the depths that
// occur in the field and by the divider beyond them.
constexpr int32_t kReciprocalDepths = 3653;
constexpr int kReciprocalShift = 31;
extern const uint32_t* const g_pReciprocals;

inline int32_t DivideOnScreen(int32_t n, int32_t d)
{
    if (d >= kReciprocalDepths)
        return n / d;
    // With m = ceil(2^31 / d) = (2^31 + e) / d, 0 <= e < d:
    // |n| * m / 2^31 = |n| / d + |n| * e / (d * 2^31), and |n| * e < 161 * d^2
    // <= 161 * 3652^2 < 2^31, so the error never reaches the next integer.
    const int32_t sign = n >> 31;
    const uint32_t magnitude = static_cast<uint32_t>((n ^ sign) - sign);
    const int32_t q = static_cast<int32_t>((static_cast<uint64_t>(magnitude) * g_pReciprocals[d]) >> kReciprocalShift);
    return (q ^ sign) - sign;
}

} // namespace star_detail

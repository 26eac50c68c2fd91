// The two projections and their portable kernels. Each star is translated
// to the camera, rotated by the two view angles (16.16 products, shift of
// the sum), divided by its depth, clipped to 320 x 200 and stored as one
// byte whose colour index grows darker with depth. No depth test: the star
// later in the array wins a shared pixel.
#include "starfield/StarEngine.h"
#include "starfield/StarKernels.h"
#include "starfield/StarMath.h"

namespace star_detail {

namespace {

// Exact reciprocals ceil(2^31 / d) for the on-screen division.
struct ReciprocalTable
{
    uint32_t entries[kReciprocalDepths];

    ReciprocalTable()
    {
        entries[0] = 0;
        for (int32_t d = 1; d < kReciprocalDepths; ++d)
        {
            const uint64_t scale = uint64_t(1) << kReciprocalShift;
            entries[d] = static_cast<uint32_t>((scale + static_cast<uint64_t>(d) - 1) / static_cast<uint64_t>(d));
        }
    }
};

const ReciprocalTable g_reciprocalTable;

} // namespace

const uint32_t* const g_pReciprocals = g_reciprocalTable.entries;

StarView CurrentView()
{
    StarView view;
    view.camX = g_nCamX;
    view.camY = g_nCamY;
    view.camZ = g_nCamZ;
    view.sinPitch = SineOf(g_nPitch);
    view.cosPitch = CosineOf(g_nPitch);
    view.sinYaw = SineOf(g_nYaw);
    view.cosYaw = CosineOf(g_nYaw);
    view.ripplePhase = g_nRipplePhase;
    return view;
}

void DrawFieldPortable(const STAR* stars, int32_t count, const StarView& view,
                       uint8_t* bits, const int32_t* rowOffsets)
{
    for (int32_t i = 0; i < count; ++i)
    {
        const int32_t dx = WrapSub(stars[i].x, view.camX);
        const int32_t dy = WrapSub(stars[i].y, view.camY);
        const int32_t dz = WrapSub(stars[i].z, view.camZ);
        // Pitch: v = (dy cP - dz sP) >> 16, w = (dz cP + dy sP) >> 16.
        const int32_t v = RotateFixed(dy, view.cosPitch, dz, WrapSub(0, view.sinPitch));
        const int32_t w = RotateFixed(dz, view.cosPitch, dy, view.sinPitch);
        // Yaw: h = (w sY - dx cY) >> 16, depth = (dx sY + w cY) >> 16.
        const int32_t h = RotateFixed(w, view.sinYaw, dx, WrapSub(0, view.cosYaw));
        const int32_t depth = RotateFixed(dx, view.sinYaw, w, view.cosYaw);
        PlotStar(bits, rowOffsets, h, v, depth);
    }
}

void DrawSheetPortable(const STAR* stars, int32_t count, const StarView& view,
                       uint8_t* bits, const int32_t* rowOffsets)
{
    for (int32_t i = 0; i < count; ++i)
    {
        const int32_t x = stars[i].x;
        const int32_t z = stars[i].z;
        // Stars in one 64-unit band of x share the ripple's phase apart
        // from the z term: ridges that travel with the phase.
        const int32_t ripple = SineOf(WrapAdd(WrapAdd(view.ripplePhase, x & ~63), z >> 6)) >> 9;
        const int32_t dx = WrapSub(x, view.camX);
        const int32_t dy = WrapSub(WrapAdd(stars[i].y, ripple), view.camY);
        const int32_t dz = WrapSub(z, view.camZ);
        // Yaw: depth1 = (dz cY + dx sY) >> 16, h = (dz sY - dx cY) >> 16.
        const int32_t depth1 = RotateFixed(dz, view.cosYaw, dx, view.sinYaw);
        const int32_t h = RotateFixed(dz, view.sinYaw, dx, WrapSub(0, view.cosYaw));
        // Pitch: v = (dy cP - depth1 sP) >> 16, depth = (depth1 cP + dy sP) >> 16.
        const int32_t v = RotateFixed(dy, view.cosPitch, depth1, WrapSub(0, view.sinPitch));
        const int32_t depth = RotateFixed(depth1, view.cosPitch, dy, view.sinPitch);
        PlotStar(bits, rowOffsets, h, v, depth);
    }
}

} // namespace star_detail

namespace {

int32_t StarsInUse()
{
    if (g_pStars == nullptr || g_nStars <= 0)
        return 0;
    return g_nStars < kStarCapacity ? g_nStars : kStarCapacity;
}

} // namespace

void DrawStarfield(uint8_t* bits, const int32_t* rowOffsets)
{
    const star_detail::StarView view = star_detail::CurrentView();
    star_detail::DrawFieldFast(g_pStars, StarsInUse(), view, bits, rowOffsets);
}

void DrawStarSheet(uint8_t* bits, const int32_t* rowOffsets)
{
    g_nRipplePhase = WrapAdd(g_nRipplePhase, 16);
    const star_detail::StarView view = star_detail::CurrentView();
    star_detail::DrawSheetFast(g_pStars, StarsInUse(), view, bits, rowOffsets);
}

// Placing the stars and the three camera motions. Each step produces one
// frame: it clears the frame buffer, draws, invalidates the view and then
// advances the motion state. Motion is counted in frames, not time.
#include "starfield/StarEngine.h"
#include "starfield/StarMath.h"

void TickFrameHook(); // StarRandom.cpp

void ResetStars(int32_t population, int32_t simulation)
{
    int32_t count = population;
    if (count < 0 || g_pStars == nullptr)
        count = 0;
    if (count > kStarCapacity)
        count = kStarCapacity;
    g_nStars = count;

    SeedStarRandom(ReadMillisecondClock());

    // A cube of 2048 units on each axis, three draws per star.
    for (int32_t i = 0; i < count; ++i)
    {
        g_pStars[i].x = NextStarRandom() & 2047;
        g_pStars[i].y = NextStarRandom() & 2047;
        g_pStars[i].z = NextStarRandom() & 2047;
    }
    g_nCamX = 1024;
    g_nCamY = 1024;
    g_nCamZ = 1024;
    g_nPitch = 0;
    g_nYaw = 0;

    // Dirty Laundry flies over a flat sheet, 4096 x 4096 units at height 512.
    if (simulation == kSimulationDirtyLaundry)
    {
        for (int32_t i = 0; i < count; ++i)
        {
            g_pStars[i].x = NextStarRandom() & 4095;
            g_pStars[i].y = 512;
            g_pStars[i].z = NextStarRandom() & 4095;
        }
        g_nPitch = 0;
        g_nYaw = 0;
    }
}

// Tumble Dry: the camera circles the cube's centre in the y-z plane with a
// radius of 512 while the view tumbles about the horizontal axis.
void StepTumbleDry(StarSurface& surface)
{
    g_nCamX = 1024;
    g_nCamY = 1024 + (SineOf(g_nOrbit) >> 7);
    g_nCamZ = 1024 + (CosineOf(g_nOrbit) >> 7);

    surface.Clear();
    DrawStarfield(surface.Bits(), surface.RowOffsets());
    surface.Invalidate();

    g_nPitch = WrapAdd(g_nPitch, g_nSpin);
    g_nOrbit = WrapAdd(g_nOrbit, WrapMul(5, g_nSpeed));

    // Once in a hundred frames, on average, a new tumbling speed.
    if (NextStarRandom() % 100 == 23)
        g_nSpin = WrapAdd(NextStarRandom() % 10, WrapMul(2, g_nSpeed));

    TickFrameHook();
}

// Washing Machine: straight legs of 64 frames towards random points near
// the middle of the cube, spinning about both axes at per-leg rates.
void StepWashingMachine(StarSurface& surface)
{
    if (g_nLegFrames != 0)
    {
        --g_nLegFrames;
    }
    else
    {
        const int32_t targetX = 512 + (NextStarRandom() & 1023);
        const int32_t targetY = 512 + (NextStarRandom() & 1023);
        const int32_t targetZ = 512 + (NextStarRandom() & 1023);
        // 1/64 of the way per frame, in 16.16 fixed point, starting from the
        // camera of the last drawn frame (or of the last reset).
        g_nStepX = static_cast<int32_t>(static_cast<uint32_t>(WrapSub(targetX, g_nCamX)) << 16) >> 6;
        g_nStepY = static_cast<int32_t>(static_cast<uint32_t>(WrapSub(targetY, g_nCamY)) << 16) >> 6;
        g_nStepZ = static_cast<int32_t>(static_cast<uint32_t>(WrapSub(targetZ, g_nCamZ)) << 16) >> 6;
        g_nDriftX = static_cast<int32_t>(static_cast<uint32_t>(g_nCamX) << 16);
        g_nDriftY = static_cast<int32_t>(static_cast<uint32_t>(g_nCamY) << 16);
        g_nDriftZ = static_cast<int32_t>(static_cast<uint32_t>(g_nCamZ) << 16);
        g_nSpinPitch = WrapMul(NextStarRandom() % 10, g_nSpeed);
        g_nLegFrames = 63;
        g_nSpinYaw = WrapMul(NextStarRandom() % 10, g_nSpeed);
    }

    surface.Clear();
    g_nCamX = g_nDriftX >> 16;
    g_nCamY = g_nDriftY >> 16;
    g_nCamZ = g_nDriftZ >> 16;
    DrawStarfield(surface.Bits(), surface.RowOffsets());
    surface.Invalidate();

    g_nDriftX = WrapAdd(g_nDriftX, g_nStepX);
    g_nDriftY = WrapAdd(g_nDriftY, g_nStepY);
    g_nDriftZ = WrapAdd(g_nDriftZ, g_nStepZ);

    // Once in a hundred frames, on average, the leg ends early.
    if (NextStarRandom() % 100 == 77)
        g_nLegFrames = 0;

    g_nPitch = WrapAdd(g_nPitch, g_nSpinPitch);
    g_nYaw = WrapAdd(g_nYaw, g_nSpinYaw);
}

// Dirty Laundry: the camera circles 212 units above the rippling sheet,
// tilted down towards it, turning about the vertical axis.
void StepDirtyLaundry(StarSurface& surface)
{
    g_nCamX = 2048 + (SineOf(g_nCircle) >> 7);
    g_nCamY = 300;
    g_nCamZ = 2048 + (CosineOf(g_nCircle) >> 7);
    g_nPitch = 200;

    surface.Clear();
    DrawStarSheet(surface.Bits(), surface.RowOffsets());
    surface.Invalidate();

    g_nCircle = WrapAdd(g_nCircle, WrapMul(5, g_nSpeed));
    g_nYaw = WrapAdd(g_nYaw, WrapMul(3, g_nSpeed));
}

void NextFrame(int32_t running, int32_t simulation, StarSurface& surface)
{
    if (running == 0)
        return;
    if (simulation == kSimulationTumbleDry)
        StepTumbleDry(surface);
    else if (simulation == kSimulationWashingMachine)
        StepWashingMachine(surface);
    else
        StepDirtyLaundry(surface);
}

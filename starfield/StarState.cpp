// The engine's module state and the star array's lifetime.
#include "starfield/StarEngine.h"

#include <new>

STAR* g_pStars = nullptr;
int32_t g_nStars = 0;
int32_t g_sinTable[kSineEntries];

int32_t g_nCamX = 0, g_nCamY = 0, g_nCamZ = 0;
int32_t g_nPitch = 0, g_nYaw = 0;
int32_t g_nSpeed = 1;
int32_t g_nOrbit = 0, g_nSpin = 0;
int32_t g_nLegFrames = 0;
int32_t g_nDriftX = 0, g_nDriftY = 0, g_nDriftZ = 0;
int32_t g_nStepX = 0, g_nStepY = 0, g_nStepZ = 0;
int32_t g_nSpinPitch = 0, g_nSpinYaw = 0;
int32_t g_nCircle = 0, g_nRipplePhase = 0;

bool AllocateStars()
{
    if (g_pStars == nullptr)
        g_pStars = new (std::nothrow) STAR[kStarCapacity]();
    return g_pStars != nullptr;
}

void ReleaseStars()
{
    delete[] g_pStars;
    g_pStars = nullptr;
    g_nStars = 0;
}

// Placing the stars and the three camera motions.
#include "EngineTestSupport.h"

#include <algorithm>
#include <utility>

namespace engine_test {
namespace {

class MotionTest : public EngineTest
{
protected:
    MemorySurface m_surface;
};

int32_t g_ticks = 0;
void CountTick()
{
    ++g_ticks;
}

TEST_F(MotionTest, ResetFillsTheCubeOrTheSheet)
{
    ResetStars(kPopulationCrowded, kSimulationTumbleDry);
    ASSERT_EQ(g_nStars, 5000);
    int32_t largest = 0;
    for (int32_t i = 0; i < g_nStars; ++i)
    {
        for (int32_t c : { g_pStars[i].x, g_pStars[i].y, g_pStars[i].z })
        {
            ASSERT_GE(c, 0);
            ASSERT_LE(c, 2047);
            largest = std::max(largest, c);
        }
    }
    EXPECT_GT(largest, 2000);

    ResetStars(kPopulationSparse, kSimulationDirtyLaundry);
    ASSERT_EQ(g_nStars, 500);
    largest = 0;
    for (int32_t i = 0; i < g_nStars; ++i)
    {
        ASSERT_EQ(g_pStars[i].y, 512);
        for (int32_t c : { g_pStars[i].x, g_pStars[i].z })
        {
            ASSERT_GE(c, 0);
            ASSERT_LE(c, 4095);
            largest = std::max(largest, c);
        }
    }
    EXPECT_GT(largest, 3900);
}

TEST_F(MotionTest, ResetSeedsFromTheClockAndDrawsInStarOrder)
{
    FixedClock::s_now = 0xCAFE;
    ScriptedRandom::Install({ 2049, 4095, 7, 32767, 1, 2 });
    ResetStars(kPopulationSparse, kSimulationWashingMachine);
    ASSERT_EQ(ScriptedRandom::s_seeds.size(), 1u);
    EXPECT_EQ(ScriptedRandom::s_seeds[0], 0xCAFEu);
    EXPECT_EQ(ScriptedRandom::s_draws, 3 * 500);
    EXPECT_EQ(g_pStars[0].x, 1);
    EXPECT_EQ(g_pStars[0].y, 2047);
    EXPECT_EQ(g_pStars[0].z, 7);
    EXPECT_EQ(g_pStars[1].x, 2047);
    EXPECT_EQ(g_pStars[1].y, 1);
    EXPECT_EQ(g_pStars[1].z, 2);

    // The sheet comes after the cube: two more draws per star, x first.
    ScriptedRandom::Install({});
    for (int32_t i = 0; i < 3 * 500; ++i)
        ScriptedRandom::s_values.push_back(0);
    ScriptedRandom::s_values.push_back(4097);
    ScriptedRandom::s_values.push_back(8191);
    ResetStars(kPopulationSparse, kSimulationDirtyLaundry);
    EXPECT_EQ(ScriptedRandom::s_draws, 5 * 500);
    EXPECT_EQ(g_pStars[0].x, 1);
    EXPECT_EQ(g_pStars[0].y, 512);
    EXPECT_EQ(g_pStars[0].z, 4095);
}

TEST_F(MotionTest, ResetChangesOnlyStarsCameraAndViewAngles)
{
    g_nCamX = 5;
    g_nCamY = 6;
    g_nCamZ = 7;
    g_nPitch = 123;
    g_nYaw = 456;
    g_nSpeed = 7;
    g_nOrbit = 11;
    g_nSpin = 12;
    g_nLegFrames = 13;
    g_nDriftX = 14;
    g_nDriftY = 15;
    g_nDriftZ = 16;
    g_nStepX = 17;
    g_nStepY = 18;
    g_nStepZ = 19;
    g_nSpinPitch = 20;
    g_nSpinYaw = 21;
    g_nCircle = 22;
    g_nRipplePhase = 23;
    for (int32_t simulation : { kSimulationTumbleDry, kSimulationDirtyLaundry })
    {
        ResetStars(kPopulationDense, simulation);
        EXPECT_EQ(g_nCamX, 1024);
        EXPECT_EQ(g_nCamY, 1024);
        EXPECT_EQ(g_nCamZ, 1024);
        EXPECT_EQ(g_nPitch, 0);
        EXPECT_EQ(g_nYaw, 0);
        EXPECT_EQ(g_nSpeed, 7);
        EXPECT_EQ(g_nOrbit, 11);
        EXPECT_EQ(g_nSpin, 12);
        EXPECT_EQ(g_nLegFrames, 13);
        EXPECT_EQ(g_nDriftX + g_nDriftY + g_nDriftZ, 14 + 15 + 16);
        EXPECT_EQ(g_nStepX + g_nStepY + g_nStepZ, 17 + 18 + 19);
        EXPECT_EQ(g_nSpinPitch, 20);
        EXPECT_EQ(g_nSpinYaw, 21);
        EXPECT_EQ(g_nCircle, 22);
        EXPECT_EQ(g_nRipplePhase, 23);
        g_nPitch = 99;
        g_nYaw = 98;
    }
}

// Sound behaviour where the caller passes something the array cannot hold.
TEST_F(MotionTest, ResetStaysInsideTheArray)
{
    ResetStars(100000, kSimulationTumbleDry);
    EXPECT_EQ(g_nStars, kStarCapacity);
    ResetStars(-5, kSimulationTumbleDry);
    EXPECT_EQ(g_nStars, 0);
    ReleaseStars();
    ResetStars(kPopulationDense, kSimulationTumbleDry);
    EXPECT_EQ(g_nStars, 0);
    g_nStars = 2000; // as the view's constructor sets it
    m_surface.Clear();
    DrawStarfield(m_surface.Bits(), m_surface.RowOffsets()); // no array: draws nothing
    DrawStarSheet(m_surface.Bits(), m_surface.RowOffsets());
    EXPECT_EQ(m_surface.CountNonZero(), 0);
}

TEST_F(MotionTest, TumbleDryOrbitsInTheYZPlaneAndTumblesAboutX)
{
    ResetStars(kPopulationDense, kSimulationTumbleDry);
    g_nSpeed = 3;
    SetFrameTickHook(&CountTick);
    g_ticks = 0;
    // r mod 100 = 23 re-chooses the spin from the next number: 7 + 2 * 3.
    ScriptedRandom::Install({ 0, 123, 7, 0 });
    StepTumbleDry(m_surface);
    EXPECT_EQ(g_nCamX, 1024);
    EXPECT_EQ(g_nCamY, 1024 + (g_sinTable[0] >> 7));
    EXPECT_EQ(g_nCamZ, 1024 + (g_sinTable[512] >> 7)); // 1535: radius 512, offsets -512..511
    EXPECT_EQ(g_nOrbit, 15);
    EXPECT_EQ(g_nSpin, 0);
    EXPECT_EQ(g_nPitch, 0);
    StepTumbleDry(m_surface);
    EXPECT_EQ(g_nSpin, 13);
    EXPECT_EQ(g_nPitch, 0); // the spin applies from the next frame
    StepTumbleDry(m_surface);
    EXPECT_EQ(g_nPitch, 13);
    EXPECT_EQ(g_nCamY, 1024 + (g_sinTable[30] >> 7));
    EXPECT_EQ(g_nCamZ, 1024 + (g_sinTable[542] >> 7));
    EXPECT_EQ(g_nOrbit, 45);
    EXPECT_EQ(g_ticks, 3);
    EXPECT_EQ(m_surface.m_clears, 3);
    EXPECT_EQ(m_surface.m_invalidations, 3);

    // Over a long run x stays 1024 and the yaw stays 0.
    SetRandomGenerator(nullptr, nullptr);
    for (int32_t i = 0; i < 500; ++i)
    {
        StepTumbleDry(m_surface);
        ASSERT_EQ(g_nCamX, 1024);
        ASSERT_EQ(g_nYaw, 0);
        ASSERT_GE(g_nCamY, 512);
        ASSERT_LE(g_nCamY, 1535);
    }
    EXPECT_EQ(g_ticks, 503);
}

TEST_F(MotionTest, WashingMachineLegsLastSixtyFourFramesAndJoinUp)
{
    ResetStars(kPopulationSparse, kSimulationWashingMachine);
    g_nSpeed = 3;
    SetFrameTickHook(&CountTick);
    g_ticks = 0;
    // Targets (512, 1535, 1012), pitch spin 4 * 3, yaw spin 5 * 3.
    ScriptedRandom::Install({ 0, 1023, 500, 14, 25 });
    StepWashingMachine(m_surface);
    EXPECT_EQ(g_nCamX, 1024); // the first frame of a leg is drawn at its start
    EXPECT_EQ(g_nCamY, 1024);
    EXPECT_EQ(g_nCamZ, 1024);
    EXPECT_EQ(g_nStepX, -512 * 1024);
    EXPECT_EQ(g_nStepY, 511 * 1024);
    EXPECT_EQ(g_nStepZ, -12 * 1024);
    EXPECT_EQ(g_nLegFrames, 63);
    EXPECT_EQ(g_nPitch, 12);
    EXPECT_EQ(g_nYaw, 15);
    for (int32_t frame = 2; frame <= 64; ++frame)
        StepWashingMachine(m_surface);
    // 63 steps of 1/64: the last frame of the leg is 63/64 of the way.
    EXPECT_EQ(g_nCamX, 1024 - 63 * 8);
    EXPECT_EQ(g_nCamY, 1024 + ((63 * 511 * 1024) >> 16));
    EXPECT_EQ(g_nCamZ, 1024 + ((-63 * 12 * 1024) >> 16));
    EXPECT_EQ(g_nLegFrames, 0);
    EXPECT_EQ(g_nPitch, 64 * 12);
    EXPECT_EQ(g_ticks, 0); // only Tumble Dry feeds the frame-rate meter

    // The next leg starts from that last drawn point, without a jump.
    const int32_t lastX = g_nCamX, lastY = g_nCamY, lastZ = g_nCamZ;
    ScriptedRandom::Install({ 1023, 1023, 1023, 0, 0 });
    StepWashingMachine(m_surface);
    EXPECT_EQ(g_nCamX, lastX);
    EXPECT_EQ(g_nCamY, lastY);
    EXPECT_EQ(g_nCamZ, lastZ);
    EXPECT_EQ(g_nStepX, static_cast<int32_t>(static_cast<uint32_t>(1535 - lastX) << 16) >> 6);
    EXPECT_EQ(g_nSpinPitch, 0); // zero spins are possible
}

TEST_F(MotionTest, WashingMachineTargetsStayNearTheMiddle)
{
    ResetStars(kPopulationSparse, kSimulationWashingMachine);
    for (int32_t i = 0; i < 2000; ++i)
    {
        StepWashingMachine(m_surface);
        for (int32_t c : { g_nCamX, g_nCamY, g_nCamZ })
        {
            ASSERT_GE(c, 512);
            ASSERT_LE(c, 1535);
        }
        ASSERT_GE(g_nLegFrames, 0);
        ASSERT_LE(g_nLegFrames, 63);
    }
}

TEST_F(MotionTest, WashingMachineLegEndsEarlyOnSeventySeven)
{
    ResetStars(kPopulationSparse, kSimulationWashingMachine);
    ScriptedRandom::Install({ 0, 0, 0, 0, 0, 0, 0, 177, 0, 0, 0, 0, 0 });
    StepWashingMachine(m_surface); // new leg (5 draws) + end test (1)
    StepWashingMachine(m_surface); // 62 left, end test draws 0
    EXPECT_EQ(g_nLegFrames, 62);
    StepWashingMachine(m_surface); // end test draws 177
    EXPECT_EQ(g_nLegFrames, 0);
    const int32_t draws = ScriptedRandom::s_draws;
    StepWashingMachine(m_surface); // a new leg at once
    EXPECT_EQ(ScriptedRandom::s_draws, draws + 6);
    EXPECT_EQ(g_nLegFrames, 63);
}

TEST_F(MotionTest, WashingMachineStateSurvivesResets)
{
    ResetStars(kPopulationSparse, kSimulationWashingMachine);
    for (int32_t i = 0; i < 20; ++i)
        StepWashingMachine(m_surface);
    const int32_t legFrames = g_nLegFrames;
    const int32_t driftX = g_nDriftX, driftY = g_nDriftY, driftZ = g_nDriftZ;
    ASSERT_GT(legFrames, 0);

    ResetStars(kPopulationCrowded, kSimulationDirtyLaundry);
    ResetStars(kPopulationSparse, kSimulationWashingMachine);
    EXPECT_EQ(g_nCamX, 1024);
    ScriptedRandom::Install({});
    StepWashingMachine(m_surface);
    // The old path continues from the stored accumulators.
    EXPECT_EQ(g_nLegFrames, legFrames - 1);
    EXPECT_EQ(g_nCamX, driftX >> 16);
    EXPECT_EQ(g_nCamY, driftY >> 16);
    EXPECT_EQ(g_nCamZ, driftZ >> 16);
}

TEST_F(MotionTest, DirtyLaundryCirclesAboveTheSheetTiltedDown)
{
    ResetStars(kPopulationDense, kSimulationDirtyLaundry);
    g_nSpeed = 7;
    g_nPitch = 1234;
    SetFrameTickHook(&CountTick);
    g_ticks = 0;
    StepDirtyLaundry(m_surface);
    EXPECT_EQ(g_nPitch, 200);
    EXPECT_EQ(g_nCamX, 2048 + (g_sinTable[0] >> 7));
    EXPECT_EQ(g_nCamY, 300);
    EXPECT_EQ(g_nCamZ, 2048 + (g_sinTable[512] >> 7));
    EXPECT_EQ(g_nCircle, 35);
    EXPECT_EQ(g_nYaw, 21);
    EXPECT_EQ(g_nRipplePhase, 16);
    EXPECT_GT(m_surface.CountNonZero(), 50); // the sheet is below, in view
    for (int32_t i = 0; i < 100; ++i)
    {
        g_nPitch = i * 37;
        StepDirtyLaundry(m_surface);
        ASSERT_EQ(g_nPitch, 200);
    }
    EXPECT_EQ(g_nRipplePhase, 16 * 101);
    EXPECT_EQ(g_ticks, 0);
}

TEST_F(MotionTest, NextFrameRunsTheChosenSimulationOnlyWhileRunning)
{
    ResetStars(kPopulationSparse, kSimulationTumbleDry);
    SetFrameTickHook(&CountTick);
    g_ticks = 0;
    NextFrame(0, kSimulationTumbleDry, m_surface);
    EXPECT_EQ(m_surface.m_clears, 0);
    EXPECT_EQ(g_ticks, 0);
    NextFrame(1, kSimulationTumbleDry, m_surface);
    EXPECT_EQ(g_ticks, 1);
    NextFrame(1, kSimulationWashingMachine, m_surface);
    EXPECT_EQ(g_nLegFrames, 63);
    for (int32_t other : { 3, 0, 99 })
    {
        g_nPitch = 5;
        NextFrame(1, other, m_surface);
        EXPECT_EQ(g_nPitch, 200);
    }
    EXPECT_EQ(m_surface.m_clears, 5);
    EXPECT_EQ(m_surface.m_invalidations, 5);
}

// Angles only ever grow; they must wrap silently. Large increments carry
// every angle through 2^31 within a handful of frames (the sanitizer build
// reports any signed overflow).
TEST_F(MotionTest, AnglesWrapPastTwoToTheThirtyOne)
{
    ResetStars(kPopulationSparse, kSimulationTumbleDry);
    ScriptedRandom::Install({});
    g_nSpeed = 0x20000001;
    g_nSpin = 0x40000001;
    g_nOrbit = INT32_MAX - 3;
    for (int32_t i = 0; i < 8; ++i)
        StepTumbleDry(m_surface);
    EXPECT_EQ(g_nPitch, static_cast<int32_t>(8u * 0x40000001u));

    g_nLegFrames = 63;
    g_nSpinPitch = INT32_MAX;
    g_nSpinYaw = INT32_MAX - 1;
    for (int32_t i = 0; i < 4; ++i)
        StepWashingMachine(m_surface);

    g_nCircle = INT32_MAX - 2;
    g_nRipplePhase = INT32_MAX - 20;
    for (int32_t i = 0; i < 4; ++i)
        StepDirtyLaundry(m_surface);
    EXPECT_EQ(g_nRipplePhase, static_cast<int32_t>(static_cast<uint32_t>(INT32_MAX) + 44u));
    EXPECT_LT(g_nRipplePhase, 0);

    // Only the low 11 bits matter: INT32_MAX draws like 2047, INT32_MIN like 0.
    g_nSpeed = 1;
    SetRandomGenerator(nullptr, nullptr);
    ResetStars(kPopulationCrowded, kSimulationTumbleDry);
    MemorySurface wrapped, plain;
    for (auto [big, small] : { std::pair{ INT32_MAX, 2047 }, std::pair{ INT32_MIN, 0 }, std::pair{ INT32_MIN + 300, 300 } })
    {
        g_nPitch = big;
        g_nYaw = static_cast<int32_t>(static_cast<uint32_t>(big) - 100u);
        wrapped.Clear();
        DrawStarfield(wrapped.Bits(), wrapped.RowOffsets());
        g_nRipplePhase = big;
        DrawStarSheet(wrapped.Bits(), wrapped.RowOffsets());
        g_nPitch = small;
        g_nYaw = (small - 100) & 2047;
        plain.Clear();
        DrawStarfield(plain.Bits(), plain.RowOffsets());
        g_nRipplePhase = small;
        DrawStarSheet(plain.Bits(), plain.RowOffsets());
        EXPECT_GT(plain.CountNonZero(), 0);
        EXPECT_TRUE(wrapped.Picture() == plain.Picture());
    }
}

} // namespace
} // namespace engine_test

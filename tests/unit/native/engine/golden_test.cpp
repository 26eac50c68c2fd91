// Golden frames: a fixed clock seeds the generator, each simulation runs a
// fixed number of steps at each population, and the last picture's hash is
// compared with the stored one.
//
// Why the stored hashes can be trusted: they were produced by the plain
// reference model in ReferenceModel.cpp, written directly from the motion
// and projection formulas (64-bit products reduced to 32 bits, hardware
// division, no clip-before-divide). That model reproduces every worked
// example of the projection (see ReferenceReproducesTheWorkedExamples
// below), and the optimised engine agrees with it on every frame of every
// run here, not just the last one, as do the portable kernel and every
// vector kernel the processor runs.
#include "EngineTestSupport.h"
#include "GoldenFrames.h"
#include "ReferenceModel.h"

#include <algorithm>
#include <cstring>

namespace engine_test {
namespace {

class GoldenFrameTest : public EngineTest, public ::testing::WithParamInterface<Golden>
{
};

// A frame buffer that, when the step asks for a repaint (right after
// drawing, before the motion advances), draws the same frame again with the
// portable kernel and with every vector kernel, and counts the frames on
// which one of them differs from the engine's picture.
class CrossCheckingSurface : public MemorySurface
{
public:
    CrossCheckingSurface(Rows rows, bool sheet) : MemorySurface(rows), m_again(rows), m_sheet(sheet)
    {
        m_kernels.push_back({ "portable", &star_detail::DrawFieldPortable, &star_detail::DrawSheetPortable });
    }

    void Invalidate() override
    {
        MemorySurface::Invalidate();
        const star_detail::StarView view = star_detail::CurrentView();
        for (const star_detail::VectorKernels& kernel : m_kernels)
        {
            m_again.Clear();
            (m_sheet ? kernel.sheet : kernel.field)(g_pStars, g_nStars, view, m_again.Bits(), m_again.RowOffsets());
            m_differing += std::memcmp(m_again.Bits(), Bits(), kFrameWidth * kFrameHeight) != 0;
        }
    }

    int32_t m_differing = 0;

private:
    MemorySurface m_again;
    std::vector<star_detail::VectorKernels> m_kernels = RunnableKernels();
    bool m_sheet;
};

TEST_P(GoldenFrameTest, EngineMatchesReferenceOnEveryFrameAndTheStoredHash)
{
    const Golden golden = GetParam();
    FixedClock::s_now = kGoldenSeedClock;
    ResetStars(golden.population, golden.simulation);
    ReferenceModel reference;
    reference.Reset(golden.population, golden.simulation, kGoldenSeedClock);

    CrossCheckingSurface surface(golden.simulation == 2 ? Rows::TopDown : Rows::BottomUp, golden.simulation == 3);
    for (int32_t step = 0; step < kGoldenSteps; ++step)
    {
        NextFrame(1, golden.simulation, surface);
        reference.Step(golden.simulation);
        ASSERT_TRUE(surface.Picture() == reference.m_picture) << "frame " << step;
        ASSERT_EQ(g_nPitch, reference.m_pitch) << "frame " << step;
        ASSERT_EQ(g_nYaw, reference.m_yaw) << "frame " << step;
        ASSERT_EQ(g_nCamX, reference.m_camX) << "frame " << step;
    }
    EXPECT_EQ(surface.m_differing, 0) << "frames on which a kernel drew otherwise than the engine";
    EXPECT_GT(surface.CountNonZero(), golden.population / 50);
    EXPECT_EQ(reference.Hash(), golden.hash) << std::hex << "reference hash 0x" << reference.Hash();
    EXPECT_EQ(HashPicture(surface), golden.hash) << std::hex << "engine hash 0x" << HashPicture(surface);
}

INSTANTIATE_TEST_SUITE_P(EachSimulationAndPopulation, GoldenFrameTest, ::testing::ValuesIn(kGolden));

TEST(ReferenceModelTest, ReferenceReproducesTheWorkedExamples)
{
    ReferenceModel reference;
    reference.m_camX = reference.m_camY = reference.m_camZ = 1024;
    struct Example { RefStar star; int32_t x, y, colour; };
    const Example examples[] = {
        { { 1024, 1124, 1184 }, -1, -1, 0 }, { { 1024, 1123, 1184 }, 160, 199, 29 },
        { { 1124, 1024, 1184 }, 59, 100, 29 }, { { 924, 1024, 1184 }, 260, 100, 29 },
        { { 1024, 1024, 1026 }, -1, -1, 0 }, { { 1024, 1024, 1031 }, 160, 100, 10 },
        { { 1024, 1024, 1034 }, 160, 100, 11 }, { { 1024, 1024, 1024 + 1801 }, 160, 100, 234 },
        { { 1024, 1024, 1024 + 1802 }, 160, 100, 235 }, { { 1024, 1024, 1024 + 5002 }, 160, 100, 235 },
    };
    for (const Example& e : examples)
    {
        std::fill(reference.m_picture.begin(), reference.m_picture.end(), 0);
        reference.m_stars = { e.star };
        reference.DrawField();
        int32_t lit = 0;
        for (uint8_t p : reference.m_picture)
            lit += p != 0;
        EXPECT_EQ(lit, e.colour != 0 ? 1 : 0);
        if (e.colour != 0)
        {
            EXPECT_EQ(reference.m_picture[e.y * 320 + e.x], e.colour);
        }
    }
    EXPECT_EQ(reference.m_sin[512], 65535);
    EXPECT_EQ(reference.m_sin[1024], 6);
    EXPECT_EQ(reference.m_sin[2047], -213);
}

} // namespace
} // namespace engine_test

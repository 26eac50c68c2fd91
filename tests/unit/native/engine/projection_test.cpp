// The perspective projection: worked examples, depth colours, clipping at
// the picture's edges, overlap order, both row orientations, and the
// optimised kernels against the plain ones and the reference model.
#include "EngineTestSupport.h"
#include "ReferenceModel.h"

#include "starfield/StarKernels.h"

#include <cstring>
#include <random>

namespace engine_test {
namespace {

using star_detail::StarView;

enum class Kernel { Public, Portable, Fast };

struct ProjectionCase
{
    Rows rows;
    Kernel kernel;
};

class ProjectionTest : public EngineTest, public ::testing::WithParamInterface<ProjectionCase>
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        g_nCamX = g_nCamY = g_nCamZ = 1024;
    }

    // Draws exactly the given stars (array order) into a cleared surface.
    MemorySurface Draw(std::initializer_list<STAR> stars)
    {
        g_nStars = 0;
        for (const STAR& s : stars)
            g_pStars[g_nStars++] = s;
        MemorySurface surface(GetParam().rows);
        surface.Clear();
        const StarView view = star_detail::CurrentView();
        switch (GetParam().kernel)
        {
        case Kernel::Public:
            DrawStarfield(surface.Bits(), surface.RowOffsets());
            break;
        case Kernel::Portable:
            star_detail::DrawFieldPortable(g_pStars, g_nStars, view, surface.Bits(), surface.RowOffsets());
            break;
        case Kernel::Fast:
            star_detail::DrawFieldFast(g_pStars, g_nStars, view, surface.Bits(), surface.RowOffsets());
            break;
        }
        return surface;
    }

    // One star alone: expect a single pixel of the given colour, or none.
    void ExpectSingle(const STAR& star, int32_t x, int32_t y, int32_t colour)
    {
        // Sixteen copies so that the block path of every vector kernel sees it too.
        const MemorySurface surface = Draw({ star, star, star, star, star, star, star, star,
                                             star, star, star, star, star, star, star, star });
        SCOPED_TRACE(::testing::Message() << "star (" << star.x << ", " << star.y << ", " << star.z << ")");
        if (colour == 0)
        {
            EXPECT_EQ(surface.CountNonZero(), 0);
            return;
        }
        EXPECT_EQ(surface.CountNonZero(), 1);
        EXPECT_EQ(surface.Pixel(x, y), colour);
    }
};

TEST_P(ProjectionTest, WorkedExamplesWithLevelViewFromTheCentre)
{
    ExpectSingle({ 1024, 1124, 1184 }, 0, 0, 0);          // lands on row 200: not drawn
    ExpectSingle({ 1024, 1123, 1184 }, 160, 199, 29);     // bottom row, depth 158
    ExpectSingle({ 1124, 1024, 1184 }, 59, 100, 29);      // world x is mirrored
    ExpectSingle({ 924, 1024, 1184 }, 260, 100, 29);
    ExpectSingle({ 1024, 1024, 1026 }, 0, 0, 0);          // depth 0
    ExpectSingle({ 1024, 1024, 900 }, 0, 0, 0);           // behind the camera
}

// Straight ahead, a star dz units in front has depth dz - 2 (each rotation
// by angle 0 loses one unit from a positive input).
TEST_P(ProjectionTest, DepthSetsTheGreyLevel)
{
    const struct { int32_t depth; int32_t colour; } cases[] = {
        { 1, 10 }, { 5, 10 }, { 7, 10 }, { 8, 11 }, { 1799, 234 }, { 1800, 235 }, { 5000, 235 },
    };
    for (const auto& c : cases)
        ExpectSingle({ 1024, 1024, 1024 + c.depth + 2 }, 160, 100, c.colour);
}

// At depth 160 (dz 162) a star dx to the left of centre has h = -dx, one to
// the right h = |dx| - 1; v = dy above and dy - 1 below.
TEST_P(ProjectionTest, ClipsExactlyAtThePictureEdges)
{
    const int32_t z = 1024 + 162;
    const int32_t colour = 10 + (160 >> 3);
    ExpectSingle({ 1024 + 160, 1024, z }, 0, 100, colour);     // sx 0
    ExpectSingle({ 1024 + 161, 1024, z }, 0, 0, 0);            // sx -1
    ExpectSingle({ 1024 - 160, 1024, z }, 319, 100, colour);   // sx 319
    ExpectSingle({ 1024 - 161, 1024, z }, 0, 0, 0);            // sx 320
    ExpectSingle({ 1024, 1024 - 100, z }, 160, 0, colour);     // sy 0
    ExpectSingle({ 1024, 1024 - 101, z }, 0, 0, 0);            // sy -1
    ExpectSingle({ 1024, 1024 + 100, z }, 160, 199, colour);   // sy 199
    ExpectSingle({ 1024, 1024 + 101, z }, 0, 0, 0);            // sy 200
    // Division truncates towards zero: -160.49 and -160.99 still give column 0.
    ExpectSingle({ 1024 + 322, 1024, 1024 + 323 }, 0, 100, 10 + (321 >> 3));
    ExpectSingle({ 1024 + 323, 1024, 1024 + 323 }, 0, 100, 10 + (321 >> 3));
    ExpectSingle({ 1024 + 324, 1024, 1024 + 323 }, 0, 0, 0);
}

TEST_P(ProjectionTest, LaterStarWinsASharedPixel)
{
    const STAR nearStar{ 1024, 1024, 1024 + 7 };  // depth 5, white
    const STAR farStar{ 1024, 1024, 1024 + 5002 }; // depth 5000, darkest grey
    EXPECT_EQ(Draw({ nearStar, farStar }).Pixel(160, 100), 235);
    EXPECT_EQ(Draw({ farStar, nearStar }).Pixel(160, 100), 10);
    EXPECT_EQ(Draw({ farStar, farStar, farStar, nearStar, farStar }).Pixel(160, 100), 235);
}

INSTANTIATE_TEST_SUITE_P(
    OrientationsAndKernels, ProjectionTest,
    ::testing::Values(ProjectionCase{ Rows::BottomUp, Kernel::Public }, ProjectionCase{ Rows::TopDown, Kernel::Public },
                      ProjectionCase{ Rows::BottomUp, Kernel::Portable }, ProjectionCase{ Rows::TopDown, Kernel::Portable },
                      ProjectionCase{ Rows::BottomUp, Kernel::Fast }, ProjectionCase{ Rows::TopDown, Kernel::Fast }));

class KernelAgreementTest : public EngineTest
{
protected:
    // Draws g_pStars[0..count) with the current globals through both
    // kernels and the reference model; all three pictures must agree.
    void ExpectAgreement(int32_t count, bool sheet)
    {
        ReferenceModel reference;
        reference.m_stars.clear();
        for (int32_t i = 0; i < count; ++i)
            reference.m_stars.push_back({ g_pStars[i].x, g_pStars[i].y, g_pStars[i].z });
        reference.m_camX = g_nCamX;
        reference.m_camY = g_nCamY;
        reference.m_camZ = g_nCamZ;
        reference.m_pitch = g_nPitch;
        reference.m_yaw = g_nYaw;
        reference.m_ripplePhase = g_nRipplePhase;
        std::fill(reference.m_picture.begin(), reference.m_picture.end(), 0);
        if (sheet)
            reference.DrawSheet();
        else
            reference.DrawField();

        StarView view = star_detail::CurrentView();
        if (sheet)
            view.ripplePhase = static_cast<int32_t>(static_cast<uint32_t>(view.ripplePhase) + 16u);
        MemorySurface portable(Rows::BottomUp);
        MemorySurface fast(Rows::TopDown);
        portable.Clear();
        fast.Clear();
        if (sheet)
        {
            star_detail::DrawSheetPortable(g_pStars, count, view, portable.Bits(), portable.RowOffsets());
            star_detail::DrawSheetFast(g_pStars, count, view, fast.Bits(), fast.RowOffsets());
        }
        else
        {
            star_detail::DrawFieldPortable(g_pStars, count, view, portable.Bits(), portable.RowOffsets());
            star_detail::DrawFieldFast(g_pStars, count, view, fast.Bits(), fast.RowOffsets());
        }
        ASSERT_TRUE(portable.Picture() == reference.m_picture) << "portable kernel differs from the reference";
        ASSERT_TRUE(fast.Picture() == reference.m_picture) << "fast kernel differs from the reference";
        for (const star_detail::VectorKernels& kernel : RunnableKernels())
        {
            MemorySurface vector(Rows::TopDown);
            vector.Clear();
            (sheet ? kernel.sheet : kernel.field)(g_pStars, count, view, vector.Bits(), vector.RowOffsets());
            ASSERT_TRUE(vector.Picture() == reference.m_picture) << kernel.name << " kernel differs from the reference";
        }
    }
};

// Stars placed so that their projections fall on and around the clipping
// boundaries at many depths, in groups of four (one block of the fast
// kernel), with a level view.
TEST_F(KernelAgreementTest, AgreeAroundEveryClippingBoundary)
{
    g_nCamX = g_nCamY = g_nCamZ = 0;
    g_nPitch = g_nYaw = 0;
    // Offsets giving h (across) and v (down) exactly, for depth >= 1.
    auto dxFor = [](int32_t h) { return h > 0 ? -(h + 1) : -h; };
    auto dyFor = [](int32_t v) { return v > 0 ? v + 1 : v; };
    for (int32_t depth = 1; depth < 12000; depth += (depth < 400 ? 1 : 37))
    {
        // Boundaries of the visible range: -161 d < 160 h < 160 d and
        // -101 d < 160 v < 100 d, approached from both sides.
        const int32_t hs[4] = { depth - 1, depth, -(161 * depth) / 160, -(161 * depth) / 160 - 1 };
        const int32_t vs[4] = { (100 * depth) / 160, (100 * depth) / 160 + 1, -(101 * depth) / 160, -(101 * depth) / 160 - 1 };
        for (int32_t k = 0; k < 4; ++k)
            g_pStars[k] = { dxFor(hs[k]), dyFor(vs[(k + depth) & 3]), depth + 2 };
        ExpectAgreement(4, false);
        if (HasFatalFailure())
        {
            ADD_FAILURE() << "at depth " << depth;
            return;
        }
    }
}

// Random scenes: any camera and angles, coordinates inside and far outside
// the field's cube (offsets beyond 15 bits send their chunk through the
// portable kernel), counts that are not multiples of the kernels' blocks.
TEST_F(KernelAgreementTest, AgreeOnRandomScenesWithAnyCoordinates)
{
    std::mt19937 rng(20240611);
    for (int32_t scene = 0; scene < 60; ++scene)
    {
        const int32_t count = 4999 - scene % 4;
        const bool wide = scene % 3 == 2;
        std::uniform_int_distribution<int32_t> inside(0, 4095);
        std::uniform_int_distribution<int32_t> anywhere(-2000000000, 2000000000);
        for (int32_t i = 0; i < count; ++i)
        {
            const bool far = wide && (i % 7 == 0);
            g_pStars[i] = { far ? anywhere(rng) : inside(rng), far ? anywhere(rng) : inside(rng),
                            far ? anywhere(rng) : inside(rng) };
        }
        g_nCamX = 512 + static_cast<int32_t>(rng() % 3072);
        g_nCamY = 512 + static_cast<int32_t>(rng() % 3072);
        g_nCamZ = 512 + static_cast<int32_t>(rng() % 3072);
        g_nPitch = static_cast<int32_t>(rng());
        g_nYaw = static_cast<int32_t>(rng());
        g_nRipplePhase = static_cast<int32_t>(rng());
        ExpectAgreement(count, scene % 2 == 1);
        if (HasFatalFailure())
        {
            ADD_FAILURE() << "in scene " << scene;
            return;
        }
    }
}

// Mostly stars the vector kernels take, with a few so far away that the
// chunks holding them go through the portable kernel, between chunks drawn
// by the vector kernels: the picture keeps the array order across them.
TEST_F(KernelAgreementTest, AgreeWhenSomeChunksFallBack)
{
    std::mt19937 rng(7031);
    std::uniform_int_distribution<int32_t> inside(0, 4095);
    for (int32_t scene = 0; scene < 8; ++scene)
    {
        for (int32_t i = 0; i < kPopulationCrowded; ++i)
            g_pStars[i] = { inside(rng), inside(rng), inside(rng) };
        for (int32_t k = 0; k < 3; ++k)
            g_pStars[rng() % kPopulationCrowded].x = 40000 + static_cast<int32_t>(rng() % 1000);
        g_nCamX = g_nCamY = g_nCamZ = 2048;
        g_nPitch = static_cast<int32_t>(rng());
        g_nYaw = static_cast<int32_t>(rng());
        ExpectAgreement(kPopulationCrowded, scene % 2 == 1);
        if (HasFatalFailure())
        {
            ADD_FAILURE() << "in scene " << scene;
            return;
        }
    }
}

// A sine table with outsized entries where only the ripple reads them (not
// one BuildSineTable makes): the stars they lift far out of the sheet send
// their chunks through the portable kernel, and every vector kernel still
// draws what the portable kernel draws.
TEST_F(KernelAgreementTest, OutsizedRippleFallsBackToThePortableKernel)
{
    std::mt19937 rng(911);
    for (int32_t i = 0; i < kPopulationCrowded; ++i)
        g_pStars[i] = { static_cast<int32_t>(rng() % 4096), 512, static_cast<int32_t>(rng() % 4096) };
    for (int32_t k = 1000; k < 1400; ++k)
        g_sinTable[k] = (k & 1) ? 0x40000000 : -0x40000000;
    g_nCamX = g_nCamZ = 2048;
    g_nCamY = 300;
    g_nPitch = 200;
    g_nYaw = 40;
    const StarView view = star_detail::CurrentView();
    MemorySurface portable(Rows::BottomUp);
    portable.Clear();
    star_detail::DrawSheetPortable(g_pStars, kPopulationCrowded, view, portable.Bits(), portable.RowOffsets());
    EXPECT_GT(portable.CountNonZero(), 100);
    for (const star_detail::VectorKernels& kernel : RunnableKernels())
    {
        MemorySurface vector(Rows::BottomUp);
        vector.Clear();
        kernel.sheet(g_pStars, kPopulationCrowded, view, vector.Bits(), vector.RowOffsets());
        EXPECT_TRUE(vector.Picture() == portable.Picture()) << kernel.name << " kernel differs from the portable one";
    }
}

// The division used for stars already known to be on screen, against the
// hardware division, at every reciprocal depth and on both sides of each
// quotient step.
TEST(OnScreenDivision, MatchesTruncatingDivisionForEveryDepth)
{
    int32_t mismatches = 0;
    for (int32_t d = 1; d < star_detail::kReciprocalDepths + 64; ++d)
    {
        for (int32_t q = 0; q <= 160; ++q)
        {
            const int32_t ns[4] = { q * d, q * d + d - 1, -(q * d), -(q * d + d - 1) };
            for (int32_t n : ns)
            {
                if (n >= 161 * d || n <= -161 * d)
                    continue;
                mismatches += star_detail::DivideOnScreen(n, d) != n / d;
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST_F(KernelAgreementTest, PictureIsTheSameInBothRowOrientations)
{
    ResetStars(kPopulationCrowded, kSimulationTumbleDry);
    g_nPitch = 300;
    g_nYaw = 77;
    MemorySurface bottomUp(Rows::BottomUp);
    MemorySurface topDown(Rows::TopDown);
    bottomUp.Clear();
    topDown.Clear();
    DrawStarfield(bottomUp.Bits(), bottomUp.RowOffsets());
    DrawStarfield(topDown.Bits(), topDown.RowOffsets());
    EXPECT_GT(bottomUp.CountNonZero(), 100);
    EXPECT_TRUE(bottomUp.Picture() == topDown.Picture());
    // Row 0 of the picture is the last row in memory when stored bottom-up.
    EXPECT_EQ(std::memcmp(bottomUp.Bits() + 199 * 320, topDown.Bits(), 320), 0);
}

} // namespace
} // namespace engine_test

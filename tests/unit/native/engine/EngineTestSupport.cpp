#include "EngineTestSupport.h"

#include <cstring>

namespace engine_test {

MemorySurface::MemorySurface(Rows rows)
    : m_pixels(kFrameWidth * kFrameHeight, 0xEE)
{
    for (int32_t y = 0; y < kFrameHeight; ++y)
        m_rows[y] = (rows == Rows::BottomUp ? kFrameHeight - 1 - y : y) * kFrameWidth;
}

void MemorySurface::Clear()
{
    std::memset(m_pixels.data(), 0, m_pixels.size());
    ++m_clears;
}

std::vector<uint8_t> MemorySurface::Picture() const
{
    std::vector<uint8_t> picture;
    picture.reserve(m_pixels.size());
    for (int32_t y = 0; y < kFrameHeight; ++y)
        for (int32_t x = 0; x < kFrameWidth; ++x)
            picture.push_back(Pixel(x, y));
    return picture;
}

int32_t MemorySurface::CountNonZero() const
{
    int32_t n = 0;
    for (uint8_t p : m_pixels)
        n += p != 0;
    return n;
}

std::vector<star_detail::VectorKernels> RunnableKernels()
{
    int32_t count = 0;
    const star_detail::VectorKernels* kernels = star_detail::RunnableVectorKernels(&count);
    return std::vector<star_detail::VectorKernels>(kernels, kernels + count);
}

uint32_t HashPicture(const MemorySurface& surface)
{
    uint32_t hash = 2166136261u;
    for (uint8_t p : surface.Picture())
        hash = (hash ^ p) * 16777619u;
    return hash;
}

std::deque<int32_t> ScriptedRandom::s_values;
std::vector<uint32_t> ScriptedRandom::s_seeds;
int32_t ScriptedRandom::s_draws = 0;

void ScriptedRandom::Install(std::initializer_list<int32_t> values)
{
    s_values.assign(values.begin(), values.end());
    s_seeds.clear();
    s_draws = 0;
    SetRandomGenerator(&ScriptedRandom::Seed, &ScriptedRandom::Next);
}

void ScriptedRandom::Seed(uint32_t seed)
{
    s_seeds.push_back(seed);
}

int32_t ScriptedRandom::Next()
{
    ++s_draws;
    if (s_values.empty())
        return 0;
    const int32_t v = s_values.front();
    s_values.pop_front();
    return v;
}

uint32_t FixedClock::s_now = 0;

uint32_t FixedClock::Now()
{
    return s_now;
}

void EngineTest::SetUp()
{
    ASSERT_TRUE(AllocateStars());
    g_nStars = 0;
    g_nCamX = g_nCamY = g_nCamZ = 0;
    g_nPitch = g_nYaw = 0;
    g_nSpeed = 1;
    g_nOrbit = g_nSpin = 0;
    g_nLegFrames = 0;
    g_nDriftX = g_nDriftY = g_nDriftZ = 0;
    g_nStepX = g_nStepY = g_nStepZ = 0;
    g_nSpinPitch = g_nSpinYaw = 0;
    g_nCircle = g_nRipplePhase = 0;
    FixedClock::s_now = 12345;
    SetMillisecondClock(&FixedClock::Now);
    SetRandomGenerator(nullptr, nullptr);
    SetFrameTickHook(nullptr);
    BuildSineTable();
}

void EngineTest::TearDown()
{
    SetMillisecondClock(nullptr);
    SetRandomGenerator(nullptr, nullptr);
    SetFrameTickHook(nullptr);
    ReleaseStars();
}

} // namespace engine_test

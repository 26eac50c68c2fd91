// Shared helpers of the engine tests: an in-memory 320 x 200 frame buffer in
// either row orientation, replaceable random sources, frame hashing, and a
// fixture that puts the engine's module state back to its start-up values.
#pragma once

#include "starfield/StarEngine.h"
#include "starfield/StarKernels.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <vector>

namespace engine_test {

enum class Rows { BottomUp, TopDown };

class MemorySurface : public StarSurface
{
public:
    explicit MemorySurface(Rows rows = Rows::BottomUp);

    void Clear() override;
    uint8_t* Bits() override { return m_pixels.data(); }
    const int32_t* RowOffsets() override { return m_rows; }
    void Invalidate() override { ++m_invalidations; }

    uint8_t Pixel(int32_t x, int32_t y) const { return m_pixels[m_rows[y] + x]; }
    // The picture in presentation order (row 0 at the top), whatever the
    // storage orientation.
    std::vector<uint8_t> Picture() const;
    int32_t CountNonZero() const;

    int32_t m_clears = 0;
    int32_t m_invalidations = 0;

private:
    std::vector<uint8_t> m_pixels;
    int32_t m_rows[kFrameHeight];
};

// The vector kernels the processor runs (none in 32-bit builds).
std::vector<star_detail::VectorKernels> RunnableKernels();

// FNV-1a over the picture in presentation order.
uint32_t HashPicture(const MemorySurface& surface);

// A random source that hands out a prepared list of values (then zeros),
// and records the seeds it was given.
struct ScriptedRandom
{
    static void Install(std::initializer_list<int32_t> values);
    static void Seed(uint32_t seed);
    static int32_t Next();
    static std::deque<int32_t> s_values;
    static std::vector<uint32_t> s_seeds;
    static int32_t s_draws;
};

// A clock that returns a settable constant.
struct FixedClock
{
    static uint32_t Now();
    static uint32_t s_now;
};

// Puts the module state back to its start-up values, allocates the star
// array and builds the sine table; restores the default sources afterwards.
class EngineTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;
};

} // namespace engine_test

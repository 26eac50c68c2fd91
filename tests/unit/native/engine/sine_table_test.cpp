// The sine table's shape, which the motion radii and the projections rely on.
#include "EngineTestSupport.h"

#include <algorithm>

namespace engine_test {
namespace {

class SineTableTest : public EngineTest
{
};

TEST_F(SineTableTest, SpansAShadeLessThanOneTurnAndNeverReachesOne)
{
    EXPECT_EQ(g_sinTable[0], 0);
    EXPECT_EQ(g_sinTable[512], 65535);
    EXPECT_EQ(g_sinTable[1024], 6);
    EXPECT_EQ(g_sinTable[2047], -213);
    int32_t largest = g_sinTable[0];
    int32_t smallest = g_sinTable[0];
    for (int32_t v : g_sinTable)
    {
        largest = std::max(largest, v);
        smallest = std::min(smallest, v);
    }
    EXPECT_EQ(largest, 65535);
    EXPECT_EQ(smallest, -65535);
    // Truncation towards zero: the first entries follow sin(i * 0.0030679...).
    EXPECT_EQ(g_sinTable[1], 201);
    EXPECT_EQ(g_sinTable[256], 46339);
}

} // namespace
} // namespace engine_test

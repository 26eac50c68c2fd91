// The frame-rate meter's windows, rates and pane texts.
#include "audio/FpsMeter.h"
#include <gtest/gtest.h>
#include <string>

namespace {

uint32_t g_now = 0;
uint32_t FakeClock() { return g_now; }

class FpsMeterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved = g_pfnFpsClock;
        g_pfnFpsClock = FakeClock;
        g_now = 1000;
        RestartFpsMeter(1);
    }
    void TearDown() override { g_pfnFpsClock = saved; }

    static std::string Text()
    {
        char text[16];
        FormatFpsText(text, sizeof text);
        return text;
    }
    static void Ticks(int n)
    {
        for (int i = 0; i < n; ++i)
            TickFpsMeter();
    }

    uint32_t (*saved)();
};

TEST_F(FpsMeterTest, NoRateIsShownUntilAWindowCompletes)
{
    EXPECT_EQ(Text(), "Fps = ?");
    g_now += 2999;
    Ticks(500);
    EXPECT_EQ(Text(), "Fps = ?");
    EXPECT_EQ(g_nFrames, 500u);
}

TEST_F(FpsMeterTest, ACompletedWindowShowsFramesOverThreePlusTwo)
{
    Ticks(58);
    g_now += 3000;
    Ticks(1);   // the 59th step closes the window
    EXPECT_EQ(g_nFps, 19);
    EXPECT_EQ(Text(), "Fps = 21");
    EXPECT_EQ(g_nFrames, 0u);
    EXPECT_EQ(g_dwFpsStart, g_now);
}

TEST_F(FpsMeterTest, FewerThanThreeFramesGiveZeroAndTheExcessTimeIsIgnored)
{
    Ticks(1);
    g_now += 10000;
    Ticks(1);
    EXPECT_EQ(Text(), "Fps = 2");

    Ticks(59);
    g_now += 3400;
    Ticks(1);
    EXPECT_EQ(Text(), "Fps = 22");
}

TEST_F(FpsMeterTest, ARestartKeepsOrForgetsTheShownRate)
{
    Ticks(89);
    g_now += 3000;
    Ticks(1);
    EXPECT_EQ(Text(), "Fps = 32");
    RestartFpsMeter(0);   // the end of a completed window keeps the rate
    EXPECT_EQ(Text(), "Fps = 32");
    RestartFpsMeter(1);   // a resize forgets it
    EXPECT_EQ(Text(), "Fps = ?");
    EXPECT_EQ(g_nFrames, 0u);
}

TEST_F(FpsMeterTest, AWindowSurvivesTheClockWrappingPast32Bits)
{
    g_now = 0xFFFFF000u;
    RestartFpsMeter(1);
    Ticks(10);
    g_now = 0xFFFFF000u + 2999u;   // wrapped, 2999 ms elapsed
    Ticks(1);
    EXPECT_EQ(Text(), "Fps = ?");
    g_now = 0xFFFFF000u + 3000u;
    Ticks(1);
    EXPECT_EQ(g_nFps, 4);
    EXPECT_EQ(Text(), "Fps = 6");
}

TEST_F(FpsMeterTest, AWindowLeftOpenCountsOnlyItsFramesHoweverLongItLasted)
{
    // Frames counted under one simulation, then a long time in another that
    // does not tick, then the first tick back closes the old window.
    Ticks(29);
    g_now += 60000;
    Ticks(1);
    EXPECT_EQ(g_nFps, 10);

    // With a resize in between the count starts from zero.
    Ticks(40);
    RestartFpsMeter(1);
    g_now += 60000;
    Ticks(1);
    EXPECT_EQ(Text(), "Fps = 2");
}

}   // namespace

// When the main loop steps a frame: the rate read from the settings, the
// due-time grid against a scripted clock, and the rest while minimised.
#include "starfield/FramePacer.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Runs the loop's decisions from nStartMs until nUntilMs have passed: every
// wait lasts exactly as long as asked, and every frame takes nFrameCostMs.
// Returns the clock readings at which frames were stepped.
std::vector<uint32_t> RunPaced(CFramePacer& pacer, uint32_t nStartMs, uint32_t nUntilMs, uint32_t nFrameCostMs)
{
    std::vector<uint32_t> frames;
    uint32_t now = nStartMs;
    while (now - nStartMs < nUntilMs)
    {
        const LoopDecision d = pacer.Decide(now, 1);
        if (d.nAction == LOOP_STEP_FRAME)
        {
            frames.push_back(now);
            now += nFrameCostMs;
        }
        else
        {
            EXPECT_EQ(d.nAction, LOOP_WAIT_DUE);
            EXPECT_GT(d.nWaitMs, 0u);
            now += d.nWaitMs;
        }
    }
    return frames;
}

TEST(FrameRateFromText, TakesOnlyADecimalNumberFromOneToAThousand)
{
    EXPECT_EQ(FrameRateFromText("60"), 60);
    EXPECT_EQ(FrameRateFromText(" 1\t"), 1);
    EXPECT_EQ(FrameRateFromText("1000"), 1000);
    for (const char* junk : { "", "0", "1001", "99999999999999999999", "-60", "+60", "60fps", "6 0", "abc" })
        EXPECT_EQ(FrameRateFromText(junk), 0) << '"' << junk << '"';
}

TEST(FramePacer, OutsideOneToAThousandStepsAFrameOnEveryPass)
{
    CFramePacer pacer;
    for (int32_t rate : { 0, -60, 1001, INT32_MIN, INT32_MAX })
    {
        pacer.SetRate(rate);
        EXPECT_EQ(pacer.GetRate(), 0);
        for (uint32_t now : { 0u, 0u, 1u, 0xFFFFFFFFu })
        {
            const LoopDecision d = pacer.Decide(now, 1);
            EXPECT_EQ(d.nAction, LOOP_STEP_FRAME);
        }
    }
    pacer.SetRate(1000);
    EXPECT_EQ(pacer.GetRate(), 1000);
}

TEST(FramePacer, FramesFallOnTheGridFromTheFirstFrameWithoutDrift)
{
    for (uint32_t cost : { 0u, 3u, 16u })
    {
        CFramePacer pacer;
        pacer.SetRate(60);
        const std::vector<uint32_t> frames = RunPaced(pacer, 5000, 10000, cost);
        ASSERT_EQ(frames.size(), 600u) << "frame cost " << cost;
        for (uint32_t k = 0; k < frames.size(); ++k)
            ASSERT_EQ(frames[k], 5000u + k * 1000u / 60u) << "frame " << k << ", cost " << cost;
    }
}

TEST(FramePacer, ALateFrameIsFollowedByTheNextGridPointNotABurst)
{
    CFramePacer pacer;
    pacer.SetRate(50);   // a frame every 20 ms from 1000
    ASSERT_EQ(pacer.Decide(1000, 1).nAction, LOOP_STEP_FRAME);
    // The loop was held up for 105 ms: one frame, then the wait to 1120.
    ASSERT_EQ(pacer.Decide(1105, 1).nAction, LOOP_STEP_FRAME);
    LoopDecision d = pacer.Decide(1105, 1);
    EXPECT_EQ(d.nAction, LOOP_WAIT_DUE);
    EXPECT_EQ(d.nWaitMs, 15u);
    // Early wake-ups (a message came) wait for the rest of the time.
    d = pacer.Decide(1119, 1);
    EXPECT_EQ(d.nAction, LOOP_WAIT_DUE);
    EXPECT_EQ(d.nWaitMs, 1u);
    EXPECT_EQ(pacer.Decide(1120, 1).nAction, LOOP_STEP_FRAME);
    // Held up for more than a second: still one frame, then the grid.
    ASSERT_EQ(pacer.Decide(4567, 1).nAction, LOOP_STEP_FRAME);
    EXPECT_EQ(pacer.Decide(4567, 1).nWaitMs, 13u);
}

TEST(FramePacer, TheGridHoldsAcrossTheClockWrap)
{
    CFramePacer pacer;
    pacer.SetRate(60);
    const uint32_t start = 0xFFFFFFFFu - 2500u;
    const std::vector<uint32_t> frames = RunPaced(pacer, start, 5000, 2);
    ASSERT_EQ(frames.size(), 300u);
    for (uint32_t k = 0; k < frames.size(); ++k)
        ASSERT_EQ(frames[k], start + k * 1000u / 60u) << "frame " << k;
}

TEST(FramePacer, AClockThatGoesBackStartsTheGridAgainInsteadOfWaiting)
{
    CFramePacer pacer;
    pacer.SetRate(10);
    ASSERT_EQ(pacer.Decide(50000, 1).nAction, LOOP_STEP_FRAME);
    EXPECT_EQ(pacer.Decide(40000, 1).nAction, LOOP_STEP_FRAME);
    const LoopDecision d = pacer.Decide(40000, 1);
    EXPECT_EQ(d.nAction, LOOP_WAIT_DUE);
    EXPECT_EQ(d.nWaitMs, 100u);
}

TEST(FramePacer, WhileMinimisedOnlyMessagesAreAwaitedThenTheGridStartsAgain)
{
    for (int32_t rate : { 0, 25 })
    {
        CFramePacer pacer;
        pacer.SetRate(rate);
        ASSERT_EQ(pacer.Decide(100, 1).nAction, LOOP_STEP_FRAME);
        for (uint32_t now : { 110u, 140u, 100000u })
        {
            const LoopDecision d = pacer.Decide(now, 0);
            EXPECT_EQ(d.nAction, LOOP_WAIT_MESSAGES) << "rate " << rate;
            EXPECT_EQ(d.nWaitMs, FRAME_WAIT_FOREVER);
        }
        // Seen again at 100007: a frame at once, the next one step later.
        EXPECT_EQ(pacer.Decide(100007, 1).nAction, LOOP_STEP_FRAME);
        const LoopDecision d = pacer.Decide(100007, 1);
        if (rate)
            EXPECT_EQ(d.nWaitMs, 40u);
        else
            EXPECT_EQ(d.nAction, LOOP_STEP_FRAME);
    }
}

} // namespace

// The tune player's order of calls to the sound service.
#include "SoundRecorder.h"
#include <gtest/gtest.h>

namespace {

class TunePlayerTest : public ::testing::Test {
protected:
    SoundServiceScope scope;
    CTunePlayer player;
};

TEST_F(TunePlayerTest, ActivationPlaysTheSelectedTuneAndPauseKeepsIt)
{
    player.m_nTune = 1;   // as left by the view's creation: nothing loaded yet
    player.ResumeTune();
    ASSERT_EQ(SoundCalls().size(), 2u);
    EXPECT_EQ(SoundCalls()[0].sound, nullptr);
    EXPECT_EQ(SoundCalls()[0].flags, 0x0003u);
    ASSERT_NE(SoundCalls()[1].sound, nullptr);
    EXPECT_EQ(SoundCalls()[1].flags, 0x000Fu);
    EXPECT_EQ(TuneMarker(SoundCalls()[1].sound), '1');
    EXPECT_EQ(player.m_nTune, 1);
    const void* image = player.m_tuneImage[0];
    EXPECT_EQ(image, SoundCalls()[1].sound);

    SoundCalls().clear();
    player.PauseTune();
    ASSERT_EQ(SoundCalls().size(), 1u);
    EXPECT_EQ(SoundCalls()[0].sound, nullptr);
    EXPECT_EQ(SoundCalls()[0].flags, 0x0003u);
    EXPECT_EQ(player.m_nTune, 1);
    EXPECT_EQ(player.m_tuneImage[0], image);

    // Reactivation restarts the cached image without touching the resources.
    SoundCalls().clear();
    player.ResumeTune();
    ASSERT_EQ(SoundCalls().size(), 1u);
    EXPECT_EQ(SoundCalls()[0].sound, image);
    EXPECT_EQ(SoundCalls()[0].flags, 0x000Fu);
}

TEST_F(TunePlayerTest, ChoosingTheCurrentTuneRestartsItFromTheCache)
{
    player.PlayTune(2);
    SoundCalls().clear();
    player.PlayTune(2);
    ASSERT_EQ(SoundCalls().size(), 1u);
    EXPECT_EQ(TuneMarker(SoundCalls()[0].sound), '2');
}

TEST_F(TunePlayerTest, AnotherTuneEmptiesTheCacheFirst)
{
    player.PlayTune(1);
    player.PlayTune(3);
    EXPECT_EQ(player.m_tuneImage[0], nullptr);
    EXPECT_EQ(player.m_tuneResource[0], nullptr);
    EXPECT_NE(player.m_tuneImage[2], nullptr);
    EXPECT_NE(player.m_tuneResource[2], nullptr);
    EXPECT_EQ(player.m_nTune, 3);
    EXPECT_EQ(TuneMarker(SoundCalls().back().sound), '3');
}

TEST_F(TunePlayerTest, NextTuneCyclesAndStartsFromOneWhenNoneIsCurrent)
{
    player.OnAudioNextTune();
    EXPECT_EQ(player.m_nTune, 1);
    player.OnAudioNextTune();
    EXPECT_EQ(player.m_nTune, 2);
    player.OnAudioNextTune();
    EXPECT_EQ(player.m_nTune, 3);
    player.OnAudioNextTune();
    EXPECT_EQ(player.m_nTune, 1);
    EXPECT_EQ(TuneMarker(SoundCalls().back().sound), '1');
}

TEST_F(TunePlayerTest, NoSoundSurvivesActivationChanges)
{
    player.PlayTune(3);
    player.StopTune();
    EXPECT_EQ(player.m_nTune, -1);
    EXPECT_NE(player.m_tuneImage[2], nullptr);   // the cache stays
    SoundCalls().clear();
    player.PauseTune();
    player.ResumeTune();
    player.PauseTune();
    player.ResumeTune();
    EXPECT_TRUE(SoundCalls().empty());
    EXPECT_EQ(player.m_nTune, -1);
}

TEST_F(TunePlayerTest, NothingPlaysAfterAFatalErrorOrOutsideOneToThree)
{
    player.PlayTune(0);
    player.PlayTune(4);
    player.PlayTune(-1);
    EXPECT_TRUE(SoundCalls().empty());
    g_bRunning = 0;
    player.PlayTune(1);
    player.OnAudioNextTune();
    EXPECT_TRUE(SoundCalls().empty());
    EXPECT_EQ(player.m_nTune, -1);
}

TEST_F(TunePlayerTest, ForgetTunesEmptiesEverySlot)
{
    player.PlayTune(2);
    player.ForgetTunes();
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(player.m_tuneImage[i], nullptr);
        EXPECT_EQ(player.m_tuneResource[i], nullptr);
    }
    EXPECT_EQ(player.m_nTune, -1);
}

struct WaitCountingPlayer : CTunePlayer {
    int begins = 0, ends = 0;
    void BeginTuneWait() override { ++begins; }
    void EndTuneWait() override { ++ends; }
};

TEST(TunePlayerWait, TheWaitCursorBracketsEveryLoadAndOnlyLoads)
{
    SoundServiceScope scope;
    WaitCountingPlayer player;
    player.PlayTune(1);
    player.PlayTune(1);   // cached: no load
    player.PlayTune(2);
    EXPECT_EQ(player.begins, 2);
    EXPECT_EQ(player.ends, 2);
}

}   // namespace

// The tune player when one tune resource is missing.
#include "SoundRecorder.h"
#include <gtest/gtest.h>

TEST(TunePlayerMissing, AMissingTuneLeavesTheProgramSilentAndNextPlaysOne)
{
    SoundServiceScope scope;
    CTunePlayer player;
    player.PlayTune(1);
    ASSERT_EQ(player.m_nTune, 1);

    SoundCalls().clear();
    player.PlayTune(2);
    // The previous tune was stopped, and nothing else was played.
    ASSERT_EQ(SoundCalls().size(), 1u);
    EXPECT_EQ(SoundCalls()[0].sound, nullptr);
    EXPECT_EQ(SoundCalls()[0].flags, 0x0003u);
    EXPECT_EQ(player.m_nTune, -1);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(player.m_tuneImage[i], nullptr);

    player.OnAudioNextTune();
    EXPECT_EQ(player.m_nTune, 1);
    EXPECT_EQ(TuneMarker(SoundCalls().back().sound), '1');
    EXPECT_EQ(SoundCalls().back().flags, 0x000Fu);
}

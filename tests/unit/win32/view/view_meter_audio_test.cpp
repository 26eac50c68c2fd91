// The frame-rate pane fed by the Tumble Dry step and restarted by every
// size change; the audio commands and the tune following the activation.
#include "view_test_support.h"
#include "audio/FpsMeter.h"
#include "audio/TunePlayer.h"
#include "resources/resource.h"

namespace {

uint32_t g_nNow = 0;
uint32_t TestClock() { return g_nNow; }

class ViewMeter : public ViewFixture {
protected:
    void SetUp() override
    {
        ViewFixture::SetUp();
        g_pfnFpsClock = &TestClock;
        g_nNow = 0xFFFFF000u;   // the window wraps past 2^32
        ASSERT_TRUE(Start());
    }
    // A whole measuring window of Tumble Dry frames.
    void RunWindow(int nFrames)
    {
        RestartFpsMeter(FALSE);
        for (int i = 0; i < nFrames - 1; ++i)
            m_pView->NextFrame();
        g_nNow += 3000;
        m_pView->NextFrame();
    }
};

using ViewAudio = ViewMeter;

}   // namespace

TEST_F(ViewMeter, ShowsTheRateOfACompletedWindowAndForgetsItOnResize)
{
    UpdateBars();
    EXPECT_EQ(FpsPaneText(), "Fps = ?");
    EXPECT_EQ(QueryUpdate(m_pView, ID_INDICATOR_FPS).text, "Fps = ?");

    RunWindow(59);
    EXPECT_EQ(g_nFps, 19);
    UpdateBars();
    EXPECT_EQ(FpsPaneText(), "Fps = 21");

    // The other simulations count nothing: the pane keeps its rate.
    m_pView->OnSimulationWashingMachine();
    for (int i = 0; i < 10; ++i)
        m_pView->NextFrame();
    g_nNow += 5000;
    m_pView->NextFrame();
    UpdateBars();
    EXPECT_EQ(FpsPaneText(), "Fps = 21");
    m_pView->OnSimulationTumbleDry();

    // A display change that resizes the view restarts the meter.
    if (m_pView->m_nDisplaySize == DISPLAY_NORMAL)
        m_pView->OnDisplayDoubled();
    else
        m_pView->OnDisplayNormal();
    UpdateBars();
    EXPECT_EQ(FpsPaneText(), "Fps = ?");
    EXPECT_EQ(g_nFps, -1);

    // So does a resize of the frame.
    RunWindow(60);
    UpdateBars();
    EXPECT_EQ(FpsPaneText(), "Fps = 22");
    m_pFrame->ShowWindow(SW_RESTORE);
    m_pFrame->MoveWindow(10, 10, 600, 500, TRUE);
    DrainMessages();
    UpdateBars();
    EXPECT_EQ(FpsPaneText(), "Fps = ?");
}

TEST_F(ViewMeter, ThePaneStaysEnabledSoItsTextShows)
{
    // The command handler exists, so routing finds the pane enabled.
    AFX_CMDHANDLERINFO info = {};
    EXPECT_TRUE(m_pView->OnCmdMsg(ID_INDICATOR_FPS, CN_COMMAND, nullptr, &info));
    RecordingCmdUI ui = QueryUpdate(m_pView, ID_INDICATOR_FPS);
    EXPECT_EQ(ui.enabled, -1);   // the update handler only sets the text
}

TEST_F(ViewAudio, CommandsPlayStopAndCycleTheTunes)
{
    const UINT kPlay = kTunePlayFlags;
    const UINT kStop = kTuneStopFlags;
    m_pFrame->SendMessage(WM_COMMAND, ID_AUDIO_TUNE2, 0);
    EXPECT_EQ(m_pView->m_nTune, 2);
    ASSERT_FALSE(g_soundCalls.empty());
    EXPECT_EQ(g_soundCalls.back().text, "image");
    EXPECT_EQ(g_soundCalls.back().flags, kPlay);
    EXPECT_EQ(QueryUpdate(m_pView, ID_AUDIO_TUNE2).checked, 1);
    EXPECT_EQ(QueryUpdate(m_pView, ID_AUDIO_TUNE1).checked, 0);

    m_pFrame->SendMessage(WM_COMMAND, ID_AUDIO_NEXT_TUNE, 0);
    EXPECT_EQ(m_pView->m_nTune, 3);
    m_pFrame->SendMessage(WM_COMMAND, ID_AUDIO_NEXT_TUNE, 0);
    EXPECT_EQ(m_pView->m_nTune, 1);

    g_soundCalls.clear();
    m_pFrame->SendMessage(WM_COMMAND, ID_AUDIO_NO_SOUND, 0);
    EXPECT_EQ(m_pView->m_nTune, -1);
    ASSERT_EQ(g_soundCalls.size(), 1u);
    EXPECT_EQ(g_soundCalls[0].text, "");
    EXPECT_EQ(g_soundCalls[0].flags, kStop);
    RecordingCmdUI none = QueryUpdate(m_pView, ID_AUDIO_NO_SOUND);
    EXPECT_EQ(none.enabled, 1);
    EXPECT_EQ(none.checked, 1);

    // From no tune, Next Tune plays tune 1.
    m_pFrame->SendMessage(WM_COMMAND, ID_AUDIO_NEXT_TUNE, 0);
    EXPECT_EQ(m_pView->m_nTune, 1);

    // After a fatal error the items stay enabled but play nothing.
    g_bRunning = 0;
    g_soundCalls.clear();
    m_pFrame->SendMessage(WM_COMMAND, ID_AUDIO_TUNE3, 0);
    EXPECT_TRUE(g_soundCalls.empty());
    EXPECT_EQ(m_pView->m_nTune, 1);
    for (UINT nID : {ID_AUDIO_TUNE1, ID_AUDIO_TUNE2, ID_AUDIO_TUNE3, ID_AUDIO_NO_SOUND})
        EXPECT_EQ(QueryUpdate(m_pView, nID).enabled, 1);
}

TEST_F(ViewAudio, TheTuneFollowsTheFramesActivation)
{
    EXPECT_EQ(m_pView->m_nTune, 1);
    // Active: tune 1 plays (loaded now, unless the frame's first activation
    // already did).
    m_pFrame->SendMessage(WM_ACTIVATE, WA_ACTIVE, 0);
    ASSERT_FALSE(g_soundCalls.empty());
    EXPECT_EQ(g_soundCalls.back().text, "image");
    EXPECT_EQ(g_soundCalls.back().flags, kTunePlayFlags);
    // Inactive: silence, the tune stays current.
    g_soundCalls.clear();
    m_pFrame->SendMessage(WM_ACTIVATE, WA_INACTIVE, 0);
    ASSERT_EQ(g_soundCalls.size(), 1u);
    EXPECT_EQ(g_soundCalls[0].flags, kTuneStopFlags);
    EXPECT_EQ(m_pView->m_nTune, 1);
    // Active again: the cached tune restarts at once.
    g_soundCalls.clear();
    m_pFrame->SendMessage(WM_ACTIVATE, WA_CLICKACTIVE, 0);
    ASSERT_EQ(g_soundCalls.size(), 1u);
    EXPECT_EQ(g_soundCalls[0].flags, kTunePlayFlags);
    // After No Sound, activations stay silent.
    m_pView->StopTune();
    g_soundCalls.clear();
    m_pFrame->SendMessage(WM_ACTIVATE, WA_INACTIVE, 0);
    m_pFrame->SendMessage(WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_TRUE(g_soundCalls.empty());
}

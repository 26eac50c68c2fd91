// The simulation, population, nausea and display commands: what they
// change, what they leave alone, their check marks and toolbar pictures.
#include "view_test_support.h"
#include "resources/resource.h"
#include "starfield/StarEngine.h"
#include "surface/SurfaceState.h"
#include <commctrl.h>
#include <cstring>
#include <vector>

namespace {

// A clock that moves on at every reading, so every reset draws a new field.
uint32_t g_nTestMs = 1000;
uint32_t SteppingClock() { return g_nTestMs += 7; }

std::vector<STAR> Stars() { return std::vector<STAR>(g_pStars, g_pStars + g_nStars); }

bool SameStars(const std::vector<STAR>& a)
{
    return int32_t(a.size()) == g_nStars && std::memcmp(a.data(), g_pStars, a.size() * sizeof(STAR)) == 0;
}

class ViewCommands : public ViewFixture {
protected:
    void SetUp() override
    {
        ViewFixture::SetUp();
        SetMillisecondClock(&SteppingClock);
        ASSERT_TRUE(Start());
    }
    // Sends a command to the frame as a menu item would.
    void Command(UINT nID) { m_pFrame->SendMessage(WM_COMMAND, nID, 0); }
    // Puts a picture on a button that no choice uses, so that a re-applied
    // picture shows.
    void Scribble(int nPos)
    {
        UINT nID, nStyle;
        int iImage;
        m_pFrame->m_wndToolBar.GetButtonInfo(nPos, nID, nStyle, iImage);
        m_pFrame->m_wndToolBar.SetButtonInfo(nPos, nID, nStyle, 0);
        ASSERT_EQ(ButtonImage(nPos), 0);
    }
};

}   // namespace

TEST_F(ViewCommands, CreationLeavesTheDefaultChoicesWithTheirPictures)
{
    EXPECT_EQ(m_pView->m_nSimulation, 1);
    EXPECT_EQ(m_pView->m_nPopulation, 2000);
    EXPECT_EQ(m_pView->m_nNausea, 0);
    EXPECT_EQ(g_nSpeed, 1);
    EXPECT_EQ(g_nStars, 2000);
    EXPECT_EQ(m_pView->m_nTune, 1);
    EXPECT_EQ(m_pView->m_sizeDib.cx, 320);
    EXPECT_EQ(m_pView->m_sizeDib.cy, 200);
    EXPECT_EQ(ButtonImage(9), 5);
    EXPECT_EQ(ButtonImage(10), 9);
    EXPECT_EQ(ButtonImage(11), 11);
    for (int i = 14; i <= 16; ++i)
        EXPECT_EQ(ButtonImage(i), i);
    // The buttons keep their commands.
    EXPECT_EQ(m_pFrame->m_wndToolBar.GetItemID(9), UINT(ID_SIMULATION_NEXT));
    EXPECT_EQ(m_pFrame->m_wndToolBar.GetItemID(16), UINT(ID_HELP_QUICK_HELP));

    struct Mark {
        UINT nID;
        int checked;
    };
    const Mark marks[] = {
        {ID_SIMULATION_TUMBLE_DRY, 1},
        {ID_SIMULATION_WASHING_MACHINE, 0},
        {ID_SIMULATION_DIRTY_LAUNDRY, 0},
        {ID_POPULATION_SPARSE, 0},
        {ID_POPULATION_DENSE, 1},
        {ID_POPULATION_CROWDED, 0},
        {ID_NAUSEA_FEELING_GOOD, 1},
        {ID_NAUSEA_UNCOMFORTABLE, 0},
        {ID_NAUSEA_GUT_WRENCHING, 0},
        {ID_AUDIO_TUNE1, 1},
        {ID_AUDIO_TUNE2, 0},
        {ID_AUDIO_TUNE3, 0},
        {ID_AUDIO_NO_SOUND, 0},
    };
    for (const Mark& m : marks) {
        SCOPED_TRACE(m.nID);
        RecordingCmdUI ui = QueryUpdate(m_pView, m.nID);
        EXPECT_EQ(ui.enabled, 1);
        EXPECT_EQ(ui.checked, m.checked);
    }
}

TEST_F(ViewCommands, TheCurrentSimulationOrPopulationKeepsTheStarsButShowsItsPictureAgain)
{
    const std::vector<STAR> before = Stars();
    Scribble(9);
    Command(ID_SIMULATION_TUMBLE_DRY);
    EXPECT_TRUE(SameStars(before));
    EXPECT_EQ(ButtonImage(9), 5);

    Scribble(10);
    Command(ID_POPULATION_DENSE);
    EXPECT_TRUE(SameStars(before));
    EXPECT_EQ(ButtonImage(10), 9);

    // Another choice re-places the field and puts the camera back.
    g_nCamX = g_nCamY = g_nCamZ = 7;
    g_nPitch = 99;
    Command(ID_POPULATION_CROWDED);
    EXPECT_EQ(g_nStars, 5000);
    EXPECT_FALSE(SameStars(before));
    EXPECT_EQ(g_nCamX, 1024);
    EXPECT_EQ(g_nCamZ, 1024);
    EXPECT_EQ(g_nPitch, 0);
    EXPECT_EQ(ButtonImage(10), 10);

    Command(ID_SIMULATION_DIRTY_LAUNDRY);
    EXPECT_EQ(m_pView->m_nSimulation, 3);
    EXPECT_EQ(g_pStars[0].y, 512);   // the flat sheet
    EXPECT_EQ(ButtonImage(9), 7);
    EXPECT_EQ(QueryUpdate(m_pView, ID_SIMULATION_DIRTY_LAUNDRY).checked, 1);
    EXPECT_EQ(QueryUpdate(m_pView, ID_SIMULATION_TUMBLE_DRY).checked, 0);
}

TEST_F(ViewCommands, NauseaSetsTheSpeedAndNeverResets)
{
    m_pView->NextFrame();   // the camera leaves its reset position
    const std::vector<STAR> before = Stars();
    const int32_t camY = g_nCamY;
    const int32_t camZ = g_nCamZ;
    struct Step {
        UINT nID;
        int32_t level, speed, image;
    };
    const Step steps[] = {
        {ID_NAUSEA_UNCOMFORTABLE, 1, 3, 12},
        {ID_NAUSEA_GUT_WRENCHING, 2, 7, 13},
        {ID_NAUSEA_GUT_WRENCHING, 2, 7, 13},
        {ID_NAUSEA_FEELING_GOOD, 0, 1, 11},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.nID);
        Scribble(11);
        Command(s.nID);
        EXPECT_EQ(m_pView->m_nNausea, s.level);
        EXPECT_EQ(g_nSpeed, s.speed);
        EXPECT_EQ(ButtonImage(11), s.image);
        EXPECT_TRUE(SameStars(before));
        EXPECT_EQ(g_nCamY, camY);
        EXPECT_EQ(g_nCamZ, camZ);
    }
}

TEST_F(ViewCommands, NextCommandsCycleAndIgnoreValuesOutsideTheirGroup)
{
    // Simulation 1 -> 2 -> 3 -> 1, the last with a fresh field.
    Command(ID_SIMULATION_NEXT);
    EXPECT_EQ(m_pView->m_nSimulation, 2);
    EXPECT_EQ(ButtonImage(9), 6);
    Command(ID_SIMULATION_NEXT);
    EXPECT_EQ(m_pView->m_nSimulation, 3);
    const std::vector<STAR> sheet = Stars();
    Command(ID_SIMULATION_NEXT);
    EXPECT_EQ(m_pView->m_nSimulation, 1);
    EXPECT_EQ(ButtonImage(9), 5);
    EXPECT_FALSE(SameStars(sheet));
    for (int32_t i = 0; i < g_nStars; ++i)
        ASSERT_LE(g_pStars[i].y, 2047);

    // Population 2000 -> 5000 -> 500 -> 2000.
    const int32_t populations[] = {5000, 500, 2000};
    const int images[] = {10, 8, 9};
    for (int i = 0; i < 3; ++i) {
        Command(ID_POPULATION_NEXT);
        EXPECT_EQ(m_pView->m_nPopulation, populations[i]);
        EXPECT_EQ(g_nStars, populations[i]);
        EXPECT_EQ(ButtonImage(10), images[i]);
    }

    // Nausea 0 -> 1 -> 2 -> 0.
    const int32_t levels[] = {1, 2, 0};
    for (int32_t level : levels) {
        Command(ID_NAUSEA_NEXT);
        EXPECT_EQ(m_pView->m_nNausea, level);
        EXPECT_EQ(ButtonImage(11), 11 + level);
    }

    // A value outside a group: the Next command does nothing at all.
    const std::vector<STAR> before = Stars();
    m_pView->m_nSimulation = 7;
    m_pView->m_nPopulation = 1234;
    m_pView->m_nNausea = 5;
    g_nSpeed = 1;
    Scribble(9);
    Scribble(10);
    Scribble(11);
    Command(ID_SIMULATION_NEXT);
    Command(ID_POPULATION_NEXT);
    Command(ID_NAUSEA_NEXT);
    EXPECT_EQ(m_pView->m_nSimulation, 7);
    EXPECT_EQ(m_pView->m_nPopulation, 1234);
    EXPECT_EQ(m_pView->m_nNausea, 5);
    EXPECT_EQ(g_nSpeed, 1);
    EXPECT_TRUE(SameStars(before));
    EXPECT_EQ(ButtonImage(9), 0);
    EXPECT_EQ(ButtonImage(10), 0);
    EXPECT_EQ(ButtonImage(11), 0);
}

TEST_F(ViewCommands, ChoosingTheCurrentDisplaySizeDoesNothing)
{
    const int32_t current = m_pView->m_nDisplaySize;
    // Move the view somewhere no layout would put it (a move without a
    // size change brings no size handling), and let it be painted.
    ::SetWindowPos(m_pView->m_hWnd, nullptr, 3, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    DrainMessages();
    ::ValidateRect(m_pView->m_hWnd, nullptr);
    Command(current == DISPLAY_NORMAL ? ID_DISPLAY_NORMAL : ID_DISPLAY_DOUBLED);
    const RECT r = ViewRectInFrame();
    EXPECT_EQ(r.left, 3);
    EXPECT_EQ(r.top, 60);
    EXPECT_FALSE(::GetUpdateRect(m_pView->m_hWnd, nullptr, FALSE));
    EXPECT_EQ(m_pView->m_nDisplaySize, current);

    // The other fixed size does lay the view out.
    Command(current == DISPLAY_NORMAL ? ID_DISPLAY_DOUBLED : ID_DISPLAY_NORMAL);
    EXPECT_NE(ViewRectInFrame().left, 3);
    EXPECT_EQ(QueryUpdate(m_pView, current == DISPLAY_NORMAL ? ID_DISPLAY_DOUBLED : ID_DISPLAY_NORMAL).checked, 1);
    EXPECT_EQ(QueryUpdate(m_pView, current == DISPLAY_NORMAL ? ID_DISPLAY_NORMAL : ID_DISPLAY_DOUBLED).checked, 0);
}

// Window size needs WinG: without it the item, the button and the key are
// all refused; Normal and Doubled stay available.
TEST_F(ViewCommands, WindowSizeIsOfferedOnlyWithWinG)
{
    const bool bWinG = WinGLibraryPresent();
    ASSERT_EQ(g_bWinGInUse != 0, bWinG);
    EXPECT_EQ(QueryUpdate(m_pView, ID_DISPLAY_WINDOW).enabled, bWinG ? 1 : 0);
    EXPECT_EQ(QueryUpdate(m_pView, ID_DISPLAY_NORMAL).enabled, 1);
    EXPECT_EQ(QueryUpdate(m_pView, ID_DISPLAY_DOUBLED).enabled, 1);

    UpdateBars();
    HWND hBar = m_pFrame->m_wndToolBar.m_hWnd;
    EXPECT_EQ(::SendMessageA(hBar, TB_ISBUTTONENABLED, ID_DISPLAY_WINDOW, 0) != 0, bWinG);
    EXPECT_NE(::SendMessageA(hBar, TB_ISBUTTONENABLED, ID_DISPLAY_NORMAL, 0), 0);
    EXPECT_NE(::SendMessageA(hBar, TB_ISBUTTONCHECKED, bWinG ? ID_DISPLAY_DOUBLED : ID_DISPLAY_NORMAL, 0), 0);

    // The accelerator's command through the frame's routing.
    m_pFrame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_DISPLAY_WINDOW, 1), 0);
    EXPECT_EQ(m_pView->m_nDisplaySize, bWinG ? DISPLAY_WINDOW : DISPLAY_NORMAL);
    if (bWinG) {
        UpdateBars();
        EXPECT_NE(::SendMessageA(hBar, TB_ISBUTTONCHECKED, ID_DISPLAY_WINDOW, 0), 0);
        EXPECT_EQ(::SendMessageA(hBar, TB_ISBUTTONCHECKED, ID_DISPLAY_DOUBLED, 0), 0);
    }
}

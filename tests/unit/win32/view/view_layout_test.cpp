// Where the view sits between the bars for the three display sizes.
#include "view_test_support.h"
#include "surface/SurfaceState.h"

namespace {

void ExpectPlacement(const ViewPlacement& p, int32_t x, int32_t y, int32_t cx, int32_t cy)
{
    EXPECT_EQ(p.x, x);
    EXPECT_EQ(p.y, y);
    EXPECT_EQ(p.cx, cx);
    EXPECT_EQ(p.cy, cy);
}

}   // namespace

TEST(ViewPlacement, FillsTheAreaBetweenTheBarsInWindowSize)
{
    const RECT client = {0, 0, 800, 500};
    ExpectPlacement(CalcViewPlacement(client, 40, 21, DISPLAY_WINDOW, SIZE{320, 200}), 0, 39, 801, 441);
    // Hidden bars (height 0): the area starts one pixel above the client.
    ExpectPlacement(CalcViewPlacement(client, 0, 0, DISPLAY_WINDOW, SIZE{320, 200}), 0, -1, 801, 502);
}

TEST(ViewPlacement, CentresThePictureWithOnePixelOfBorderAround)
{
    const RECT client = {0, 0, 800, 500};
    // Area x 0..800, y 39..479.
    ExpectPlacement(CalcViewPlacement(client, 40, 21, DISPLAY_NORMAL, SIZE{320, 200}), 239, 158, 322, 202);
    ExpectPlacement(CalcViewPlacement(client, 40, 21, DISPLAY_DOUBLED, SIZE{640, 400}), 79, 58, 642, 402);
}

TEST(ViewPlacement, ClipsAPictureLargerThanTheArea)
{
    // Area x 0..300, y 39..129: the picture's centre position lies above
    // and left of the area, and the view keeps to the area plus its border.
    const RECT client = {0, 0, 300, 150};
    ExpectPlacement(CalcViewPlacement(client, 40, 21, DISPLAY_NORMAL, SIZE{320, 200}), -1, 38, 303, 93);
    // Only the height clipped: the width stays centred.
    const RECT wide = {0, 0, 801, 150};
    ExpectPlacement(CalcViewPlacement(wide, 40, 21, DISPLAY_NORMAL, SIZE{320, 200}), 240, 38, 322, 93);
}

TEST(ViewPlacement, NeverGivesANegativeSize)
{
    const RECT tiny = {0, 0, 10, 30};
    const ViewPlacement p = CalcViewPlacement(tiny, 40, 21, DISPLAY_WINDOW, SIZE{320, 200});
    EXPECT_EQ(p.cy, 0);
    const ViewPlacement q = CalcViewPlacement(tiny, 40, 21, DISPLAY_NORMAL, SIZE{320, 200});
    EXPECT_EQ(q.cy, 0);
}

using ViewLayout = ViewFixture;

// The real frame: the view is where the arithmetic puts it, and its client
// area is exactly the picture.
TEST_F(ViewLayout, FixedSizesAreCentredAndWindowSizeTakesItsDrawingSizeFromTheClientArea)
{
    ASSERT_TRUE(Start());
    const bool bWinG = g_bWinGInUse != 0;
    EXPECT_EQ(bWinG, WinGLibraryPresent());
    // The screen is wider than 640: Doubled with WinG, Normal without.
    EXPECT_EQ(m_pView->m_nDisplaySize, bWinG ? DISPLAY_DOUBLED : DISPLAY_NORMAL);

    for (int32_t size : {DISPLAY_NORMAL, DISPLAY_DOUBLED}) {
        SCOPED_TRACE(size);
        if (size == DISPLAY_NORMAL)
            m_pView->OnDisplayNormal();
        else
            m_pView->OnDisplayDoubled();
        const SIZE expected = size == DISPLAY_NORMAL ? SIZE{320, 200} : SIZE{640, 400};
        EXPECT_EQ(m_pView->m_sizeDraw.cx, expected.cx);
        EXPECT_EQ(m_pView->m_sizeDraw.cy, expected.cy);
        RECT client;
        m_pFrame->GetClientRect(&client);
        const ViewPlacement p =
            CalcViewPlacement(client, m_pFrame->GetToolBarHeight(), m_pFrame->GetStatusBarHeight(), size, expected);
        const RECT r = ViewRectInFrame();
        EXPECT_EQ(r.left, p.x);
        EXPECT_EQ(r.top, p.y);
        EXPECT_EQ(r.right - r.left, p.cx);
        EXPECT_EQ(r.bottom - r.top, p.cy);
        RECT inner;
        m_pView->GetClientRect(&inner);
        EXPECT_EQ(inner.right, expected.cx);
        EXPECT_EQ(inner.bottom, expected.cy);
    }

    m_pView->m_nDisplaySize = DISPLAY_WINDOW;   // what the command does, WinG or not
    m_pView->LayoutView();
    RECT client;
    m_pFrame->GetClientRect(&client);
    const RECT r = ViewRectInFrame();
    EXPECT_EQ(r.left, client.left);
    EXPECT_EQ(r.top, client.top + m_pFrame->GetToolBarHeight() - 1);
    EXPECT_EQ(r.right - r.left, client.right - client.left + 1);
    EXPECT_EQ(r.bottom, client.bottom - m_pFrame->GetStatusBarHeight() + 1);
    RECT inner;
    m_pView->GetClientRect(&inner);
    EXPECT_EQ(m_pView->m_sizeDraw.cx, inner.right + 1);
    EXPECT_EQ(m_pView->m_sizeDraw.cy, inner.bottom + 1);

    // Back to Normal: the fixed size at once, centred again.
    m_pView->OnDisplayNormal();
    EXPECT_EQ(m_pView->m_sizeDraw.cx, 320);
    EXPECT_EQ(m_pView->m_sizeDraw.cy, 200);
    m_pView->GetClientRect(&inner);
    EXPECT_EQ(inner.right, 320);
    EXPECT_EQ(inner.bottom, 200);
}

// A resized frame lays the view out again through its size handling.
TEST_F(ViewLayout, FollowsTheFrameWhenItIsResized)
{
    ASSERT_TRUE(Start());
    m_pFrame->ShowWindow(SW_RESTORE);
    m_pFrame->MoveWindow(0, 0, 500, 400, TRUE);
    DrainMessages();
    RECT client;
    m_pFrame->GetClientRect(&client);
    const ViewPlacement p = CalcViewPlacement(client, m_pFrame->GetToolBarHeight(), m_pFrame->GetStatusBarHeight(),
                                              m_pView->m_nDisplaySize, m_pView->m_sizeDraw);
    const RECT r = ViewRectInFrame();
    EXPECT_EQ(r.left, p.x);
    EXPECT_EQ(r.top, p.y);
    EXPECT_EQ(r.right - r.left, p.cx);
    EXPECT_EQ(r.bottom - r.top, p.cy);
}

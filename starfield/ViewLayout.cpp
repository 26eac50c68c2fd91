// The view's place inside the main frame: the whole area between the bars
// in Window size, or a picture-sized window centred in that area.
#include "starfield/FrameCalls.h"
#include "starfield/VelmoraView.h"

ViewPlacement CalcViewPlacement(const RECT& rcClient, int32_t nToolBarHeight, int32_t nStatusBarHeight,
                                int32_t nDisplaySize, SIZE sizeDraw)
{
    // The area between the bars, as an inclusive rectangle.
    const int32_t L = rcClient.left;
    const int32_t R = rcClient.right;
    const int32_t T = rcClient.top + nToolBarHeight - 1;
    const int32_t B = rcClient.bottom - nStatusBarHeight;

    ViewPlacement p;
    if (nDisplaySize == DISPLAY_WINDOW) {
        p = {L, T, R - L + 1, B - T + 1};
    } else {
        const int32_t w = sizeDraw.cx;
        const int32_t h = sizeDraw.cy;
        const int32_t x = L + (R - w - L + 1) / 2;
        const int32_t y = T + (B - h - T + 1) / 2;
        const int32_t left = x > L ? x : L;
        const int32_t top = y > T ? y : T;
        const int32_t right = x + w - 1 < R ? x + w - 1 : R;
        const int32_t bottom = y + h - 1 < B ? y + h - 1 : B;
        // One more pixel on each side for the view's border: the window
        // spans left - 1 .. right + 1 inclusive, so that its client area is
        // exactly the picture when nothing is clipped.
        p = {left - 1, top - 1, right - left + 3, bottom - top + 3};
    }
    // A frame too small for its bars leaves no room: an empty view, never a
    // negative size.
    if (p.cx < 0)
        p.cx = 0;
    if (p.cy < 0)
        p.cy = 0;
    return p;
}

void CVelmoraView::LayoutView()
{
    RECT rcClient;
    int32_t nToolBarHeight = 0;
    int32_t nStatusBarHeight = 0;
    if (!FrameLayoutArea(rcClient, nToolBarHeight, nStatusBarHeight))
        return;
    const ViewPlacement p = CalcViewPlacement(rcClient, nToolBarHeight, nStatusBarHeight, m_nDisplaySize, m_sizeDraw);
    MoveWindow(p.x, p.y, p.cx, p.cy, TRUE);
    if (m_nDisplaySize == DISPLAY_WINDOW) {
        // One more than the client width and height: the picture reaches
        // under the border's last pixel.
        RECT rcView;
        GetClientRect(&rcView);
        m_sizeDraw = SIZE{rcView.right - rcView.left + 1, rcView.bottom - rcView.top + 1};
    }
}

// Where the 320 x 200 picture goes in an area of the screen: centred, at the
// largest whole multiple of its size on a monitor, or at any scale that
// keeps its shape in a preview. Plain C++, tested natively.
#pragma once
#include <cstdint>

struct SaverRect {
    int32_t x, y, cx, cy;   // relative to the area's top-left corner
};

// The largest whole factor that fits (1 when not even one does: the picture
// is then centred and cut by the area's edges).
SaverRect IntegerFit(int32_t cxArea, int32_t cyArea);
// The largest picture of the same shape that fits (nothing for an empty area).
SaverRect AspectFit(int32_t cxArea, int32_t cyArea);

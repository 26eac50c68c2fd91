#include "saver/SaverLayout.h"
#include "starfield/StarEngine.h"

namespace {

SaverRect Centre(int32_t cxArea, int32_t cyArea, int32_t cx, int32_t cy)
{
    return SaverRect{(cxArea - cx) / 2, (cyArea - cy) / 2, cx, cy};
}

}   // namespace

SaverRect IntegerFit(int32_t cxArea, int32_t cyArea)
{
    int32_t factor = cxArea / kFrameWidth < cyArea / kFrameHeight ? cxArea / kFrameWidth : cyArea / kFrameHeight;
    if (factor < 1)
        factor = 1;
    return Centre(cxArea, cyArea, factor * kFrameWidth, factor * kFrameHeight);
}

SaverRect AspectFit(int32_t cxArea, int32_t cyArea)
{
    if (cxArea <= 0 || cyArea <= 0)
        return SaverRect{0, 0, 0, 0};
    int64_t cx = cxArea;
    int64_t cy = cx * kFrameHeight / kFrameWidth;
    if (cy > cyArea) {
        cy = cyArea;
        cx = cy * kFrameWidth / kFrameHeight;
    }
    return Centre(cxArea, cyArea, int32_t(cx), int32_t(cy));
}

#include "app/FrameSize.h"

SIZE FrameCreationSize(int cxScreen, int cyScreen, int cyCaption, int cyMenu)
{
    int cx = 700, cyBase = 550;
    if (cxScreen <= 640) {
        cx = 440;
        cyBase = 350;
    } else if (cxScreen <= 800) {
        cx = 660;
        cyBase = 520;
    }
    int cy = cyBase + cyCaption + cyMenu;
    SIZE size;
    size.cx = cx < cxScreen - 8 ? cx : cxScreen - 8;
    size.cy = cy < cyScreen - 8 ? cy : cyScreen - 8;
    return size;
}

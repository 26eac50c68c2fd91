#include "Sight.h"

#include "Windows.h"

#include <vector>

namespace {

int64_t Area(const RECT& rc)
{
    return rc.right > rc.left && rc.bottom > rc.top ? int64_t(rc.right - rc.left) * (rc.bottom - rc.top) : 0;
}

// Takes the visible top-level windows above `top` out of `area`. Wine
// leaves them out of a window's visible region (the X server clips
// top-level windows against each other), so they are looked up here.
bool RemoveWindowsAbove(HWND top, HRGN area)
{
    for (HWND above = GetWindow(top, GW_HWNDPREV); above != nullptr; above = GetWindow(above, GW_HWNDPREV)) {
        RECT rc;
        if (!IsWindowVisible(above) || IsIconic(above) || !GetWindowRect(above, &rc))
            continue;
        HRGN cover = CreateRectRgnIndirect(&rc);
        const bool ok = cover != nullptr && CombineRgn(area, area, cover, RGN_DIFF) != ERROR;
        if (cover != nullptr)
            DeleteObject(cover);
        if (!ok)
            return false;
    }
    return true;
}

// The part of `client` (screen coordinates) that the screen shows: inside
// the watched window's visible region (what the window system lets a paint
// reach, clipped by the edges of the screen and by the parent) and under no
// other top-level window.
int64_t VisibleArea(HWND top, HWND watched, const RECT& client)
{
    HDC dc = GetDC(watched);
    if (dc == nullptr)
        return 0;
    HRGN visible = CreateRectRgn(0, 0, 0, 0);
    HRGN area = CreateRectRgnIndirect(&client);
    int64_t total = 0;
    // SYSRGN: the DC's visible region, in screen coordinates.
    if (visible != nullptr && area != nullptr && GetRandomRgn(dc, visible, SYSRGN) == 1 &&
        CombineRgn(area, area, visible, RGN_AND) != ERROR && RemoveWindowsAbove(top, area)) {
        const DWORD size = GetRegionData(area, 0, nullptr);
        std::vector<uint8_t> bytes(size);
        auto* data = reinterpret_cast<RGNDATA*>(bytes.data());
        if (size != 0 && GetRegionData(area, size, data) == size) {
            const RECT* rects = reinterpret_cast<const RECT*>(data->Buffer);
            for (DWORD i = 0; i < data->rdh.nCount; ++i)
                total += Area(rects[i]);
        }
    }
    if (area != nullptr)
        DeleteObject(area);
    if (visible != nullptr)
        DeleteObject(visible);
    ReleaseDC(watched, dc);
    return total;
}

}   // namespace

SightSample TakeSight(HWND top, HWND watched)
{
    SightSample sample = {};
    sample.iconic = IsIconic(top) ? 1 : 0;
    sample.foreground = GetForegroundWindow() == top ? 1 : 0;
    const RECT client = ScreenClientRect(watched);
    const int64_t area = IsWindowVisible(watched) ? Area(client) : 0;
    sample.visiblePermille = area == 0 ? 0 : int32_t(VisibleArea(top, watched, client) * 1000 / area);
    // Stamped when the state has been read: a window closed just after a
    // measurement ended must not be taken for one hidden during it.
    sample.ticks = PerformanceTicks();
    return sample;
}

void WriteSight(JsonWriter& json, const std::vector<SightSample>& samples)
{
    json.Key("frequency");
    json.Int(PerformanceFrequency());
    json.Key("samples");
    json.BeginArray();
    for (const SightSample& s : samples) {
        json.BeginArray();
        json.Int(s.ticks);
        json.Int(s.iconic);
        json.Int(s.foreground);
        json.Int(s.visiblePermille);
        json.EndArray();
    }
    json.EndArray();
}

#include "EngineStep.h"

#include "starfield/StarEngine.h"

#include <cstring>

namespace {

// A bottom-up 8-bit buffer, as a DIB lays out its rows.
class MemorySurface final : public StarSurface {
public:
    MemorySurface()
    {
        for (int32_t y = 0; y < kFrameHeight; ++y)
            m_rows[y] = (kFrameHeight - 1 - y) * kFrameWidth;
    }
    void Clear() override { std::memset(m_pixels, 0, sizeof m_pixels); }
    uint8_t* Bits() override { return m_pixels; }
    const int32_t* RowOffsets() override { return m_rows; }
    void Invalidate() override {}

private:
    alignas(16) uint8_t m_pixels[kFrameWidth * kFrameHeight];
    int32_t m_rows[kFrameHeight];
};

// The clock is read once per batch, not once per frame.
constexpr int32_t kFramesPerBatch = 16;

uint32_t RunUntil(const Deadline& deadline, MemorySurface& surface)
{
    uint32_t frames = 0;
    while (!deadline.Passed()) {
        for (int32_t i = 0; i < kFramesPerBatch; ++i)
            NextFrame(1, kSimulationTumbleDry, surface);
        frames += kFramesPerBatch;
    }
    return frames;
}

}   // namespace

bool TimeEngineStep(uint32_t settleMs, uint32_t windowMs, int32_t count, std::vector<MeasuredWindow>& windows)
{
    if (!AllocateStars())
        return false;
    BuildSineTable();
    g_nSpeed = 1;   // Feeling Good, the program's default
    ResetStars(kPopulationDense, kSimulationTumbleDry);
    static MemorySurface surface;
    RunUntil(Deadline(settleMs), surface);
    for (int32_t i = 0; i < count; ++i) {
        const Deadline window(windowMs);
        const uint32_t frames = RunUntil(window, surface);
        windows.push_back({frames, window.Elapsed(), window.Start()});
    }
    ReleaseStars();
    return true;
}

#include "EngineStep.h"

#include <cstring>

BufferSurface::BufferSurface(uint8_t* bits, bool topDown) : m_bits(bits)
{
    for (int32_t y = 0; y < kFrameHeight; ++y)
        m_rows[y] = (topDown ? y : kFrameHeight - 1 - y) * kFrameWidth;
}

void BufferSurface::Clear() { std::memset(m_bits, 0, size_t(kFrameWidth) * kFrameHeight); }

bool StartEngine()
{
    if (!AllocateStars())
        return false;
    BuildSineTable();
    g_nSpeed = 1;   // Feeling Good, the program's default
    ResetStars(kPopulationDense, kSimulationTumbleDry);
    return true;
}

void StepEngine(StarSurface& surface) { NextFrame(1, kSimulationTumbleDry, surface); }

void StopEngine() { ReleaseStars(); }

namespace {

// The clock is read once per batch, not once per frame.
constexpr int32_t kFramesPerBatch = 16;

uint32_t RunUntil(const Deadline& deadline, StarSurface& surface)
{
    uint32_t frames = 0;
    while (!deadline.Passed()) {
        for (int32_t i = 0; i < kFramesPerBatch; ++i)
            StepEngine(surface);
        frames += kFramesPerBatch;
    }
    return frames;
}

}   // namespace

bool TimeEngineStep(uint32_t settleMs, uint32_t windowMs, int32_t count, std::vector<MeasuredWindow>& windows)
{
    if (!StartEngine())
        return false;
    alignas(16) static uint8_t pixels[kFrameWidth * kFrameHeight];
    BufferSurface surface(pixels, false);
    RunUntil(Deadline(settleMs), surface);
    for (int32_t i = 0; i < count; ++i) {
        const Deadline window(windowMs);
        const uint32_t frames = RunUntil(window, surface);
        windows.push_back({frames, window.Elapsed(), window.Start()});
    }
    StopEngine();
    return true;
}

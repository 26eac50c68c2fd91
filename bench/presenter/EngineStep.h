// The star engine's frame step as the benchmark's yardsticks run it: Tumble
// Dry with 2000 stars at the program's default speed, into a 320 x 200
// buffer.
#pragma once

#include "MeasuredWindow.h"

#include "starfield/StarEngine.h"

// A 320 x 200 8-bit buffer the engine draws into; rows top-down or
// bottom-up, as the buffer's DIB lays them out. Invalidating is the
// caller's business.
class BufferSurface final : public StarSurface {
public:
    BufferSurface(uint8_t* bits, bool topDown);
    void Clear() override;
    uint8_t* Bits() override { return m_bits; }
    const int32_t* RowOffsets() override { return m_rows; }
    void Invalidate() override {}

private:
    uint8_t* m_bits;
    int32_t m_rows[kFrameHeight];
};

// Makes the star array and the sine table and places the stars as the
// program does at start-up; FALSE when the star array cannot be allocated.
bool StartEngine();
void StepEngine(StarSurface& surface);
void StopEngine();

// The step alone, with nothing presented: runs it for settleMs, then for
// `count` windows of windowMs each. FALSE when the star array cannot be
// allocated.
bool TimeEngineStep(uint32_t settleMs, uint32_t windowMs, int32_t count, std::vector<MeasuredWindow>& windows);

// Measuring windows: how many frames fit into a stretch of wall-clock time,
// counted with the performance counter.
#pragma once

#include "PerformanceCounter.h"

#include <windows.h>

#include <cstdint>
#include <vector>

struct MeasuredWindow {
    uint32_t frames;
    int64_t ticks;   // performance-counter ticks the frames took
    int64_t start;   // the performance counter when the window began
};

// A wall-clock deadline in performance-counter ticks.
class Deadline {
public:
    explicit Deadline(uint32_t milliseconds);
    bool Passed() const;
    int64_t Elapsed() const;
    int64_t Start() const { return m_start; }

private:
    int64_t m_start;
    int64_t m_length;
};

#include "MeasuredWindow.h"

Deadline::Deadline(uint32_t milliseconds)
    : m_start(PerformanceTicks()), m_length(PerformanceFrequency() * int64_t(milliseconds) / 1000)
{}

bool Deadline::Passed() const { return Elapsed() >= m_length; }

int64_t Deadline::Elapsed() const { return PerformanceTicks() - m_start; }

// The performance counter, read by the frame-rate benchmark's presenter and
// by the test probe that watches a running program.
#pragma once

#include <cstdint>

int64_t PerformanceTicks();
int64_t PerformanceFrequency();

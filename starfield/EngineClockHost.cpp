// The millisecond clock of native builds (tests and benchmarks usually
// replace it with a fixed one).
#include "starfield/StarEngine.h"

#include <chrono>

uint32_t DefaultMillisecondClock()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

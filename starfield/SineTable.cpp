// The 2048-entry 16.16 sine table. The step is the single-precision value
// nearest 3.1415/1024 rather than pi/1024, so the table spans a shade less
// than a full turn: entry 512 is 65535 (nothing reaches 65536), entry 1024
// is 6 and entry 2047 is -213. Built once, so floating point is fine here.
#include "starfield/StarEngine.h"

#include <cmath>

void BuildSineTable()
{
    const float step = 3.1415f / 1024.0f;
    double angle = 0.0;
    for (int32_t i = 0; i < kSineEntries; ++i)
    {
        g_sinTable[i] = static_cast<int32_t>(std::sin(angle) * 65536.0);
        // Round the running angle to double on every step, also where the
        // compiler would otherwise keep it in a wider x87 register.
        volatile double next = angle + static_cast<double>(step);
        angle = next;
    }
}

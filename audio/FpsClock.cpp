// The meter's default clock: the multimedia timer's millisecond count.
#include "audio/FpsMeter.h"
#include <windows.h>
#include <mmsystem.h>

namespace {
uint32_t MultimediaClock() { return uint32_t(timeGetTime()); }
}   // namespace

uint32_t (*g_pfnFpsClock)() = MultimediaClock;

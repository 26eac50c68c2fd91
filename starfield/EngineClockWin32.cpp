// The millisecond clock of the Windows program: the multimedia timer.
#include "starfield/StarEngine.h"

#include <windows.h>
#include <mmsystem.h>

uint32_t DefaultMillisecondClock()
{
    return static_cast<uint32_t>(timeGetTime());
}

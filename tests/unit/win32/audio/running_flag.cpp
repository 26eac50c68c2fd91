// The program's running flag, which the application object owns.
#include "audio/RunningFlag.h"

int32_t g_bRunning = 1;

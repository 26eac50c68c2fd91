// Test build only: with VELMORA_SAVER_FAIL_START set in the environment, a
// full-screen start fails with the out-of-memory exception once its window
// is up, the latest point at which a start can fail.
#include "framework/Exception.h"
#include "saver/SaverWindows.h"
#include <cstdlib>

namespace {

void FailStart(HWND) { AfxThrowMemoryException(); }

struct InstallStartFailure {
    InstallStartFailure()
    {
        if (std::getenv("VELMORA_SAVER_FAIL_START"))
            g_pfnFullScreenUp = FailStart;
    }
} g_installStartFailure;

}   // namespace

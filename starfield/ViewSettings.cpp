// The settings file "QUARVELL.INI": two WinG settings, the run counter and
// the frame rate, read when the view's window is made; the counter is
// written back when the view goes.
#include "starfield/FramePacer.h"
#include "starfield/VelmoraView.h"
#include <climits>
#include <cstdio>

namespace {

const char kSettingsFile[] = "QUARVELL.INI";   // found in the Windows directory
const char kRunSection[] = "Velmora";
const char kRunKey[] = "Num Runs";
const char kFrameRateKey[] = "Frame Rate";

// True when the key's text is a decimal number outside the 32-bit range:
// the profile functions then hand back a wrapped value, and writing that
// value plus one would make the stored count go down.
bool RunCountTextOutOfRange()
{
    char text[64] = "";
    ::GetPrivateProfileStringA(kRunSection, kRunKey, "", text, sizeof text, kSettingsFile);
    const char* p = text;
    while (*p == ' ' || *p == '\t')
        ++p;
    if (*p == '+' || *p == '-')
        ++p;
    uint64_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10u + uint64_t(*p - '0');
        if (value > uint64_t(INT32_MAX))
            return true;
    }
    return false;
}

}   // namespace

ViewSettings ReadViewSettings()
{
    ViewSettings s;
    s.nDoNotUse = int32_t(::GetPrivateProfileIntA("WinG", "Do Not Use", 0, kSettingsFile));
    s.nForceOrientation = int32_t(::GetPrivateProfileIntA("WinG", "Force Orientation", 0, kSettingsFile));
    s.nNumRuns = int32_t(::GetPrivateProfileIntA(kRunSection, kRunKey, 0, kSettingsFile));
    s.bNumRunsOutOfRange = RunCountTextOutOfRange();
    // Read as text: a value the profile functions would read partly ("60x")
    // or wrap ("4294967356"), or one too long for the buffer, leaves the
    // flight unpaced.
    char rate[32];
    s.nFrameRate = AfxReadProfileText(kSettingsFile, kRunSection, kFrameRateKey, rate, sizeof rate)
                       ? FrameRateFromText(rate)
                       : 0;
    return s;
}

int32_t NextRunCount(int32_t nNumRunsRead, bool bOutOfRange)
{
    if (bOutOfRange || nNumRunsRead < 0)
        return -1;
    if (nNumRunsRead == INT32_MAX)
        return INT32_MAX;
    return nNumRunsRead + 1;
}

void WriteRunCount(int32_t nNumRunsRead, bool bOutOfRange)
{
    const int32_t nNext = NextRunCount(nNumRunsRead, bOutOfRange);
    if (nNext < 0)
        return;
    char text[16];
    std::snprintf(text, sizeof text, "%i", int(nNext));
    ::WritePrivateProfileStringA(kRunSection, kRunKey, text, kSettingsFile);
}

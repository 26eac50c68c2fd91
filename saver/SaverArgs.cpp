#include "saver/SaverArgs.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

const char* SkipBlanks(const char* p)
{
    while (IsBlank(*p))
        ++p;
    return p;
}

// Reads a decimal handle that fills the rest of the text (trailing blanks
// allowed). False for an empty, non-numeric or out-of-range one.
bool ReadHandle(const char* p, uint64_t& nValue)
{
    p = SkipBlanks(p);
    if (*p < '0' || *p > '9')
        return false;
    uint64_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        const uint64_t digit = uint64_t(*p - '0');
        if (value > (UINT64_MAX - digit) / 10u)
            return false;
        value = value * 10u + digit;
    }
    if (*SkipBlanks(p) != '\0')
        return false;
    nValue = value;
    return true;
}

}   // namespace

SaverArgs ParseSaverArgs(const char* pszCommandLine)
{
    SaverArgs args = {SAVER_USAGE, 0, 0};
    const char* p = SkipBlanks(pszCommandLine ? pszCommandLine : "");
    if (*p == '\0') {
        args.nMode = SAVER_SETTINGS;
        return args;
    }
    if ((*p != '/' && *p != '-') || p[1] == '\0')
        return args;
    const char letter = char(p[1] | 0x20);   // lower case for letters
    const char* rest = p + 2;
    // What follows the letter: nothing, or a handle after a colon or a blank.
    const bool bEnd = *SkipBlanks(rest) == '\0';
    const bool bHandleFollows = *rest == ':' || IsBlank(*rest);
    uint64_t value = 0;
    const bool bHandle = !bEnd && bHandleFollows && ReadHandle(*rest == ':' ? rest + 1 : rest, value);

    switch (letter) {
    case 's':
        if (bEnd)
            args.nMode = SAVER_FULL_SCREEN;
        break;
    case 'p':
        // A preview is asked for by the system, never typed: whatever
        // follows, it is a preview, and one without a window ends at once.
        if (bEnd || bHandleFollows) {
            args.nMode = SAVER_PREVIEW;
            args.bHasWindow = bHandle ? 1 : 0;
        }
        break;
    case 'c':
    case 'a':
        if (bEnd || bHandle) {
            args.nMode = letter == 'c' ? SAVER_SETTINGS : SAVER_PASSWORD;
            args.bHasWindow = bHandle ? 1 : 0;
        }
        break;
    default: break;
    }
    if (args.nMode == SAVER_USAGE)
        args.nWindow = 0;
    else
        args.nWindow = args.bHasWindow ? value : 0;
    return args;
}

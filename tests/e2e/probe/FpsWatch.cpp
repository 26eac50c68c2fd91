#include "FpsWatch.h"

#include "Remote.h"

#include <commctrl.h>

#include <vector>

namespace {

constexpr uint32_t kMeterWindowMs = 3000;
constexpr uint32_t kPollMs = 50;

BOOL CALLBACK FindStatusBar(HWND hwnd, LPARAM param)
{
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    if (lstrcmpiW(cls, STATUSCLASSNAMEW) != 0)
        return TRUE;
    *reinterpret_cast<HWND*>(param) = hwnd;
    return FALSE;
}

// Pane 1's text, or false when the bar does not answer.
bool PaneText(HWND bar, RemoteBuffer& buffer, std::wstring& text)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(bar, SB_GETTEXTLENGTHW, 1, 0, SMTO_ABORTIFHUNG, 3000, &length) ||
        LOWORD(length) >= 255)
        return false;
    DWORD_PTR ignored = 0;
    buffer.Clear();
    if (!SendMessageTimeoutW(bar, SB_GETTEXTW, 1, buffer.Address(), SMTO_ABORTIFHUNG, 3000, &ignored))
        return false;
    wchar_t chars[256] = {};
    if (!buffer.Read(chars, sizeof chars - sizeof(wchar_t)))
        return false;
    text = chars;
    return true;
}

bool IsNumber(const std::wstring& text)
{
    return text.size() > 6 && text.compare(0, 6, L"Fps = ") == 0 && text[6] >= L'0' && text[6] <= L'9';
}

// Polls the pane until `done` says yes; the milliseconds it took in `waited`.
template <typename Done>
bool PollUntil(HWND bar, RemoteBuffer& buffer, uint32_t timeoutMs, Done done, uint32_t& waited, std::string& error)
{
    const DWORD start = GetTickCount();
    std::wstring text;
    for (;;) {
        if (!PaneText(bar, buffer, text)) {
            error = "the status bar does not answer";
            return false;
        }
        waited = GetTickCount() - start;
        if (done(text))
            return true;
        if (waited >= timeoutMs) {
            error = "the frame-rate pane did not change in time";
            return false;
        }
        Sleep(kPollMs);
    }
}

} // namespace

bool WatchFps(HWND frame, int32_t skip, int32_t count, uint32_t timeoutMs, JsonWriter& json, std::string& error)
{
    HWND bar = nullptr;
    EnumChildWindows(frame, FindStatusBar, reinterpret_cast<LPARAM>(&bar));
    if (bar == nullptr) {
        error = "the frame has no status bar";
        return false;
    }
    RemoteBuffer buffer(bar, 256 * sizeof(wchar_t));
    if (!buffer.IsValid()) {
        error = "cannot reach the status bar's process";
        return false;
    }
    uint32_t forgotten = 0, firstRate = 0;
    if (!PollUntil(bar, buffer, timeoutMs, [](const std::wstring& t) { return t == L"Fps = ?"; }, forgotten, error) ||
        !PollUntil(bar, buffer, timeoutMs, IsNumber, firstRate, error))
        return false;
    // The first window ended a moment ago; window k + 1 ends about k windows
    // later, so the middle of each later window is a safe time to read.
    const DWORD windowOneEnd = GetTickCount();
    std::vector<std::wstring> readings;
    for (int32_t k = skip + 1; k <= skip + count; ++k) {
        const DWORD due = windowOneEnd + uint32_t(k) * kMeterWindowMs + kMeterWindowMs / 2;
        const DWORD now = GetTickCount();
        if (int32_t(due - now) > 0)
            Sleep(due - now);
        std::wstring text;
        if (!PaneText(bar, buffer, text)) {
            error = "the status bar does not answer";
            return false;
        }
        readings.push_back(text);
    }
    json.BeginObject();
    json.Key("command"); json.String("fps");
    json.Key("forgottenAfterMs"); json.Int(forgotten);
    json.Key("firstRateAfterMs"); json.Int(firstRate);
    json.Key("readings");
    json.BeginArray();
    for (const std::wstring& text : readings)
        json.String(text);
    json.EndArray();
    json.EndObject();
    return true;
}

#include "FpsWatch.h"

#include "Remote.h"
#include "Sight.h"

#include "Windows.h"

#include <commctrl.h>

#include <cstdio>
#include <vector>

namespace {

constexpr uint32_t kMeterWindowMs = 3000;
constexpr uint32_t kPollMs = 50;
constexpr uint32_t kSampleMs = 100;

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
    if (!SendMessageTimeoutW(bar, SB_GETTEXTLENGTHW, 1, 0, SMTO_ABORTIFHUNG, 3000, &length) || LOWORD(length) >= 255)
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

// Samples until the performance counter reaches `due`.
void SampleUntil(int64_t due, HWND top, HWND watched, std::vector<SightSample>& samples)
{
    const int64_t perMs = PerformanceFrequency() / 1000;
    for (;;) {
        samples.push_back(TakeSight(top, watched));
        const int64_t left = (due - PerformanceTicks()) / perMs;
        if (left <= 0)
            return;
        Sleep(uint32_t(left < kSampleMs ? left : kSampleMs));
    }
}

}   // namespace

bool WatchFps(HWND frame, HWND view, int32_t skip, int32_t count, uint32_t timeoutMs, JsonWriter& json,
              std::string& error)
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
    if (!PollUntil(
            bar, buffer, timeoutMs, [](const std::wstring& t) { return t == L"Fps = ?"; }, forgotten, error) ||
        !PollUntil(bar, buffer, timeoutMs, IsNumber, firstRate, error))
        return false;
    // Where the view is now that it has its new size, printed at once: the
    // benchmark takes pictures of that part of the screen while this waits.
    JsonWriter where;
    where.BeginObject();
    where.Key("command");
    where.String("fps-view");
    where.Key("client");
    where.Rect(ScreenClientRect(view));
    where.EndObject();
    std::printf("%s\n", where.Text().c_str());
    std::fflush(stdout);
    // The first window ended a moment ago; window k + 1 ends about k windows
    // later, so the middle of each later window is a safe time to read.
    const int64_t window = PerformanceFrequency() * kMeterWindowMs / 1000;
    const int64_t windowOneEnd = PerformanceTicks();
    struct Reading {
        int64_t start, end;
        std::wstring text;
    };
    std::vector<Reading> readings;
    std::vector<SightSample> samples;
    for (int32_t k = skip + 1; k <= skip + count; ++k) {
        SampleUntil(windowOneEnd + k * window + window / 2, frame, view, samples);
        std::wstring text;
        if (!PaneText(bar, buffer, text)) {
            error = "the status bar does not answer";
            return false;
        }
        readings.push_back({windowOneEnd + (k - 1) * window, windowOneEnd + k * window, text});
    }
    json.BeginObject();
    json.Key("command");
    json.String("fps");
    json.Key("forgottenAfterMs");
    json.Int(forgotten);
    json.Key("firstRateAfterMs");
    json.Int(firstRate);
    json.Key("readings");
    json.BeginArray();
    for (const Reading& r : readings)
        json.String(r.text);
    json.EndArray();
    json.Key("spans");
    json.BeginArray();
    for (const Reading& r : readings) {
        json.BeginArray();
        json.Int(r.start);
        json.Int(r.end);
        json.EndArray();
    }
    json.EndArray();
    WriteSight(json, samples);
    json.EndObject();
    return true;
}

bool WatchWindow(HWND top, int32_t childId, uint32_t timeoutMs, JsonWriter& json, std::string& error)
{
    const DWORD start = GetTickCount();
    std::vector<SightSample> samples;
    HWND watched = childId != 0 ? nullptr : top;
    while (IsWindow(top)) {
        if (GetTickCount() - start >= timeoutMs) {
            error = "the window was still there when the watch timed out";
            return false;
        }
        // A child made just after its frame is sampled from when it appears.
        if (watched == nullptr)
            watched = ChildById(top, childId);
        if (watched != nullptr)
            samples.push_back(TakeSight(top, watched));
        Sleep(kSampleMs);
    }
    json.BeginObject();
    json.Key("command");
    json.String("watch");
    WriteSight(json, samples);
    json.EndObject();
    return true;
}

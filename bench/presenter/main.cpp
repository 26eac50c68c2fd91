// velmora_presenter: the yardsticks for the whole-program frame rate, run
// under Wine beside the program (bench/frame_rate.py drives it).
//
//   velmora_presenter present WIDTH HEIGHT SETTLE_MS WINDOW_MS COUNT X Y
//       a window of WIDTH x HEIGHT client pixels, a child of a maximised
//       frame whose client area begins at X, Y on the screen, showing the
//       star engine's frames as often as the message loop allows (see
//       Presenter.h)
//   velmora_presenter step SETTLE_MS WINDOW_MS COUNT
//       the star engine's frame step, Tumble Dry with 2000 stars
//
// Either prints one line of JSON: the performance-counter frequency and,
// per measuring window, the frames, the ticks they took and the counter at
// the window's start. Exit code 1
// when the measurement cannot be made, 2 for a malformed command line.
#include "EngineStep.h"
#include "Presenter.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string Quoted(const std::string& text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        if (static_cast<unsigned char>(c) >= 0x20)
            out += c;
    }
    return out + '"';
}

void PrintWindows(const std::vector<MeasuredWindow>& windows)
{
    std::printf("\"frequency\":%lld,\"windows\":[", static_cast<long long>(PerformanceFrequency()));
    for (size_t i = 0; i < windows.size(); ++i)
        std::printf("%s[%lu,%lld,%lld]", i ? "," : "", static_cast<unsigned long>(windows[i].frames),
                    static_cast<long long>(windows[i].ticks), static_cast<long long>(windows[i].start));
    std::printf("]}\n");
}

int32_t Number(const char* text)
{
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    return end != text && *end == '\0' && value > 0 && value <= 1000000 ? int32_t(value) : 0;
}

// A screen coordinate: 0 or more.
bool Coordinate(const char* text, LONG& value)
{
    char* end = nullptr;
    const long parsed = std::strtol(text, &end, 10);
    value = LONG(parsed);
    return end != text && *end == '\0' && parsed >= 0 && parsed <= 100000;
}

int Usage()
{
    std::fprintf(stderr, "usage: velmora_presenter present WIDTH HEIGHT SETTLE_MS WINDOW_MS COUNT X Y\n"
                         "       velmora_presenter step SETTLE_MS WINDOW_MS COUNT\n");
    return 2;
}

}   // namespace

int main(int argc, char** argv)
{
    if (argc == 9 && std::strcmp(argv[1], "present") == 0) {
        const int32_t width = Number(argv[2]), height = Number(argv[3]);
        const int32_t settle = Number(argv[4]), window = Number(argv[5]), count = Number(argv[6]);
        POINT place = {0, 0};
        if (!width || !height || !settle || !window || !count || !Coordinate(argv[7], place.x) ||
            !Coordinate(argv[8], place.y))
            return Usage();
        PresenterReport report;
        std::string error;
        if (!RunPresenter(width, height, place, uint32_t(settle), uint32_t(window), count, report, error)) {
            std::printf("{\"mode\":\"present\",\"error\":%s}\n", Quoted(error).c_str());
            return 1;
        }
        std::printf("{\"mode\":\"present\",\"width\":%d,\"height\":%d,\"path\":%s,\"library\":%s,", int(width),
                    int(height), Quoted(report.path).c_str(), Quoted(report.library).c_str());
        PrintWindows(report.windows);
        return 0;
    }
    if (argc == 5 && std::strcmp(argv[1], "step") == 0) {
        const int32_t settle = Number(argv[2]), window = Number(argv[3]), count = Number(argv[4]);
        if (!settle || !window || !count)
            return Usage();
        std::vector<MeasuredWindow> windows;
        if (!TimeEngineStep(uint32_t(settle), uint32_t(window), count, windows)) {
            std::printf("{\"mode\":\"step\",\"error\":\"cannot allocate the star array\"}\n");
            return 1;
        }
        std::printf("{\"mode\":\"step\",\"simulation\":\"Tumble Dry\",\"stars\":2000,");
        PrintWindows(windows);
        return 0;
    }
    return Usage();
}

// velmora_probe: inspects and drives the windows of another program on the
// same Wine desktop, for the end-to-end tests.
//
//   velmora_probe COMMAND ARGS... [";" COMMAND ARGS...]...
//
// Commands (CAPTION is an exact window caption, CLASS "" means any class and
// "!NAME" any class but NAME):
//   wait CAPTION CLASS TIMEOUT_MS       until a visible top-level window exists
//   gone CAPTION CLASS TIMEOUT_MS       until no such window exists
//   dump CAPTION CLASS                  the frame report (JSON)
//   command CAPTION CLASS ID            posts WM_COMMAND with that id
//   close CAPTION CLASS                 posts WM_CLOSE
//   foreground CAPTION CLASS            brings the window to the foreground
//   dialogs CAPTION TIMEOUT_MS          waits for dialogs (#32770) with that caption, reports them
//   press CAPTION BUTTON_ID             clicks a button of such a dialog
//   show CAPTION CLASS SW               ShowWindowAsync with that show command (3 maximise, 9 restore)
//   fps CAPTION CLASS VIEW_ID SKIP COUNT TIMEOUT_MS
//                                       after "Fps = ?" and a first rate in the status bar,
//                                       COUNT rates of later meter windows, and samples of
//                                       whether the child VIEW_ID was on show (see FpsWatch.h)
//   watch CAPTION CLASS TIMEOUT_MS [CHILD_ID]
//                                       samples whether the window (or its child CHILD_ID) is
//                                       on show until the window is gone
//   host CAPTION CX CY SECONDS          makes a window with that caption and client size, reports
//                                       its handle at once, serves it until closed or SECONDS pass
//   hang CAPTION SECONDS                makes a window with that caption, reports its handle at once,
//                                       then answers no message for SECONDS
//   choice CAPTION ID [INDEX]           selects item INDEX of combo box ID in such a dialog, reports
//                                       the selection
//   icons DIR                           draws the standard stop, information, warning and question
//                                       icons on black and on white into DIR/NAME-black.bmp, -white.bmp
//
// Each command prints one line of JSON. The first failing command ends the
// probe with exit code 1; a malformed command line gives 2.

#include "Capture.h"
#include "FpsWatch.h"
#include "Host.h"
#include "Json.h"
#include "Windows.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Args = std::vector<const char*>;

void Emit(const JsonWriter& json)
{
    std::fputs(json.Text().c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void EmitError(const char* command, const char* message)
{
    JsonWriter json;
    json.BeginObject();
    json.Key("command");
    json.String(command);
    json.Key("error");
    json.String(message);
    json.EndObject();
    Emit(json);
}

uint32_t ToNumber(const char* text) { return static_cast<uint32_t>(std::strtoul(text, nullptr, 0)); }

HWND Target(const Args& a)
{
    std::vector<HWND> found = FindTopLevel(Widen(a[1]), Widen(a[2]));
    return found.empty() ? nullptr : found.front();
}

void EmitHwnd(const char* command, HWND hwnd)
{
    JsonWriter json;
    json.BeginObject();
    json.Key("command");
    json.String(command);
    json.Key("hwnd");
    json.Int(static_cast<int64_t>(reinterpret_cast<uintptr_t>(hwnd)));
    json.EndObject();
    Emit(json);
}

std::vector<HWND> Dialogs(const char* caption) { return FindTopLevel(Widen(caption), L"#32770"); }

bool RunIcons(const Args& a)
{
    struct Named {
        const char* name;
        LPCWSTR id;
    };
    const Named icons[] = {
        {"stop", MAKEINTRESOURCEW(32513)},          // IDI_HAND
        {"question", MAKEINTRESOURCEW(32514)},      // IDI_QUESTION
        {"warning", MAKEINTRESOURCEW(32515)},       // IDI_EXCLAMATION
        {"information", MAKEINTRESOURCEW(32516)},   // IDI_ASTERISK
    };
    int32_t cx = GetSystemMetrics(SM_CXICON);
    int32_t cy = GetSystemMetrics(SM_CYICON);
    JsonWriter json;
    json.BeginObject();
    json.Key("command");
    json.String(a[0]);
    json.Key("size");
    json.BeginArray();
    json.Int(cx);
    json.Int(cy);
    json.EndArray();
    json.EndObject();
    for (const Named& icon : icons) {
        HICON handle = LoadIconW(nullptr, icon.id);
        for (uint32_t background : {0x000000u, 0xFFFFFFu}) {
            std::string path = std::string(a[1]) + "/" + icon.name + (background == 0 ? "-black.bmp" : "-white.bmp");
            if (handle == nullptr || !SaveBmp(path.c_str(), RenderIcon(handle, cx, cy, background))) {
                EmitError(a[0], "cannot draw or write an icon");
                return false;
            }
        }
    }
    Emit(json);
    return true;
}

bool RunOne(const Args& a)
{
    std::string cmd = a.empty() ? "" : a[0];
    size_t n = a.size();
    if ((cmd == "wait" || cmd == "gone") && n == 4) {
        DWORD start = GetTickCount();
        for (;;) {
            HWND hwnd = Target(a);
            if ((hwnd != nullptr) == (cmd == "wait")) {
                EmitHwnd(a[0], hwnd);
                return true;
            }
            if (GetTickCount() - start >= ToNumber(a[3])) {
                EmitError(a[0], "timed out");
                return false;
            }
            Sleep(100);
        }
    }
    if ((cmd == "dump" || cmd == "close" || cmd == "foreground") && n == 3) {
        HWND hwnd = Target(a);
        if (hwnd == nullptr) {
            EmitError(a[0], "window not found");
            return false;
        }
        if (cmd == "dump") {
            JsonWriter json;
            DescribeFrame(json, hwnd);
            Emit(json);
            return true;
        }
        if (cmd == "close") {
            PostMessageW(hwnd, WM_CLOSE, 0, 0);
        } else {
            SetForegroundWindow(hwnd);
            SetActiveWindow(hwnd);
        }
        EmitHwnd(a[0], hwnd);
        return true;
    }
    if (cmd == "command" && n == 4) {
        HWND hwnd = Target(a);
        if (hwnd == nullptr || !PostMessageW(hwnd, WM_COMMAND, ToNumber(a[3]) & 0xFFFFu, 0)) {
            EmitError(a[0], "window not found");
            return false;
        }
        EmitHwnd(a[0], hwnd);
        return true;
    }
    if (cmd == "dialogs" && n == 3) {
        DWORD start = GetTickCount();
        std::vector<HWND> found;
        while ((found = Dialogs(a[1])).empty()) {
            if (GetTickCount() - start >= ToNumber(a[2])) {
                EmitError(a[0], "timed out");
                return false;
            }
            Sleep(100);
        }
        Sleep(300);   // let the box finish painting before its icon is read
        JsonWriter json;
        json.BeginArray();
        for (HWND dlg : found) {
            DescribeDialog(json, dlg);
        }
        json.EndArray();
        Emit(json);
        return true;
    }
    if (cmd == "press" && n == 3) {
        std::vector<HWND> found = Dialogs(a[1]);
        int32_t id = static_cast<int32_t>(ToNumber(a[2]));
        HWND button = found.empty() ? nullptr : ChildById(found.front(), id);
        if (button == nullptr) {
            EmitError(a[0], "dialog or button not found");
            return false;
        }
        PostMessageW(found.front(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
        EmitHwnd(a[0], found.front());
        return true;
    }
    if (cmd == "show" && n == 4) {
        HWND hwnd = Target(a);
        if (hwnd == nullptr) {
            EmitError(a[0], "window not found");
            return false;
        }
        ShowWindowAsync(hwnd, static_cast<int>(ToNumber(a[3])));
        EmitHwnd(a[0], hwnd);
        return true;
    }
    if (cmd == "fps" && n == 7) {
        HWND hwnd = Target(a);
        HWND view = hwnd != nullptr ? ChildById(hwnd, int32_t(ToNumber(a[3]))) : nullptr;
        JsonWriter json;
        std::string error = hwnd == nullptr ? "window not found" : "the frame has no such child";
        if (view == nullptr ||
            !WatchFps(hwnd, view, int32_t(ToNumber(a[4])), int32_t(ToNumber(a[5])), ToNumber(a[6]), json, error)) {
            EmitError(a[0], error.c_str());
            return false;
        }
        Emit(json);
        return true;
    }
    if (cmd == "watch" && (n == 4 || n == 5)) {
        HWND hwnd = WaitTopLevel(Widen(a[1]), Widen(a[2]), ToNumber(a[3]));
        JsonWriter json;
        std::string error = "window not found";
        if (hwnd == nullptr || !WatchWindow(hwnd, n == 5 ? int32_t(ToNumber(a[4])) : 0, ToNumber(a[3]), json, error)) {
            EmitError(a[0], error.c_str());
            return false;
        }
        Emit(json);
        return true;
    }
    if (cmd == "host" && n == 5) {
        if (!HostWindow(a[1], int32_t(ToNumber(a[2])), int32_t(ToNumber(a[3])), ToNumber(a[4]))) {
            EmitError(a[0], "cannot make the window");
            return false;
        }
        return true;
    }
    if (cmd == "hang" && n == 3) {
        if (!HungWindow(a[1], ToNumber(a[2]))) {
            EmitError(a[0], "cannot make the window");
            return false;
        }
        return true;
    }
    if (cmd == "choice" && (n == 3 || n == 4)) {
        std::vector<HWND> found = Dialogs(a[1]);
        JsonWriter json;
        if (found.empty() ||
            !ComboChoice(json, found.front(), int32_t(ToNumber(a[2])), n == 4 ? int32_t(ToNumber(a[3])) : -1)) {
            EmitError(a[0], "dialog or list not found");
            return false;
        }
        Emit(json);
        return true;
    }
    if (cmd == "icons" && n == 2) {
        return RunIcons(a);
    }
    std::fprintf(stderr, "velmora_probe: bad command: %s (%u arguments)\n", cmd.c_str(), static_cast<unsigned>(n));
    std::exit(2);
}

}   // namespace

int main(int argc, char** argv)
{
    Args current;
    for (int i = 1; i <= argc; ++i) {
        if (i == argc || std::strcmp(argv[i], ";") == 0) {
            if (!RunOne(current)) {
                return 1;
            }
            current.clear();
        } else {
            current.push_back(argv[i]);
        }
    }
    return 0;
}

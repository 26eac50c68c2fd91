#include "Host.h"

#include <cstdio>

namespace {

const wchar_t kHostClass[] = L"VelmoraProbeHost";

LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void EmitLine(const JsonWriter& json)
{
    std::fputs(json.Text().c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// Makes the visible host window and reports its handle; null when it
// cannot be made.
HWND MakeHostWindow(const char* command, const char* caption, int32_t cx, int32_t cy)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));   // IDC_ARROW
    wc.lpszClassName = kHostClass;
    RegisterClassW(&wc);
    RECT rc = {0, 0, cx, cy};
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    AdjustWindowRect(&rc, style, FALSE);
    std::wstring text;
    for (const char* p = caption; *p; ++p) {
        text += static_cast<wchar_t>(static_cast<unsigned char>(*p));
    }
    HWND hwnd = CreateWindowExW(0, kHostClass, text.c_str(), style | WS_VISIBLE, 40, 40, rc.right - rc.left,
                                rc.bottom - rc.top, nullptr, nullptr, wc.hInstance, nullptr);
    if (hwnd == nullptr) {
        return nullptr;
    }
    JsonWriter json;
    json.BeginObject();
    json.Key("command");
    json.String(command);
    json.Key("hwnd");
    json.Int(static_cast<int64_t>(reinterpret_cast<uintptr_t>(hwnd)));
    json.EndObject();
    EmitLine(json);
    return hwnd;
}

}   // namespace

bool HungWindow(const char* caption, uint32_t nSeconds)
{
    if (MakeHostWindow("hang", caption, 200, 100) == nullptr) {
        return false;
    }
    Sleep(nSeconds * 1000u);   // answers nothing meanwhile
    return true;
}

bool HostWindow(const char* caption, int32_t cx, int32_t cy, uint32_t nSeconds)
{
    HWND hwnd = MakeHostWindow("host", caption, cx, cy);
    if (hwnd == nullptr) {
        return false;
    }

    const UINT_PTR timer = SetTimer(nullptr, 0, nSeconds * 1000u, nullptr);
    bool closed = false;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.hwnd == nullptr && msg.wParam == timer) {
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    closed = !IsWindow(hwnd);
    KillTimer(nullptr, timer);
    if (!closed) {
        DestroyWindow(hwnd);
    }
    JsonWriter end;
    end.BeginObject();
    end.Key("command");
    end.String("host-end");
    end.Key("closed");
    end.Bool(closed);
    end.EndObject();
    EmitLine(end);
    return true;
}

bool ComboChoice(JsonWriter& json, HWND hDlg, int32_t nId, int32_t nIndex)
{
    HWND combo = GetDlgItem(hDlg, nId);
    if (combo == nullptr) {
        return false;
    }
    if (nIndex >= 0) {
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(nIndex), 0);
    }
    json.BeginObject();
    json.Key("command");
    json.String("choice");
    json.Key("id");
    json.Int(nId);
    json.Key("selected");
    json.Int(static_cast<int32_t>(SendMessageW(combo, CB_GETCURSEL, 0, 0)));
    json.Key("count");
    json.Int(static_cast<int32_t>(SendMessageW(combo, CB_GETCOUNT, 0, 0)));
    json.EndObject();
    return true;
}

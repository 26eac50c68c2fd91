#include "Windows.h"

#include "Remote.h"

#include <commctrl.h>

namespace {

// Messages to another process's window give up after a few seconds, so that
// a hung or crashed program fails the test instead of stalling it.
LRESULT Send(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(hwnd, msg, wp, lp, SMTO_ABORTIFHUNG, 3000, &result)) {
        return 0;
    }
    return static_cast<LRESULT>(result);
}

struct FindContext {
    const std::wstring* caption;
    const std::wstring* cls;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND hwnd, LPARAM param)
{
    auto* ctx = reinterpret_cast<FindContext*>(param);
    if (!IsWindowVisible(hwnd)) {
        return TRUE;
    }
    if (!ctx->caption->empty() && WindowText(hwnd) != *ctx->caption) {
        return TRUE;
    }
    if (!ctx->cls->empty()) {
        bool exclude = (*ctx->cls)[0] == L'!';
        bool same = ClassOf(hwnd) == (exclude ? ctx->cls->substr(1) : *ctx->cls);
        if (same == exclude) {
            return TRUE;
        }
    }
    ctx->found.push_back(hwnd);
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM param)
{
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
    return TRUE;
}

std::vector<HWND> Descendants(HWND parent)
{
    std::vector<HWND> all;
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&all));
    return all;
}

void Colour(JsonWriter& json, const char* name, int32_t index)
{
    COLORREF c = GetSysColor(index);
    json.Key(name);
    json.BeginArray();
    json.Int(GetRValue(c));
    json.Int(GetGValue(c));
    json.Int(GetBValue(c));
    json.EndArray();
}

void Metric(JsonWriter& json, const char* name, int32_t index)
{
    json.Key(name);
    json.Int(GetSystemMetrics(index));
}

void DescribeWindowBasics(JsonWriter& json, HWND hwnd)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    RECT rc;
    json.Key("hwnd");
    json.Int(static_cast<int64_t>(reinterpret_cast<uintptr_t>(hwnd)));
    json.Key("pid");
    json.Int(pid);
    json.Key("class");
    json.String(ClassOf(hwnd));
    json.Key("id");
    json.Int(GetDlgCtrlID(hwnd));
    json.Key("text");
    json.String(WindowText(hwnd));
    json.Key("visible");
    json.Bool(IsWindowVisible(hwnd) != FALSE);
    json.Key("style");
    json.Int(static_cast<uint32_t>(GetWindowLongW(hwnd, GWL_STYLE)));
    json.Key("exstyle");
    json.Int(static_cast<uint32_t>(GetWindowLongW(hwnd, GWL_EXSTYLE)));
    GetWindowRect(hwnd, &rc);
    json.Key("window");
    json.Rect(rc);
    json.Key("client");
    json.Rect(ScreenClientRect(hwnd));
}

void DescribeStatusBar(JsonWriter& json, HWND bar)
{
    json.BeginObject();
    int32_t parts = static_cast<int32_t>(Send(bar, SB_GETPARTS, 0, 0));
    json.Key("hwnd");
    json.Int(static_cast<int64_t>(reinterpret_cast<uintptr_t>(bar)));
    json.Key("parts");
    json.Int(parts);
    json.Key("texts");
    json.BeginArray();
    RemoteBuffer buf(bar, 1024 * sizeof(wchar_t));
    for (int32_t i = 0; i < parts && i < 64; ++i) {
        LRESULT len = Send(bar, SB_GETTEXTLENGTHW, i, 0);
        if (!buf.IsValid() || LOWORD(len) >= 1023) {
            json.Null();
            continue;
        }
        buf.Clear();
        Send(bar, SB_GETTEXTW, i, buf.Address());
        wchar_t text[1024] = {};
        buf.Read(text, sizeof(text) - sizeof(wchar_t));
        json.String(std::wstring(text));
    }
    json.EndArray();
    json.EndObject();
}

void DescribeToolBar(JsonWriter& json, HWND bar)
{
    json.BeginObject();
    int32_t count = static_cast<int32_t>(Send(bar, TB_BUTTONCOUNT, 0, 0));
    LRESULT size = Send(bar, TB_GETBUTTONSIZE, 0, 0);
    json.Key("hwnd");
    json.Int(static_cast<int64_t>(reinterpret_cast<uintptr_t>(bar)));
    json.Key("buttons");
    json.Int(count);
    json.Key("buttonSize");
    json.BeginArray();
    json.Int(LOWORD(size));
    json.Int(HIWORD(size));
    json.EndArray();
    json.Key("items");
    json.BeginArray();
    RemoteBuffer buf(bar, sizeof(TBBUTTON) + sizeof(RECT));
    for (int32_t i = 0; i < count && i < 256; ++i) {
        json.BeginObject();
        json.Key("index");
        json.Int(i);
        TBBUTTON button = {};
        RECT rc = {};
        bool ok = buf.IsValid() && buf.Clear() && Send(bar, TB_GETBUTTON, i, buf.Address()) &&
                  buf.Read(&button, sizeof(button));
        if (ok) {
            json.Key("command");
            json.Int(button.idCommand);
            json.Key("image");
            json.Int(button.iBitmap);
            json.Key("state");
            json.Int(button.fsState);
            json.Key("style");
            json.Int(button.fsStyle);
        }
        if (buf.IsValid() && buf.Clear() && Send(bar, TB_GETITEMRECT, i, buf.Address()) && buf.Read(&rc, sizeof(rc))) {
            MapWindowPoints(bar, nullptr, reinterpret_cast<POINT*>(&rc), 2);
            json.Key("rect");
            json.Rect(rc);
        }
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
}

}   // namespace

std::wstring Widen(const char* text)
{
    int32_t n = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    std::wstring out(static_cast<size_t>(n > 0 ? n : 1), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, out.data(), n);
    out.resize(out.size() - 1);
    return out;
}

std::wstring WindowText(HWND hwnd)
{
    // WM_GETTEXT is carried across processes; the control answers itself
    // (a static or a status bar returns its own text).
    wchar_t text[2048] = {};
    DWORD_PTR len = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, 2047, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 3000, &len)) {
        GetWindowTextW(hwnd, text, 2047);
    }
    return text;
}

std::wstring ClassOf(HWND hwnd)
{
    wchar_t name[256] = {};
    GetClassNameW(hwnd, name, 255);
    return name;
}

std::vector<HWND> FindTopLevel(const std::wstring& caption, const std::wstring& cls)
{
    FindContext ctx{&caption, &cls, {}};
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&ctx));
    return ctx.found;
}

HWND WaitTopLevel(const std::wstring& caption, const std::wstring& cls, uint32_t timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        std::vector<HWND> found = FindTopLevel(caption, cls);
        if (!found.empty()) {
            return found.front();
        }
        if (GetTickCount() - start >= timeoutMs) {
            return nullptr;
        }
        Sleep(100);
    }
}

HWND ChildById(HWND parent, int32_t id)
{
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetDlgCtrlID(child) == id) {
            return child;
        }
    }
    return nullptr;
}

RECT ScreenClientRect(HWND hwnd)
{
    RECT rc = {};
    GetClientRect(hwnd, &rc);
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

void DescribeFrame(JsonWriter& json, HWND hwnd)
{
    json.BeginObject();
    DescribeWindowBasics(json, hwnd);
    json.Key("zoomed");
    json.Bool(IsZoomed(hwnd) != FALSE);
    json.Key("iconic");
    json.Bool(IsIconic(hwnd) != FALSE);
    json.Key("foreground");
    json.Bool(GetForegroundWindow() == hwnd);

    WINDOWPLACEMENT wp = {};
    wp.length = sizeof(wp);
    json.Key("placement");
    json.BeginObject();
    if (GetWindowPlacement(hwnd, &wp)) {
        json.Key("showCmd");
        json.Int(wp.showCmd);
        json.Key("normal");
        json.Rect(wp.rcNormalPosition);
    }
    json.EndObject();

    // Menus of other processes are not visible to GetMenu under Wine; the
    // report says what the call gave so the driver can fall back to pictures.
    HMENU menu = GetMenu(hwnd);
    json.Key("menu");
    json.BeginObject();
    json.Key("handle");
    json.Int(static_cast<int64_t>(reinterpret_cast<uintptr_t>(menu)));
    json.Key("count");
    json.Int(menu != nullptr ? GetMenuItemCount(menu) : -1);
    json.EndObject();

    json.Key("metrics");
    json.BeginObject();
    Metric(json, "cxscreen", SM_CXSCREEN);
    Metric(json, "cyscreen", SM_CYSCREEN);
    Metric(json, "cycaption", SM_CYCAPTION);
    Metric(json, "cymenu", SM_CYMENU);
    Metric(json, "cxframe", SM_CXFRAME);
    Metric(json, "cyframe", SM_CYFRAME);
    Metric(json, "cxborder", SM_CXBORDER);
    json.EndObject();

    json.Key("colours");
    json.BeginObject();
    Colour(json, "menu", COLOR_MENU);
    Colour(json, "menutext", COLOR_MENUTEXT);
    Colour(json, "btnface", COLOR_BTNFACE);
    Colour(json, "btnshadow", COLOR_BTNSHADOW);
    Colour(json, "btnhighlight", COLOR_BTNHIGHLIGHT);
    Colour(json, "activecaption", COLOR_ACTIVECAPTION);
    json.EndObject();

    json.Key("children");
    json.BeginArray();
    HWND statusBar = nullptr;
    HWND toolBar = nullptr;
    for (HWND child : Descendants(hwnd)) {
        json.BeginObject();
        DescribeWindowBasics(json, child);
        json.Key("parent");
        json.Int(static_cast<int64_t>(reinterpret_cast<uintptr_t>(GetParent(child))));
        json.EndObject();
        std::wstring cls = ClassOf(child);
        if (statusBar == nullptr && cls == STATUSCLASSNAMEW) {
            statusBar = child;
        }
        if (toolBar == nullptr && cls == TOOLBARCLASSNAMEW) {
            toolBar = child;
        }
    }
    json.EndArray();

    json.Key("statusbar");
    if (statusBar != nullptr) {
        DescribeStatusBar(json, statusBar);
    } else {
        json.Null();
    }
    json.Key("toolbar");
    if (toolBar != nullptr) {
        DescribeToolBar(json, toolBar);
    } else {
        json.Null();
    }
    json.EndObject();
}

void DescribeDialog(JsonWriter& json, HWND hwnd)
{
    json.BeginObject();
    DescribeWindowBasics(json, hwnd);
    HWND owner = GetWindow(hwnd, GW_OWNER);
    json.Key("owner");
    json.Int(static_cast<int64_t>(reinterpret_cast<uintptr_t>(owner)));
    json.Key("children");
    json.BeginArray();
    for (HWND child : Descendants(hwnd)) {
        json.BeginObject();
        DescribeWindowBasics(json, child);
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
}

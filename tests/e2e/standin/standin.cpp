// A stand-in for the program under test, used to exercise the end-to-end
// harness while the real program is not part of the build: a maximised frame
// captioned "Velmora 95" with the seven menus, Ctrl+X, a toolbar of 39-pixel
// buttons whose first button exits, a two-pane status bar with an "Fps = "
// pane, and a bordered view that shows moving grey stars from the star ramp.
// Command 0xE2E0 shows the fatal-error box and ends the program.
// It is a test fixture, not the product.

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <cstdio>

namespace {

constexpr int32_t kIdExit = 57665;
constexpr int32_t kIdFatal = 0xE2E0;
constexpr int32_t kIdToolBar = 59392;
constexpr int32_t kIdStatusBar = 59393;
constexpr int32_t kIdView = 59648;
constexpr int32_t kDibWidth = 320;
constexpr int32_t kDibHeight = 200;

HWND g_frame;
HWND g_toolBar;
HWND g_statusBar;
HWND g_view;
uint8_t g_pixels[kDibWidth * kDibHeight];
uint32_t g_seed = 12345;
int32_t g_scale = 2;

struct DibInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
} g_dib;

uint32_t Random()
{
    g_seed = g_seed * 1103515245u + 12345u;
    return g_seed >> 8;
}

void BuildDib()
{
    g_dib.header.biSize = sizeof(BITMAPINFOHEADER);
    g_dib.header.biWidth = kDibWidth;
    g_dib.header.biHeight = -kDibHeight;
    g_dib.header.biPlanes = 1;
    g_dib.header.biBitCount = 8;
    g_dib.header.biCompression = BI_RGB;
    g_dib.header.biClrUsed = 256;
    for (int32_t i = 10; i <= 245; ++i) {
        auto g = static_cast<BYTE>((255 * 235 - (i - 10) * 254) / 235); // floor(255 - (i - 10) * 254 / 235)
        g_dib.colours[i] = RGBQUAD{g, g, g, 0};
    }
}

void NextFrame()
{
    for (uint8_t& p : g_pixels) {
        p = 0;
    }
    for (int32_t i = 0; i < 300; ++i) {
        uint32_t x = Random() % kDibWidth;
        uint32_t y = Random() % kDibHeight;
        g_pixels[y * kDibWidth + x] = static_cast<uint8_t>(10 + Random() % 226);
    }
    InvalidateRect(g_view, nullptr, FALSE);
}

void LayoutView()
{
    RECT rc;
    GetClientRect(g_frame, &rc);
    RECT tb;
    RECT sb;
    GetWindowRect(g_toolBar, &tb);
    GetWindowRect(g_statusBar, &sb);
    int32_t top = rc.top + (tb.bottom - tb.top);
    int32_t bottom = rc.bottom - (sb.bottom - sb.top);
    int32_t w = kDibWidth * g_scale;
    int32_t h = kDibHeight * g_scale;
    int32_t x = rc.left + (rc.right - rc.left - w) / 2;
    int32_t y = top + (bottom - top - h) / 2;
    MoveWindow(g_view, x - 1, y - 1, w + 2, h + 2, TRUE);
}

LRESULT CALLBACK ViewProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        StretchDIBits(dc, 0, 0, kDibWidth * g_scale, kDibHeight * g_scale, 0, 0, kDibWidth, kDibHeight, g_pixels,
                      reinterpret_cast<BITMAPINFO*>(&g_dib), DIB_RGB_COLORS, SRCCOPY);
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

void CreateBars(HWND frame)
{
    HINSTANCE inst = GetModuleHandleW(nullptr);
    g_toolBar = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | CCS_TOP | TBSTYLE_TOOLTIPS, 0, 0, 0, 0,
                                frame, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdToolBar)), inst, nullptr);
    SendMessageW(g_toolBar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(g_toolBar, TB_SETBITMAPSIZE, 0, MAKELPARAM(32, 32));
    SendMessageW(g_toolBar, TB_SETBUTTONSIZE, 0, MAKELPARAM(39, 39));
    HDC screen = GetDC(nullptr);
    HBITMAP strip = CreateCompatibleBitmap(screen, 64, 32);
    ReleaseDC(nullptr, screen);
    TBADDBITMAP add = {nullptr, reinterpret_cast<UINT_PTR>(strip)};
    SendMessageW(g_toolBar, TB_ADDBITMAP, 2, reinterpret_cast<LPARAM>(&add));
    TBBUTTON buttons[3] = {
        {0, kIdExit, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, 0},
        {0, 0, TBSTATE_ENABLED, TBSTYLE_SEP, {}, 0, 0},
        {1, 32772, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, 0},
    };
    SendMessageW(g_toolBar, TB_ADDBUTTONSW, 3, reinterpret_cast<LPARAM>(buttons));
    SendMessageW(g_toolBar, TB_AUTOSIZE, 0, 0);

    g_statusBar = CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | CCS_BOTTOM, 0, 0, 0, 0, frame,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdStatusBar)), inst, nullptr);
    INT parts[2] = {200, -1};
    SendMessageW(g_statusBar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
    SendMessageW(g_statusBar, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L"Stand-in frame"));
    SendMessageW(g_statusBar, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(L"Fps = 000"));

    g_view = CreateWindowExW(0, L"StandInView", nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 0, 10, 10, frame,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdView)), inst, nullptr);
}

LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_CREATE:
        CreateBars(hwnd);
        return 0;
    case WM_SIZE:
        SendMessageW(g_toolBar, TB_AUTOSIZE, 0, 0);
        SendMessageW(g_statusBar, WM_SIZE, 0, 0);
        LayoutView();
        return 0;
    case WM_COMMAND:
        if (LOWORD(wp) == kIdExit) {
            PostMessageW(hwnd, WM_CLOSE, 0, 0);
            return 0;
        }
        if (LOWORD(wp) == kIdFatal) {
            MessageBoxW(hwnd, L"An unexpected error has occurred.\n\nThe application will be terminated.", L"Velmora 95",
                        MB_OK | MB_ICONSTOP);
            PostMessageW(hwnd, WM_CLOSE, 0, 0);
            return 0;
        }
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

HMENU BuildMenu()
{
    const wchar_t* titles[] = {L"&File", L"&Display", L"&Audio", L"&Simulation", L"&Population", L"&Nausea", L"&Help"};
    HMENU bar = CreateMenu();
    for (const wchar_t* title : titles) {
        HMENU popup = CreatePopupMenu();
        if (title == titles[0]) {
            AppendMenuW(popup, MF_STRING, kIdExit, L"E&xit\tCtrl+X");
        } else {
            AppendMenuW(popup, MF_STRING | MF_GRAYED, 0, L"(stand-in)");
        }
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), title);
    }
    return bar;
}

} // namespace

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int)
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    BuildDib();

    WNDCLASSW view = {};
    view.lpfnWndProc = ViewProc;
    view.hInstance = inst;
    view.lpszClassName = L"StandInView";
    view.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    RegisterClassW(&view);
    WNDCLASSW frame = view;
    frame.lpfnWndProc = FrameProc;
    frame.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    frame.lpszClassName = L"StandInFrame";
    RegisterClassW(&frame);

    int32_t cx = GetSystemMetrics(SM_CXSCREEN);
    int32_t cy = GetSystemMetrics(SM_CYSCREEN);
    int32_t w = cx <= 640 ? 440 : cx <= 800 ? 660 : 700;
    int32_t h = (cx <= 640 ? 350 : cx <= 800 ? 520 : 550) + GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYMENU);
    w = w < cx - 8 ? w : cx - 8;
    h = h < cy - 8 ? h : cy - 8;
    g_scale = cx <= 640 ? 1 : 2;

    g_frame = CreateWindowExW(0, L"StandInFrame", L"Velmora 95", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, w, h,
                              nullptr, BuildMenu(), inst, nullptr);
    if (g_frame == nullptr) {
        return 1;
    }
    ShowWindow(g_frame, SW_SHOWMAXIMIZED);
    ACCEL accel = {FCONTROL | FVIRTKEY, 'X', kIdExit};
    HACCEL table = CreateAcceleratorTableW(&accel, 1);

    DWORD second = GetTickCount();
    int32_t frames = 0;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                DestroyAcceleratorTable(table);
                return static_cast<int>(msg.wParam);
            }
            if (!TranslateAcceleratorW(g_frame, table, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        NextFrame();
        ++frames;
        if (GetTickCount() - second >= 1000) {
            wchar_t text[32];
            wsprintfW(text, L"Fps = %i", frames);
            SendMessageW(g_statusBar, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(text));
            frames = 0;
            second = GetTickCount();
        }
        Sleep(5); // a fixture need not take the whole processor
    }
}

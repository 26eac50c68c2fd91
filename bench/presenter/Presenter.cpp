#include "Presenter.h"

#include "EngineStep.h"
#include "WinGLoader.h"

#include <cstring>
#include <optional>

namespace {

constexpr int32_t kBufferWidth = 320;
constexpr int32_t kBufferHeight = 200;
const char kClassName[] = "VelmoraPresenter";
const char kViewClassName[] = "VelmoraPresenterView";
const char kCaption[] = "Velmora presenter";
constexpr int kViewId = 0xE900;   // the id the program's view has in its frame

struct Dib256 {
    BITMAPINFOHEADER header;
    RGBQUAD colors[256];
};

class Presenter {
public:
    bool Create(int32_t width, int32_t height, const POINT& place, std::string& error);
    void Destroy();
    uint32_t RunUntil(const Deadline& deadline);
    void Paint(HDC dc)
    {
        (this->*m_copy)(dc);
        ++m_frames;
    }
    const WinGLibrary& WinG() const { return m_wing; }
    bool UsesWinG() const { return m_wingDC != nullptr; }
    HWND Painted() const { return m_painted; }

private:
    bool CreateWinGBuffer();
    bool CreateFramed(int32_t width, int32_t height, const POINT& place, std::string& error);
    // WinGStretchBlt at every size, as the program copies.
    void CopyWinG(HDC dc)
    {
        m_wing.StretchBlt(dc, 0, 0, m_width, m_height, m_wingDC, 0, 0, kBufferWidth, kBufferHeight);
    }
    void CopyDib(HDC dc)
    {
        StretchDIBits(dc, 0, 0, m_width, m_height, 0, 0, kBufferWidth, kBufferHeight, m_bits,
                      reinterpret_cast<const BITMAPINFO*>(&m_info), DIB_RGB_COLORS, SRCCOPY);
    }

    HWND m_hwnd = nullptr;     // the frame
    HWND m_painted = nullptr;  // its child, the window measured
    int32_t m_width = 0;
    int32_t m_height = 0;
    WinGLibrary m_wing;
    HDC m_wingDC = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_previous = nullptr;
    uint8_t* m_bits = nullptr;
    std::vector<uint8_t> m_memory;
    Dib256 m_info = {};
    void (Presenter::*m_copy)(HDC) = &Presenter::CopyDib;
    uint32_t m_frames = 0;
    std::optional<BufferSurface> m_surface;   // the engine's view of the buffer
    bool m_engine = false;
};

Presenter* g_presenter = nullptr;

LRESULT CALLBACK PresenterProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (hwnd != g_presenter->Painted())
        return DefWindowProcA(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        g_presenter->Paint(dc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND: return 1;   // the copy covers the whole client area
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

bool Presenter::Create(int32_t width, int32_t height, const POINT& place, std::string& error)
{
    m_width = width;
    m_height = height;
    // A grey ramp; the colours do not change the cost of a copy.
    m_info.header.biSize = sizeof(BITMAPINFOHEADER);
    m_info.header.biWidth = kBufferWidth;
    m_info.header.biHeight = kBufferHeight;
    m_info.header.biPlanes = 1;
    m_info.header.biBitCount = 8;
    m_info.header.biCompression = BI_RGB;
    for (int32_t i = 0; i < 256; ++i)
        m_info.colors[i] = RGBQUAD{BYTE(i), BYTE(i), BYTE(i), 0};

    if (m_wing.Load() && CreateWinGBuffer()) {
        m_copy = &Presenter::CopyWinG;
    } else {
        m_memory.assign(size_t(kBufferWidth) * kBufferHeight, 0);
        m_bits = m_memory.data();
        m_copy = &Presenter::CopyDib;
    }
    m_surface.emplace(m_bits, m_info.header.biHeight < 0);
    m_engine = StartEngine();
    if (!m_engine) {
        error = "cannot allocate the star array";
        return false;
    }

    WNDCLASSA wc = {};
    wc.lpfnWndProc = PresenterProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = HBRUSH(COLOR_WINDOW + 1);
    wc.lpszClassName = kClassName;
    WNDCLASSA view = wc;
    view.hbrBackground = nullptr;
    view.lpszClassName = kViewClassName;
    if (!RegisterClassA(&wc) || !RegisterClassA(&view)) {
        error = "cannot register the window classes";
        return false;
    }
    g_presenter = this;
    return CreateFramed(width, height, place, error);
}

// The program's arrangement: a maximised frame window, and in it a bordered
// child whose client area is width x height at `place` on the screen, where
// the program's view showed its picture. Under Wine a top-level window's
// pixels live in one surface the size of the window, and a copy into part of
// a desktop-sized surface costs more than the same copy into a surface of the
// picture's size (about 12 % a frame at 320 x 200 and 640 x 400), so the
// yardstick copies into the same kind of window as the program.
bool Presenter::CreateFramed(int32_t width, int32_t height, const POINT& place, std::string& error)
{
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    m_hwnd = CreateWindowExA(0, kClassName, kCaption, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    if (m_hwnd == nullptr) {
        error = "cannot create the frame window";
        return false;
    }
    ShowWindow(m_hwnd, SW_SHOWMAXIMIZED);
    POINT origin = place;
    ScreenToClient(m_hwnd, &origin);
    const int32_t border = GetSystemMetrics(SM_CXBORDER);
    m_painted = CreateWindowExA(0, kViewClassName, "", WS_CHILD | WS_VISIBLE | WS_BORDER, origin.x - border,
                                origin.y - border, width + 2 * border, height + 2 * border, m_hwnd,
                                reinterpret_cast<HMENU>(INT_PTR(kViewId)), instance, nullptr);
    if (m_painted == nullptr) {
        error = "cannot create the child window";
        return false;
    }
    // The active window on the desktop, as the program is when it runs.
    SetForegroundWindow(m_hwnd);
    RECT client;
    GetClientRect(m_painted, &client);
    POINT shown = {0, 0};
    ClientToScreen(m_painted, &shown);
    if (client.right != width || client.bottom != height || shown.x != place.x || shown.y != place.y) {
        error = "the child window's client area is not the requested size and place";
        return false;
    }
    return true;
}

bool Presenter::CreateWinGBuffer()
{
    m_wingDC = m_wing.CreateDC();
    if (m_wingDC == nullptr)
        return false;
    // The library's preferred row order, as the program takes it.
    Dib256 recommended = {};
    if (m_wing.RecommendDIBFormat(reinterpret_cast<BITMAPINFO*>(&recommended)) && recommended.header.biHeight == -1)
        m_info.header.biHeight = -kBufferHeight;
    void* bits = nullptr;
    m_bitmap = m_wing.CreateBitmap(m_wingDC, reinterpret_cast<const BITMAPINFO*>(&m_info), &bits);
    if (m_bitmap == nullptr || bits == nullptr) {
        DeleteDC(m_wingDC);
        m_wingDC = nullptr;
        return false;
    }
    m_bits = static_cast<uint8_t*>(bits);
    m_previous = SelectObject(m_wingDC, m_bitmap);
    return true;
}

uint32_t Presenter::RunUntil(const Deadline& deadline)
{
    const uint32_t first = m_frames;
    MSG msg;
    while (!deadline.Passed()) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        // A frame as the program makes one: the engine's step into the
        // buffer, then the window invalidated for the next paint.
        StepEngine(*m_surface);
        InvalidateRect(m_painted, nullptr, FALSE);
    }
    return m_frames - first;
}

void Presenter::Destroy()
{
    if (m_hwnd != nullptr)
        DestroyWindow(m_hwnd);
    if (m_wingDC != nullptr) {
        SelectObject(m_wingDC, m_previous);
        DeleteObject(m_bitmap);
        DeleteDC(m_wingDC);
    }
    if (m_engine)
        StopEngine();
    g_presenter = nullptr;
}

}   // namespace

bool RunPresenter(int32_t width, int32_t height, const POINT& place, uint32_t settleMs, uint32_t windowMs,
                  int32_t count, PresenterReport& report, std::string& error)
{
    // The program runs at high priority; so does its yardstick.
    SetPriorityClass(GetCurrentProcess(), HIGH_PRIORITY_CLASS);
    static Presenter presenter;
    if (!presenter.Create(width, height, place, error)) {
        presenter.Destroy();
        return false;
    }
    report.path = presenter.UsesWinG() ? "wing" : "dib";
    report.library = presenter.WinG().Path();
    presenter.RunUntil(Deadline(settleMs));
    for (int32_t i = 0; i < count; ++i) {
        const Deadline window(windowMs);
        const uint32_t frames = presenter.RunUntil(window);
        report.windows.push_back({frames, window.Elapsed(), window.Start()});
    }
    presenter.Destroy();
    return true;
}

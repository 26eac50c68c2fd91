#include "saver/SaverWindows.h"
#include <cstdlib>

namespace {

const char kFullScreenClass[] = "Velmora95ScreenSaver";
const char kPreviewClass[] = "Velmora95Preview";
const char kCaption[] = "Velmora 95";
constexpr UINT_PTR kParentTimer = 1;
constexpr UINT kParentCheckMs = 250;

// One saver window per process.
CSaverScene* g_pScene = nullptr;
POINT g_ptFirst = {0, 0};
BOOL g_bPointerSeen = FALSE;

void Paint(HWND hWnd)
{
    PAINTSTRUCT ps;
    HDC hDC = ::BeginPaint(hWnd, &ps);
    if (g_pScene)
        g_pScene->Draw(hDC);
    ::EndPaint(hWnd, &ps);
}

// Any key, any button, a real pointer move or the loss of activation ends it.
LRESULT CALLBACK FullScreenProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: Paint(hWnd); return 0;
    case WM_SETCURSOR: ::SetCursor(nullptr); return TRUE;
    case WM_MOUSEMOVE: {
        const POINT pt = {short(LOWORD(lParam)), short(HIWORD(lParam))};
        if (!g_bPointerSeen) {
            g_bPointerSeen = TRUE;
            g_ptFirst = pt;
        } else if (std::abs(pt.x - g_ptFirst.x) > kPointerSlack || std::abs(pt.y - g_ptFirst.y) > kPointerSlack) {
            ::PostMessageA(hWnd, WM_CLOSE, 0, 0);
        }
        return 0;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN: ::PostMessageA(hWnd, WM_CLOSE, 0, 0); return 0;
    case WM_ACTIVATEAPP:
        if (!wParam)
            ::PostMessageA(hWnd, WM_CLOSE, 0, 0);
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE)
            ::PostMessageA(hWnd, WM_CLOSE, 0, 0);
        return 0;
    case WM_SYSCOMMAND:
        // The system must not start the screen saver again over itself.
        if ((wParam & 0xFFF0) == SC_SCREENSAVE)
            return 0;
        break;
    case WM_DESTROY: ::PostQuitMessage(0); return 0;
    default: break;
    }
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

LRESULT CALLBACK PreviewProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        Paint(hWnd);
        if (g_pfnPreviewPainted && g_pScene)
            g_pfnPreviewPainted(hWnd, *g_pScene);
        return 0;
    case WM_TIMER:
        // Destroying the parent destroys this child too; the check covers
        // a parent whose end does not reach another process's child.
        if (wParam == kParentTimer && !::IsWindow(::GetParent(hWnd)))
            ::DestroyWindow(hWnd);
        return 0;
    case WM_DESTROY:
        ::KillTimer(hWnd, kParentTimer);
        ::PostQuitMessage(0);
        return 0;
    default: break;
    }
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

BOOL RegisterSaverClass(HINSTANCE hInstance, const char* pszName, WNDPROC pfnProc)
{
    WNDCLASSA wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = pfnProc;
    wc.hInstance = hInstance;
    wc.hbrBackground = HBRUSH(::GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = pszName;
    return ::RegisterClassA(&wc) != 0;
}

// Collects each monitor's rectangle, relative to the virtual screen's corner.
struct MonitorList {
    POINT origin;
    CSaverScene* pScene;
};

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT pRect, LPARAM lParam)
{
    auto* pList = reinterpret_cast<MonitorList*>(lParam);
    CSaverScene& scene = *pList->pScene;
    if (scene.m_nPlaces >= CSaverScene::kMaxPlaces)
        return FALSE;
    SaverRect place = IntegerFit(pRect->right - pRect->left, pRect->bottom - pRect->top);
    place.x += pRect->left - pList->origin.x;
    place.y += pRect->top - pList->origin.y;
    scene.m_places[scene.m_nPlaces++] = place;
    return TRUE;
}

}   // namespace

PreviewPaintedFn g_pfnPreviewPainted = nullptr;
FullScreenUpFn g_pfnFullScreenUp = nullptr;

HWND CreateFullScreenWindow(HINSTANCE hInstance, CSaverScene& scene)
{
    if (!RegisterSaverClass(hInstance, kFullScreenClass, FullScreenProc))
        return nullptr;
    const int x = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int y = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int cx = ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int cy = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);

    scene.m_nPlaces = 0;
    MonitorList list = {{x, y}, &scene};
    ::EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&list));
    if (scene.m_nPlaces == 0) {
        const SaverRect place = IntegerFit(cx, cy);
        scene.m_places[scene.m_nPlaces++] = place;
    }

    g_pScene = &scene;
    HWND hWnd = ::CreateWindowExA(WS_EX_TOPMOST, kFullScreenClass, kCaption, WS_POPUP, x, y, cx, cy, nullptr, nullptr,
                                  hInstance, nullptr);
    if (!hWnd)
        return nullptr;
    scene.m_hWnd = hWnd;
    scene.m_bBackground = FALSE;
    ::ShowCursor(FALSE);
    ::ShowWindow(hWnd, SW_SHOW);
    ::SetForegroundWindow(hWnd);
    ::UpdateWindow(hWnd);
    return hWnd;
}

HWND CreatePreviewWindow(HINSTANCE hInstance, HWND hParent, CSaverScene& scene)
{
    if (!RegisterSaverClass(hInstance, kPreviewClass, PreviewProc))
        return nullptr;
    RECT rc = {0, 0, 0, 0};
    ::GetClientRect(hParent, &rc);
    scene.m_places[0] = AspectFit(rc.right, rc.bottom);
    scene.m_nPlaces = 1;

    g_pScene = &scene;
    HWND hWnd = ::CreateWindowExA(0, kPreviewClass, kCaption, WS_CHILD | WS_VISIBLE, 0, 0, rc.right, rc.bottom, hParent,
                                  nullptr, hInstance, nullptr);
    if (!hWnd)
        return nullptr;
    scene.m_hWnd = hWnd;
    scene.m_bBackground = TRUE;
    ::SetTimer(hWnd, kParentTimer, kParentCheckMs, nullptr);
    return hWnd;
}

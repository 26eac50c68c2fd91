// Test build only: the preview also draws its picture, the same way it
// draws into its window, into a 24-bit memory bitmap of its client size and
// writes that out once as "preview-capture.bmp" in the current folder.
// Under Wine's virtual desktop another process's child window does not reach
// the screen, so the tests read the preview's picture from this file.
#include "saver/SaverWindows.h"
#include <cstdio>
#include <vector>

namespace {

// Late enough that the flight has moved on from its first frame.
constexpr int32_t kPaintsBeforeCapture = 30;
int32_t g_nPaints = 0;

bool WriteBmp(const char* pszPath, int32_t cx, int32_t cy, const void* pBits)
{
    const uint32_t nStride = (uint32_t(cx) * 3u + 3u) & ~3u;
    const uint32_t nImage = nStride * uint32_t(cy);
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + nImage;
    info.biSize = sizeof info;
    info.biWidth = cx;
    info.biHeight = -cy;   // top-down, as the section was made
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = nImage;
    FILE* f = std::fopen(pszPath, "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(&file, sizeof file, 1, f) == 1 && std::fwrite(&info, sizeof info, 1, f) == 1 &&
                    std::fwrite(pBits, nImage, 1, f) == 1;
    return std::fclose(f) == 0 && ok;
}

void CapturePreview(HWND hWnd, CSaverScene& scene)
{
    if (++g_nPaints != kPaintsBeforeCapture)
        return;
    RECT rc;
    ::GetClientRect(hWnd, &rc);
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
    bmi.bmiHeader.biWidth = rc.right;
    bmi.bmiHeader.biHeight = -rc.bottom;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 24;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    HDC hScreen = ::GetDC(hWnd);
    HDC hMem = ::CreateCompatibleDC(hScreen);
    HBITMAP hBitmap = ::CreateDIBSection(hScreen, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    ::ReleaseDC(hWnd, hScreen);
    if (hMem && hBitmap) {
        HGDIOBJ hOld = ::SelectObject(hMem, hBitmap);
        ::FillRect(hMem, &rc, HBRUSH(::GetStockObject(BLACK_BRUSH)));   // the window's background
        scene.Draw(hMem);
        ::GdiFlush();
        // Written under another name first, so that a reader never sees half a file.
        if (WriteBmp("preview-capture.tmp", rc.right, rc.bottom, pBits))
            ::MoveFileExA("preview-capture.tmp", "preview-capture.bmp", MOVEFILE_REPLACE_EXISTING);
        ::SelectObject(hMem, hOld);
    }
    if (hBitmap)
        ::DeleteObject(hBitmap);
    if (hMem)
        ::DeleteDC(hMem);
}

struct InstallCapture {
    InstallCapture() { g_pfnPreviewPainted = CapturePreview; }
} g_installCapture;

}   // namespace

#include "WinGTestSupport.h"

DWORD RunTestInChild(const char* fullName)
{
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string cmd = std::string("\"") + exe + "\" --gtest_also_run_disabled_tests --gtest_filter=" + fullName;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(exe, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return kChildLost;
    DWORD code = kChildLost;
    if (WaitForSingleObject(pi.hProcess, 30000) == WAIT_OBJECT_0)
        GetExitCodeProcess(pi.hProcess, &code);
    else
        TerminateProcess(pi.hProcess, kChildLost);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
}

namespace {

LONG WINAPI ExitWithCrashCode(EXCEPTION_POINTERS*) { ExitProcess(kChildCrashed); }

}   // namespace

void ExitOnCrash() { SetUnhandledExceptionFilter(ExitWithCrashCode); }

Header8 MakeHeader8(int32_t width, int32_t height, bool bTopDown)
{
    Header8 hdr = {};
    hdr.h.biSize = sizeof(BITMAPINFOHEADER);
    hdr.h.biWidth = width;
    hdr.h.biHeight = bTopDown ? -height : height;
    hdr.h.biPlanes = 1;
    hdr.h.biBitCount = 8;
    hdr.h.biCompression = BI_RGB;
    for (uint32_t i = 0; i < 256; ++i) {
        const uint32_t c = TableColor(i);
        hdr.colors[i] = {BYTE(c), BYTE(c >> 8), BYTE(c >> 16), 0};
    }
    return hdr;
}

uint32_t TableColor(uint32_t i)
{
    // Red, green and blue each a different function of i: all 256 differ.
    const uint32_t r = i;
    const uint32_t g = 255 - i;
    const uint32_t b = (i * 37 + 11) & 0xFF;
    return (r << 16) | (g << 8) | b;
}

uint8_t PatternIndex(int32_t x, int32_t y) { return uint8_t(x * 13 + y * 71 + 5); }

int32_t Pitch8(int32_t width) { return ((width * 8 + 31) / 32) * 4; }

void WritePattern(uint8_t* pBits, int32_t width, int32_t height, bool bTopDown)
{
    const int32_t pitch = Pitch8(width);
    for (int32_t y = 0; y < height; ++y) {
        const int32_t row = bTopDown ? y : height - 1 - y;
        for (int32_t x = 0; x < width; ++x)
            pBits[row * pitch + x] = PatternIndex(x, y);
    }
}

CWinGSource::CWinGSource(int32_t width, int32_t height, bool bTopDown)
{
    const WinGLibrary& wing = TheWinG();
    const Header8 hdr = MakeHeader8(width, height, bTopDown);
    m_hdc = wing.CreateDC();
    void* pBits = nullptr;
    m_hbm = wing.CreateBitmap(m_hdc, reinterpret_cast<const BITMAPINFO*>(&hdr), &pBits);
    m_pBits = static_cast<uint8_t*>(pBits);
    if (!Valid())
        return;
    WritePattern(m_pBits, width, height, bTopDown);
    GdiFlush();
    m_hOld = SelectObject(m_hdc, m_hbm);
}

CWinGSource::~CWinGSource()
{
    if (m_hOld)
        SelectObject(m_hdc, m_hOld);
    if (m_hbm)
        DeleteObject(m_hbm);
    if (m_hdc)
        DeleteDC(m_hdc);
}

CDest32::CDest32(int32_t width, int32_t height) : m_nWidth(width)
{
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    m_hbm = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    m_hdc = CreateCompatibleDC(nullptr);
    if (!m_hbm || !m_hdc || !pBits)
        return;
    m_pBits = static_cast<uint32_t*>(pBits);
    for (int32_t i = 0; i < width * height; ++i)
        m_pBits[i] = kSentinel;
    m_hOld = SelectObject(m_hdc, m_hbm);
}

CDest32::~CDest32()
{
    if (m_hOld)
        SelectObject(m_hdc, m_hOld);
    if (m_hbm)
        DeleteObject(m_hbm);
    if (m_hdc)
        DeleteDC(m_hdc);
}

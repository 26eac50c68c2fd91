// Pictures, bitmaps and device contexts shared by the WinG tests.
#pragma once

#include "WinGLibrary.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

// Skips a test when this run has no library to test.
#define REQUIRE_WING()                                   \
    do {                                                 \
        if (!TheWinG().Loaded())                         \
            GTEST_SKIP() << "no WING32.DLL in this run"; \
    } while (0)

// Our library must show no difference; for the system's own library a
// difference is recorded as a skip with its description.
#define EXPECT_SAME_OR_RECORD(difference)                        \
    do {                                                         \
        const std::string d_ = (difference);                     \
        if (TheWinG().bOurs)                                     \
            EXPECT_EQ(d_, "");                                   \
        else if (!d_.empty())                                    \
            GTEST_SKIP() << "system WING32.DLL differs: " << d_; \
    } while (0)

// Runs one test of this program, usually a DISABLED_ one, in a child
// process and returns its exit code: 0 when it passed, kChildCrashed when it
// ended by an unhandled exception (see ExitOnCrash).
constexpr DWORD kChildCrashed = 0xC0DE;
constexpr DWORD kChildLost = 0xDEAD;   // not started or timed out
DWORD RunTestInChild(const char* fullName);

// In a child: an unhandled exception ends the process with kChildCrashed
// instead of starting Wine's debugger.
void ExitOnCrash();

struct Header8 {
    BITMAPINFOHEADER h;
    RGBQUAD colors[256];
};

// An 8-bit header with 256 distinct colours; negative height when top-down.
Header8 MakeHeader8(int32_t width, int32_t height, bool bTopDown);

// The colour of table entry i as 0x00RRGGBB (how a 32-bit DIB stores it).
uint32_t TableColor(uint32_t i);

// The colour index of image pixel (x, y) in the test pattern.
uint8_t PatternIndex(int32_t x, int32_t y);

// Bytes per row of an 8-bit image.
int32_t Pitch8(int32_t width);

// Writes the pattern into 8-bit pixels through the row arithmetic of the
// given orientation.
void WritePattern(uint8_t* pBits, int32_t width, int32_t height, bool bTopDown);

// A WinG DC with a WinG bitmap of the test pattern selected into it.
class CWinGSource {
public:
    CWinGSource(int32_t width, int32_t height, bool bTopDown);
    ~CWinGSource();
    CWinGSource(const CWinGSource&) = delete;
    CWinGSource& operator=(const CWinGSource&) = delete;

    bool Valid() const { return m_hdc && m_hbm && m_pBits; }
    HDC m_hdc = nullptr;
    HBITMAP m_hbm = nullptr;
    uint8_t* m_pBits = nullptr;

private:
    HGDIOBJ m_hOld = nullptr;
};

// A memory DC holding a 32-bit top-down bitmap section filled with a
// sentinel colour, so that copies into it can be read back byte by byte.
class CDest32 {
public:
    static constexpr uint32_t kSentinel = 0x00123456;
    CDest32(int32_t width, int32_t height);
    ~CDest32();
    CDest32(const CDest32&) = delete;
    CDest32& operator=(const CDest32&) = delete;

    bool Valid() const { return m_hdc && m_pBits; }
    uint32_t Pixel(int32_t x, int32_t y) const { return m_pBits[y * m_nWidth + x] & 0x00FFFFFF; }
    HDC m_hdc = nullptr;

private:
    int32_t m_nWidth;
    HBITMAP m_hbm = nullptr;
    HGDIOBJ m_hOld = nullptr;
    uint32_t* m_pBits = nullptr;
};

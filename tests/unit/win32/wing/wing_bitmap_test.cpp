// WinG bitmaps: pixels in reach laid out as the header says, the header
// given back, and the colour table of the bitmap selected into a WinG DC.
#include "WinGTestSupport.h"

#include <sstream>
#include <vector>

namespace {

constexpr int32_t kWidth = 7;   // pitch 8: one padding byte a row
constexpr int32_t kHeight = 5;

std::string DescribeHeader(const BITMAPINFOHEADER& h, int32_t width, int32_t height)
{
    if (h.biSize == 40 && h.biWidth == width && h.biHeight == height && h.biPlanes == 1 && h.biBitCount == 8 &&
        h.biCompression == BI_RGB)
        return "";
    std::ostringstream d;
    d << "header given back: size " << h.biSize << ", width " << h.biWidth << ", height " << h.biHeight << ", planes "
      << h.biPlanes << ", bits " << h.biBitCount << ", compression " << h.biCompression << " (expected height "
      << height << ")";
    return d.str();
}

// Reads the bitmap (not selected anywhere) as 32-bit top-down pixels.
std::vector<uint32_t> ReadBack(HBITMAP hbm, int32_t width, int32_t height)
{
    std::vector<uint32_t> pixels(size_t(width * height), 0xFFFFFFFF);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    HDC hdc = CreateCompatibleDC(nullptr);
    const int lines = GetDIBits(hdc, hbm, 0, UINT(height), pixels.data(), &bi, DIB_RGB_COLORS);
    DeleteDC(hdc);
    EXPECT_EQ(lines, height);
    return pixels;
}

COLORREF AsColorRef(uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

}   // namespace

TEST(WinGBitmap, PixelsLieWhereTheHeaderSaysInBothOrientations)
{
    REQUIRE_WING();
    const WinGLibrary& wing = TheWinG();
    std::string headerDifference;
    for (const bool bTopDown : {false, true}) {
        SCOPED_TRACE(bTopDown ? "top-down" : "bottom-up");
        HDC hdc = wing.CreateDC();
        ASSERT_NE(hdc, nullptr);
        const Header8 hdr = MakeHeader8(kWidth, kHeight, bTopDown);
        void* pBits = nullptr;
        HBITMAP hbm = wing.CreateBitmap(hdc, reinterpret_cast<const BITMAPINFO*>(&hdr), &pBits);
        ASSERT_NE(hbm, nullptr);
        ASSERT_NE(pBits, nullptr);
        // Room for a colour table too, in case a library writes one.
        Header8 info;
        FillMemory(&info, sizeof info, 0xCD);
        EXPECT_EQ(wing.GetDIBPointer(hbm, reinterpret_cast<BITMAPINFO*>(&info)), pBits);
        if (headerDifference.empty())
            headerDifference = DescribeHeader(info.h, kWidth, hdr.h.biHeight);

        WritePattern(static_cast<uint8_t*>(pBits), kWidth, kHeight, bTopDown);
        GdiFlush();
        const std::vector<uint32_t> pixels = ReadBack(hbm, kWidth, kHeight);
        for (int32_t y = 0; y < kHeight; ++y)
            for (int32_t x = 0; x < kWidth; ++x)
                ASSERT_EQ(pixels[size_t(y * kWidth + x)] & 0xFFFFFF, TableColor(PatternIndex(x, y)))
                    << "pixel " << x << "," << y;

        // In a WinG DC the same pixels show, and the address stays put.
        HGDIOBJ old = SelectObject(hdc, hbm);
        ASSERT_NE(old, nullptr);
        for (int32_t y = 0; y < kHeight; ++y)
            for (int32_t x = 0; x < kWidth; ++x)
                ASSERT_EQ(GetPixel(hdc, x, y), AsColorRef(TableColor(PatternIndex(x, y)))) << "pixel " << x << "," << y;
        EXPECT_EQ(wing.GetDIBPointer(hbm, reinterpret_cast<BITMAPINFO*>(&info)), pBits);
        SelectObject(hdc, old);
        DeleteObject(hbm);
        DeleteDC(hdc);
    }
    EXPECT_SAME_OR_RECORD(headerDifference);
}

// The program asks for the pixels without a header out-pointer. Run in a
// child process, because a library that writes through it would crash.
TEST(WinGChild, DISABLED_PointerWithoutHeaderOutPointer)
{
    ExitOnCrash();
    REQUIRE_WING();
    const WinGLibrary& wing = TheWinG();
    HDC hdc = wing.CreateDC();
    const Header8 hdr = MakeHeader8(kWidth, kHeight, true);
    void* pBits = nullptr;
    HBITMAP hbm = wing.CreateBitmap(hdc, reinterpret_cast<const BITMAPINFO*>(&hdr), &pBits);
    ASSERT_NE(pBits, nullptr);
    EXPECT_EQ(wing.GetDIBPointer(hbm, nullptr), pBits);
    DeleteObject(hbm);
    DeleteDC(hdc);
}

TEST(WinGBitmap, PointerWithoutHeaderOutPointerIsThePixels)
{
    REQUIRE_WING();
    const DWORD code = RunTestInChild("WinGChild.DISABLED_PointerWithoutHeaderOutPointer");
    std::ostringstream d;
    if (code == kChildCrashed)
        d << "WinGGetDIBPointer(bitmap, null) writes through the null header pointer and crashes";
    else if (code != 0)
        d << "WinGGetDIBPointer(bitmap, null): the child run ended with code " << code;
    EXPECT_SAME_OR_RECORD(d.str());
}

TEST(WinGBitmap, ColourTableOfTheSelectedBitmapReadsAndWrites)
{
    REQUIRE_WING();
    const WinGLibrary& wing = TheWinG();
    CWinGSource src(kWidth, kHeight, true);
    ASSERT_TRUE(src.Valid());

    RGBQUAD table[256] = {};
    ASSERT_EQ(wing.GetDIBColorTable(src.m_hdc, 0, 256, table), 256u);
    for (uint32_t i = 0; i < 256; ++i) {
        const uint32_t c = (uint32_t(table[i].rgbRed) << 16) | (uint32_t(table[i].rgbGreen) << 8) | table[i].rgbBlue;
        ASSERT_EQ(c, TableColor(i)) << "entry " << i;
    }
    EXPECT_EQ(wing.GetDIBColorTable(src.m_hdc, 250, 10, table), 6u) << "clipped at the end";

    // Recolour the entry of pixel (0, 0); the pixel shows the new colour.
    const uint8_t index = PatternIndex(0, 0);
    const RGBQUAD fresh[2] = {{10, 20, 30, 0}, {40, 50, 60, 0}};
    EXPECT_EQ(wing.SetDIBColorTable(src.m_hdc, index, 2, fresh), 2u);
    RGBQUAD back[2] = {};
    ASSERT_EQ(wing.GetDIBColorTable(src.m_hdc, index, 2, back), 2u);
    EXPECT_EQ(back[0].rgbBlue, 10);
    EXPECT_EQ(back[1].rgbRed, 60);
    EXPECT_EQ(GetPixel(src.m_hdc, 0, 0), RGB(30, 20, 10));
}

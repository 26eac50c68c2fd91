// Loading the library by name, the recommended format, and what every entry
// point does with missing arguments.
#include "WinGTestSupport.h"

#include <sstream>

TEST(WinGLoad, TheLibraryAskedForLoadsWithAllTenEntryPointsOrNoneLoads)
{
    const std::string expect = ExpectedWinG();
    ASSERT_TRUE(expect == "ours" || expect == "wine" || expect == "none")
        << "VELMORA_WING_EXPECT is '" << expect << "'";
    const WinGLibrary& wing = TheWinG();
    if (expect == "none") {
        EXPECT_EQ(wing.hModule, nullptr) << wing.path;
        EXPECT_NE(wing.loadError, 0u);
        return;
    }
    ASSERT_NE(wing.hModule, nullptr) << "error " << wing.loadError;
    EXPECT_EQ(wing.nResolved, 10);
    EXPECT_EQ(wing.bOurs, expect == "ours") << wing.path;
}

namespace {

std::string DescribeRecommendation(const Header8& f)
{
    std::ostringstream d;
    const BITMAPINFOHEADER& h = f.h;
    if (h.biSize != 40 || h.biWidth != 1 || h.biHeight != -1 || h.biPlanes != 1 || h.biBitCount != 8 ||
        h.biCompression != BI_RGB || h.biSizeImage != 0 || h.biXPelsPerMeter != 0 || h.biYPelsPerMeter != 0 ||
        h.biClrUsed != 0 || h.biClrImportant != 0) {
        d << "recommended header: size " << h.biSize << ", width " << h.biWidth << ", height " << h.biHeight
          << ", planes " << h.biPlanes << ", bits " << h.biBitCount << ", compression " << h.biCompression
          << ", image size " << h.biSizeImage << ", pels/m " << h.biXPelsPerMeter << "/" << h.biYPelsPerMeter
          << ", colours used " << h.biClrUsed << "/" << h.biClrImportant
          << " (expected 40, 1, -1, 1, 8, 0 and zeros); ";
    }
    // The table: the system palette on a palette display, zeros otherwise.
    PALETTEENTRY sys[256] = {};
    HDC screen = GetDC(nullptr);
    const bool bPalette = (GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) != 0;
    if (bPalette)
        GetSystemPaletteEntries(screen, 0, 256, sys);
    ReleaseDC(nullptr, screen);
    for (int i = 0; i < 256; ++i) {
        const RGBQUAD& q = f.colors[i];
        if (q.rgbRed != sys[i].peRed || q.rgbGreen != sys[i].peGreen || q.rgbBlue != sys[i].peBlue ||
            q.rgbReserved != 0) {
            d << "colour " << i << " is " << int(q.rgbRed) << "," << int(q.rgbGreen) << "," << int(q.rgbBlue) << ","
              << int(q.rgbReserved) << " (expected " << (bPalette ? "the system palette's " : "zero ")
              << int(sys[i].peRed) << "," << int(sys[i].peGreen) << "," << int(sys[i].peBlue) << ")";
            break;
        }
    }
    return d.str();
}

}   // namespace

TEST(WinGRecommend, FillsTheWholeHeaderForTopDownRowsAndRefusesNoBuffer)
{
    REQUIRE_WING();
    const WinGLibrary& wing = TheWinG();
    Header8 format;
    FillMemory(&format, sizeof format, 0xCD);
    EXPECT_TRUE(wing.RecommendDIBFormat(reinterpret_cast<BITMAPINFO*>(&format)));
    EXPECT_FALSE(wing.RecommendDIBFormat(nullptr));
    EXPECT_SAME_OR_RECORD(DescribeRecommendation(format));
}

TEST(WinGNullArguments, EveryEntryPointFailsWithoutCrashing)
{
    REQUIRE_WING();
    const WinGLibrary& wing = TheWinG();
    HDC hdc = wing.CreateDC();
    ASSERT_NE(hdc, nullptr);

    void* pBits = reinterpret_cast<void*>(1);
    EXPECT_EQ(wing.CreateBitmap(hdc, nullptr, &pBits), nullptr);
    EXPECT_EQ(pBits, nullptr) << "the bits out-pointer is cleared on failure";
    EXPECT_EQ(wing.CreateBitmap(hdc, nullptr, nullptr), nullptr);

    BITMAPINFO info = {};
    EXPECT_EQ(wing.GetDIBPointer(nullptr, &info), nullptr);
    // A device-dependent bitmap has no pixels in reach.
    HBITMAP ddb = CreateBitmap(4, 4, 1, 1, nullptr);
    EXPECT_EQ(wing.GetDIBPointer(ddb, &info), nullptr);
    DeleteObject(ddb);

    RGBQUAD color = {};
    EXPECT_EQ(wing.GetDIBColorTable(hdc, 0, 1, nullptr), 0u);
    EXPECT_EQ(wing.SetDIBColorTable(hdc, 0, 1, nullptr), 0u);
    EXPECT_EQ(wing.GetDIBColorTable(nullptr, 0, 1, &color), 0u);
    EXPECT_EQ(wing.SetDIBColorTable(nullptr, 0, 1, &color), 0u);
    // A DC without a bitmap section has no colour table.
    EXPECT_EQ(wing.GetDIBColorTable(hdc, 0, 1, &color), 0u);

    EXPECT_FALSE(wing.BitBlt(nullptr, 0, 0, 1, 1, hdc, 0, 0));
    EXPECT_FALSE(wing.BitBlt(hdc, 0, 0, 1, 1, nullptr, 0, 0));
    EXPECT_FALSE(wing.StretchBlt(nullptr, 0, 0, 2, 2, hdc, 0, 0, 1, 1));
    EXPECT_FALSE(wing.StretchBlt(hdc, 0, 0, 2, 2, nullptr, 0, 0, 1, 1));
    DeleteDC(hdc);
}

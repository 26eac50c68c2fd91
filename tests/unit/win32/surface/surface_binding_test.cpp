// The WinG binding, run as its own process for each library a test entry
// chooses through WINEDLLOVERRIDES: our WING32.DLL ("ours"), Wine's own
// ("wine") or none ("none"), named in VELMORA_WING_LIBRARY.
#include "SurfaceTestSupport.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const char kMessage[] = "QUARVELL is profiling your video for optimal performance!";

std::string Library()
{
    const char* p = std::getenv("VELMORA_WING_LIBRARY");
    return p ? p : "";
}

bool LibraryPresent() { return Library() != "none"; }

// Our library recommends top-down rows; Wine's reports success without
// filling the header, which reads as bottom-up.
int32_t RecommendedOrientation() { return Library() == "ours" ? ORIENT_TOP_DOWN : ORIENT_BOTTOM_UP; }

int32_t ExpectedColorUse() { return ScreenHasPalette() ? DIB_PAL_COLORS : DIB_RGB_COLORS; }

class Binding : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Library() == "ours" || Library() == "wine" || Library() == "none")
            << "VELMORA_WING_LIBRARY must name the library under test";
        ResetDisplaySurfaceForTesting();
        ASSERT_EQ(GetModuleHandleA("WING32.DLL"), nullptr);
        WriteProfileStringA("WinG", "ProfileMessage", "before");
    }
    void TearDown() override { ResetDisplaySurfaceForTesting(); }
};

TEST_F(Binding, ScreenMatchesTheTestEntry)
{
    const char* screen = std::getenv("VELMORA_SCREEN");
    ASSERT_NE(screen, nullptr);
    HDC hdc = GetDC(nullptr);
    const int bits = GetDeviceCaps(hdc, BITSPIXEL);
    ReleaseDC(nullptr, hdc);
    EXPECT_EQ(std::string(screen) == "8", bits == 8);
    EXPECT_EQ(bits == 8, ScreenHasPalette());
}

TEST_F(Binding, InitialisationFollowsTheLibraryAndTheDisplay)
{
    InitDisplaySurface(kMessage, FALSE, 0);
    EXPECT_TRUE(g_bWinGTried);
    EXPECT_EQ(g_bWinGLoaded, LibraryPresent() ? TRUE : FALSE);
    EXPECT_EQ(g_hWinGModule != nullptr, LibraryPresent());
    EXPECT_EQ(g_bWinGInUse, LibraryPresent() ? TRUE : FALSE);
    EXPECT_EQ(g_hWinGDC != nullptr, LibraryPresent());
    EXPECT_EQ(g_nOrientation, LibraryPresent() ? RecommendedOrientation() : ORIENT_BOTTOM_UP);
    EXPECT_EQ(g_nColorUse, ExpectedColorUse());
    // Loaded: the message was emptied again. Missing: it stays.
    EXPECT_EQ(ProfileMessage(), LibraryPresent() ? "" : kMessage);
    for (const BITMAPINFOHEADER* p : {&g_bmiRGB.bmiHeader, &g_bmiIndex.bmiHeader}) {
        EXPECT_EQ(p->biSize, 40u);
        EXPECT_EQ(p->biPlanes, 1);
        EXPECT_EQ(p->biBitCount, 8);
        EXPECT_EQ(p->biWidth, 0);
        EXPECT_EQ(p->biCompression, DWORD(BI_RGB));
    }
    if (LibraryPresent()) {
        // The entry points are the library's own, in their table order.
        EXPECT_EQ(reinterpret_cast<void*>(g_WinG.pfnCreateDC),
                  reinterpret_cast<void*>(GetProcAddress(g_hWinGModule, "WinGCreateDC")));
        EXPECT_EQ(reinterpret_cast<void*>(g_WinG.pfnStretchBlt),
                  reinterpret_cast<void*>(GetProcAddress(g_hWinGModule, "WinGStretchBlt")));
        EXPECT_EQ(reinterpret_cast<void*>(g_WinG.pfnCreateHalftonePalette),
                  reinterpret_cast<void*>(GetProcAddress(g_hWinGModule, "WinGCreateHalftonePalette")));
    }

    // A second load attempt only reports the first result.
    WriteProfileStringA("WinG", "ProfileMessage", "untouched");
    EXPECT_EQ(LoadWinG("another message"), LibraryPresent() ? TRUE : FALSE);
    EXPECT_EQ(ProfileMessage(), "untouched");

    FreeWinG();
    EXPECT_EQ(g_hWinGDC, nullptr);
    EXPECT_EQ(g_hWinGModule, nullptr);
    EXPECT_EQ(GetModuleHandleA("WING32.DLL"), nullptr);
}

TEST_F(Binding, DoNotUseNeverTouchesTheLibraryOrWinIni)
{
    InitDisplaySurface(kMessage, TRUE, ORIENT_TOP_DOWN);
    EXPECT_TRUE(g_bWinGTried);
    EXPECT_FALSE(g_bWinGLoaded);
    EXPECT_FALSE(g_bWinGInUse);
    EXPECT_EQ(g_nOrientation, ORIENT_BOTTOM_UP);
    EXPECT_EQ(g_nColorUse, ExpectedColorUse());
    EXPECT_EQ(g_hWinGDC, nullptr);
    EXPECT_EQ(GetModuleHandleA("WING32.DLL"), nullptr);
    EXPECT_EQ(ProfileMessage(), "before");
    EXPECT_FALSE(LoadWinG(kMessage));   // refused for the whole process
    EXPECT_EQ(ProfileMessage(), "before");
}

TEST_F(Binding, ForcedOrientationAppliesOnlyWithWinG)
{
    struct Case {
        int32_t nForce;
        int32_t nWithWinG;
    };
    // 7 is no valid choice and counts as none: the recommendation decides.
    for (Case c : {Case{0, RecommendedOrientation()}, Case{1, ORIENT_BOTTOM_UP}, Case{2, ORIENT_TOP_DOWN},
                   Case{7, RecommendedOrientation()}, Case{-1, RecommendedOrientation()}}) {
        ResetDisplaySurfaceForTesting();
        InitDisplaySurface(nullptr, FALSE, c.nForce);
        EXPECT_EQ(g_nOrientation, LibraryPresent() ? c.nWithWinG : ORIENT_BOTTOM_UP) << "force " << c.nForce;
        // Every buffer's header agrees with its row offsets.
        CDibG dib;
        dib.Create(4, 3, nullptr);
        const bool bHeaderTopDown = dib.GetBitmapInfo()->bmiHeader.biHeight < 0;
        const bool bOffsetsTopDown = dib.GetRowOffsets()[0] == 0;
        EXPECT_EQ(bHeaderTopDown, bOffsetsTopDown) << "force " << c.nForce;
        EXPECT_EQ(bHeaderTopDown, g_nOrientation == ORIENT_TOP_DOWN) << "force " << c.nForce;
    }
    // No message given: WIN.INI is not written.
    EXPECT_EQ(ProfileMessage(), "before");
}

TEST_F(Binding, TheLibrarysRecommendation)
{
    if (!LibraryPresent())
        GTEST_SKIP() << "no library";
    ASSERT_TRUE(LoadWinG(nullptr));
    // Whatever the buffer held before, the library writes its own answer.
    SharedBmiRGB zeroed = {};
    SharedBmiRGB dirty;
    std::memset(&dirty, 0xFF, sizeof dirty);   // biHeight -1 if left alone
    EXPECT_TRUE(g_WinG.pfnRecommendDIBFormat(reinterpret_cast<BITMAPINFO*>(&zeroed)));
    EXPECT_TRUE(g_WinG.pfnRecommendDIBFormat(reinterpret_cast<BITMAPINFO*>(&dirty)));
    const LONG nHeight = RecommendedOrientation() == ORIENT_TOP_DOWN ? -1 : 1;
    EXPECT_EQ(zeroed.bmiHeader.biHeight, nHeight);
    EXPECT_EQ(dirty.bmiHeader.biHeight, nHeight);
    EXPECT_EQ(dirty.bmiHeader.biSize, 40u);
}

TEST_F(Binding, BuffersLiveInTheLibrarysBitmaps)
{
    InitDisplaySurface(nullptr, FALSE, 0);
    CDibG dib;
    dib.CreateWithPalette(33, 5, nullptr);
    EXPECT_EQ(dib.m_hBitmap != nullptr, LibraryPresent());
    dib.Fill(0);
    dib.SetPixel(32, 4, 200);
    EXPECT_EQ(dib.GetBits()[dib.GetRowOffsets()[4] + 32], 200);
    if (LibraryPresent()) {
        // The bitmap is a DIB section whose pixels are the buffer's.
        DIBSECTION ds = {};
        ASSERT_EQ(GetObjectA(dib.m_hBitmap, sizeof ds, &ds), int(sizeof ds));
        EXPECT_EQ(ds.dsBm.bmBits, dib.GetBits());
        EXPECT_EQ(ds.dsBm.bmWidthBytes, 36);
        EXPECT_EQ(dib.SelectIntoSharedDC() != nullptr, true);
    }
    dib.Destroy();
}

}   // namespace

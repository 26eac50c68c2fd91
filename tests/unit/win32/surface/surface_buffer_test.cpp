// The frame buffer in the three surface configurations: plain DIB memory,
// WinG bitmaps with bottom-up rows and WinG bitmaps with top-down rows.
#include "SurfaceTestSupport.h"
#include <gtest/gtest.h>
#include <psapi.h>
#include <cstring>
#include <initializer_list>

namespace {

class FrameBuffer : public ::testing::TestWithParam<SurfaceConfig> {
protected:
    void SetUp() override { ASSERT_TRUE(ConfigureSurface(GetParam())) << ConfigName(GetParam()); }
    void TearDown() override { ResetDisplaySurfaceForTesting(); }
    bool TopDown() const { return GetParam() == SurfaceConfig::WinGTopDown; }
};

INSTANTIATE_TEST_SUITE_P(Configs, FrameBuffer,
                         ::testing::Values(SurfaceConfig::Plain, SurfaceConfig::WinGBottomUp,
                                           SurfaceConfig::WinGTopDown),
                         [](const auto& info) {
                             switch (info.param) {
                             case SurfaceConfig::Plain: return std::string("Plain");
                             case SurfaceConfig::WinGBottomUp: return std::string("WinGBottomUp");
                             default: return std::string("WinGTopDown");
                             }
                         });

TEST_P(FrameBuffer, GeometryRowOffsetsAndHeaderFollowTheOrientation)
{
    auto pal = MakeTestPalette();
    CDibG dib;
    EXPECT_FALSE(dib.IsCreated());
    EXPECT_FALSE(dib.IsValid());
    dib.CreateWithPalette(320, 200, pal.get());
    ASSERT_TRUE(dib.IsCreated());
    EXPECT_TRUE(dib.IsValid());
    EXPECT_TRUE(dib.IsReady());
    EXPECT_EQ(dib.GetPalette(), pal.get());
    EXPECT_EQ(dib.GetWidth(), 320);
    EXPECT_EQ(dib.GetHeight(), 200);
    EXPECT_EQ(dib.GetPitch(), 320);
    EXPECT_EQ(dib.GetImageSize(), 64000u);
    EXPECT_EQ(dib.GetBitmapInfo()->bmiHeader.biHeight, TopDown() ? -200 : 200);
    EXPECT_EQ(dib.GetBitmapInfo()->bmiHeader.biBitCount, 8);
    EXPECT_EQ(dib.GetRowOffsets()[0], TopDown() ? 0 : 63680);
    EXPECT_EQ(dib.GetRowOffsets()[199], TopDown() ? 63680 : 0);
    EXPECT_EQ(dib.m_hBitmap != nullptr, g_bWinGInUse == TRUE);
    RECT rc;
    EXPECT_EQ(dib.GetRect(rc).right, 319);
    EXPECT_EQ(rc.left, 0);
    EXPECT_EQ(rc.top, 0);
    EXPECT_EQ(rc.bottom, 199);
    SIZE size;
    EXPECT_EQ(dib.GetSize(size).cx, 320);
    EXPECT_EQ(size.cy, 200);
    EXPECT_STREQ(dib.GetRuntimeClass()->m_lpszClassName, "CDibG");
    EXPECT_EQ(dib.GetRuntimeClass()->m_wSchema, 0xFFFFu);
    EXPECT_TRUE(dib.IsKindOf(RUNTIME_CLASS(CObject)));
}

TEST_P(FrameBuffer, PixelAddressIsBitsPlusRowOffsetPlusX)
{
    auto pal = MakeTestPalette();
    CDibG dib;
    dib.CreateWithPalette(SIZE{321, 7}, pal.get());
    ASSERT_EQ(dib.GetPitch(), 324);
    dib.Fill(0);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 321; x += 40)
            dib.SetPixel(x, y, BYTE(y * 30 + x / 40 + 1));
    for (int y = 0; y < 7; ++y) {
        // Memory row of image row y: counted from the top or the bottom.
        const int memoryRow = TopDown() ? y : 6 - y;
        for (int x = 0; x < 321; x += 40) {
            const BYTE expected = BYTE(y * 30 + x / 40 + 1);
            EXPECT_EQ(dib.GetBits()[dib.GetRowOffsets()[y] + x], expected);
            EXPECT_EQ(dib.GetBits()[memoryRow * 324 + x], expected);
            EXPECT_EQ(dib.GetPixel(POINT{x, y}), expected);
            EXPECT_EQ(dib.GetPixelPtr(x, y), dib.GetBits() + dib.GetPixelOffset(x, y));
            EXPECT_EQ(dib.GetLinePtr(y), dib.GetRowPtr(y));
            EXPECT_EQ(dib.GetLineOffset(y), dib.GetRowOffset(y));
        }
    }
    if (g_bWinGInUse) {
        // The WinG bitmap sees the same bytes: GDI reads pixel (0, 0) back.
        ASSERT_NE(dib.SelectIntoSharedDC(), nullptr);
        PALETTEENTRY e = {};
        GetPaletteEntries(HPALETTE(pal->m_hObject), 1, 1, &e);
        EXPECT_EQ(::GetPixel(g_hWinGDC, 0, 0), RGB(e.peRed, e.peGreen, e.peBlue));
    }
}

TEST_P(FrameBuffer, FillWritesEveryByteIncludingPaddingAndNothingWhenNotCreated)
{
    CDibG empty;
    empty.Fill(7);   // image size 0: no write, no crash
    EXPECT_EQ(empty.GetImageSize(), 0u);

    auto pal = MakeTestPalette();
    CDibG dib;
    dib.Create(321, 3, pal.get());
    ASSERT_EQ(dib.GetImageSize(), 324u * 3u);
    dib.Fill(0xA5);
    for (DWORD i = 0; i < dib.GetImageSize(); ++i)
        ASSERT_EQ(dib.GetBits()[i], 0xA5) << "byte " << i;
}

TEST_P(FrameBuffer, CreateOnACreatedBufferChangesNothingAndDestroyIsIdempotent)
{
    auto pal = MakeTestPalette();
    CDibG dib;
    dib.CreateBuffer(16, 8, pal.get());
    dib.Fill(3);
    BYTE* pBits = dib.GetBits();
    RGBQUAD firstColor = dib.m_colors[20];
    dib.CreateBuffer(64, 64, nullptr);
    EXPECT_EQ(dib.GetWidth(), 16);
    EXPECT_EQ(dib.GetHeight(), 8);
    EXPECT_EQ(dib.GetBits(), pBits);
    EXPECT_EQ(dib.GetPixel(15, 7), 3);
    EXPECT_EQ(std::memcmp(&dib.m_colors[20], &firstColor, sizeof firstColor), 0);
    EXPECT_EQ(dib.GetPalette(), pal.get());

    dib.Destroy();
    EXPECT_FALSE(dib.IsCreated());
    EXPECT_EQ(dib.GetBits(), nullptr);
    EXPECT_EQ(dib.GetRowOffsets(), nullptr);
    EXPECT_EQ(dib.m_hBitmap, nullptr);
    dib.Destroy();
    EXPECT_FALSE(dib.IsCreated());
    // Created again, at another size.
    dib.CreateBuffer(33, 2, pal.get());
    EXPECT_EQ(dib.GetPitch(), 36);
    EXPECT_EQ(dib.GetRowOffsets()[0], TopDown() ? 0 : 36);
}

TEST_P(FrameBuffer, ColourTableFollowsTheColourUsage)
{
    auto pal = MakeTestPalette();
    CDibG dib;
    dib.CreateWithPalette(8, 8, pal.get());
    if (!g_bWinGInUse && g_nColorUse == DIB_PAL_COLORS) {
        const WORD* pIndices = reinterpret_cast<const WORD*>(dib.m_colors);
        for (int i = 0; i < 256; ++i)
            ASSERT_EQ(pIndices[i], i);
    } else {
        for (int i = 0; i < 256; ++i) {
            const RGBQUAD q = dib.m_colors[i];
            ASSERT_EQ((uint32_t(q.rgbRed) << 16) | (uint32_t(q.rgbGreen) << 8) | q.rgbBlue, PaletteRGB(*pal, i));
            ASSERT_EQ(q.rgbReserved, 0);
        }
    }
    // The shared presentation headers carry the palette and the indices.
    for (int i = 0; i < 256; ++i) {
        const RGBQUAD q = g_bmiRGB.bmiColors[i];
        ASSERT_EQ((uint32_t(q.rgbRed) << 16) | (uint32_t(q.rgbGreen) << 8) | q.rgbBlue, PaletteRGB(*pal, i));
        ASSERT_EQ(g_bmiIndex.bmiIndices[i], i);
    }
    EXPECT_EQ(g_bmiRGB.bmiHeader.biSize, 40u);
    EXPECT_EQ(g_bmiIndex.bmiHeader.biBitCount, 8);
}

TEST_P(FrameBuffer, CopyBitsInReversesRowsOnlyAcrossOrientations)
{
    CDibG dib;
    dib.Create(4, 3, nullptr);
    const BYTE bottomUp[12] = {20, 21, 22, 23, 10, 11, 12, 13, 0, 1, 2, 3};   // top row last
    const BYTE topDown[12] = {0, 1, 2, 3, 10, 11, 12, 13, 20, 21, 22, 23};
    for (const BYTE* pSource : {bottomUp, topDown}) {
        dib.Fill(0xEE);
        dib.CopyBitsIn(pSource, pSource == bottomUp ? ORIENT_BOTTOM_UP : ORIENT_TOP_DOWN);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x)
                ASSERT_EQ(dib.GetPixel(x, y), y * 10 + x);
    }
}

TEST_P(FrameBuffer, SelectingIntoTheSharedDcAndDestroyingASelectedBuffer)
{
    auto pal = MakeTestPalette();
    CDibG first, second;
    first.CreateWithPalette(32, 16, pal.get());
    second.CreateWithPalette(32, 16, pal.get());
    if (!g_bWinGInUse) {
        EXPECT_EQ(first.SelectIntoSharedDC(), nullptr);
        EXPECT_FALSE(first.IsSelected());
        return;
    }
    HBITMAP hInitial = first.SelectIntoSharedDC();
    ASSERT_NE(hInitial, nullptr);
    EXPECT_EQ(g_hbmInitial, hInitial);
    EXPECT_TRUE(first.IsSelected());
    EXPECT_EQ(g_pSelectedDib, &first);
    EXPECT_EQ(first.SelectIntoSharedDC(), nullptr);   // already selected: no change
    EXPECT_EQ(g_pSelectedDib, &first);

    EXPECT_EQ(second.SelectIntoSharedDC(), first.m_hBitmap);
    EXPECT_FALSE(first.IsSelected());
    EXPECT_TRUE(second.IsSelected());
    EXPECT_EQ(g_pSelectedDib, &second);
    EXPECT_EQ(GetCurrentObject(g_hWinGDC, OBJ_BITMAP), second.m_hBitmap);

    // A buffer without a bitmap, asked directly or through a WinG copy,
    // leaves the selection alone.
    CDibG never;
    EXPECT_EQ(never.SelectIntoSharedDC(), nullptr);
    CCanvas canvas(8, 8);
    never.Draw(&canvas.m_dc, 0, 0);
    EXPECT_TRUE(second.IsSelected());
    EXPECT_EQ(g_pSelectedDib, &second);
    EXPECT_FALSE(never.IsSelected());

    HBITMAP hSecond = second.m_hBitmap;
    second.Destroy();
    EXPECT_EQ(GetCurrentObject(g_hWinGDC, OBJ_BITMAP), hInitial);
    EXPECT_EQ(g_pSelectedDib, nullptr);
    EXPECT_FALSE(second.IsSelected());
    EXPECT_EQ(GetObjectType(hSecond), 0u);   // deleted, not left selected
    // The not-selected buffer is destroyed without touching the shared DC.
    first.Destroy();
    EXPECT_EQ(GetCurrentObject(g_hWinGDC, OBJ_BITMAP), hInitial);
}

TEST_P(FrameBuffer, OwnDcIsMadeOnRequestAndDeletedOnRelease)
{
    CDibG dib;
    dib.UseOwnDC(TRUE);
    if (!g_bWinGInUse) {
        // Without WinG loaded there is no library to make one with.
        EXPECT_EQ(dib.m_hOwnDC, nullptr);
        return;
    }
    HDC hOwn = dib.m_hOwnDC;
    ASSERT_NE(hOwn, nullptr);
    dib.UseOwnDC(TRUE);
    EXPECT_EQ(dib.m_hOwnDC, hOwn);
    dib.UseOwnDC(FALSE);
    EXPECT_EQ(dib.m_hOwnDC, nullptr);
    EXPECT_EQ(GetObjectType(hOwn), 0u);
}

TEST_P(FrameBuffer, ImpossibleSizesRaiseTheMemoryExceptionAndLeaveTheBufferNotCreated)
{
    // Among them widths whose pitch (from 2147483645 up) or pixel block
    // does not fit 32 bits, and a negative height.
    for (SIZE size : {SIZE{0, 10}, SIZE{10, 0}, SIZE{-4, 10}, SIZE{10, -4}, SIZE{0x7FFFFFF0, 0x7FFFFFF0},
                      SIZE{2147483645, 1}, SIZE{2147483646, 2}, SIZE{2147483647, 3}, SIZE{0x40000000, 2}}) {
        CDibG dib;
        bool bThrown = false;
        try {
            dib.CreateWithPalette(size, nullptr);
        } catch (CException* e) {
            bThrown = e->IsKindOf(RUNTIME_CLASS(CMemoryException));
            e->Delete();
        }
        EXPECT_TRUE(bThrown) << size.cx << " x " << size.cy;
        EXPECT_FALSE(dib.IsCreated());
        EXPECT_EQ(dib.GetPitch(), 0) << size.cx << " x " << size.cy;
        EXPECT_EQ(dib.GetImageSize(), 0u) << size.cx << " x " << size.cy;
    }
}

// A buffer whose creation fails after its pixel block has been made.
class CFailingRowsDib : public CDibG {
public:
    void BuildRowOffsets() override { ThrowMemoryError(); }
};

TEST_P(FrameBuffer, PixelOperationsOnABufferThatIsNotCreatedDoNothing)
{
    auto pal = MakeTestPalette();
    CDibG source;
    source.Create(8, 4, pal.get());
    source.Fill(5);
    CDibG destroyed;
    destroyed.Create(8, 4, pal.get());
    destroyed.Destroy();
    CFailingRowsDib failed;
    try {
        failed.Create(8, 4, pal.get());
    } catch (CException* e) {
        e->Delete();
    }
    CDibG never;
    const BYTE bytes[32] = {};
    for (CDibG* pDib : std::initializer_list<CDibG*>{&destroyed, &failed, &never}) {
        ASSERT_FALSE(pDib->IsCreated());
        EXPECT_EQ(pDib->GetImageSize(), 0u);
        pDib->Fill(7);
        pDib->FillRGB(RGBTRIPLE{1, 2, 3});
        pDib->SetPixel(1, 1, 7);
        EXPECT_EQ(pDib->GetPixel(1, 1), 0);
        EXPECT_EQ(pDib->GetPixelPtr(1, 1), nullptr);
        EXPECT_EQ(pDib->GetRowPtr(1), nullptr);
        pDib->PutBytes(bytes, SIZE{8, 4}, POINT{0, 0});
        pDib->CopyRect(&source, POINT{0, 0}, POINT{0, 0}, SIZE{8, 4});
        pDib->CopyRectTransparent(&source, POINT{0, 0}, POINT{0, 0}, SIZE{8, 4});
        pDib->CopyBitsIn(bytes, ORIENT_BOTTOM_UP);
        pDib->FlipVertical();
        // Nor is a buffer that is not created a source.
        source.CopyRect(pDib, POINT{0, 0}, POINT{0, 0}, SIZE{8, 4});
        source.CopyRectTransparent(pDib, POINT{1, 0}, POINT{0, 0}, SIZE{7, 4});
        EXPECT_FALSE(pDib->IsCreated());
    }
    EXPECT_EQ(source.GetPixel(0, 0), 5);
    EXPECT_EQ(source.GetPixel(7, 3), 5);
}

// Counts the process's GDI objects and its committed private memory.
struct Usage {
    DWORD gdiObjects;
    SIZE_T privateBytes;
};

// The system's count when it keeps one; Wine's GetGuiResources reports 0,
// so there the live objects are counted by probing the handle table, whose
// index is the low word of a handle (a handle with a zero high word names
// whatever object holds that index).
DWORD CountGdiObjects()
{
    DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (n)
        return n;
    for (ULONG_PTR i = 1; i < 0x10000; ++i)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(i)))
            ++n;
    return n;
}

Usage MeasureUsage()
{
    PROCESS_MEMORY_COUNTERS pmc = {};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    return Usage{CountGdiObjects(), pmc.PagefileUsage};
}

TEST_P(FrameBuffer, AThousandCreateSelectDestroyCyclesLeakNothing)
{
    auto pal = MakeTestPalette();
    auto cycle = [&] {
        CDibG dib;
        dib.CreateWithPalette(320, 200, pal.get());
        dib.SelectIntoSharedDC();
        dib.Fill(1);
        dib.Destroy();
    };
    for (int i = 0; i < 10; ++i)
        cycle();   // first-use allocations settle before measuring
    const Usage before = MeasureUsage();
    for (int i = 0; i < 1000; ++i)
        cycle();
    const Usage after = MeasureUsage();
    ASSERT_GT(before.gdiObjects, 0u) << "no GDI object count from the system";
    EXPECT_LE(after.gdiObjects, before.gdiObjects + 2)
        << "GDI objects " << before.gdiObjects << " -> " << after.gdiObjects;
    // One leaked buffer per cycle would be 64 MB.
    EXPECT_LT(after.privateBytes, before.privateBytes + 4u * 1024u * 1024u)
        << "private bytes " << before.privateBytes << " -> " << after.privateBytes;
}

TEST(FrameBufferState, StartValuesBeforeInitialisation)
{
    ResetDisplaySurfaceForTesting();
    EXPECT_FALSE(g_bWinGInUse);
    EXPECT_EQ(g_nOrientation, ORIENT_BOTTOM_UP);
    EXPECT_EQ(g_nColorUse, DIB_RGB_COLORS);
    EXPECT_EQ(g_hWinGDC, nullptr);
    EXPECT_EQ(g_pSelectedDib, nullptr);
    // A buffer works on the start values: plain memory, bottom-up.
    CDibG dib;
    dib.Create(4, 2, nullptr);
    EXPECT_EQ(dib.GetRowOffsets()[0], 4);
    EXPECT_EQ(dib.m_hBitmap, nullptr);
}

}   // namespace

// Construction, deletion, rebuilding and reading the colours back.
#include "PaletteTestSupport.h"
#include <cstring>

namespace {

// The process's GDI object count. Wine answers 0, so there the handle
// checks next to it carry the test.
DWORD GdiObjects() { return ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS); }

std::array<RGBQUAD, 256> Marked()
{
    std::array<RGBQUAD, 256> q;
    std::memset(q.data(), 0x5A, sizeof q);
    return q;
}

bool Unchanged(const std::array<RGBQUAD, 256>& q) { return std::memcmp(q.data(), Marked().data(), sizeof q) == 0; }

}   // namespace

TEST(PaletteLifecycle, ColoursComeBackOnlyWhileThereIsAPalette)
{
    CPalId pal;
    EXPECT_FALSE(pal.IsCreated());
    EXPECT_FALSE(pal.IsValid());
    EXPECT_FALSE(pal.HasPalette());
    auto out = Marked();
    EXPECT_FALSE(pal.GetRGBQuads(out.data()));
    EXPECT_TRUE(Unchanged(out));
    EXPECT_FALSE(pal.DeletePalette());

    const Entries src = SourceColors();
    pal.CreateFromRGBQuad(AsQuads(src).data(), FALSE);
    EXPECT_TRUE(pal.IsCreated() && pal.IsValid() && pal.HasPalette());
    ASSERT_TRUE(pal.GetRGBQuads(out.data()));
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(out[i].rgbRed, src[i].peRed);
        EXPECT_EQ(out[i].rgbGreen, src[i].peGreen);
        EXPECT_EQ(out[i].rgbBlue, src[i].peBlue);
        EXPECT_EQ(out[i].rgbReserved, 0);
    }

    const HGDIOBJ hOld = pal.m_hObject;
    EXPECT_TRUE(pal.DeletePalette());
    EXPECT_EQ(pal.m_hObject, nullptr);
    EXPECT_EQ(::GetObjectType(hOld), 0u);
    EXPECT_FALSE(pal.IsCreated());
    out = Marked();
    EXPECT_FALSE(pal.GetRGBQuads(out.data()));
    EXPECT_TRUE(Unchanged(out));
    EXPECT_FALSE(pal.Release());

    // Built again after the deletion.
    pal.SetFromRGBQuad(AsQuads(src).data(), FALSE);
    EXPECT_TRUE(pal.IsCreated());
    EXPECT_NE(pal.m_hObject, nullptr);
    EXPECT_TRUE(pal.Release());
    EXPECT_FALSE(pal.IsCreated());
}

TEST(PaletteLifecycle, BuiltWithoutAPaletteHandleReportsNothingToCopy)
{
    // The state a failed palette creation leaves: built, but no handle.
    CPalId pal;
    pal.CreateFromRGBQuad(AsQuads(SourceColors()).data(), FALSE);
    ::DeleteObject(pal.Detach());
    EXPECT_TRUE(pal.IsCreated());
    auto out = Marked();
    EXPECT_FALSE(pal.GetRGBQuads(out.data()));
    EXPECT_TRUE(Unchanged(out));
    EXPECT_FALSE(pal.DeletePalette());
    EXPECT_FALSE(pal.IsCreated());
}

TEST(PaletteLifecycle, UnknownFileTypeBuildsNothing)
{
    CPalId pal;
    for (int type : {0, 3, 4, -1}) {
        pal.CreateFromFile("C:\\no such file.bmp", type, TRUE);
        pal.SetFromFile("C:\\no such file.bmp", type, FALSE);
    }
    EXPECT_EQ(pal.m_bCreated, 0);
    EXPECT_EQ(pal.m_hObject, nullptr);
}

TEST(PaletteLifecycle, RebuildingReplacesThePaletteWithoutLeakingIt)
{
    const DWORD before = GdiObjects();
    {
        CPalId pal;
        const Entries src = SourceColors();
        pal.CreateFromRGBQuad(AsQuads(src).data(), FALSE);
        const HGDIOBJ hFirst = pal.m_hObject;
        Entries other = src;
        other[0] = PALETTEENTRY{1, 2, 3, 0};
        pal.CreateFromRGBQuad(AsQuads(other).data(), FALSE);
        EXPECT_NE(pal.m_hObject, nullptr);
        EXPECT_EQ(::GetObjectType(pal.m_hObject), DWORD(OBJ_PAL));
        EXPECT_NE(pal.m_hObject, hFirst);
        EXPECT_EQ(::GetObjectType(hFirst), 0u);
        EXPECT_TRUE(SameColor(ReadEntries(pal)[0], other[0]));
    }
    EXPECT_EQ(GdiObjects(), before);
}

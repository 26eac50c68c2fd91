// Builds from bitmap and PCX files, and what bad files do.
#include "PaletteTestSupport.h"
#include "framework/File.h"

namespace {

// Runs the build and returns the runtime class of what it raised (null
// when nothing was raised).
template <class F> const CRuntimeClass* Raised(F build)
{
    try {
        build();
    } catch (CException* e) {
        const CRuntimeClass* c = e->GetRuntimeClass();
        e->Delete();
        return c;
    }
    return nullptr;
}

Entries FileColors()
{
    Entries e = SourceColors();
    for (PALETTEENTRY& x : e)
        x.peBlue = BYTE(x.peBlue ^ 0x55);
    return e;
}

}   // namespace

TEST(PaletteFiles, BitmapAndPcxFilesGiveTheirColours)
{
    const Entries colors = FileColors();
    TempFile bmp("velmora_pal.bmp", BmpFileBytes(AsQuads(colors)));
    TempFile pcx("velmora_pal.pcx", PcxFileBytes(colors));
    for (int type : {1, 2}) {
        SCOPED_TRACE(type);
        CPalId pal;
        pal.CreateFromFile(type == 1 ? bmp.Path() : pcx.Path(), type, FALSE);
        ASSERT_TRUE(pal.IsCreated());
        const Entries log = ReadEntries(pal);
        for (int i = 0; i < 256; ++i)
            EXPECT_TRUE(SameEntry(log[i], colors[i])) << "entry " << i;

        // With identity the file build is the table build.
        CPalId fromFile, fromTable;
        fromFile.SetFromFile(type == 1 ? bmp.Path() : pcx.Path(), type, TRUE);
        fromTable.CreateFromRGBQuad(AsQuads(colors).data(), TRUE);
        const Entries a = ReadEntries(fromFile), b = ReadEntries(fromTable);
        for (int i = 0; i < 256; ++i)
            EXPECT_TRUE(SameEntry(a[i], b[i])) << "entry " << i;
    }
    EXPECT_TRUE(bmp.IsClosed());
    EXPECT_TRUE(pcx.IsClosed());
}

TEST(PaletteFiles, ShortBitmapColourTableLeavesTheRestBlack)
{
    const Entries colors = FileColors();
    // Two whole entries and the blue and green bytes of a third.
    TempFile bmp("velmora_short.bmp", BmpFileBytes(AsQuads(colors)).substr(0, 54 + 10));
    CPalId pal;
    pal.ReadBmpColorTable(bmp.Path(), FALSE);
    const Entries log = ReadEntries(pal);
    EXPECT_TRUE(SameEntry(log[0], colors[0]));
    EXPECT_TRUE(SameEntry(log[1], colors[1]));
    EXPECT_TRUE(SameEntry(log[2], (PALETTEENTRY{0, colors[2].peGreen, colors[2].peBlue, 0})));
    for (int i = 3; i < 256; ++i)
        EXPECT_TRUE(SameEntry(log[i], (PALETTEENTRY{0, 0, 0, 0}))) << "entry " << i;
}

TEST(PaletteFiles, BadFilesRaiseAndLeaveTheObjectAsItWas)
{
    const Entries colors = FileColors();
    const std::string bmpBytes = BmpFileBytes(AsQuads(colors));
    TempFile headerOnly("velmora_54.bmp", bmpBytes.substr(0, 54));
    TempFile truncated("velmora_40.bmp", bmpBytes.substr(0, 40));
    TempFile shortPcx("velmora_767.pcx", std::string(767, '\x0C'));
    const std::string missing = TempPath("velmora_missing.bmp");

    struct Case {
        const char* what;
        std::string path;
        int type;
        const CRuntimeClass* raised;
        const TempFile* file;
    };
    const Case cases[] = {
        {"missing bitmap", missing, 1, RUNTIME_CLASS(CResourceException), nullptr},
        {"missing PCX", missing, 2, RUNTIME_CLASS(CResourceException), nullptr},
        {"bitmap ending at offset 54", headerOnly.Path(), 1, RUNTIME_CLASS(CResourceException), &headerOnly},
        {"bitmap ending inside its header", truncated.Path(), 1, RUNTIME_CLASS(CResourceException), &truncated},
        {"PCX of 767 bytes", shortPcx.Path(), 2, RUNTIME_CLASS(CFileException), &shortPcx},
    };
    // Wine counts no GDI objects (0); the handle and file checks below
    // catch a leak there.
    const DWORD gdiBefore = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // On an object that was never built.
        CPalId fresh;
        EXPECT_EQ(Raised([&] { fresh.CreateFromFile(c.path, c.type, TRUE); }), c.raised);
        EXPECT_FALSE(fresh.IsCreated());
        EXPECT_EQ(fresh.m_hObject, nullptr);
        // On a built object: same palette handle and colours afterwards.
        CPalId built;
        built.CreateFromRGBQuad(AsQuads(colors).data(), FALSE);
        const HGDIOBJ h = built.m_hObject;
        EXPECT_EQ(Raised([&] { built.SetFromFile(c.path, c.type, FALSE); }), c.raised);
        EXPECT_TRUE(built.IsCreated());
        EXPECT_EQ(built.m_hObject, h);
        EXPECT_TRUE(SameEntry(ReadEntries(built)[7], colors[7]));
        if (c.file) {
            EXPECT_TRUE(c.file->IsClosed());
        }
    }
    EXPECT_EQ(::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS), gdiBefore);
}

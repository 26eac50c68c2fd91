// Builds on displays presented through the replaceable display queries,
// the three source byte orders, and the routing of the forwarding
// operations through the virtual table.
#include "PaletteTestSupport.h"
#include <vector>

namespace {

using IdentityOnPresentedDisplay = PaletteHooks;

// Builds from the source colours with identity on the presented display.
Entries BuildIdentity()
{
    CPalId pal;
    pal.CreateFromRGBQuad(AsQuads(SourceColors()).data(), TRUE);
    EXPECT_TRUE(pal.IsCreated());
    return ReadEntries(pal);
}

// Checks the colours copied from the system palette: system entries
// [sysFirst, sysFirst + count) at logical entries [logFirst, ...). Only a
// display that reports its system palette has colours to check.
void ExpectSystemColors(const Entries& log, int logFirst, int sysFirst, int count)
{
    UINT n = 0;
    const Entries sys = ReadSystemPalette(&n);
    if (n != 256)
        return;
    for (int i = 0; i < count; ++i)
        EXPECT_TRUE(SameColor(log[logFirst + i], sys[sysFirst + i])) << "entry " << logFirst + i;
}

}   // namespace

TEST_F(IdentityOnPresentedDisplay, OddReservedCountRoundsTheStaticCountDown)
{
    FakeCaps(RC_PALETTE, 256, 21);
    const Entries log = BuildIdentity();
    const Entries src = SourceColors();
    EXPECT_EQ(s_nClears, 1);
    for (int i = 0; i < 256; ++i) {
        const bool reserved = i >= 10 && i < 246;
        EXPECT_EQ(log[i].peFlags, reserved ? PC_RESERVED : 0) << "entry " << i;
        if (reserved) {
            EXPECT_TRUE(SameColor(log[i], src[i])) << "entry " << i;
        }
    }
    ExpectSystemColors(log, 0, 0, 10);
    ExpectSystemColors(log, 246, 246, 10);
}

TEST_F(IdentityOnPresentedDisplay, HardwarePaletteWithRoomOnlyForStaticColoursReservesNothing)
{
    const Entries src = SourceColors();
    for (int size : {20, 16}) {
        SCOPED_TRACE(size);
        FakeCaps(RC_PALETTE, size, 20);
        const Entries log = BuildIdentity();
        for (int i = 0; i < 256; ++i)
            EXPECT_EQ(log[i].peFlags, 0) << "entry " << i;
        for (int i = 10; i < 246; ++i)
            EXPECT_TRUE(SameColor(log[i], src[i])) << "entry " << i;
        ExpectSystemColors(log, 0, 0, 10);
        // The upper static colours are the last ten of the hardware palette.
        ExpectSystemColors(log, 246, size - 10, 10);
    }
}

TEST_F(IdentityOnPresentedDisplay, ImpossibleCapabilitiesStayInsideThePalette)
{
    const Entries src = SourceColors();
    // No hardware palette size at all, and more reserved colours than entries.
    FakeCaps(RC_PALETTE, 0, 600);
    Entries log = BuildIdentity();
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(log[i].peFlags, 0) << "entry " << i;
    // A negative reserved count has no static colours: everything the
    // hardware palette holds is reserved.
    FakeCaps(RC_PALETTE, 256, -6);
    log = BuildIdentity();
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(log[i].peFlags, PC_RESERVED) << "entry " << i;
        EXPECT_TRUE(SameColor(log[i], src[i])) << "entry " << i;
    }
}

TEST_F(IdentityOnPresentedDisplay, ThreeByteOrdersGiveTheSamePalette)
{
    const Entries src = SourceColors();
    std::vector<BYTE> rgb;
    std::vector<RGBTRIPLE> triples;
    for (const PALETTEENTRY& e : src) {
        rgb.insert(rgb.end(), {e.peRed, e.peGreen, e.peBlue});
        triples.push_back(RGBTRIPLE{e.peBlue, e.peGreen, e.peRed});
    }
    auto quads = AsQuads(src);
    for (RGBQUAD& q : quads)
        q.rgbReserved = 0xEE;   // ignored
    // On a palette display and on one without, with and without identity:
    // only identity on the palette display empties the system palette and
    // changes the source colours.
    for (int caps : {RC_PALETTE, RC_BITBLT}) {
        FakeCaps(caps, 256, 20);
        for (BOOL identity : {TRUE, FALSE}) {
            SCOPED_TRACE(testing::Message() << "caps " << caps << " identity " << identity);
            s_nClears = 0;
            CPalId a, b, c;
            a.CreateFromRGB(rgb.data(), identity);
            b.CreateFromRGBQuad(quads.data(), identity);
            c.CreateFromRGBTriple(triples.data(), identity);
            const Entries ea = ReadEntries(a), eb = ReadEntries(b), ec = ReadEntries(c);
            for (int i = 0; i < 256; ++i) {
                EXPECT_TRUE(SameEntry(ea[i], eb[i])) << "entry " << i;
                EXPECT_TRUE(SameEntry(ec[i], eb[i])) << "entry " << i;
            }
            const bool folded = identity && caps == RC_PALETTE;
            EXPECT_EQ(s_nClears, folded ? 3 : 0);
            if (!folded) {
                for (int i = 0; i < 256; ++i)
                    EXPECT_TRUE(SameEntry(eb[i], src[i])) << "entry " << i;
            }
        }
    }
}

namespace {

// Records which operations the forwarding operations reach.
class CRecordingPal : public CPalId {
public:
    void CreateFromRGB(const BYTE*, BOOL b) override { Note("RGB", b); }
    void CreateFromRGBQuad(const RGBQUAD* q, BOOL b) override
    {
        Note("Quad", b);
        CPalId::CreateFromRGBQuad(q, b);
    }
    void CreateFromRGBTriple(const RGBTRIPLE*, BOOL b) override { Note("Triple", b); }
    void CreateFromSystem(BOOL b) override { Note("System", b); }
    void ReadBmpColorTable(std::string p, BOOL b) override { Note("Bmp:" + p, b); }
    void ReadPcxPalette(std::string p, BOOL b) override { Note("Pcx:" + p, b); }
    BOOL DeletePalette() override
    {
        Note("Delete", 0);
        return CPalId::DeletePalette();
    }
    BOOL IsCreated() override
    {
        Note("IsCreated", 0);
        return CPalId::IsCreated();
    }
    void Note(const std::string& what, BOOL b) { m_calls.push_back(what + (b ? "+" : "")); }
    std::vector<std::string> m_calls;
};

}   // namespace

TEST(PaletteForwarding, ForwardingOperationsGoThroughTheVirtualTable)
{
    CRecordingPal pal;
    const auto quads = AsQuads(SourceColors());
    pal.SetFromRGB(nullptr, TRUE);
    pal.SetFromRGBTriple(nullptr, FALSE);
    pal.SetFromSystem(TRUE);
    pal.SetFromFile("a.bmp", 1, FALSE);
    pal.SetFromFile("b.pcx", 2, TRUE);
    pal.CreateFromFile("c.xyz", 3, TRUE);
    pal.SetFromRGBQuad(quads.data(), FALSE);
    EXPECT_TRUE(pal.HasPalette());
    EXPECT_TRUE(pal.Release());
    const std::vector<std::string> want = {"RGB+",       "Triple", "System+",   "Bmp:a.bmp",
                                           "Pcx:b.pcx+", "Quad",   "IsCreated", "Delete"};
    EXPECT_EQ(pal.m_calls, want);
    EXPECT_FALSE(pal.IsValid());
}

// Shared pieces of the palette tests: a source colour table, reading a
// palette back, the display the test runs on, and a fixture that watches
// (and, when asked, overrides) the display queries of the identity build.
#pragma once
#include <climits>
#include "palette/PalDisplay.h"
#include "palette/PalId.h"
#include <gtest/gtest.h>
#include <array>
#include <string>

using Entries = std::array<PALETTEENTRY, 256>;

// Distinct colours that differ from every static colour of the display.
Entries SourceColors();
std::array<RGBQUAD, 256> AsQuads(const Entries& e);

// The 256 logical entries of a palette handle (all zero when it has none).
Entries ReadEntries(const CPalId& pal);
// The system palette as the screen reports it, and how many entries it gave.
Entries ReadSystemPalette(UINT* pCount = nullptr);

// The display of this run: RC_PALETTE in RASTERCAPS of a "DISPLAY" context.
bool DisplayHasPalette();
// The screen depth the test command asked for ("24", "8"), empty when run by hand.
std::string RequestedScreen();

bool SameColor(const PALETTEENTRY& a, const PALETTEENTRY& b);
bool SameEntry(const PALETTEENTRY& a, const PALETTEENTRY& b);

// Counts the emptyings of the system palette (passing them on to the real
// one) and lets a test present other device capabilities. kReal keeps the
// display's own answer.
class PaletteHooks : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    static constexpr int kReal = INT_MIN;
    static void FakeCaps(int raster, int sizePalette, int numReserved);

    static int s_nClears;
    static int s_nRaster, s_nSizePalette, s_nNumReserved;

private:
    static int QueryCaps(HDC hdc, int index);
    static void CountClear();
    PalDisplayHooks m_saved{};
};

// Files in the temporary folder, removed when the object goes.
class TempFile {
public:
    TempFile(const char* name, const std::string& bytes);
    ~TempFile();
    const std::string& Path() const { return m_path; }
    // TRUE when nobody holds the file open any more.
    bool IsClosed() const;

private:
    std::string m_path;
};
std::string TempPath(const char* name);

// A real 8-bit bitmap file: 4 × 2 pixels, 256-entry colour table.
std::string BmpFileBytes(const std::array<RGBQUAD, 256>& table);
// A 256-colour PCX file: header, run-length data, the marker 0x0C and the
// 768-byte red-green-blue palette.
std::string PcxFileBytes(const Entries& colors);

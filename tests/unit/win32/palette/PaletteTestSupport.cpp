#include "PaletteTestSupport.h"
#include "framework/File.h"
#include <cstdlib>
#include <cstring>

Entries SourceColors()
{
    Entries e{};
    for (int i = 0; i < 256; ++i)
        e[i] = PALETTEENTRY{BYTE(i), BYTE(255 - i), BYTE((i * 37 + 11) & 255), 0};
    return e;
}

std::array<RGBQUAD, 256> AsQuads(const Entries& e)
{
    std::array<RGBQUAD, 256> q{};
    for (int i = 0; i < 256; ++i)
        q[i] = RGBQUAD{e[i].peBlue, e[i].peGreen, e[i].peRed, 0};
    return q;
}

Entries ReadEntries(const CPalId& pal)
{
    Entries e{};
    if (pal.m_hObject) {
        EXPECT_EQ(::GetPaletteEntries(HPALETTE(pal.m_hObject), 0, 256, e.data()), 256u);
    }
    return e;
}

Entries ReadSystemPalette(UINT* pCount)
{
    Entries e{};
    HDC hdc = ::GetDC(nullptr);
    const UINT n = ::GetSystemPaletteEntries(hdc, 0, 256, e.data());
    ::ReleaseDC(nullptr, hdc);
    if (pCount)
        *pCount = n;
    return e;
}

bool DisplayHasPalette()
{
    HDC ic = ::CreateICA("DISPLAY", nullptr, nullptr, nullptr);
    const bool has = ic && (::GetDeviceCaps(ic, RASTERCAPS) & RC_PALETTE);
    if (ic)
        ::DeleteDC(ic);
    return has;
}

std::string RequestedScreen()
{
    const char* s = std::getenv("VELMORA_SCREEN");
    return s ? s : "";
}

bool SameColor(const PALETTEENTRY& a, const PALETTEENTRY& b)
{
    return a.peRed == b.peRed && a.peGreen == b.peGreen && a.peBlue == b.peBlue;
}

bool SameEntry(const PALETTEENTRY& a, const PALETTEENTRY& b) { return SameColor(a, b) && a.peFlags == b.peFlags; }

int PaletteHooks::s_nClears = 0;
int PaletteHooks::s_nRaster = kReal;
int PaletteHooks::s_nSizePalette = kReal;
int PaletteHooks::s_nNumReserved = kReal;

void PaletteHooks::SetUp()
{
    m_saved = g_palDisplay;
    s_nClears = 0;
    FakeCaps(kReal, kReal, kReal);
    g_palDisplay.pfnGetDeviceCaps = QueryCaps;
    g_palDisplay.pfnClearSystemPalette = CountClear;
}

void PaletteHooks::TearDown() { g_palDisplay = m_saved; }

void PaletteHooks::FakeCaps(int raster, int sizePalette, int numReserved)
{
    s_nRaster = raster;
    s_nSizePalette = sizePalette;
    s_nNumReserved = numReserved;
}

int PaletteHooks::QueryCaps(HDC hdc, int index)
{
    if (index == RASTERCAPS && s_nRaster != kReal)
        return s_nRaster;
    if (index == SIZEPALETTE && s_nSizePalette != kReal)
        return s_nSizePalette;
    if (index == NUMRESERVED && s_nNumReserved != kReal)
        return s_nNumReserved;
    return ::GetDeviceCaps(hdc, index);
}

void PaletteHooks::CountClear()
{
    ++s_nClears;
    CPalId::ClearSystemPalette();
}

std::string TempPath(const char* name)
{
    char dir[MAX_PATH];
    ::GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + name;
}

TempFile::TempFile(const char* name, const std::string& bytes) : m_path(TempPath(name))
{
    CFile f(m_path.c_str(), CFile::modeCreate | CFile::modeWrite);
    f.Write(bytes.data(), UINT(bytes.size()));
}

TempFile::~TempFile() { ::DeleteFileA(m_path.c_str()); }

bool TempFile::IsClosed() const
{
    // An exclusive open fails while any other handle to the file is open.
    HANDLE h = ::CreateFileA(m_path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    ::CloseHandle(h);
    return true;
}

namespace {

void Put16(std::string& s, uint32_t v)
{
    s += char(v & 0xff);
    s += char((v >> 8) & 0xff);
}

void Put32(std::string& s, uint32_t v)
{
    Put16(s, v & 0xffff);
    Put16(s, v >> 16);
}

}   // namespace

std::string BmpFileBytes(const std::array<RGBQUAD, 256>& table)
{
    const uint32_t width = 4, height = 2, pitch = 4;
    const uint32_t bitsOffset = 14 + 40 + 1024;
    std::string s;
    s += "BM";
    Put32(s, bitsOffset + pitch * height);
    Put32(s, 0);
    Put32(s, bitsOffset);
    Put32(s, 40);
    Put32(s, width);
    Put32(s, height);
    Put16(s, 1);
    Put16(s, 8);
    for (int i = 0; i < 6; ++i)   // compression, image size, resolution, colours used/important
        Put32(s, 0);
    s.append(reinterpret_cast<const char*>(table.data()), 1024);
    for (uint32_t i = 0; i < pitch * height; ++i)
        s += char(i * 31);
    return s;
}

std::string PcxFileBytes(const Entries& colors)
{
    const uint16_t width = 8, height = 2;
    std::string s(128, '\0');
    s[0] = 10;   // manufacturer
    s[1] = 5;    // version
    s[2] = 1;    // run-length encoding
    s[3] = 8;    // bits per pixel
    s[8] = char(width - 1);
    s[10] = char(height - 1);
    s[65] = 1;             // planes
    s[66] = char(width);   // bytes per line
    s[68] = 1;             // colour palette
    for (int row = 0; row < height; ++row) {
        s += char(0xC0 | width);   // a run of 'width' pixels
        s += char(row + 3);
    }
    s += char(0x0C);
    for (const PALETTEENTRY& e : colors) {
        s += char(e.peRed);
        s += char(e.peGreen);
        s += char(e.peBlue);
    }
    return s;
}

// Frame buffer: loading and reloading from 8-bit bitmap files and 8-bit
// run-length PCX files. Every header is checked against the file's length
// before anything is allocated, and the run-length decoder keeps every
// write inside the pixel block, so a damaged or hostile file raises the
// resource exception instead of corrupting memory.
#include "surface/DibG.h"
#include "framework/File.h"
#include "palette/PalId.h"
#include "surface/ImageFormats.h"
#include "surface/PaletteBracket.h"
#include <cstring>
#include <memory>
#include <new>

namespace {

using imagefmt::Check;

// Opens the file for reading; a file that cannot be opened raises the
// resource exception.
void OpenForReading(CDibG& dib, CFile& file, const char* pszPath)
{
    if (!pszPath || !file.Open(pszPath, CFile::modeRead | CFile::typeBinary))
        dib.ThrowResourceError();
}

// Reads exactly count bytes; fewer raise the resource exception.
void ReadExactly(CDibG& dib, CFile& file, void* pBuffer, UINT count)
{
    if (file.Read(pBuffer, count) != count)
        dib.ThrowResourceError();
}

// The checked headers and colour table of a bitmap file, read up to the
// start of its pixels.
struct BmpFileHead {
    BITMAPINFOHEADER info;
    RGBQUAD colors[256];
    imagefmt::BmpInfo layout;
};

void ReadBmpHead(CDibG& dib, CFile& file, BmpFileHead& head)
{
    BYTE fileHeader[imagefmt::kBmpFileHeaderSize];
    ReadExactly(dib, file, fileHeader, sizeof fileHeader);   // not examined
    ReadExactly(dib, file, &head.info, sizeof head.info);
    if (imagefmt::CheckBmpHeader(reinterpret_cast<const uint8_t*>(&head.info), file.GetLength(), &head.layout) != Check::ok)
        dib.ThrowResourceError();
    ReadExactly(dib, file, head.colors, sizeof head.colors);
}

// The checked header, palette and run-length data of a PCX file.
struct PcxFile {
    imagefmt::PcxInfo layout;
    RGBQUAD colors[256];
    std::unique_ptr<uint8_t[]> data;
};

void ReadPcxHeadAndPalette(CDibG& dib, CFile& file, PcxFile& pcx)
{
    uint8_t header[imagefmt::kPcxHeaderSize];
    ReadExactly(dib, file, header, sizeof header);
    const ULONGLONG length = file.GetLength();
    if (imagefmt::CheckPcxHeader(header, length, &pcx.layout) != Check::ok)
        dib.ThrowResourceError();
    uint8_t triples[imagefmt::kPcxPaletteSize];
    file.Seek(LONGLONG(length) - LONGLONG(sizeof triples), CFile::begin);
    ReadExactly(dib, file, triples, sizeof triples);
    for (int i = 0; i < 256; ++i)
        pcx.colors[i] = RGBQUAD{triples[3 * i + 2], triples[3 * i + 1], triples[3 * i], 0};
}

void ReadPcxData(CDibG& dib, CFile& file, PcxFile& pcx)
{
    const uint32_t size = pcx.layout.dataSize;
    pcx.data.reset(new (std::nothrow) uint8_t[size ? size : 1]);
    if (!pcx.data)
        dib.ThrowMemoryError();
    file.Seek(imagefmt::kPcxHeaderSize, CFile::begin);
    ReadExactly(dib, file, pcx.data.get(), size);
}

void DecodePcxInto(CDibG& dib, const PcxFile& pcx)
{
    if (imagefmt::DecodePcxRows(pcx.data.get(), pcx.layout.dataSize, pcx.layout.bytesPerLine, dib.GetBits(),
                                uint32_t(dib.GetPitch()), dib.GetHeight()) != Check::ok)
        dib.ThrowResourceError();
}

} // namespace

void CDibG::LoadBmpFile(const char* pszPath, CPalId* pPalette)
{
    CFile file;
    OpenForReading(*this, file, pszPath);
    BmpFileHead head;
    ReadBmpHead(*this, file, head);
    BuildPaletteIfNeeded(pPalette, head.colors);

    CPaletteBracket bracket(pPalette);
    const BOOL bWasCreated = IsCreated();
    Create(head.layout.width, head.layout.height, pPalette);
    // A buffer that was already created keeps its size: its pixels are
    // replaced only when the sizes agree, never past its block, and its
    // colour table then takes the file's colours (a new buffer takes the
    // palette's when it is created).
    if (!IsValid() || GetWidth() != head.layout.width || GetHeight() != head.layout.height)
        ThrowResourceError();
    if (bWasCreated)
        std::memcpy(m_colors, head.colors, sizeof m_colors);
    ReadExactly(*this, file, m_pBits, GetImageSize());
    // The file's rows are bottom-up; top-down buffers take them reversed.
    if (g_nOrientation == ORIENT_TOP_DOWN)
        FlipVertical();
}

void CDibG::ReloadBmpFile(const char* pszPath, CPalId* pPalette)
{
    CFile file;
    OpenForReading(*this, file, pszPath);
    BmpFileHead head;
    ReadBmpHead(*this, file, head);
    if (!IsValid() || head.layout.width != GetWidth() || head.layout.height != GetHeight())
        ThrowResourceError();
    std::memcpy(m_colors, head.colors, sizeof m_colors);
    BuildPaletteIfNeeded(pPalette, m_colors);

    CPaletteBracket bracket(pPalette);
    ReadExactly(*this, file, m_pBits, GetImageSize());
    if (g_nOrientation == ORIENT_TOP_DOWN)
        FlipVertical();
}

void CDibG::LoadPcxFile(const char* pszPath, CPalId* pPalette)
{
    CFile file;
    OpenForReading(*this, file, pszPath);
    PcxFile pcx;
    ReadPcxHeadAndPalette(*this, file, pcx);
    BuildPaletteIfNeeded(pPalette, pcx.colors);

    CPaletteBracket bracket(pPalette);
    const BOOL bWasCreated = IsCreated();
    Create(pcx.layout.width, pcx.layout.height, pPalette);
    if (!IsValid() || GetWidth() != pcx.layout.width || GetHeight() != pcx.layout.height)
        ThrowResourceError();
    if (bWasCreated)
        std::memcpy(m_colors, pcx.colors, sizeof m_colors);
    ReadPcxData(*this, file, pcx);
    DecodePcxInto(*this, pcx);
    // The rows were decoded top row first.
    if (g_nOrientation == ORIENT_BOTTOM_UP)
        FlipVertical();
}

void CDibG::ReloadPcxFile(const char* pszPath, CPalId* pPalette)
{
    CFile file;
    OpenForReading(*this, file, pszPath);
    PcxFile pcx;
    ReadPcxHeadAndPalette(*this, file, pcx);
    if (!IsValid() || GetWidth() + pcx.layout.xmin != pcx.layout.xmax + 1 ||
        GetHeight() + pcx.layout.ymin != pcx.layout.ymax + 1)
        ThrowResourceError();
    std::memcpy(m_colors, pcx.colors, sizeof m_colors);
    BuildPaletteIfNeeded(pPalette, m_colors);

    CPaletteBracket bracket(pPalette);
    ReadPcxData(*this, file, pcx);
    DecodePcxInto(*this, pcx);
    if (g_nOrientation == ORIENT_BOTTOM_UP)
        FlipVertical();
}

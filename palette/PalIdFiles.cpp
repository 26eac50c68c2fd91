// Builds from the colour table of a Windows bitmap file and from the
// trailing palette of a PCX file. Buffers live on the stack and the file
// object closes the file, so an exception on the way leaves nothing behind
// and the object as it was.
#include "framework/File.h"
#include "palette/PalDisplay.h"
#include "palette/PalId.h"

namespace {

// Offset of the colour table in a bitmap file with a 40-byte information
// header: 14 bytes of file header, then the information header.
constexpr LONGLONG BMP_COLOR_TABLE_OFFSET = 14 + 40;
constexpr UINT PCX_PALETTE_BYTES = 3 * PAL_ENTRIES;

}   // namespace

void CPalId::ReadBmpColorTable(std::string path, BOOL bIdentity)
{
    CFile file;
    if (!file.Open(path.c_str(), CFile::modeRead | CFile::typeBinary))
        ThrowResourceError();
    if (file.Seek(BMP_COLOR_TABLE_OFFSET, CFile::begin) != ULONGLONG(BMP_COLOR_TABLE_OFFSET))
        ThrowResourceError();
    // Only the colour table is taken: signature, header size and bit depth
    // are not examined. Entries past a short table are black.
    RGBQUAD table[PAL_ENTRIES] = {};
    if (file.Read(table, sizeof table) == 0)
        ThrowResourceError();
    CreateFromRGBQuad(table, bIdentity);
}

void CPalId::ReadPcxPalette(std::string path, BOOL bIdentity)
{
    CFile file;
    if (!file.Open(path.c_str(), CFile::modeRead | CFile::typeBinary))
        ThrowResourceError();
    // The palette is the file's last 768 bytes (red, green, blue); the
    // marker byte before it is not examined. A file shorter than that makes
    // the seek fail with the file layer's exception.
    file.Seek(LONGLONG(file.GetLength()) - LONGLONG(PCX_PALETTE_BYTES), CFile::begin);
    BYTE rgb[PCX_PALETTE_BYTES] = {};
    file.Read(rgb, PCX_PALETTE_BYTES);
    RGBQUAD table[PAL_ENTRIES];
    for (int i = 0; i < PAL_ENTRIES; ++i)
        table[i] = RGBQUAD{rgb[3 * i + 2], rgb[3 * i + 1], rgb[3 * i], 0};
    CreateFromRGBQuad(table, bIdentity);
}

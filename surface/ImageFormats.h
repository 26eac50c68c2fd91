// Checks, decoders and the whole load sequence of the two image file
// layouts the frame buffer reads: uncompressed 8-bit bottom-up bitmap files
// and 8-bit run-length PCX files with a 256-colour palette at the end. Plain
// code over bytes (no Windows types), so the loaders of the program and the
// fuzz targets run the same steps natively. Every check runs before the
// pixel block is asked for, and the decoder never writes outside the pixel
// block nor reads outside the data it is given.
#pragma once
#include <cstddef>
#include <cstdint>

namespace imagefmt {

constexpr uint32_t kBmpFileHeaderSize = 14;
constexpr uint32_t kBmpInfoHeaderSize = 40;
constexpr uint32_t kBmpColorTableSize = 1024;
constexpr uint32_t kBmpPixelOffset = kBmpFileHeaderSize + kBmpInfoHeaderSize + kBmpColorTableSize;   // 1078

constexpr uint32_t kPcxHeaderSize = 128;
constexpr uint32_t kPcxPaletteSize = 768;

// Largest accepted width or height: far beyond any real use, small enough
// that every size computed from it fits 32 bits.
constexpr int32_t kMaxDimension = 16384;

// Bytes per row of an 8-bit image: rows start on 4-byte boundaries.
constexpr uint32_t RowPitch(int32_t width) { return ((uint32_t(width) * 8u + 31u) / 32u) * 4u; }

enum class Check {
    ok,
    truncated,         // the file ends before the data the header promises
    notEightBit,       // bit count other than 8, or planes other than 1
    compressed,        // any compression but none
    topDown,           // negative height: rows stored top row first
    badHeaderSize,     // an information header other than the 40-byte one
    badColorCount,     // a colour table of other than 256 entries
    badDimensions,     // zero, negative or oversized width or height
    badBytesPerLine,   // PCX bytes per line shorter than the width
    unreadable,        // the file's length or bytes cannot be had
    outOfMemory,       // no room for the run-length data
    refused,           // the image sink turned the image down
};

struct BmpInfo {
    int32_t width;
    int32_t height;
    uint32_t pitch;
    uint32_t imageSize;   // height × pitch
};

// Checks the 40-byte information header of a bitmap file of fileLength
// bytes (the header starts at offset 14, the colour table at 54 and the
// pixels at 1078).
Check CheckBmpHeader(const uint8_t* info, uint64_t fileLength, BmpInfo* out);

struct PcxInfo {
    int32_t xmin, ymin, xmax, ymax;
    int32_t bytesPerLine;
    int32_t width;       // xmax − xmin + 1
    int32_t height;      // ymax − ymin + 1
    uint32_t dataSize;   // run-length data: file length − 128 − 768
};

// Reads the fields of a PCX header the loader uses (all little-endian
// signed 16-bit) and checks them against the file's length, including that
// the run-length data is long enough to fill every row at all.
Check CheckPcxHeader(const uint8_t* header, uint64_t fileLength, PcxInfo* out);

// Tells whether the run-length data fills height rows of bytesPerLine
// decoded bytes each, without writing anything: the same walk as
// DecodePcxRows, so a file that passes decodes completely.
Check CheckPcxData(const uint8_t* data, size_t dataSize, int32_t bytesPerLine, int32_t height);

// Decodes height rows of run-length data into pixels, row i starting at
// pixels + i × pitch. Each row consumes bytesPerLine decoded bytes; a byte
// of 0xC0 or more starts a run of (byte & 0x3F) copies of the byte after
// it, any other byte is a literal pixel; a run of length 0 writes nothing.
// Decoded bytes that fall beyond the row's pitch (a run past the row's
// end, or bytes per line larger than the pitch) are dropped, so nothing
// is written outside the block. Returns Check::truncated when the data
// ends before every row is complete.
Check DecodePcxRows(const uint8_t* data, size_t dataSize, int32_t bytesPerLine, uint8_t* pixels, uint32_t pitch,
                    int32_t height);

// The file a load reads: its length and exact reads at an offset.
class FileSource {
public:
    // False when the length cannot be told.
    virtual bool Length(uint64_t* length) = 0;
    // Reads exactly count bytes from offset into out; false when fewer can
    // be had or the read fails.
    virtual bool ReadAt(uint64_t offset, void* out, uint32_t count) = 0;

protected:
    ~FileSource() = default;
};

// What a load fills, called in this order, each at most once. Colors and
// Pixels come only once the whole file has been read and checked, so a
// load that fails leaves what the sink holds as it was.
class ImageSink {
public:
    // The checked size of the image, before its colours are read. False
    // stops the load with Check::refused.
    virtual bool Size(int32_t width, int32_t height) = 0;
    // The file's 256 colours as blue, green, red, 0 (the RGBQUAD layout).
    virtual void Colors(const uint8_t* bgr0) = 0;
    // The pixel block, RowPitch(width) × height bytes, asked for only once
    // the file is known to fill it. Null stops the load with
    // Check::refused.
    virtual uint8_t* Pixels() = 0;

protected:
    ~ImageSink() = default;
};

// Loads a bitmap file: the information header checked against the file's
// length, then the colour table and the pixel rows, copied into the block
// in the file's order (bottom row first). The 14-byte file header is not
// examined.
Check LoadBmp(FileSource& file, ImageSink& sink);

// Loads a PCX file: the header checked against the file's length, then
// the trailing palette, then the run-length data, which must fill every
// row before the block is asked for; rows are decoded top row first.
Check LoadPcx(FileSource& file, ImageSink& sink);

}   // namespace imagefmt

// Frame buffer: loading and reloading from 8-bit bitmap files and 8-bit
// run-length PCX files. The steps of each load (header checks against the
// file's length, colours, pixel data) are the platform-free ones of
// ImageFormats; this file supplies the file and the buffer. A damaged or
// hostile file, and a file that opens but cannot be sized or read, raise
// the resource exception instead of corrupting memory.
#include "surface/DibG.h"
#include "framework/File.h"
#include "palette/PalId.h"
#include "surface/ImageFormats.h"
#include "surface/PaletteBracket.h"
#include <cstring>
#include <optional>

namespace {

using imagefmt::Check;

// Opens the file for reading; a file that cannot be opened raises the
// resource exception.
void OpenForReading(CDibG& dib, CFile& file, const char* pszPath)
{
    if (!pszPath || !file.Open(pszPath, CFile::modeRead | CFile::typeBinary))
        dib.ThrowResourceError();
}

// The opened file as the loads read it. The file layer's own exceptions
// (a pipe or device that cannot be sized, a read that fails) become a
// plain "cannot be read", which the loaders report as the resource
// exception like any other unreadable file.
class CFileSource final : public imagefmt::FileSource {
public:
    explicit CFileSource(CFile& file) : m_file(file) {}

    bool Length(uint64_t* pLength) override
    {
        try {
            *pLength = m_file.GetLength();
            return true;
        } catch (CFileException* e) {
            e->Delete();
            return false;
        }
    }

    bool ReadAt(uint64_t offset, void* pOut, uint32_t count) override
    {
        try {
            if (m_file.Seek(LONGLONG(offset), CFile::begin) != offset)
                return false;
            BYTE* p = static_cast<BYTE*>(pOut);
            while (count > 0) {
                const UINT got = m_file.Read(p, count);
                if (got == 0)
                    return false;
                p += got;
                count -= got;
            }
            return true;
        } catch (CFileException* e) {
            e->Delete();
            return false;
        }
    }

private:
    CFile& m_file;
};

// A load into a buffer that is not created: the palette is built from the
// file's colours if it does not exist yet, and the buffer is created, inside
// the palette bracket, only once the file is known to fill it. The bracket
// stays open until the sink goes, after the caller's flip.
class CNewBufferSink final : public imagefmt::ImageSink {
public:
    CNewBufferSink(CDibG& dib, CPalId* pPalette) : m_dib(dib), m_pPalette(pPalette) {}

    bool Size(int32_t nWidth, int32_t nHeight) override
    {
        m_nWidth = nWidth;
        m_nHeight = nHeight;
        return true;
    }

    void Colors(const uint8_t* pBgr0) override
    {
        std::memcpy(m_colors, pBgr0, sizeof m_colors);
        BuildPaletteIfNeeded(m_pPalette, m_colors);
    }

    uint8_t* Pixels() override
    {
        m_bracket.emplace(m_pPalette);
        const BOOL bWasCreated = m_dib.IsCreated();
        m_dib.Create(m_nWidth, m_nHeight, m_pPalette);
        // A buffer that was already created keeps its size: its pixels are
        // replaced only when the sizes agree, never past its block, and its
        // colour table then takes the file's colours (a new buffer takes the
        // palette's when it is created).
        if (!m_dib.IsValid() || m_dib.GetWidth() != m_nWidth || m_dib.GetHeight() != m_nHeight)
            m_dib.ThrowResourceError();
        if (bWasCreated)
            std::memcpy(m_dib.m_colors, m_colors, sizeof m_colors);
        return m_dib.GetBits();
    }

private:
    CDibG& m_dib;
    CPalId* m_pPalette;
    int32_t m_nWidth = 0;
    int32_t m_nHeight = 0;
    RGBQUAD m_colors[256];
    std::optional<CPaletteBracket> m_bracket;
};

// A reload into a created buffer of the same size: its colour table takes
// the file's colours and its pixels are replaced in place.
class CReloadSink final : public imagefmt::ImageSink {
public:
    CReloadSink(CDibG& dib, CPalId* pPalette) : m_dib(dib), m_pPalette(pPalette) {}

    bool Size(int32_t nWidth, int32_t nHeight) override
    {
        return m_dib.IsValid() && nWidth == m_dib.GetWidth() && nHeight == m_dib.GetHeight();
    }

    void Colors(const uint8_t* pBgr0) override
    {
        std::memcpy(m_dib.m_colors, pBgr0, sizeof m_dib.m_colors);
        BuildPaletteIfNeeded(m_pPalette, m_dib.m_colors);
    }

    uint8_t* Pixels() override
    {
        m_bracket.emplace(m_pPalette);
        return m_dib.GetBits();
    }

private:
    CDibG& m_dib;
    CPalId* m_pPalette;
    std::optional<CPaletteBracket> m_bracket;
};

// Runs one load over the file at the path into the sink; any failure
// raises the matching exception.
template <class Sink> void LoadInto(CDibG& dib, const char* pszPath, CPalId* pPalette, bool bPcx)
{
    CFile file;
    OpenForReading(dib, file, pszPath);
    CFileSource source(file);
    Sink sink(dib, pPalette);
    const Check result = bPcx ? imagefmt::LoadPcx(source, sink) : imagefmt::LoadBmp(source, sink);
    if (result == Check::outOfMemory)
        dib.ThrowMemoryError();
    if (result != Check::ok)
        dib.ThrowResourceError();
    // Bitmap files store the bottom row first, PCX files the top row:
    // rows that arrived in the other order than the buffer's are reversed.
    const int32_t nFileOrientation = bPcx ? ORIENT_TOP_DOWN : ORIENT_BOTTOM_UP;
    if (g_nOrientation != nFileOrientation)
        dib.FlipVertical();
}

}   // namespace

void CDibG::LoadBmpFile(const char* pszPath, CPalId* pPalette)
{
    LoadInto<CNewBufferSink>(*this, pszPath, pPalette, false);
}

void CDibG::ReloadBmpFile(const char* pszPath, CPalId* pPalette)
{
    LoadInto<CReloadSink>(*this, pszPath, pPalette, false);
}

void CDibG::LoadPcxFile(const char* pszPath, CPalId* pPalette)
{
    LoadInto<CNewBufferSink>(*this, pszPath, pPalette, true);
}

void CDibG::ReloadPcxFile(const char* pszPath, CPalId* pPalette)
{
    LoadInto<CReloadSink>(*this, pszPath, pPalette, true);
}

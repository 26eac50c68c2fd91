#include "palette/PalId.h"
#include "palette/PalDisplay.h"

IMPLEMENT_DYNAMIC(CPalId, CPalette)

// The palette handle goes with the GDI object base.
CPalId::~CPalId() = default;

void CPalId::Build(PALETTEENTRY* pEntries, BOOL bIdentity)
{
    if (bIdentity && PalDisplayHasPalette())
        PalFoldStaticColors(pEntries);
    const HPALETTE hNew = PalCreate256(pEntries);
    // A build on an object that still holds a palette replaces it rather
    // than losing the old handle.
    DeleteObject();
    Attach(hNew);   // a null handle is not attached
    m_bCreated = TRUE;
}

void CPalId::CreateFromRGB(const BYTE* pRGB, BOOL bIdentity)
{
    PALETTEENTRY entries[PAL_ENTRIES];
    for (int i = 0; i < PAL_ENTRIES; ++i, pRGB += 3)
        entries[i] = PALETTEENTRY{pRGB[0], pRGB[1], pRGB[2], 0};
    Build(entries, bIdentity);
}

void CPalId::CreateFromRGBQuad(const RGBQUAD* pQuads, BOOL bIdentity)
{
    PALETTEENTRY entries[PAL_ENTRIES];
    for (int i = 0; i < PAL_ENTRIES; ++i)
        entries[i] = PALETTEENTRY{pQuads[i].rgbRed, pQuads[i].rgbGreen, pQuads[i].rgbBlue, 0};
    Build(entries, bIdentity);
}

void CPalId::CreateFromRGBTriple(const RGBTRIPLE* pTriples, BOOL bIdentity)
{
    PALETTEENTRY entries[PAL_ENTRIES];
    for (int i = 0; i < PAL_ENTRIES; ++i)
        entries[i] = PALETTEENTRY{pTriples[i].rgbtRed, pTriples[i].rgbtGreen, pTriples[i].rgbtBlue, 0};
    Build(entries, bIdentity);
}

void CPalId::CreateFromSystem(BOOL bIdentity)
{
    // The desktop's device context is held until the build ends.
    CPalWindowDC desktop(::GetDesktopWindow());
    if (!desktop.m_hDC)
        ThrowResourceError();

    PALETTEENTRY entries[PAL_ENTRIES] = {};
    ::GetSystemPaletteEntries(desktop.m_hDC, 0, PAL_ENTRIES, entries);
    for (PALETTEENTRY& e : entries)
        e.peFlags = 0;
    Build(entries, bIdentity);
}

void CPalId::CreateFromFile(std::string path, int nType, BOOL bIdentity)
{
    switch (nType) {
    case 1: ReadBmpColorTable(std::move(path), bIdentity); break;
    case 2: ReadPcxPalette(std::move(path), bIdentity); break;
    default: break;   // unknown file types build nothing
    }
}

void CPalId::SetFromRGB(const BYTE* pRGB, BOOL bIdentity) { CreateFromRGB(pRGB, bIdentity); }
void CPalId::SetFromRGBQuad(const RGBQUAD* pQuads, BOOL bIdentity) { CreateFromRGBQuad(pQuads, bIdentity); }
void CPalId::SetFromRGBTriple(const RGBTRIPLE* pTriples, BOOL bIdentity) { CreateFromRGBTriple(pTriples, bIdentity); }
void CPalId::SetFromFile(std::string path, int nType, BOOL bIdentity)
{
    CreateFromFile(std::move(path), nType, bIdentity);
}
void CPalId::SetFromSystem(BOOL bIdentity) { CreateFromSystem(bIdentity); }

BOOL CPalId::DeletePalette()
{
    const BOOL bDeleted = DeleteObject();   // FALSE when there is no handle
    m_bCreated = FALSE;
    return bDeleted;
}

BOOL CPalId::Release() { return DeletePalette(); }

// A built object whose palette the system could not create has nothing to
// copy: the result is FALSE and the output stays as it was, as for an
// object that was never built.
BOOL CPalId::GetRGBQuads(RGBQUAD* pOut)
{
    if (!HasPalette() || !m_hObject)
        return FALSE;
    PALETTEENTRY entries[PAL_ENTRIES];
    const UINT got = GetPaletteEntries(0, PAL_ENTRIES, entries);
    if (got == 0)
        return FALSE;
    for (UINT i = 0; i < got && i < UINT(PAL_ENTRIES); ++i)
        pOut[i] = RGBQUAD{entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
    return TRUE;
}

BOOL CPalId::IsCreated() { return m_bCreated; }
BOOL CPalId::IsValid() { return m_bCreated; }
BOOL CPalId::HasPalette() { return IsCreated(); }

void CPalId::ThrowMemoryError() { AfxThrowMemoryException(); }
void CPalId::ThrowResourceError() { AfxThrowResourceException(); }

// CPalId: a 256-entry identity palette. On a display with a hardware
// palette the first and last entries are the display's static colours and
// the others carry the source colours marked PC_RESERVED, so that after the
// system palette has been emptied, realising it puts logical entry i on
// system entry i. On other displays it simply holds the source colours.
#pragma once
#include "framework/Gdi.h"
#include <string>

class CPalId : public CPalette {
    DECLARE_DYNAMIC(CPalId)
public:
    CPalId() = default;
    ~CPalId() override;

    // Builds (expect an object without a palette; DeletePalette first).
    virtual void CreateFromRGB(const BYTE* pRGB, BOOL bIdentity);            // 256 × red, green, blue
    virtual void CreateFromRGBQuad(const RGBQUAD* pQuads, BOOL bIdentity);   // 256 RGBQUADs
    virtual void CreateFromRGBTriple(const RGBTRIPLE* pTriples, BOOL bIdentity);
    virtual void CreateFromFile(std::string path, int nType, BOOL bIdentity);   // 1 bitmap, 2 PCX
    virtual void CreateFromSystem(BOOL bIdentity);
    virtual void SetFromRGB(const BYTE* pRGB, BOOL bIdentity);
    virtual void SetFromRGBQuad(const RGBQUAD* pQuads, BOOL bIdentity);
    virtual void SetFromRGBTriple(const RGBTRIPLE* pTriples, BOOL bIdentity);
    virtual void SetFromFile(std::string path, int nType, BOOL bIdentity);
    virtual void SetFromSystem(BOOL bIdentity);
    virtual BOOL DeletePalette();
    virtual BOOL Release();
    virtual BOOL GetRGBQuads(RGBQUAD* pOut);
    virtual BOOL IsCreated();
    virtual BOOL IsValid();
    virtual BOOL HasPalette();
    virtual void ReadBmpColorTable(std::string path, BOOL bIdentity);
    virtual void ReadPcxPalette(std::string path, BOOL bIdentity);
    [[noreturn]] virtual void ThrowMemoryError();
    [[noreturn]] virtual void ThrowResourceError();

    // Fills every non-static system palette entry with black, so that the
    // next foreground realisation of an identity palette cannot match a
    // colour left behind by another palette and puts entry i on entry i.
    static void ClearSystemPalette();

    BOOL m_bCreated = FALSE;

private:
    // Common end of every build: identity treatment, creation, the flag.
    void Build(PALETTEENTRY* pEntries, BOOL bIdentity);
};

// Wrappers of GDI objects and device contexts.
#pragma once
#include "Exception.h"

// Owns one GDI object handle; the destructor deletes it.
class CGdiObject : public CObject {
    DECLARE_DYNAMIC(CGdiObject)
public:
    CGdiObject() = default;
    ~CGdiObject() override;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    BOOL Attach(HGDIOBJ hObject);   // FALSE for a null handle
    HGDIOBJ Detach();
    BOOL DeleteObject();   // FALSE when there is no handle

    HGDIOBJ m_hObject = nullptr;
};

class CPalette : public CGdiObject {
    DECLARE_DYNAMIC(CPalette)
public:
    operator HPALETTE() const { return HPALETTE(m_hObject); }
    UINT GetPaletteEntries(UINT nStartIndex, UINT nNumEntries, PALETTEENTRY* lpPaletteColors) const;
};

// A device context handle with the printing flag that output code consults.
class CDC : public CObject {
    DECLARE_DYNAMIC(CDC)
public:
    CDC() = default;
    ~CDC() override;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    BOOL Attach(HDC hDC);
    HDC Detach();
    BOOL DeleteDC();

    // Palettes: the result is the previously selected palette handle.
    HPALETTE SelectPalette(CPalette* pPalette, BOOL bForceBackground);
    HPALETTE SelectPalette(HPALETTE hPalette, BOOL bForceBackground);
    UINT RealizePalette();
    HGDIOBJ SelectObject(HGDIOBJ hObject);

    HDC m_hDC = nullptr;
    BOOL m_bPrinting = FALSE;
};

// The client-area device context of a window, released on destruction.
class CClientDC : public CDC {
    DECLARE_DYNAMIC(CClientDC)
public:
    explicit CClientDC(HWND hWnd);
    // The client area of a framework window (any class with GetSafeHwnd).
    template <class W, class = decltype(static_cast<W*>(nullptr)->GetSafeHwnd())>
    explicit CClientDC(W* pWnd) : CClientDC(pWnd ? pWnd->GetSafeHwnd() : HWND(nullptr))
    {}
    ~CClientDC() override;
    HWND m_hWnd;
};

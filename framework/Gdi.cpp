#include "Gdi.h"

IMPLEMENT_DYNAMIC(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPalette, CGdiObject)
IMPLEMENT_DYNAMIC(CDC, CObject)
IMPLEMENT_DYNAMIC(CClientDC, CDC)

CGdiObject::~CGdiObject() { DeleteObject(); }

namespace {

// The owned handle of a GDI object or a device context: attaching refuses a
// null handle; deleting without a handle reports FALSE.
template <class H> BOOL AttachHandle(H& hSlot, H h)
{
    if (!h)
        return FALSE;
    hSlot = h;
    return TRUE;
}

template <class H> H DetachHandle(H& hSlot)
{
    H h = hSlot;
    hSlot = nullptr;
    return h;
}

template <class H> BOOL DeleteHandle(H& hSlot, BOOL(WINAPI* pfnDelete)(H))
{
    return hSlot ? pfnDelete(DetachHandle(hSlot)) : FALSE;
}

}   // namespace

BOOL CGdiObject::Attach(HGDIOBJ hObject) { return AttachHandle(m_hObject, hObject); }
HGDIOBJ CGdiObject::Detach() { return DetachHandle(m_hObject); }
BOOL CGdiObject::DeleteObject() { return DeleteHandle(m_hObject, &::DeleteObject); }

UINT CPalette::GetPaletteEntries(UINT nStartIndex, UINT nNumEntries, PALETTEENTRY* lpPaletteColors) const
{
    return ::GetPaletteEntries(HPALETTE(m_hObject), nStartIndex, nNumEntries, lpPaletteColors);
}

CDC::~CDC()
{
    if (m_hDC)
        ::DeleteDC(Detach());
}

BOOL CDC::Attach(HDC hDC) { return AttachHandle(m_hDC, hDC); }
HDC CDC::Detach() { return DetachHandle(m_hDC); }
BOOL CDC::DeleteDC() { return DeleteHandle(m_hDC, &::DeleteDC); }

HPALETTE CDC::SelectPalette(CPalette* pPalette, BOOL bForceBackground)
{
    return ::SelectPalette(m_hDC, pPalette ? HPALETTE(pPalette->m_hObject) : nullptr, bForceBackground);
}

HPALETTE CDC::SelectPalette(HPALETTE hPalette, BOOL bForceBackground)
{
    return ::SelectPalette(m_hDC, hPalette, bForceBackground);
}

UINT CDC::RealizePalette() { return ::RealizePalette(m_hDC); }

HGDIOBJ CDC::SelectObject(HGDIOBJ hObject) { return ::SelectObject(m_hDC, hObject); }

CClientDC::CClientDC(HWND hWnd) : m_hWnd(hWnd)
{
    if (!Attach(::GetDC(hWnd)))
        AfxThrowResourceException();
}

CClientDC::~CClientDC()
{
    if (m_hDC)
        ::ReleaseDC(m_hWnd, Detach());
}

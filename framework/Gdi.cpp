#include "Gdi.h"

IMPLEMENT_DYNAMIC(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPalette, CGdiObject)
IMPLEMENT_DYNAMIC(CDC, CObject)
IMPLEMENT_DYNAMIC(CClientDC, CDC)

CGdiObject::~CGdiObject()
{
    DeleteObject();
}

BOOL CGdiObject::Attach(HGDIOBJ hObject)
{
    if (!hObject)
        return FALSE;
    m_hObject = hObject;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ h = m_hObject;
    m_hObject = nullptr;
    return h;
}

BOOL CGdiObject::DeleteObject()
{
    if (!m_hObject)
        return FALSE;
    return ::DeleteObject(Detach());
}

BOOL CPalette::CreatePalette(const LOGPALETTE* lpLogPalette)
{
    return Attach(::CreatePalette(lpLogPalette));
}

UINT CPalette::GetPaletteEntries(UINT nStartIndex, UINT nNumEntries, PALETTEENTRY* lpPaletteColors) const
{
    return ::GetPaletteEntries(HPALETTE(m_hObject), nStartIndex, nNumEntries, lpPaletteColors);
}

UINT CPalette::SetPaletteEntries(UINT nStartIndex, UINT nNumEntries, const PALETTEENTRY* lpPaletteColors)
{
    return ::SetPaletteEntries(HPALETTE(m_hObject), nStartIndex, nNumEntries, lpPaletteColors);
}

int CPalette::GetEntryCount() const
{
    WORD n = 0;
    ::GetObjectA(m_hObject, sizeof n, &n);
    return n;
}

CDC::~CDC()
{
    if (m_hDC)
        ::DeleteDC(Detach());
}

BOOL CDC::Attach(HDC hDC)
{
    if (!hDC)
        return FALSE;
    m_hDC = m_hAttribDC = hDC;
    return TRUE;
}

HDC CDC::Detach()
{
    HDC h = m_hDC;
    m_hDC = m_hAttribDC = nullptr;
    return h;
}

BOOL CDC::CreateCompatibleDC(CDC* pDC)
{
    return Attach(::CreateCompatibleDC(pDC ? pDC->m_hDC : nullptr));
}

BOOL CDC::DeleteDC()
{
    if (!m_hDC)
        return FALSE;
    return ::DeleteDC(Detach());
}

HPALETTE CDC::SelectPalette(CPalette* pPalette, BOOL bForceBackground)
{
    return ::SelectPalette(m_hDC, pPalette ? HPALETTE(pPalette->m_hObject) : nullptr, bForceBackground);
}

HPALETTE CDC::SelectPalette(HPALETTE hPalette, BOOL bForceBackground)
{
    return ::SelectPalette(m_hDC, hPalette, bForceBackground);
}

UINT CDC::RealizePalette()
{
    return ::RealizePalette(m_hDC);
}

HGDIOBJ CDC::SelectObject(HGDIOBJ hObject)
{
    return ::SelectObject(m_hDC, hObject);
}

HGDIOBJ CDC::SelectStockObject(int index)
{
    HGDIOBJ h = ::GetStockObject(index);
    return h ? ::SelectObject(m_hDC, h) : nullptr;
}

int CDC::GetDeviceCaps(int index) const
{
    return ::GetDeviceCaps(m_hAttribDC ? m_hAttribDC : m_hDC, index);
}

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

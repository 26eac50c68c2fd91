// The palette bracket around every creation and load of a frame buffer:
// opens a client DC on the desktop window and, with WinG in use, selects and
// realises the palette there and in the shared WinG DC, so that a new WinG
// bitmap is made against the right colours. The destructor restores the
// desktop DC's previous palette and releases the DC, also when an exception
// passes.
#pragma once
#include <windows.h>

class CPalId;

class CPaletteBracket {
public:
    explicit CPaletteBracket(CPalId* pPalette);
    ~CPaletteBracket();
    CPaletteBracket(const CPaletteBracket&) = delete;
    CPaletteBracket& operator=(const CPaletteBracket&) = delete;

private:
    HWND m_hWnd;
    HDC m_hDC;
    HPALETTE m_hOldPalette = nullptr;
};

// Every loader builds the palette from the picture's colours (identity
// treatment) unless the palette exists already.
void BuildPaletteIfNeeded(CPalId* pPalette, const RGBQUAD* pColors);

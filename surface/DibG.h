// CDibG: the 8-bit, 256-colour off-screen frame buffer. A header with its
// colour table, a block of pixels (a WinG bitmap when WinG is in use, else
// locked movable global memory) and a table with the byte offset of every
// row. All buffers share one memory orientation (g_nOrientation); the
// row-offset table hides it, so pixel (x, y) with y = 0 at the top is always
// the byte at GetBits() + GetRowOffsets()[y] + x.
//
// Failures raise the framework's exceptions through ThrowMemoryError and
// ThrowResourceError; no operation returns an error code. Pixel operations
// do not check bounds: callers keep coordinates inside the buffer.
#pragma once
#include "framework/Gdi.h"
#include "surface/SurfaceState.h"
#include <cstdint>

class CPalId;

// Source codes of Load and Reload; any other value does nothing.
enum : int32_t {
    SOURCE_BMP_FILE = 1,
    SOURCE_PCX_FILE = 2,
    SOURCE_RESOURCE = 4,
};

class CDibG : public CObject {
    DECLARE_DYNAMIC(CDibG)
public:
    CDibG();
    ~CDibG() override;
    CDibG(const CDibG&) = delete;
    CDibG& operator=(const CDibG&) = delete;

    // The virtual operations keep this order: callers and tools rely on it.
    virtual BOOL IsValid();
    virtual BOOL IsReady();
    virtual BOOL IsSelected();
    virtual void CreateWithPalette(int32_t nWidth, int32_t nHeight, CPalId* pPalette);
    virtual void CreateWithPalette(SIZE size, CPalId* pPalette);
    virtual void CopyFrom(CDibG* pSource);
    virtual void CloneFrom(CDibG* pSource);
    virtual void Load(const char* pszName, CPalId* pPalette, int32_t nSource);
    virtual void Destroy();
    virtual void Reload(const char* pszName, CPalId* pPalette, int32_t nSource);
    virtual void UseOwnDC(BOOL bUse);
    virtual void SetResourceModule(HMODULE hModule);
    virtual CDibG& Assign(CDibG& source);
    virtual void Copy(CDibG* pSource, BOOL bCopyColors);
    virtual void FlipVertical();
    virtual void FillRGB(const RGBTRIPLE& color);
    virtual void Fill(BYTE index);
    virtual RECT& GetRect(RECT& rect);
    virtual SIZE& GetSize(SIZE& size);
    virtual int32_t GetWidth();
    virtual int32_t GetHeight();
    virtual int32_t GetPitch();
    virtual BITMAPINFO* GetBitmapInfo();
    virtual BYTE* GetBits();
    virtual int32_t* GetRowOffsets();
    virtual DWORD GetImageSize();
    virtual CPalId* GetPalette();
    virtual BYTE GetPixel(int32_t x, int32_t y);
    virtual BYTE GetPixel(const POINT& point);
    virtual BYTE* GetPixelPtr(int32_t x, int32_t y);
    virtual BYTE* GetPixelPtr(const POINT& point);
    virtual BYTE* GetRowPtr(int32_t y);
    virtual int32_t GetPixelOffset(int32_t x, int32_t y);
    virtual int32_t GetPixelOffset(const POINT& point);
    virtual int32_t GetRowOffset(int32_t y);
    virtual int32_t GetLineOffset(int32_t y);
    virtual BYTE* GetLinePtr(int32_t y);
    virtual void SetPixel(int32_t x, int32_t y, BYTE index);
    virtual void SetPixel(const POINT& point, BYTE index);
    virtual BYTE FindColor(const RGBTRIPLE& color);
    virtual BYTE NearestColor(const RGBTRIPLE& color);
    virtual void CopyRect(CDibG* pSource, const POINT& ptSrc, const POINT& ptDst, const SIZE& size);
    virtual void CopyRectTransparent(CDibG* pSource, const POINT& ptSrc, const POINT& ptDst, const SIZE& size);
    virtual void PutBytes(const BYTE* pSource, const SIZE& size, const POINT& ptDst);
    virtual void PutBytesReserved(const BYTE* pSource, const SIZE& size, const POINT& ptDst);
    virtual HBITMAP SelectIntoSharedDC();
    virtual int Draw(CDC* pDC, int xDst, int yDst, int cxDst, int cyDst, int xSrc, int ySrc, int cxSrc, int cySrc);
    virtual int Draw(CDC* pDC, const RECT& rcDst, const RECT& rcSrc);
    virtual int Draw(CDC* pDC, const RECT& rcDst);
    virtual int Draw(CDC* pDC, int x, int y);
    virtual int Draw(CDC* pDC, const POINT& point);
    virtual int DrawDirect(CDC* pDC, int xDst, int yDst, int cxDst, int cyDst, int xSrc, int ySrc, int cxSrc,
                           int cySrc);
    virtual int DrawShared(CDC* pDC, int xDst, int yDst, int cxDst, int cyDst, int xSrc, int ySrc, int cxSrc,
                           int cySrc);
    virtual int BltTo(CDC* pDC, const POINT& ptDst, const POINT& ptSrc, const SIZE& size);
    virtual int StretchTo(CDC* pDC, const POINT& ptDst, const SIZE& sizeDst, const POINT& ptSrc, const SIZE& sizeSrc);
    virtual int DrawSharedBottomUp(CDC* pDC, const RECT& rcDst);
    virtual int DrawSharedBottomUp(CDC* pDC, int xDst, int yDst, int cxDst, int cyDst, int xSrc, int ySrc, int cxSrc,
                                   int cySrc);
    virtual void Create(int32_t nWidth, int32_t nHeight, CPalId* pPalette);
    virtual void CreateBuffer(int32_t nWidth, int32_t nHeight, CPalId* pPalette);
    virtual BOOL IsCreated();
    virtual void LoadResourceBitmap(const char* pszName, CPalId* pPalette);
    virtual void LoadBmpFile(const char* pszPath, CPalId* pPalette);
    virtual void LoadPcxFile(const char* pszPath, CPalId* pPalette);
    virtual void ReloadResourceBitmap(const char* pszName, CPalId* pPalette);
    virtual void ReloadBmpFile(const char* pszPath, CPalId* pPalette);
    virtual void ReloadPcxFile(const char* pszPath, CPalId* pPalette);
    virtual HMODULE GetResourceModule();
    virtual void SetWidth(int32_t nWidth);
    virtual void SetHeight(int32_t nHeight);
    virtual void AllocateBits();
    virtual void BuildRowOffsets();
    virtual void SetPalette(CPalId* pPalette);
    virtual void CopyBitsIn(const BYTE* pSource, int32_t nSourceOrientation);
    [[noreturn]] virtual void ThrowMemoryError();
    [[noreturn]] virtual void ThrowResourceError();

    // Writes the palette's colours into g_bmiRGB and 0 … 255 into
    // g_bmiIndex (and, with WinG, selects it into the shared DC); shared by
    // all buffers.
    static void UpdateSharedHeaders(CPalId* pPalette);

    BITMAPINFOHEADER m_bmih;
    RGBQUAD m_colors[256];         // directly after m_bmih: together a BITMAPINFO
    HBITMAP m_hBitmap = nullptr;   // WinG bitmap holding the pixels
    int32_t m_nPitch = 0;          // bytes per row, a multiple of 4
    BYTE* m_pBits = nullptr;
    int32_t* m_pRowOffsets = nullptr;
    BOOL m_bCreated = FALSE;
    BOOL m_bSelected = FALSE;   // bitmap is the one in the shared WinG DC
    HDC m_hOwnDC = nullptr;
    CPalId* m_pPalette = nullptr;   // not owned
    HMODULE m_hResModule = nullptr;
};

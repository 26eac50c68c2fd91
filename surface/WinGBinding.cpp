#include "surface/WinGBinding.h"
#include "surface/DibG.h"
#include "surface/SurfaceTesting.h"
#include <cstring>
#include <type_traits>

BOOL g_bWinGTried = FALSE;
BOOL g_bWinGLoaded = FALSE;
HMODULE g_hWinGModule = nullptr;
WinGEntryPoints g_WinG = {};

namespace {

const char kWinGSection[] = "WinG";
const char kProfileKey[] = "ProfileMessage";

// Resolves every entry point by name, in the order of WinGEntryPoints;
// FALSE as soon as one is missing.
BOOL ResolveEntryPoints(HMODULE hModule, WinGEntryPoints& table)
{
    static const char* const kNames[] = {
        "WinGCreateDC",
        "WinGCreateBitmap",
        "WinGGetDIBPointer",
        "WinGRecommendDIBFormat",
        "WinGGetDIBColorTable",
        "WinGSetDIBColorTable",
        "WinGBitBlt",
        "WinGStretchBlt",
        "WinGCreateHalftoneBrush",
        "WinGCreateHalftonePalette",
    };
    FARPROC procs[10] = {};
    for (int i = 0; i < 10; ++i) {
        procs[i] = GetProcAddress(hModule, kNames[i]);
        if (!procs[i])
            return FALSE;
    }
    // void (*)() converts to and from every function pointer type without
    // a cast-function-type warning.
    auto as = [](FARPROC p, auto& slot) {
        slot = reinterpret_cast<std::remove_reference_t<decltype(slot)>>(reinterpret_cast<void (*)()>(p));
    };
    as(procs[0], table.pfnCreateDC);
    as(procs[1], table.pfnCreateBitmap);
    as(procs[2], table.pfnGetDIBPointer);
    as(procs[3], table.pfnRecommendDIBFormat);
    as(procs[4], table.pfnGetDIBColorTable);
    as(procs[5], table.pfnSetDIBColorTable);
    as(procs[6], table.pfnBitBlt);
    as(procs[7], table.pfnStretchBlt);
    as(procs[8], table.pfnCreateHalftoneBrush);
    as(procs[9], table.pfnCreateHalftonePalette);
    return TRUE;
}

void InitSharedHeader(BITMAPINFOHEADER& h)
{
    std::memset(&h, 0, sizeof h);
    h.biSize = sizeof(BITMAPINFOHEADER);
    h.biPlanes = 1;
    h.biBitCount = 8;
}

// TRUE when the display has a hardware palette; an information context that
// cannot be opened counts as no palette.
BOOL DisplayHasPalette()
{
    HDC hIC = CreateICA("DISPLAY", nullptr, nullptr, nullptr);
    if (!hIC)
        return FALSE;
    BOOL bPalette = (GetDeviceCaps(hIC, RASTERCAPS) & RC_PALETTE) != 0;
    DeleteDC(hIC);
    return bPalette;
}

}   // namespace

BOOL LoadWinG(const char* pszMessage)
{
    if (g_bWinGTried)
        return g_bWinGLoaded;
    g_bWinGTried = TRUE;
    g_hWinGModule = nullptr;

    if (pszMessage)
        WriteProfileStringA(kWinGSection, kProfileKey, pszMessage);

    // A missing library must not make the system loader show a message box.
    char szName[32];
    lstrcpynA(szName, "WING32.DLL", sizeof szName);
    UINT uPrevMode = SetErrorMode(SEM_NOOPENFILEERRORBOX);
    HMODULE hModule = LoadLibraryA(szName);
    SetErrorMode(uPrevMode);
    if (!hModule)
        return FALSE;

    WinGEntryPoints table = {};
    if (!ResolveEntryPoints(hModule, table)) {
        FreeLibrary(hModule);
        return FALSE;
    }
    g_hWinGModule = hModule;
    g_WinG = table;
    g_bWinGLoaded = TRUE;
    if (pszMessage)
        WriteProfileStringA(kWinGSection, kProfileKey, "");
    return TRUE;
}

void InitDisplaySurface(const char* pszMessage, BOOL bDoNotUse, int32_t nForceOrientation)
{
    g_bWinGInUse = FALSE;
    g_bWinGLoaded = FALSE;
    g_nOrientation = ORIENT_BOTTOM_UP;
    InitSharedHeader(g_bmiRGB.bmiHeader);
    InitSharedHeader(g_bmiIndex.bmiHeader);

    if (bDoNotUse)
        g_bWinGTried = TRUE;   // refused: the library is never touched
    else
        LoadWinG(pszMessage);

    if (LoadWinG(nullptr) && !bDoNotUse) {
        g_hWinGDC = g_WinG.pfnCreateDC();
        if (g_hWinGDC) {
            // Zeroed first: a library that reports success without filling
            // the header then reads as a bottom-up recommendation.
            SharedBmiRGB recommended = {};
            if (g_WinG.pfnRecommendDIBFormat(reinterpret_cast<BITMAPINFO*>(&recommended))) {
                g_bWinGInUse = TRUE;
                if (nForceOrientation == ORIENT_BOTTOM_UP || nForceOrientation == ORIENT_TOP_DOWN)
                    g_nOrientation = nForceOrientation;
                else
                    g_nOrientation = recommended.bmiHeader.biHeight == -1 ? ORIENT_TOP_DOWN : ORIENT_BOTTOM_UP;
            }
        }
    }

    g_nColorUse = DisplayHasPalette() ? DIB_PAL_COLORS : DIB_RGB_COLORS;
}

void FreeWinG()
{
    if (g_hWinGDC) {
        DeleteDC(g_hWinGDC);
        g_hWinGDC = nullptr;
    }
    if (g_hWinGModule) {
        FreeLibrary(g_hWinGModule);
        g_hWinGModule = nullptr;
    }
}

void ResetDisplaySurfaceForTesting()
{
    FreeWinG();
    g_bWinGTried = FALSE;
    g_bWinGLoaded = FALSE;
    g_WinG = {};
    g_bWinGInUse = FALSE;
    g_nOrientation = ORIENT_BOTTOM_UP;
    g_nColorUse = DIB_RGB_COLORS;
    g_hbmInitial = nullptr;
    g_pSelectedDib = nullptr;
    g_bmiRGB = {};
    g_bmiIndex = {};
}

HBITMAP CDibG::SelectIntoSharedDC()
{
    // A buffer without a bitmap has nothing to select: the selection of
    // whichever buffer holds the shared DC stays as it is.
    if (!g_bWinGInUse || m_bSelected || !m_hBitmap)
        return nullptr;
    if (g_pSelectedDib) {
        g_pSelectedDib->m_bSelected = FALSE;
        g_pSelectedDib = nullptr;
    }
    HBITMAP hPrev = static_cast<HBITMAP>(SelectObject(g_hWinGDC, m_hBitmap));
    if (!g_hbmInitial)
        g_hbmInitial = hPrev;
    if (hPrev) {
        g_pSelectedDib = this;
        m_bSelected = TRUE;
    }
    return hPrev;
}

void CDibG::UseOwnDC(BOOL bUse)
{
    if (bUse) {
        if (!m_hOwnDC && g_bWinGLoaded)
            m_hOwnDC = g_WinG.pfnCreateDC();
    } else if (m_hOwnDC) {
        DeleteDC(m_hOwnDC);
        m_hOwnDC = nullptr;
    }
}

// What the screen saver shows: the star engine flying into the 320 x 200
// frame buffer, with the identity palette, copied into one or more places
// of a window. The same sequence as the program's view: the display surface
// (WinG or not), stars and sine table, palette and buffer from the
// "VELMORA" bitmap, the buffer in the shared WinG DC.
#pragma once
#include "saver/SaverChoices.h"
#include "saver/SaverLayout.h"
#include "surface/DibG.h"
#include <cstdint>

class CPalId;

class CSaverScene {
public:
    // The places of the picture: one per monitor, or one in a preview.
    static constexpr int32_t kMaxPlaces = 16;

    CSaverScene() = default;
    ~CSaverScene();
    CSaverScene(const CSaverScene&) = delete;
    CSaverScene& operator=(const CSaverScene&) = delete;

    // Starts the surface, the engine and the palette for these choices.
    // Failures arrive as the framework's exceptions.
    void Start(const SaverChoices& choices);
    // Realises the palette in the window's DC (foreground, or background for
    // a preview inside another program's window: m_bBackground).
    void RealizeIn(HWND hWnd);
    // Makes one frame and invalidates the window (without erasing).
    void Step();
    // Copies the frame into every place; hDC is the window's paint DC.
    void Draw(HDC hDC);
    // Undoes Start (also done by the destructor).
    void Stop();

    HWND m_hWnd = nullptr;   // the window that shows the picture
    SaverRect m_places[kMaxPlaces] = {};
    int32_t m_nPlaces = 0;
    int32_t m_nSimulation = 1;
    CDibG m_dib;
    CPalId* m_pPalId = nullptr;
    BOOL m_bStarted = FALSE;
    BOOL m_bBackground = FALSE;   // realise the palette as a background one
};

extern int g_bRunning;

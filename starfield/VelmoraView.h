// The starfield view: runs the star engine into the 320 x 200 8-bit frame
// buffer, paints the buffer into its window at the chosen display size,
// reads and writes the settings file, handles the display, simulation,
// population, nausea and audio commands, and feeds the frame-rate pane.
#pragma once
#include "audio/TunePlayer.h"
#include "framework/Framework.h"
#include "surface/DibG.h"
#include <cstdint>

class CPalId;

// Display sizes as m_nDisplaySize stores them.
enum : int32_t {
    DISPLAY_NORMAL = 0,
    DISPLAY_DOUBLED = 1,
    DISPLAY_WINDOW = 2,
};

// The settings the view reads from "QUARVELL.INI" when its window is made.
struct ViewSettings {
    int32_t nDoNotUse;           // [WinG] Do Not Use
    int32_t nForceOrientation;   // [WinG] Force Orientation
    int32_t nNumRuns;            // [Velmora] Num Runs
    bool bNumRunsOutOfRange;     // its text is a number beyond 32 bits
    int32_t nFrameRate;          // [Velmora] Frame Rate: 1..1000, else 0 (unpaced)
};

// Reads the values with the profile functions (default 0 each).
ViewSettings ReadViewSettings();
// Writes the run counter for the next run, given the value read at start
// (or 0 when nothing was read): the value plus one, in decimal. The counter
// stops at its largest value; a damaged key (a negative value, or a number
// beyond 32 bits that the profile functions read as a wrapped value) is left
// as it is, so the stored count never goes down.
void WriteRunCount(int32_t nNumRunsRead, bool bOutOfRange);
// The value WriteRunCount stores, or -1 when it leaves the key alone.
int32_t NextRunCount(int32_t nNumRunsRead, bool bOutOfRange);

// The message box of the first-run hint; tests replace it. Returns the
// button that closed the box.
using ViewMessageBoxFn = int (*)(const char* pszText, UINT nType);
extern ViewMessageBoxFn g_pfnViewMessageBox;

// Where the view goes inside the frame's client rectangle, given the two
// bars' heights (each the height plus one, or 0) and the display size. The
// area between the bars is handled as an inclusive rectangle; in Normal and
// Doubled size the picture of sizeDraw is centred in it and clipped, and the
// view gets one more pixel on every side for its border. The result is the
// view window's position and size in the frame's client coordinates.
struct ViewPlacement {
    int32_t x, y, cx, cy;
};
ViewPlacement CalcViewPlacement(const RECT& rcClient, int32_t nToolBarHeight, int32_t nStatusBarHeight,
                                int32_t nDisplaySize, SIZE sizeDraw);

class CVelmoraView : public CView, public CTunePlayer {
    DECLARE_DYNCREATE(CVelmoraView)
public:
    CVelmoraView();
    ~CVelmoraView() override;

    // One frame step of the current simulation (nothing after a fatal
    // error).
    void NextFrame();
    // Re-places every star for the current population and simulation.
    void ResetStars();
    // Places the view inside the main frame for the display size; in Window
    // size it also takes the drawing size from the client area.
    void LayoutView();
    // Gives the main frame's toolbar button at position nPos the image
    // nImage, keeping its command and style.
    void SetButtonImage(int nPos, int nImage);

    void OnDraw(CDC* pDC) override;
    int OnCreate(LPCREATESTRUCT lpcs);
    void OnSize(UINT nType, int cx, int cy);

    // Display, simulation, population and nausea commands.
    void OnDisplayNormal();
    void OnDisplayDoubled();
    void OnDisplayWindow();
    void OnSimulationTumbleDry();
    void OnSimulationWashingMachine();
    void OnSimulationDirtyLaundry();
    void OnSimulationNext();
    void OnPopulationSparse();
    void OnPopulationDense();
    void OnPopulationCrowded();
    void OnPopulationNext();
    void OnNauseaFeelingGood();
    void OnNauseaUncomfortable();
    void OnNauseaGutWrenching();
    void OnNauseaNext();
    void OnUpdateDisplayNormal(CCmdUI* pCmdUI);
    void OnUpdateDisplayDoubled(CCmdUI* pCmdUI);
    void OnUpdateDisplayWindow(CCmdUI* pCmdUI);
    void OnUpdateSimulationTumbleDry(CCmdUI* pCmdUI);
    void OnUpdateSimulationWashingMachine(CCmdUI* pCmdUI);
    void OnUpdateSimulationDirtyLaundry(CCmdUI* pCmdUI);
    void OnUpdatePopulationSparse(CCmdUI* pCmdUI);
    void OnUpdatePopulationDense(CCmdUI* pCmdUI);
    void OnUpdatePopulationCrowded(CCmdUI* pCmdUI);
    void OnUpdateNauseaFeelingGood(CCmdUI* pCmdUI);
    void OnUpdateNauseaUncomfortable(CCmdUI* pCmdUI);
    void OnUpdateNauseaGutWrenching(CCmdUI* pCmdUI);

    // Audio commands.
    void OnAudioTune1();
    void OnAudioTune2();
    void OnAudioTune3();
    void OnAudioNextTune();
    void StopTune();
    void OnUpdateAudioTune1(CCmdUI* pCmdUI);
    void OnUpdateAudioTune2(CCmdUI* pCmdUI);
    void OnUpdateAudioTune3(CCmdUI* pCmdUI);
    void OnUpdateAudioNoSound(CCmdUI* pCmdUI);

    // The frame-rate pane.
    void OnIndicatorFps();
    void OnUpdateIndicatorFps(CCmdUI* pCmdUI);

    CPalId* m_pPalId = nullptr;
    CDibG m_dib;
    SIZE m_sizeDraw = {0, 0};
    SIZE m_sizeDib = {0, 0};
    int32_t m_nDisplaySize;
    int32_t m_nSimulation;
    int32_t m_nPopulation;
    int32_t m_nNausea;
    // "Num Runs" as read at creation; 0 until then.
    int32_t m_nNumRuns = 0;
    bool m_bNumRunsOutOfRange = false;
    // "Frame Rate" as read at creation: frames per second, 0 unpaced.
    int32_t m_nFrameRate = 0;

protected:
    void BeginTuneWait() override { BeginWaitCursor(); }
    void EndTuneWait() override { EndWaitCursor(); }

private:
    void SetHelpPictures();
    void SetNausea(int32_t nLevel);
    void SetDisplaySize(int32_t nSize);

    DECLARE_MESSAGE_MAP()
};

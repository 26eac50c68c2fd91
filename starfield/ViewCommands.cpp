// The view's commands: display size, simulation, population and nausea
// choices with their Next commands and check marks, the toolbar pictures of
// the current choices, the audio commands and the frame-rate pane.
#include "audio/FpsMeter.h"
#include "starfield/FrameCalls.h"
#include "starfield/StarEngine.h"
#include "starfield/VelmoraView.h"
#include "surface/SurfaceState.h"

namespace {

// Toolbar positions (separators included) of the three Next buttons, and
// the first picture of each group in the image strip.
constexpr int kSimulationButton = 9;
constexpr int kPopulationButton = 10;
constexpr int kNauseaButton = 11;
constexpr int kFirstSimulationImage = 4;   // plus the simulation number 1..3
constexpr int kFirstNauseaImage = 11;      // plus the level 0..2

// g_nSpeed for nausea levels 0, 1 and 2.
constexpr int32_t kNauseaSpeed[3] = {1, 3, 7};

} // namespace

void CVelmoraView::SetButtonImage(int nPos, int nImage)
{
    FrameSetButtonImage(nPos, nImage);
}

// Simulation: a new choice re-places the stars; the picture is applied
// again either way.
void CVelmoraView::SetSimulation(int32_t n)
{
    if (m_nSimulation != n) {
        m_nSimulation = n;
        ResetStars();
    }
    SetButtonImage(kSimulationButton, kFirstSimulationImage + n);
}

void CVelmoraView::OnSimulationTumbleDry() { SetSimulation(kSimulationTumbleDry); }
void CVelmoraView::OnSimulationWashingMachine() { SetSimulation(kSimulationWashingMachine); }
void CVelmoraView::OnSimulationDirtyLaundry() { SetSimulation(kSimulationDirtyLaundry); }

void CVelmoraView::OnSimulationNext()
{
    switch (m_nSimulation) {
    case kSimulationTumbleDry: OnSimulationWashingMachine(); break;
    case kSimulationWashingMachine: OnSimulationDirtyLaundry(); break;
    case kSimulationDirtyLaundry: OnSimulationTumbleDry(); break;
    default: break;
    }
}

// Population: the same rule as the simulation.
void CVelmoraView::SetPopulation(int32_t nStars, int nImage)
{
    if (m_nPopulation != nStars) {
        m_nPopulation = nStars;
        ResetStars();
    }
    SetButtonImage(kPopulationButton, nImage);
}

void CVelmoraView::OnPopulationSparse() { SetPopulation(kPopulationSparse, 8); }
void CVelmoraView::OnPopulationDense() { SetPopulation(kPopulationDense, 9); }
void CVelmoraView::OnPopulationCrowded() { SetPopulation(kPopulationCrowded, 10); }

void CVelmoraView::OnPopulationNext()
{
    switch (m_nPopulation) {
    case kPopulationSparse: OnPopulationDense(); break;
    case kPopulationDense: OnPopulationCrowded(); break;
    case kPopulationCrowded: OnPopulationSparse(); break;
    default: break;
    }
}

// Nausea only scales the turning speeds: the field and the camera stay.
void CVelmoraView::SetNausea(int32_t nLevel)
{
    m_nNausea = nLevel;
    g_nSpeed = kNauseaSpeed[nLevel];
    SetButtonImage(kNauseaButton, kFirstNauseaImage + nLevel);
}

void CVelmoraView::OnNauseaFeelingGood() { SetNausea(0); }
void CVelmoraView::OnNauseaUncomfortable() { SetNausea(1); }
void CVelmoraView::OnNauseaGutWrenching() { SetNausea(2); }

void CVelmoraView::OnNauseaNext()
{
    switch (m_nNausea) {
    case 0: OnNauseaUncomfortable(); break;
    case 1: OnNauseaGutWrenching(); break;
    case 2: OnNauseaFeelingGood(); break;
    default: break;
    }
}

// Display: choosing the current size does nothing at all.
void CVelmoraView::SetDisplaySize(int32_t nSize)
{
    if (m_nDisplaySize == nSize)
        return;
    m_nDisplaySize = nSize;
    if (nSize == DISPLAY_NORMAL)
        m_sizeDraw = m_sizeDib;
    else if (nSize == DISPLAY_DOUBLED)
        m_sizeDraw = SIZE{2 * m_sizeDib.cx, 2 * m_sizeDib.cy};
    LayoutView();
}

void CVelmoraView::OnDisplayNormal() { SetDisplaySize(DISPLAY_NORMAL); }
void CVelmoraView::OnDisplayDoubled() { SetDisplaySize(DISPLAY_DOUBLED); }
void CVelmoraView::OnDisplayWindow() { SetDisplaySize(DISPLAY_WINDOW); }

void CVelmoraView::OnUpdateDisplayNormal(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(m_nDisplaySize == DISPLAY_NORMAL);
}

void CVelmoraView::OnUpdateDisplayDoubled(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(m_nDisplaySize == DISPLAY_DOUBLED);
}

// Stretching to any window size is offered only with WinG's fast copies.
void CVelmoraView::OnUpdateDisplayWindow(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(g_bWinGInUse != 0);
    pCmdUI->SetCheck(m_nDisplaySize == DISPLAY_WINDOW);
}

void CVelmoraView::OnUpdateSimulationTumbleDry(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(m_nSimulation == kSimulationTumbleDry);
}

void CVelmoraView::OnUpdateSimulationWashingMachine(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(m_nSimulation == kSimulationWashingMachine);
}

void CVelmoraView::OnUpdateSimulationDirtyLaundry(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(m_nSimulation == kSimulationDirtyLaundry);
}

void CVelmoraView::OnUpdatePopulationSparse(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(m_nPopulation == kPopulationSparse);
}

void CVelmoraView::OnUpdatePopulationDense(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(m_nPopulation == kPopulationDense);
}

void CVelmoraView::OnUpdatePopulationCrowded(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(m_nPopulation == kPopulationCrowded);
}

void CVelmoraView::OnUpdateNauseaFeelingGood(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(m_nNausea == 0);
}

void CVelmoraView::OnUpdateNauseaUncomfortable(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(m_nNausea == 1);
}

void CVelmoraView::OnUpdateNauseaGutWrenching(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(m_nNausea == 2);
}

// Audio: the player's operations behind the menu and the toolbar. The items
// stay enabled even after a fatal error (the player then does nothing).
void CVelmoraView::OnAudioTune1() { PlayTune(1); }
void CVelmoraView::OnAudioTune2() { PlayTune(2); }
void CVelmoraView::OnAudioTune3() { PlayTune(3); }
void CVelmoraView::OnAudioNextTune() { CTunePlayer::OnAudioNextTune(); }
void CVelmoraView::StopTune() { CTunePlayer::StopTune(); }

void CVelmoraView::OnUpdateAudioTune1(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(m_nTune == 1);
}

void CVelmoraView::OnUpdateAudioTune2(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(m_nTune == 2);
}

void CVelmoraView::OnUpdateAudioTune3(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(m_nTune == 3);
}

void CVelmoraView::OnUpdateAudioNoSound(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(m_nTune == -1);
}

// The pane's command handler does nothing; it exists so that the update
// pass keeps the pane enabled (a disabled pane shows no text).
void CVelmoraView::OnIndicatorFps() {}

void CVelmoraView::OnUpdateIndicatorFps(CCmdUI* pCmdUI)
{
    char text[16];
    FormatFpsText(text, sizeof text);
    pCmdUI->SetText(text);
}

// The view's commands: display size, simulation, population and nausea
// choices with their Next commands and check marks, the toolbar pictures of
// the current choices, the audio commands and the frame-rate pane.
#include "audio/FpsMeter.h"
#include "resources/ToolBarLayout.h"
#include "starfield/FrameCalls.h"
#include "starfield/StarEngine.h"
#include "starfield/VelmoraView.h"
#include "surface/SurfaceState.h"
#include <iterator>
#include <span>

namespace {

// One choice of a group: its command, the value the view stores while it is
// current, and the picture the group's toolbar button then shows.
struct Choice {
    UINT nID;
    int32_t nValue;
    int nImage;
};
using ChoiceGroup = std::span<const Choice>;

// Display sizes and tunes change no picture.
constexpr int kNoImage = -1;

constexpr Choice kDisplaySizes[] = {
    {ID_DISPLAY_NORMAL, DISPLAY_NORMAL, kNoImage},
    {ID_DISPLAY_DOUBLED, DISPLAY_DOUBLED, kNoImage},
    {ID_DISPLAY_WINDOW, DISPLAY_WINDOW, kNoImage},
};
constexpr Choice kSimulations[] = {
    {ID_SIMULATION_TUMBLE_DRY, kSimulationTumbleDry, 5},
    {ID_SIMULATION_WASHING_MACHINE, kSimulationWashingMachine, 6},
    {ID_SIMULATION_DIRTY_LAUNDRY, kSimulationDirtyLaundry, 7},
};
constexpr Choice kPopulations[] = {
    {ID_POPULATION_SPARSE, kPopulationSparse, 8},
    {ID_POPULATION_DENSE, kPopulationDense, 9},
    {ID_POPULATION_CROWDED, kPopulationCrowded, 10},
};
// The level is also the index into kNauseaSpeed.
constexpr Choice kNauseaLevels[] = {
    {ID_NAUSEA_FEELING_GOOD, 0, 11},
    {ID_NAUSEA_UNCOMFORTABLE, 1, 12},
    {ID_NAUSEA_GUT_WRENCHING, 2, 13},
};
// g_nSpeed for nausea levels 0, 1 and 2.
constexpr int32_t kNauseaSpeed[] = {1, 3, 7};
// m_nTune: 1 to 3, or -1 for no sound.
constexpr Choice kTunes[] = {
    {ID_AUDIO_TUNE1, 1, kNoImage},
    {ID_AUDIO_TUNE2, 2, kNoImage},
    {ID_AUDIO_TUNE3, 3, kNoImage},
    {ID_AUDIO_NO_SOUND, -1, kNoImage},
};

// A group whose current choice shows its picture on a toolbar button (the
// group's Next button): its choices, the view's member that stores the
// current value, and the button.
struct PictureGroup {
    ChoiceGroup choices;
    int32_t CVelmoraView::*pnCurrent;
    int nButton;
};
constexpr PictureGroup kSimulationGroup = {kSimulations, &CVelmoraView::m_nSimulation,
                                           ToolBarPosition(ID_SIMULATION_NEXT)};
constexpr PictureGroup kPopulationGroup = {kPopulations, &CVelmoraView::m_nPopulation,
                                           ToolBarPosition(ID_POPULATION_NEXT)};
constexpr PictureGroup kNauseaGroup = {kNauseaLevels, &CVelmoraView::m_nNausea, ToolBarPosition(ID_NAUSEA_NEXT)};
static_assert(kSimulationGroup.nButton == 9 && kPopulationGroup.nButton == 10 && kNauseaGroup.nButton == 11);
static_assert(kSimulations[0].nImage == 5 && kPopulations[0].nImage == 8 && kNauseaLevels[0].nImage == 11);
static_assert(std::size(kNauseaSpeed) == std::size(kNauseaLevels) && kNauseaLevels[2].nValue == 2);

// The choice of the group that stores nValue, or null.
const Choice* FindValue(ChoiceGroup group, int32_t nValue)
{
    for (const Choice& c : group)
        if (c.nValue == nValue)
            return &c;
    return nullptr;
}

// Every choice's update handler: the item is enabled (unless bEnabled says
// otherwise) and checked while the group's current value is its own.
void UpdateChoice(CCmdUI* pCmdUI, ChoiceGroup group, int32_t nCurrent, bool bEnabled = true)
{
    const Choice* p = FindValue(group, nCurrent);
    pCmdUI->Enable(bEnabled);
    pCmdUI->SetCheck(p && p->nID == pCmdUI->m_nID);
}

// Simulation and population: a new choice re-places the stars; the picture
// is applied again either way.
void ChooseStars(CVelmoraView& view, const PictureGroup& group, int32_t nValue)
{
    int32_t& nCurrent = view.*group.pnCurrent;
    if (nCurrent != nValue) {
        nCurrent = nValue;
        view.ResetStars();
    }
    view.SetButtonImage(group.nButton, FindValue(group.choices, nValue)->nImage);
}

// A Next command carries out the command of the choice after the current one
// (after the last, the first); with the current value outside its group it
// does nothing at all.
void ChooseNext(CVelmoraView& view, const PictureGroup& group)
{
    const Choice* p = FindValue(group.choices, view.*group.pnCurrent);
    if (!p)
        return;
    const Choice* pNext = p + 1 == group.choices.data() + group.choices.size() ? group.choices.data() : p + 1;
    view.OnCmdMsg(pNext->nID, CN_COMMAND, nullptr, nullptr);
}

}   // namespace

void CVelmoraView::SetButtonImage(int nPos, int nImage) { FrameSetButtonImage(nPos, nImage); }

// The three help buttons show the last three pictures of the strip, which
// the frame's button order does not give them.
void CVelmoraView::SetHelpPictures()
{
    constexpr UINT kHelpButtons[] = {ID_APP_ABOUT, ID_APP_ABOUT_MAKER, ID_HELP_QUICK_HELP};
    constexpr int kFirstHelpImage = 14;
    static_assert(ToolBarPosition(ID_APP_ABOUT) == 14 && ToolBarPosition(ID_HELP_QUICK_HELP) == 16);
    for (int i = 0; i < int(std::size(kHelpButtons)); ++i)
        SetButtonImage(ToolBarPosition(kHelpButtons[i]), kFirstHelpImage + i);
}

void CVelmoraView::OnSimulationTumbleDry() { ChooseStars(*this, kSimulationGroup, kSimulationTumbleDry); }
void CVelmoraView::OnSimulationWashingMachine() { ChooseStars(*this, kSimulationGroup, kSimulationWashingMachine); }
void CVelmoraView::OnSimulationDirtyLaundry() { ChooseStars(*this, kSimulationGroup, kSimulationDirtyLaundry); }
void CVelmoraView::OnSimulationNext() { ChooseNext(*this, kSimulationGroup); }

void CVelmoraView::OnPopulationSparse() { ChooseStars(*this, kPopulationGroup, kPopulationSparse); }
void CVelmoraView::OnPopulationDense() { ChooseStars(*this, kPopulationGroup, kPopulationDense); }
void CVelmoraView::OnPopulationCrowded() { ChooseStars(*this, kPopulationGroup, kPopulationCrowded); }
void CVelmoraView::OnPopulationNext() { ChooseNext(*this, kPopulationGroup); }

// Nausea only scales the turning speeds: the field and the camera stay.
void CVelmoraView::SetNausea(int32_t nLevel)
{
    m_nNausea = nLevel;
    g_nSpeed = kNauseaSpeed[nLevel];
    SetButtonImage(kNauseaGroup.nButton, kNauseaLevels[nLevel].nImage);
}

void CVelmoraView::OnNauseaFeelingGood() { SetNausea(0); }
void CVelmoraView::OnNauseaUncomfortable() { SetNausea(1); }
void CVelmoraView::OnNauseaGutWrenching() { SetNausea(2); }
void CVelmoraView::OnNauseaNext() { ChooseNext(*this, kNauseaGroup); }

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

// Check marks. Stretching to any window size is offered only with WinG's
// fast copies; every other choice is always enabled.
void CVelmoraView::OnUpdateDisplayNormal(CCmdUI* pCmdUI) { UpdateChoice(pCmdUI, kDisplaySizes, m_nDisplaySize); }
void CVelmoraView::OnUpdateDisplayDoubled(CCmdUI* pCmdUI) { UpdateChoice(pCmdUI, kDisplaySizes, m_nDisplaySize); }
void CVelmoraView::OnUpdateDisplayWindow(CCmdUI* pCmdUI)
{
    UpdateChoice(pCmdUI, kDisplaySizes, m_nDisplaySize, g_bWinGInUse != 0);
}
void CVelmoraView::OnUpdateSimulationTumbleDry(CCmdUI* pCmdUI) { UpdateChoice(pCmdUI, kSimulations, m_nSimulation); }
void CVelmoraView::OnUpdateSimulationWashingMachine(CCmdUI* pCmdUI)
{
    UpdateChoice(pCmdUI, kSimulations, m_nSimulation);
}
void CVelmoraView::OnUpdateSimulationDirtyLaundry(CCmdUI* pCmdUI) { UpdateChoice(pCmdUI, kSimulations, m_nSimulation); }
void CVelmoraView::OnUpdatePopulationSparse(CCmdUI* pCmdUI) { UpdateChoice(pCmdUI, kPopulations, m_nPopulation); }
void CVelmoraView::OnUpdatePopulationDense(CCmdUI* pCmdUI) { UpdateChoice(pCmdUI, kPopulations, m_nPopulation); }
void CVelmoraView::OnUpdatePopulationCrowded(CCmdUI* pCmdUI) { UpdateChoice(pCmdUI, kPopulations, m_nPopulation); }
void CVelmoraView::OnUpdateNauseaFeelingGood(CCmdUI* pCmdUI) { UpdateChoice(pCmdUI, kNauseaLevels, m_nNausea); }
void CVelmoraView::OnUpdateNauseaUncomfortable(CCmdUI* pCmdUI) { UpdateChoice(pCmdUI, kNauseaLevels, m_nNausea); }
void CVelmoraView::OnUpdateNauseaGutWrenching(CCmdUI* pCmdUI) { UpdateChoice(pCmdUI, kNauseaLevels, m_nNausea); }

// Audio: the player's operations behind the menu and the toolbar. The items
// stay enabled even after a fatal error (the player then does nothing).
void CVelmoraView::OnAudioTune1() { PlayTune(1); }
void CVelmoraView::OnAudioTune2() { PlayTune(2); }
void CVelmoraView::OnAudioTune3() { PlayTune(3); }
void CVelmoraView::OnAudioNextTune() { CTunePlayer::OnAudioNextTune(); }
void CVelmoraView::StopTune() { CTunePlayer::StopTune(); }

void CVelmoraView::OnUpdateAudioTune1(CCmdUI* pCmdUI) { UpdateChoice(pCmdUI, kTunes, m_nTune); }
void CVelmoraView::OnUpdateAudioTune2(CCmdUI* pCmdUI) { UpdateChoice(pCmdUI, kTunes, m_nTune); }
void CVelmoraView::OnUpdateAudioTune3(CCmdUI* pCmdUI) { UpdateChoice(pCmdUI, kTunes, m_nTune); }
void CVelmoraView::OnUpdateAudioNoSound(CCmdUI* pCmdUI) { UpdateChoice(pCmdUI, kTunes, m_nTune); }

// The pane's command handler does nothing; it exists so that the update
// pass keeps the pane enabled (a disabled pane shows no text).
void CVelmoraView::OnIndicatorFps() {}

void CVelmoraView::OnUpdateIndicatorFps(CCmdUI* pCmdUI)
{
    char text[16];
    FormatFpsText(text, sizeof text);
    pCmdUI->SetText(text);
}

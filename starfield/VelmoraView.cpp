// The view's life: construction, window creation, painting, resizing and
// destruction.
#include "starfield/VelmoraView.h"
#include "audio/FpsMeter.h"
#include "palette/PalDisplay.h"
#include "palette/PalId.h"
#include "resources/resource.h"
#include "starfield/FrameCalls.h"
#include "starfield/StarEngine.h"
#include "surface/WinGBinding.h"
#include <new>

IMPLEMENT_DYNCREATE(CVelmoraView, CView)

BEGIN_MESSAGE_MAP(CVelmoraView, CView)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_COMMAND(ID_DISPLAY_NORMAL, OnDisplayNormal)
    ON_COMMAND(ID_DISPLAY_DOUBLED, OnDisplayDoubled)
    ON_COMMAND(ID_DISPLAY_WINDOW, OnDisplayWindow)
    ON_COMMAND(ID_SIMULATION_TUMBLE_DRY, OnSimulationTumbleDry)
    ON_COMMAND(ID_SIMULATION_WASHING_MACHINE, OnSimulationWashingMachine)
    ON_COMMAND(ID_SIMULATION_DIRTY_LAUNDRY, OnSimulationDirtyLaundry)
    ON_COMMAND(ID_SIMULATION_NEXT, OnSimulationNext)
    ON_COMMAND(ID_POPULATION_SPARSE, OnPopulationSparse)
    ON_COMMAND(ID_POPULATION_DENSE, OnPopulationDense)
    ON_COMMAND(ID_POPULATION_CROWDED, OnPopulationCrowded)
    ON_COMMAND(ID_POPULATION_NEXT, OnPopulationNext)
    ON_COMMAND(ID_NAUSEA_FEELING_GOOD, OnNauseaFeelingGood)
    ON_COMMAND(ID_NAUSEA_UNCOMFORTABLE, OnNauseaUncomfortable)
    ON_COMMAND(ID_NAUSEA_GUT_WRENCHING, OnNauseaGutWrenching)
    ON_COMMAND(ID_NAUSEA_NEXT, OnNauseaNext)
    ON_UPDATE_COMMAND_UI(ID_DISPLAY_NORMAL, OnUpdateDisplayNormal)
    ON_UPDATE_COMMAND_UI(ID_DISPLAY_DOUBLED, OnUpdateDisplayDoubled)
    ON_UPDATE_COMMAND_UI(ID_DISPLAY_WINDOW, OnUpdateDisplayWindow)
    ON_UPDATE_COMMAND_UI(ID_SIMULATION_TUMBLE_DRY, OnUpdateSimulationTumbleDry)
    ON_UPDATE_COMMAND_UI(ID_SIMULATION_WASHING_MACHINE, OnUpdateSimulationWashingMachine)
    ON_UPDATE_COMMAND_UI(ID_SIMULATION_DIRTY_LAUNDRY, OnUpdateSimulationDirtyLaundry)
    ON_UPDATE_COMMAND_UI(ID_POPULATION_SPARSE, OnUpdatePopulationSparse)
    ON_UPDATE_COMMAND_UI(ID_POPULATION_DENSE, OnUpdatePopulationDense)
    ON_UPDATE_COMMAND_UI(ID_POPULATION_CROWDED, OnUpdatePopulationCrowded)
    ON_UPDATE_COMMAND_UI(ID_NAUSEA_FEELING_GOOD, OnUpdateNauseaFeelingGood)
    ON_UPDATE_COMMAND_UI(ID_NAUSEA_UNCOMFORTABLE, OnUpdateNauseaUncomfortable)
    ON_UPDATE_COMMAND_UI(ID_NAUSEA_GUT_WRENCHING, OnUpdateNauseaGutWrenching)
    ON_COMMAND(ID_AUDIO_TUNE1, OnAudioTune1)
    ON_COMMAND(ID_AUDIO_TUNE2, OnAudioTune2)
    ON_COMMAND(ID_AUDIO_TUNE3, OnAudioTune3)
    ON_COMMAND(ID_AUDIO_NEXT_TUNE, OnAudioNextTune)
    ON_COMMAND(ID_AUDIO_NO_SOUND, StopTune)
    ON_UPDATE_COMMAND_UI(ID_AUDIO_TUNE1, OnUpdateAudioTune1)
    ON_UPDATE_COMMAND_UI(ID_AUDIO_TUNE2, OnUpdateAudioTune2)
    ON_UPDATE_COMMAND_UI(ID_AUDIO_TUNE3, OnUpdateAudioTune3)
    ON_UPDATE_COMMAND_UI(ID_AUDIO_NO_SOUND, OnUpdateAudioNoSound)
    ON_COMMAND(ID_INDICATOR_FPS, OnIndicatorFps)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_FPS, OnUpdateIndicatorFps)
END_MESSAGE_MAP()

namespace {

// The engine's view of the frame buffer.
class ViewSurface final : public StarSurface {
public:
    explicit ViewSurface(CVelmoraView& view) : m_view(view) {}
    void Clear() override { m_view.m_dib.Fill(0); }
    uint8_t* Bits() override { return m_view.m_dib.GetBits(); }
    const int32_t* RowOffsets() override { return m_view.m_dib.GetRowOffsets(); }
    void Invalidate() override { m_view.Invalidate(FALSE); }

private:
    CVelmoraView& m_view;
};

int DefaultViewMessageBox(const char* pszText, UINT nType) { return AfxMessageBox(pszText, nType, 0); }

}   // namespace

ViewMessageBoxFn g_pfnViewMessageBox = DefaultViewMessageBox;

CVelmoraView::CVelmoraView()
    : m_nDisplaySize(::GetSystemMetrics(SM_CXSCREEN) <= 640 ? DISPLAY_NORMAL : DISPLAY_DOUBLED),
      m_nSimulation(kSimulationTumbleDry), m_nPopulation(kPopulationDense), m_nNausea(0)
{
    g_nStars = kPopulationDense;
    // Only the Tumble Dry step counts frames for the rate pane.
    SetFrameTickHook(&TickFpsMeter);
}

CVelmoraView::~CVelmoraView()
{
    StopTune();
    m_dib.Destroy();
    FreeWinG();
    delete m_pPalId;
    m_pPalId = nullptr;
    ReleaseStars();
    ForgetTunes();
    WriteRunCount(m_nNumRuns, m_bNumRunsOutOfRange);
}

int CVelmoraView::OnCreate(LPCREATESTRUCT lpcs)
{
    try {
        if (CView::OnCreate(lpcs) == -1)
            return -1;

        const ViewSettings settings = ReadViewSettings();
        m_nNumRuns = settings.nNumRuns;
        m_bNumRunsOutOfRange = settings.bNumRunsOutOfRange;
        m_nFrameRate = settings.nFrameRate;

        InitDisplaySurface(AfxLoadString(IDS_WING_PROFILING).c_str(), settings.nDoNotUse != 0,
                           settings.nForceOrientation);
        if (!g_bWinGInUse) {
            m_nDisplaySize = DISPLAY_NORMAL;
            if (settings.nNumRuns == 0 && settings.nDoNotUse == 0)
                g_pfnViewMessageBox(AfxLoadString(IDS_WING_INSTALL_HINT).c_str(), MB_ICONINFORMATION | MB_OK);
        }

        // The program cannot run without the star array.
        if (!AllocateStars())
            AfxThrowMemoryException();
        ResetStars();
        BuildSineTable();

        m_pPalId = new (std::nothrow) CPalId;
        m_dib.Load("VELMORA", m_pPalId, SOURCE_RESOURCE);
        m_dib.SelectIntoSharedDC();
        m_dib.GetSize(m_sizeDib);
        if (m_nDisplaySize == DISPLAY_NORMAL)
            m_sizeDraw = m_sizeDib;
        else
            m_sizeDraw = SIZE{2 * m_sizeDib.cx, 2 * m_sizeDib.cy};

        {
            CClientDC dc(this);
            if (m_pPalId)
                dc.SelectPalette(m_pPalId, FALSE);
            dc.RealizePalette();
        }
        PalNotifyPaletteChanged(m_hWnd);

        OnSimulationTumbleDry();
        OnPopulationDense();
        OnNauseaFeelingGood();
        SetHelpPictures();

        m_nTune = 1;
        return 0;
    } catch (CException* e) {
        HaltOnFatalError(e);
        return -1;
    }
}

void CVelmoraView::OnSize(UINT nType, int cx, int cy)
{
    CView::OnSize(nType, cx, cy);
    LayoutView();
    RestartFpsMeter(TRUE);
}

void CVelmoraView::NextFrame()
{
    ViewSurface surface(*this);
    ::NextFrame(g_bRunning, m_nSimulation, surface);
}

void CVelmoraView::ResetStars() { ::ResetStars(m_nPopulation, m_nSimulation); }

void CVelmoraView::OnDraw(CDC* pDC)
{
    if (!g_bRunning)
        return;
    // The palette only matters on a palette display, where the display
    // surface chose palette-relative colours at start-up. On a true-colour
    // screen the copy takes its colours from the buffer's own table, and
    // selecting a foreground palette would cost a round trip to the window
    // system on every frame for nothing.
    if (m_pPalId && g_nColorUse == DIB_PAL_COLORS) {
        pDC->SelectPalette(m_pPalId, FALSE);
        pDC->RealizePalette();
    }
    POINT origin = {0, 0};
    SIZE sizeSrc;
    m_dib.StretchTo(pDC, origin, m_sizeDraw, origin, m_dib.GetSize(sizeSrc));
}

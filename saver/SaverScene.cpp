#include "saver/SaverScene.h"
#include "framework/FrameWnd.h"
#include "palette/PalId.h"
#include "resources/resource.h"
#include "saver/SaverSettings.h"
#include "starfield/StarEngine.h"
#include "surface/WinGBinding.h"
#include <new>

namespace {

// The engine's view of the frame buffer and the window.
class SceneSurface final : public StarSurface {
public:
    explicit SceneSurface(CSaverScene& scene) : m_scene(scene) {}
    void Clear() override { m_scene.m_dib.Fill(0); }
    uint8_t* Bits() override { return m_scene.m_dib.GetBits(); }
    const int32_t* RowOffsets() override { return m_scene.m_dib.GetRowOffsets(); }
    void Invalidate() override { ::InvalidateRect(m_scene.m_hWnd, nullptr, FALSE); }

private:
    CSaverScene& m_scene;
};

}   // namespace

CSaverScene::~CSaverScene() { Stop(); }

void CSaverScene::Start(const SaverChoices& choices)
{
    const SaverWinGSettings wing = ReadSaverWinGSettings();
    InitDisplaySurface(AfxLoadString(IDS_WING_PROFILING).c_str(), wing.bDoNotUse, wing.nForceOrientation);
    m_bStarted = TRUE;

    if (!AllocateStars())
        AfxThrowMemoryException();
    m_nSimulation = choices.nSimulation;
    ResetStars(choices.nPopulation, choices.nSimulation);
    BuildSineTable();
    g_nSpeed = NauseaSpeed(choices.nNausea);

    m_pPalId = new (std::nothrow) CPalId;
    m_dib.Load("VELMORA", m_pPalId, SOURCE_RESOURCE);
    m_dib.SelectIntoSharedDC();
}

void CSaverScene::RealizeIn(HWND hWnd)
{
    if (!m_pPalId)
        return;
    CClientDC dc(hWnd);
    dc.SelectPalette(m_pPalId, m_bBackground);
    dc.RealizePalette();
}

void CSaverScene::Step()
{
    SceneSurface surface(*this);
    ::NextFrame(g_bRunning, m_nSimulation, surface);
}

void CSaverScene::Draw(HDC hDC)
{
    if (!g_bRunning || !m_dib.IsCreated())
        return;
    CDC dc;
    dc.Attach(hDC);
    // As in the program: the palette matters only where the surface chose
    // palette-relative colours (a palette display).
    if (m_pPalId && g_nColorUse == DIB_PAL_COLORS) {
        dc.SelectPalette(m_pPalId, m_bBackground);
        dc.RealizePalette();
    }
    const POINT origin = {0, 0};
    const SIZE sizeSrc = {kFrameWidth, kFrameHeight};
    for (int32_t i = 0; i < m_nPlaces; ++i) {
        const SaverRect& r = m_places[i];
        m_dib.StretchTo(&dc, POINT{r.x, r.y}, SIZE{r.cx, r.cy}, origin, sizeSrc);
    }
    dc.Detach();
}

void CSaverScene::Stop()
{
    if (!m_bStarted)
        return;
    m_bStarted = FALSE;
    m_dib.Destroy();
    FreeWinG();
    delete m_pPalId;
    m_pPalId = nullptr;
    ReleaseStars();
}

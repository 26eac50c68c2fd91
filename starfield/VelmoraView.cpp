#include "starfield/VelmoraView.h"
#include "app/VelmoraApp.h"
#include "palette/PalId.h"
#include "resources/resource.h"
#include "starfield/StarEngine.h"
#include "surface/WinGBinding.h"

IMPLEMENT_DYNCREATE(CVelmoraView, CView)

BEGIN_MESSAGE_MAP(CVelmoraView, CView)
    ON_WM_CREATE()
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

} // namespace

CVelmoraView::CVelmoraView()
{
    g_nStars = kPopulationDense;
}

CVelmoraView::~CVelmoraView()
{
    m_dib.Destroy();
    FreeWinG();
    delete m_pPalId;
    ReleaseStars();
}

int CVelmoraView::OnCreate(LPCREATESTRUCT lpcs)
{
    try {
        if (CView::OnCreate(lpcs) == -1)
            return -1;
        InitDisplaySurface(AfxLoadString(IDS_WING_PROFILING).c_str(), FALSE, 0);
        if (!AllocateStars())
            AfxThrowMemoryException();
        BuildSineTable();
        ResetStars(kPopulationDense, kSimulationTumbleDry);
        m_pPalId = new CPalId;
        m_dib.Load("VELMORA", m_pPalId, SOURCE_RESOURCE);
        m_dib.SelectIntoSharedDC();
        m_dib.GetSize(m_sizeDib);
        m_sizeDraw = m_sizeDib;
        return 0;
    } catch (CException* e) {
        g_bRunning = 0;
        if (auto* pApp = static_cast<CVelmoraApp*>(AfxGetApp()))
            pApp->ReportFatalError(e);
        e->Delete();
        return -1;
    }
}

void CVelmoraView::NextFrame()
{
    ViewSurface surface(*this);
    ::NextFrame(g_bRunning, m_nSimulation, surface);
}

void CVelmoraView::OnDraw(CDC* pDC)
{
    if (!g_bRunning)
        return;
    if (m_pPalId) {
        pDC->SelectPalette(m_pPalId, FALSE);
        pDC->RealizePalette();
    }
    POINT origin = {0, 0};
    SIZE sizeSrc;
    m_dib.StretchTo(pDC, origin, m_sizeDraw, origin, m_dib.GetSize(sizeSrc));
}

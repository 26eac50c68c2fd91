// The starfield view: runs the star engine into the 320 x 200 8-bit frame
// buffer and paints the buffer into its window.
#pragma once
#include "framework/Framework.h"
#include "surface/DibG.h"
#include <cstdint>

class CPalId;

class CVelmoraView : public CView {
    DECLARE_DYNCREATE(CVelmoraView)
public:
    CVelmoraView();
    ~CVelmoraView() override;

    // One frame step of the current simulation (nothing after a fatal
    // error).
    void NextFrame();
    // The tune player joins the view later; until then there is nothing to
    // pause or resume.
    void PauseTune() {}
    void ResumeTune() {}

    void OnDraw(CDC* pDC) override;
    int OnCreate(LPCREATESTRUCT lpcs);

    CPalId* m_pPalId = nullptr;
    CDibG m_dib;
    SIZE m_sizeDraw = {0, 0};
    SIZE m_sizeDib = {0, 0};
    int32_t m_nSimulation = 1;

    DECLARE_MESSAGE_MAP()
};

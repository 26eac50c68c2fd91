#include "app/ViewCalls.h"
#include "starfield/VelmoraView.h"

const CRuntimeClass* ShellViewClass() { return RUNTIME_CLASS(CVelmoraView); }

void ShellNextFrame(CView* pView) { static_cast<CVelmoraView*>(pView)->NextFrame(); }

int32_t ShellFrameRate(CView* pView) { return static_cast<CVelmoraView*>(pView)->m_nFrameRate; }

void ShellPauseTune(CView* pView) { static_cast<CVelmoraView*>(pView)->PauseTune(); }

void ShellResumeTune(CView* pView) { static_cast<CVelmoraView*>(pView)->ResumeTune(); }

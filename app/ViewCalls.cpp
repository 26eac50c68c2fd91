#include "app/ViewCalls.h"
#include "starfield/VelmoraView.h"

const CRuntimeClass* ShellViewClass()
{
    return RUNTIME_CLASS(CVelmoraView);
}

void ShellNextFrame(CView* pView)
{
    static_cast<CVelmoraView*>(pView)->NextFrame();
}

void ShellPauseTune(CView* pView)
{
    static_cast<CVelmoraView*>(pView)->PauseTune();
}

void ShellResumeTune(CView* pView)
{
    static_cast<CVelmoraView*>(pView)->ResumeTune();
}

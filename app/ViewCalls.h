// What the shell asks of the view. The program's view answers these (in
// ViewCalls.cpp); test programs link their own answers instead.
#pragma once
#include "framework/Framework.h"
#include <cstdint>

// The run-time class of the view that the document template creates.
const CRuntimeClass* ShellViewClass();
// One frame step of the active view.
void ShellNextFrame(CView* pView);
// The frames per second the view read from its settings; 0: unpaced.
int32_t ShellFrameRate(CView* pView);
// The tune falls silent, or starts again, with the frame's activation.
void ShellPauseTune(CView* pView);
void ShellResumeTune(CView* pView);

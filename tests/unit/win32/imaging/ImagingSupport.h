// Shared set-up of the imaging tests: the surface is started once per
// process, without WinG (bottom-up rows) or through our WinG (top-down),
// as the test entry's environment says.
#pragma once
#include "palette/PalId.h"
#include "surface/DibG.h"
#include "surface/SurfaceState.h"
#include "surface/WinGBinding.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <cstring>
#include <string>

inline void StartSurfaceOnce()
{
    static bool started = false;
    if (started)
        return;
    started = true;
    const char* wing = std::getenv("VELMORA_IMAGING_WING");
    const bool useWinG = wing && std::strcmp(wing, "ours") == 0;
    InitDisplaySurface(nullptr, useWinG ? FALSE : TRUE, 0);
}

inline int32_t ExpectedOrientation()
{
    const char* wing = std::getenv("VELMORA_IMAGING_WING");
    return wing && std::strcmp(wing, "ours") == 0 ? ORIENT_TOP_DOWN : ORIENT_BOTTOM_UP;
}

// Runs a loader and tells which framework exception, if any, it raised.
template <class F> std::string ExceptionOf(F&& f)
{
    try {
        f();
    } catch (CException* e) {
        std::string kind = e->GetRuntimeClass()->m_lpszClassName;
        e->Delete();
        return kind;
    }
    return "none";
}

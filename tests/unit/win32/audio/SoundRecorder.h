// Replaces the sound service with a recorder of every call.
#pragma once
#include "audio/TunePlayer.h"
#include <string>
#include <vector>

struct SoundCall {
    const void* sound;
    UINT flags;
};

inline std::vector<SoundCall>& SoundCalls()
{
    static std::vector<SoundCall> calls;
    return calls;
}

inline BOOL RecordSound(LPCSTR pszSound, UINT fuSound)
{
    SoundCalls().push_back({pszSound, fuSound});
    return TRUE;
}

// The marker byte that ends each stand-in tune image: '1', '2' or '3'.
inline char TuneMarker(const void* image) { return static_cast<const char*>(image)[48]; }

struct SoundServiceScope {
    SoundServiceScope()
    {
        SoundCalls().clear();
        g_pfnSoundService = RecordSound;
        g_bRunning = 1;
    }
    ~SoundServiceScope() { g_bRunning = 1; }
};

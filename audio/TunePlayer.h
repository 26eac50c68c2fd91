// The tune player: three looping tunes stored as WAVE resources "RIFF1" to
// "RIFF3", played from memory by the system's simple sound service. The
// view holds one player; its audio commands and the main frame's activation
// changes drive it.
#pragma once
#include "audio/RunningFlag.h"
#include <windows.h>
#include <cstdint>

// The sound service (sndPlaySoundA in the program; tests replace it).
using SoundServiceFn = BOOL (*)(LPCSTR pszSound, UINT fuSound);
extern SoundServiceFn g_pfnSoundService;

// Flag sets handed to the sound service.
constexpr UINT kTuneStopFlags = 0x0003;   // SND_ASYNC | SND_NODEFAULT, with no sound
constexpr UINT kTunePlayFlags = 0x000F;   // SND_ASYNC | SND_NODEFAULT | SND_MEMORY | SND_LOOP

class CTunePlayer {
public:
    CTunePlayer();
    virtual ~CTunePlayer() = default;

    // Makes tune n (1 to 3) current and plays it in a loop from its start.
    void PlayTune(int32_t n);
    // Plays the current tune again (the main window became active).
    void ResumeTune();
    // Silences the current tune without forgetting it (the window became inactive).
    void PauseTune();
    // Silences the sound and makes no tune current.
    void StopTune();
    // Empties the cache and makes no tune current.
    void ForgetTunes();
    // Plays the tune after the current one: 1, 2, 3, 1, ...; from none, 1.
    void OnAudioNextTune();

    int32_t m_nTune;              // 1 to 3, or -1 for none
    const void* m_tuneImage[3];   // locked image of tune n's resource, or null
    HGLOBAL m_tuneResource[3];    // loaded resource of tune n, or null

protected:
    // Shown while a tune is located and loaded; the view routes these to the
    // framework's wait cursor.
    virtual void BeginTuneWait() {}
    virtual void EndTuneWait() {}
    // The module searched for the tunes.
    virtual HMODULE TuneModule() const;
};

#include "audio/TunePlayer.h"
#include "framework/Globals.h"
#include <mmsystem.h>
#include <cstdio>

namespace {
BOOL SystemSoundService(LPCSTR pszSound, UINT fuSound) { return sndPlaySoundA(pszSound, fuSound); }
}   // namespace

SoundServiceFn g_pfnSoundService = SystemSoundService;

CTunePlayer::CTunePlayer() : m_nTune(-1), m_tuneImage{}, m_tuneResource{} {}

HMODULE CTunePlayer::TuneModule() const { return AfxGetResourceHandle(); }

void CTunePlayer::PlayTune(int32_t n)
{
    if (!g_bRunning || n < 1 || n > 3)
        return;
    const int32_t slot = n - 1;
    if (n != m_nTune || !m_tuneImage[slot]) {
        g_pfnSoundService(nullptr, kTuneStopFlags);
        ForgetTunes();

        BeginTuneWait();
        char name[16];
        std::snprintf(name, sizeof name, "RIFF%i", int(n));
        HMODULE module = TuneModule();
        HRSRC found = FindResourceA(module, name, "WAVE");
        if (!found) {
            EndTuneWait();
            return;
        }
        HGLOBAL loaded = LoadResource(module, found);
        if (!loaded) {
            EndTuneWait();
            return;
        }
        const void* image = LockResource(loaded);
        if (!image) {
            FreeResource(loaded);
            EndTuneWait();
            return;
        }
        // Loaded images stay loaded for the rest of the run: emptying the
        // cache only forgets them, so a tune that is still sounding keeps
        // its memory.
        m_tuneImage[slot] = image;
        m_tuneResource[slot] = loaded;
        EndTuneWait();
    }
    g_pfnSoundService(static_cast<LPCSTR>(m_tuneImage[slot]), kTunePlayFlags);
    m_nTune = n;
}

void CTunePlayer::ResumeTune() { PlayTune(m_nTune); }

void CTunePlayer::PauseTune()
{
    if (m_nTune != -1)
        g_pfnSoundService(nullptr, kTuneStopFlags);
}

void CTunePlayer::StopTune()
{
    g_pfnSoundService(nullptr, kTuneStopFlags);
    m_nTune = -1;
}

void CTunePlayer::ForgetTunes()
{
    for (int32_t i = 0; i < 3; ++i) {
        m_tuneImage[i] = nullptr;
        m_tuneResource[i] = nullptr;
    }
    m_nTune = -1;
}

void CTunePlayer::OnAudioNextTune()
{
    int32_t n = m_nTune + 1;
    if (n < 1 || n > 3)
        n = 1;
    PlayTune(n);
}

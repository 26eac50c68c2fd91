// The screen saver's application object: reads the command line, then shows
// the settings dialog, the full-screen flight or the preview, or the usage.
// Exit codes: 0 done, 1 a preview without a window to draw into, 2 a
// command line it does not understand, 3 the flight could not start.
#pragma once
#include "audio/TunePlayer.h"
#include "framework/WinApp.h"
#include "saver/SaverArgs.h"
#include "saver/SaverChoices.h"
#include "saver/SaverScene.h"

enum : int32_t {
    SAVER_EXIT_OK = 0,
    SAVER_EXIT_NO_WINDOW = 1,
    SAVER_EXIT_USAGE = 2,
    SAVER_EXIT_FAILED = 3,
};

class CSaverApp : public CWinApp {
public:
    BOOL InitInstance() override;
    // The flight's loop: messages first, then a frame when one is due.
    int Run() override;
    int ExitInstance() override;

private:
    BOOL StartFlight(const SaverArgs& args);
    void ReportFailure(CException* e);

    CSaverScene m_scene;
    CTunePlayer m_tunes;
    SaverChoices m_choices = {};
    HWND m_hWndSaver = nullptr;
    BOOL m_bPreview = FALSE;
    int m_nExitCode = SAVER_EXIT_OK;
};

// The application object: start-up, the frame-pumping main loop, the
// fatal-error report and the application-level commands.
#pragma once
#include "audio/RunningFlag.h"
#include "framework/Framework.h"

class CVelmoraApp : public CWinApp {
public:
    CVelmoraApp();
    // Puts the process back to normal priority.
    ~CVelmoraApp() override;

    BOOL InitInstance() override;
    // Draws a frame after every drained queue (or, with a frame rate set,
    // when one is due); waits only while paced or minimised.
    int Run() override;

    // Silences sound and tells the user that the program will end: string 4
    // for a memory exception, string 5 for any other.
    void ReportFatalError(CException* e);

    void OnAppAbout();
    void OnAboutMaker();
    void OnQuickHelp();
    void OnAppExit();

    DECLARE_MESSAGE_MAP()
};

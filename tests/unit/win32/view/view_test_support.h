// The program's application, frame and view, made and ended once per test
// case, with the settings file, the sound service and the hint box under
// the test's control.
#pragma once
#include "app/MainFrm.h"
#include "app/VelmoraApp.h"
#include "starfield/VelmoraView.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

// The library the CTest entry chose: our WING32.DLL, or none at all.
bool WinGLibraryPresent();

// Settings file "QUARVELL.INI" in the Windows directory.
void SetSetting(const char* pszSection, const char* pszKey, const char* pszValue);
std::string GetSetting(const char* pszSection, const char* pszKey);   // "" when absent
void RemoveSettingsFile();

// What the replaced calls saw.
struct SeenCall {
    std::string text;   // the hint text; for the sound service, "image" or "" (stop)
    UINT flags;
};
extern std::vector<SeenCall> g_hintBoxes;
extern std::vector<SeenCall> g_soundCalls;

// Delivers the queued messages the way the program's loop does.
void DrainMessages();

// The state an update handler sets.
class RecordingCmdUI : public CCmdUI {
public:
    explicit RecordingCmdUI(UINT nID) { m_nID = nID; }
    void Enable(BOOL bOn = TRUE) override { enabled = bOn ? 1 : 0; }
    void SetCheck(int nCheck = 1) override { checked = nCheck; }
    void SetText(const char* lpszText) override { text = lpszText; }
    int enabled = -1;   // -1: not set
    int checked = -1;
    std::string text;
};
// Asks the view's update handler for nID.
RecordingCmdUI QueryUpdate(CVelmoraView* pView, UINT nID);

// Makes the application's frame and view with the current settings file
// and the surface state of a fresh process; TearDown ends them.
class ViewFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;
    // Creates the frame and its view; false when the start-up failed.
    bool Start();
    // Destroys the frame and with it the view (which writes the run
    // counter).
    void Stop();
    // The image shown by the toolbar button at position nPos.
    int ButtonImage(int nPos) const;
    // Runs the update pass of the bars, as the main loop does before every
    // frame.
    void UpdateBars();
    std::string FpsPaneText() const;
    // The view's window rectangle in the frame's client coordinates.
    RECT ViewRectInFrame() const;

    CMainFrame* m_pFrame = nullptr;
    CVelmoraView* m_pView = nullptr;
};

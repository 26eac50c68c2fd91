// Windows the probe makes or drives itself: a host window for another
// program's child (a screen saver's preview), and the combo-box lists of
// another program's dialog.
#pragma once

#include "Json.h"

#include <windows.h>

#include <cstdint>

// Makes a visible window with that caption and a client area of cx x cy,
// reports its handle (one JSON line, flushed, so that a driver can read it
// while the probe goes on), then serves its messages until it is closed or
// nSeconds pass. Reports how it ended as a second line. False when the
// window cannot be made.
bool HostWindow(const char* caption, int32_t cx, int32_t cy, uint32_t nSeconds);

// Makes a visible window with that caption, reports its handle like
// HostWindow, then stops answering messages for nSeconds: a hung program,
// whose windows make any SendMessage to them wait.
bool HungWindow(const char* caption, uint32_t nSeconds);

// Selects item nIndex (when nIndex >= 0) of the combo box nId in dialog
// hDlg and reports its selection and item count.
bool ComboChoice(JsonWriter& json, HWND hDlg, int32_t nId, int32_t nIndex);

// Looking up and describing the windows of another process on the same
// desktop: top-level windows by caption and class, their rectangles and show
// state, their child windows, and the status bar and toolbar among them.
#pragma once

#include "Json.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

std::wstring Widen(const char* text);
std::wstring WindowText(HWND hwnd);
std::wstring ClassOf(HWND hwnd);

// Visible top-level windows whose caption equals `caption` (any caption when
// empty) and whose class equals `cls` (any class when empty; "!NAME" means
// any class but NAME).
std::vector<HWND> FindTopLevel(const std::wstring& caption, const std::wstring& cls);

// Polls FindTopLevel until a window turns up or `timeoutMs` has passed.
HWND WaitTopLevel(const std::wstring& caption, const std::wstring& cls, uint32_t timeoutMs);

// The first direct child with this control id, or null.
HWND ChildById(HWND parent, int32_t id);

// The whole report of a frame window: placement, rectangles, system metrics
// and colours, children, status-bar panes, toolbar buttons.
void DescribeFrame(JsonWriter& json, HWND hwnd);

// Caption, owner, rectangles and children of a dialog or message box.
void DescribeDialog(JsonWriter& json, HWND hwnd);

// The client rectangle in screen coordinates.
RECT ScreenClientRect(HWND hwnd);

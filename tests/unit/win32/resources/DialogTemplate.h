// Reads a classic (non-extended) dialog template resource into plain
// values, so that the tests compare captions, placement, styles, fonts and
// every control against the layout the dialogs are meant to have.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>

namespace resources_test {

// A string-or-ordinal field of a template: ordinal 0 with empty text means
// the field was absent.
struct NameOrOrdinal {
    uint16_t ordinal = 0;
    std::wstring text;
};

struct DialogItem {
    DWORD style = 0;
    DWORD exStyle = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0;
    uint16_t id = 0;
    NameOrOrdinal windowClass;   // predefined classes are ordinals (0x80 button, 0x82 static)
    NameOrOrdinal text;          // an icon control names its icon by ordinal
};

struct DialogTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0;
    NameOrOrdinal menu;
    NameOrOrdinal windowClass;
    std::wstring caption;
    uint16_t pointSize = 0;
    std::wstring typeface;
    std::vector<DialogItem> items;
};

// Finds dialog resource `id` in this program and parses it. Returns false
// when it is missing, extended, or shorter than its own fields say.
bool LoadDialogTemplate(UINT id, DialogTemplate& out);

}   // namespace resources_test

// The three dialog templates: caption, placement, style and font, and every
// control with its id, rectangle, class, text and style; then each dialog
// is created to see that its icons and controls come up.
#include "DialogTemplate.h"
#include <gtest/gtest.h>

using namespace resources_test;

namespace {

constexpr uint16_t kButton = 0x80;
constexpr uint16_t kStatic = 0x82;
constexpr uint16_t kNoId = 0xFFFF;

struct Expected {
    DWORD style;
    int16_t x, y, cx, cy;
    uint16_t id;
    uint16_t windowClass;
    const wchar_t* text;    // nullptr: text of the implementer's choosing, checked elsewhere
    uint16_t iconOrdinal;   // non-zero: an icon control showing this icon
};

void ExpectDialog(UINT id, DWORD style, int16_t x, int16_t y, int16_t cx, int16_t cy, const wchar_t* caption,
                  const std::vector<Expected>& items, DialogTemplate& t)
{
    ASSERT_TRUE(LoadDialogTemplate(id, t)) << "dialog " << id;
    EXPECT_EQ(t.style, style) << "dialog " << id;
    EXPECT_EQ(t.exStyle, 0u);
    EXPECT_EQ(t.x, x);
    EXPECT_EQ(t.y, y);
    EXPECT_EQ(t.cx, cx);
    EXPECT_EQ(t.cy, cy);
    EXPECT_EQ(t.menu.ordinal, 0u);
    EXPECT_TRUE(t.menu.text.empty());
    EXPECT_EQ(t.windowClass.ordinal, 0u);
    EXPECT_TRUE(t.windowClass.text.empty());
    EXPECT_EQ(t.caption, caption);
    EXPECT_EQ(t.pointSize, 8u);
    EXPECT_EQ(t.typeface, L"MS Sans Serif");
    ASSERT_EQ(t.items.size(), items.size()) << "dialog " << id;
    for (size_t i = 0; i < items.size(); ++i) {
        const Expected& e = items[i];
        const DialogItem& got = t.items[i];
        SCOPED_TRACE("dialog " + std::to_string(id) + " control " + std::to_string(i));
        EXPECT_EQ(got.style, e.style);
        EXPECT_EQ(got.exStyle, 0u);
        EXPECT_EQ(got.x, e.x);
        EXPECT_EQ(got.y, e.y);
        EXPECT_EQ(got.cx, e.cx);
        EXPECT_EQ(got.cy, e.cy);
        EXPECT_EQ(got.id, e.id);
        EXPECT_EQ(got.windowClass.ordinal, e.windowClass);
        if (e.iconOrdinal) {
            EXPECT_EQ(got.text.ordinal, e.iconOrdinal);
        } else if (e.text) {
            EXPECT_EQ(got.text.ordinal, 0u);
            EXPECT_EQ(got.text.text, e.text);
        } else {
            EXPECT_FALSE(got.text.text.empty());
        }
    }
}

bool IsFictional(const std::wstring& s)
{
    return s.find(L".example") != std::wstring::npos || s.find(L".invalid") != std::wstring::npos;
}

INT_PTR CALLBACK QuietDialog(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

std::vector<HWND> Children(HWND dlg)
{
    std::vector<HWND> out;
    for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        out.push_back(c);
    return out;
}

std::wstring TextOf(HWND wnd)
{
    wchar_t text[512] = {};
    GetWindowTextW(wnd, text, 512);
    return text;
}

}   // namespace

TEST(Dialogs, AboutBox)
{
    DialogTemplate t;
    ExpectDialog(100, 0x80C800C0, 34, 22, 216, 85, L"About Velmora 95",
                 {
                     {0x50000003, 11, 17, 18, 20, kNoId, kStatic, nullptr, 2},
                     {0x50020000, 40, 10, 119, 8, kNoId, kStatic, L"Velmora 95", 0},
                     {0x50020000, 40, 25, 119, 8, kNoId, kStatic, L"(Originally from The QUARVELL CD)", 0},
                     {0x50020000, 40, 40, 119, 8, kNoId, kStatic, nullptr, 0},
                     {0x50030001, 176, 6, 32, 14, IDOK, kButton, L"OK", 0},
                     {0x50020000, 40, 55, 119, 24, 1000, kStatic, L"", 0},
                 },
                 t);
}

TEST(Dialogs, AboutTheMaker)
{
    DialogTemplate t;
    ExpectDialog(102, 0x90C800C0, 32, 64, 200, 130, L"About QUARVELL",
                 {
                     {0x50000003, 11, 12, 18, 20, 1003, kStatic, nullptr, 104},
                     {0x50020000, 36, 15, 119, 8, kNoId, kStatic, L"Questions?  Please contact us:", 0},
                     {0x50020000, 36, 35, 119, 8, kNoId, kStatic, L"QUARVELL, Inc.", 0},
                     {0x50020000, 36, 45, 119, 8, kNoId, kStatic, nullptr, 0},
                     {0x50020000, 36, 55, 119, 8, kNoId, kStatic, nullptr, 0},
                     {0x50020000, 36, 65, 119, 8, kNoId, kStatic, nullptr, 0},
                     {0x50020002, 32, 85, 25, 8, kNoId, kStatic, L"email:", 0},
                     {0x50020000, 64, 85, 119, 8, kNoId, kStatic, nullptr, 0},
                     {0x50020002, 32, 95, 25, 8, kNoId, kStatic, L"ftp:", 0},
                     {0x50020000, 64, 95, 119, 8, kNoId, kStatic, nullptr, 0},
                     {0x50020002, 32, 105, 25, 8, kNoId, kStatic, L"www:", 0},
                     {0x50020000, 64, 105, 119, 8, kNoId, kStatic, nullptr, 0},
                     {0x50030001, 162, 8, 32, 14, IDOK, kButton, L"OK", 0},
                 },
                 t);
    if (t.items.size() != 13)
        return;
    // The contact lines are made up: a reserved 555-01xx telephone number
    // and hosts under a reserved top-level domain.
    EXPECT_NE(t.items[5].text.text.find(L"555-01"), std::wstring::npos) << t.items[5].text.text.c_str();
    for (size_t i : {7u, 9u, 11u})
        EXPECT_TRUE(IsFictional(t.items[i].text.text)) << t.items[i].text.text.c_str();
}

TEST(Dialogs, QuickHelp)
{
    DialogTemplate t;
    ExpectDialog(103, 0x90C000C0, 64, 64, 196, 110, L"Quick Help",
                 {
                     {0x50020000, 10, 12, 180, 18, kNoId, kStatic,
                      L"Velmora 95 simulates a 3 dimensional starfield in real-time.", 0},
                     {0x50020000, 10, 32, 180, 56, kNoId, kStatic,
                      L"Use the toolbar or menu items to change the display size, simulation type, star density, "
                      L"nausea level or audio tune.\n\nYou can exit at any time by pressing Ctrl+X or selecting "
                      L"'exit'.",
                      0},
                     {0x50010001, 73, 90, 50, 14, IDOK, kButton, L"OK", 0},
                 },
                 t);
}

TEST(Dialogs, CreateWithTheirControlsAndIcons)
{
    HINSTANCE inst = GetModuleHandleA(nullptr);

    HWND about = CreateDialogParamA(inst, MAKEINTRESOURCEA(100), nullptr, QuietDialog, 0);
    ASSERT_NE(about, nullptr);
    std::vector<HWND> controls = Children(about);
    ASSERT_EQ(controls.size(), 6u);
    EXPECT_NE(SendMessageA(controls[0], STM_GETICON, 0, 0), 0) << "icon 2 did not load into the About box";
    EXPECT_EQ(TextOf(controls[1]), L"Velmora 95");
    HWND status = GetDlgItem(about, 1000);
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(TextOf(status), L"");
    EXPECT_EQ(GetDlgCtrlID(controls[4]), IDOK);
    DestroyWindow(about);

    HWND maker = CreateDialogParamA(inst, MAKEINTRESOURCEA(102), nullptr, QuietDialog, 0);
    ASSERT_NE(maker, nullptr);
    EXPECT_EQ(Children(maker).size(), 13u);
    HWND logo = GetDlgItem(maker, 1003);
    ASSERT_NE(logo, nullptr);
    EXPECT_NE(SendMessageA(logo, STM_GETICON, 0, 0), 0) << "icon 104 did not load into the maker's box";
    DestroyWindow(maker);

    HWND help = CreateDialogParamA(inst, MAKEINTRESOURCEA(103), nullptr, QuietDialog, 0);
    ASSERT_NE(help, nullptr);
    controls = Children(help);
    ASSERT_EQ(controls.size(), 3u);
    EXPECT_EQ(GetWindowLongA(help, GWL_STYLE) & WS_SYSMENU, 0) << "Quick Help has no close box";
    EXPECT_NE(TextOf(controls[1]).find(L"tune.\n\nYou can exit"), std::wstring::npos);
    DestroyWindow(help);
}

// Menu 2 and accelerator table 2, read back from the program's resources.
// Identifiers are written as numbers: the test pins the values the other
// programs and the settings rely on, not just the names.
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

struct Item {
    const char* text;   // nullptr: a separator
    UINT id;
};
struct Popup {
    const char* title;
    std::vector<Item> items;
};

const std::vector<Popup> kMenu = {
    {"&File", {{"E&xit\tCtrl+X", 57665}}},
    {"&Display", {{"&Normal\tCtrl+N", 32772}, {"&Doubled\tCtrl+D", 32773}, {"&Window\tCtrl+W", 32774}}},
    {"&Audio",
     {{"Tune #&1", 32785},
      {"Tune #&2", 32786},
      {"Tune #&3", 32787},
      {nullptr, 0},
      {"&Next Tune\tCtrl+T", 32789},
      {nullptr, 0},
      {"&No Sound\tF10", 32788}}},
    {"&Simulation",
     {{"&Tumble Dry", 32775},
      {"&Washing Machine", 32776},
      {"&Dirty Laundry", 32777},
      {nullptr, 0},
      {"&Next Simulation\tCtrl+S", 32790}}},
    {"&Population",
     {{"&Sparse", 32778}, {"&Dense", 32780}, {"&Crowded", 32779}, {nullptr, 0}, {"&Next Population\tCtrl+P", 32792}}},
    {"&Nausea",
     {{"&Feeling Good", 32782},
      {"&Uncomfortable", 32783},
      {"&Gut-Wrenching", 32784},
      {nullptr, 0},
      {"&Next Level\tCtrl+L", 32793}}},
    {"&Help",
     {{"&About Velmora 95...", 57664}, {"About &QUARVELL...", 32771}, {nullptr, 0}, {"Quick Help...\tF1", 32794}}},
};

struct ItemInfo {
    UINT type = 0;
    UINT id = 0;
    HMENU sub = nullptr;
    std::string text;
};

ItemInfo ReadItem(HMENU menu, UINT pos)
{
    char text[128] = {};
    MENUITEMINFOA mii = {};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
    mii.dwTypeData = text;
    mii.cch = sizeof(text);
    ItemInfo info;
    EXPECT_TRUE(GetMenuItemInfoA(menu, pos, TRUE, &mii)) << "position " << pos;
    info.type = mii.fType;
    info.id = mii.wID;
    info.sub = mii.hSubMenu;
    if (!(mii.fType & MFT_SEPARATOR))
        info.text = text;
    return info;
}

}   // namespace

TEST(MainMenu, HasSevenDropDownsWithEveryItemInOrder)
{
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(2));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), int(kMenu.size()));
    for (UINT p = 0; p < kMenu.size(); ++p) {
        const Popup& popup = kMenu[p];
        const ItemInfo top = ReadItem(menu, p);
        EXPECT_EQ(top.text, popup.title);
        ASSERT_NE(top.sub, nullptr) << popup.title;
        ASSERT_EQ(GetMenuItemCount(top.sub), int(popup.items.size())) << popup.title;
        for (UINT i = 0; i < popup.items.size(); ++i) {
            const Item& want = popup.items[i];
            const ItemInfo got = ReadItem(top.sub, i);
            EXPECT_EQ(got.sub, nullptr) << popup.title << " item " << i;
            if (!want.text) {
                EXPECT_TRUE(got.type & MFT_SEPARATOR) << popup.title << " item " << i << " should be a separator";
                continue;
            }
            EXPECT_FALSE(got.type & MFT_SEPARATOR) << popup.title << " item " << i;
            EXPECT_EQ(got.text, want.text) << popup.title << " item " << i;
            EXPECT_EQ(got.id, want.id) << popup.title << " item " << i;
        }
    }
    DestroyMenu(menu);
}

TEST(MainMenu, IsUsEnglish)
{
    EXPECT_NE(FindResourceExA(nullptr, MAKEINTRESOURCEA(4) /* RT_MENU */, MAKEINTRESOURCEA(2),
                              MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)),
              nullptr);
}

TEST(Accelerators, TenVirtualKeyEntriesThatDoNotFlashTheMenu)
{
    HACCEL table = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(2));
    ASSERT_NE(table, nullptr);
    const BYTE ctrl = FVIRTKEY | FCONTROL | FNOINVERT;
    const BYTE plain = FVIRTKEY | FNOINVERT;
    const ACCEL expected[] = {
        {ctrl, 'D', 32773}, {ctrl, 'L', 32793},    {ctrl, 'N', 32772},     {ctrl, 'P', 32792}, {ctrl, 'S', 32790},
        {ctrl, 'T', 32789}, {plain, VK_F1, 32794}, {plain, VK_F10, 32788}, {ctrl, 'W', 32774}, {ctrl, 'X', 57665},
    };
    const int count = CopyAcceleratorTableA(table, nullptr, 0);
    ASSERT_EQ(count, 10);
    ACCEL got[10] = {};
    ASSERT_EQ(CopyAcceleratorTableA(table, got, count), count);
    for (int i = 0; i < count; ++i) {
        // 0x80 marks the table's last entry in the resource; it is not a key flag.
        EXPECT_EQ(got[i].fVirt & 0x7F, expected[i].fVirt) << "entry " << i;
        EXPECT_EQ(got[i].key, expected[i].key) << "entry " << i;
        EXPECT_EQ(got[i].cmd, expected[i].cmd) << "entry " << i;
    }
    DestroyAcceleratorTable(table);
}

namespace {

WPARAM g_lastCommand = 0;

LRESULT CALLBACK RecordCommands(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_COMMAND)
        g_lastCommand = wParam;
    return DefWindowProcA(wnd, msg, wParam, lParam);
}

}   // namespace

TEST(Accelerators, TranslateKeysIntoTheirCommands)
{
    // Ctrl+X becomes the Exit command and F10 No Sound, each marked as coming
    // from an accelerator; X without Ctrl and an unlisted Ctrl key do nothing.
    HACCEL table = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(2));
    ASSERT_NE(table, nullptr);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = RecordCommands;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "VelmoraAccelProbe";
    ASSERT_NE(RegisterClassA(&wc), 0);
    HWND wnd = CreateWindowA("VelmoraAccelProbe", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(wnd, nullptr);

    auto press = [&](WPARAM key, bool ctrl) -> WPARAM {
        BYTE keys[256] = {};
        keys[VK_CONTROL] = ctrl ? 0x80 : 0;
        keys[VK_LCONTROL] = keys[VK_CONTROL];
        SetKeyboardState(keys);
        g_lastCommand = 0;
        MSG msg = {wnd, WM_KEYDOWN, key, 1, 0, {0, 0}};
        TranslateAcceleratorA(wnd, table, &msg);
        return g_lastCommand;
    };
    EXPECT_EQ(press('X', true), MAKEWPARAM(57665, 1));
    EXPECT_EQ(press(VK_F10, false), MAKEWPARAM(32788, 1));
    EXPECT_EQ(press(VK_F1, false), MAKEWPARAM(32794, 1));
    EXPECT_EQ(press('X', false), 0u);
    EXPECT_EQ(press('Q', true), 0u);

    BYTE none[256] = {};
    SetKeyboardState(none);
    DestroyWindow(wnd);
    UnregisterClassA("VelmoraAccelProbe", wc.hInstance);
    DestroyAcceleratorTable(table);
}

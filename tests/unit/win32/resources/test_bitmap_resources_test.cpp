// The bitmap-only script: the "VELMORA" bitmap for frame-buffer tests, and
// nothing of the program's own resources that could hide a missing link.
#include <windows.h>
#include <cstring>
#include <gtest/gtest.h>

TEST(TestBitmapScript, CarriesOnlyTheVelmoraBitmap)
{
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC res = FindResourceA(module, "VELMORA", MAKEINTRESOURCEA(2) /* RT_BITMAP */);
    ASSERT_NE(res, nullptr);
    ASSERT_EQ(SizeofResource(module, res), 40u + 1024u + 64000u);
    const uint8_t* data = static_cast<const uint8_t*>(LockResource(LoadResource(module, res)));
    ASSERT_NE(data, nullptr);
    BITMAPINFOHEADER h;
    std::memcpy(&h, data, sizeof(h));
    EXPECT_EQ(h.biWidth, 320);
    EXPECT_EQ(h.biHeight, 200);
    EXPECT_EQ(h.biBitCount, 8);
    EXPECT_EQ(data[40 + 4 * 10], 255u);   // first ramp entry: white

    EXPECT_EQ(FindResourceA(module, MAKEINTRESOURCEA(2), MAKEINTRESOURCEA(2)), nullptr);   // no toolbar strip
    EXPECT_EQ(FindResourceA(module, MAKEINTRESOURCEA(2), MAKEINTRESOURCEA(4)), nullptr);   // no menu
}

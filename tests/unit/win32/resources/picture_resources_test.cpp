// The bitmaps and icons as the program finds them in its own resources.
#include <windows.h>
#include <cstring>
#include <gtest/gtest.h>

namespace {

struct Resource {
    const uint8_t* data = nullptr;
    DWORD size = 0;
};

Resource Find(LPCSTR name, LPCSTR type)
{
    HMODULE module = GetModuleHandleA(nullptr);
    Resource r;
    HRSRC res = FindResourceA(module, name, type);
    if (!res)
        return r;
    HGLOBAL loaded = LoadResource(module, res);
    r.data = loaded ? static_cast<const uint8_t*>(LockResource(loaded)) : nullptr;
    r.size = r.data ? SizeofResource(module, res) : 0;
    return r;
}

BITMAPINFOHEADER HeaderOf(const Resource& r)
{
    BITMAPINFOHEADER h = {};
    std::memcpy(&h, r.data, sizeof(h));
    return h;
}

RGBQUAD Entry(const Resource& r, size_t i)
{
    RGBQUAD q;
    std::memcpy(&q, r.data + 40 + 4 * i, 4);
    return q;
}

void ExpectGrey(const Resource& r, size_t i, BYTE level)
{
    const RGBQUAD q = Entry(r, i);
    EXPECT_EQ(q.rgbRed, level) << "entry " << i;
    EXPECT_EQ(q.rgbGreen, level) << "entry " << i;
    EXPECT_EQ(q.rgbBlue, level) << "entry " << i;
    EXPECT_EQ(q.rgbReserved, 0) << "entry " << i;
}

void ExpectColour(const Resource& r, size_t i, BYTE red, BYTE green, BYTE blue)
{
    const RGBQUAD q = Entry(r, i);
    EXPECT_EQ(q.rgbRed, red) << "entry " << i;
    EXPECT_EQ(q.rgbGreen, green) << "entry " << i;
    EXPECT_EQ(q.rgbBlue, blue) << "entry " << i;
}

}   // namespace

TEST(VelmoraBitmap, IsAPackedDibThatTheFrameBufferCanRead)
{
    // Header of biSize bytes, 1024-byte colour table, then bottom-up rows:
    // the pixels start biSize + 1024 bytes in.
    const Resource r = Find("VELMORA", MAKEINTRESOURCEA(2) /* RT_BITMAP */);
    ASSERT_NE(r.data, nullptr);
    ASSERT_EQ(r.size, 40u + 1024u + 320u * 200u);
    const BITMAPINFOHEADER h = HeaderOf(r);
    EXPECT_EQ(h.biSize, 40u);
    EXPECT_EQ(h.biWidth, 320);
    EXPECT_EQ(h.biHeight, 200);
    EXPECT_EQ(h.biPlanes, 1);
    EXPECT_EQ(h.biBitCount, 8);
    EXPECT_EQ(h.biCompression, DWORD(BI_RGB));
    EXPECT_TRUE(h.biClrUsed == 0 || h.biClrUsed == 256) << h.biClrUsed;

    ExpectColour(r, 0, 0, 0, 0);
    ExpectColour(r, 7, 192, 192, 192);
    ExpectColour(r, 8, 192, 220, 192);
    ExpectColour(r, 9, 164, 200, 240);
    ExpectColour(r, 246, 255, 251, 240);
    ExpectColour(r, 247, 160, 160, 164);
    ExpectColour(r, 248, 128, 128, 128);
    ExpectColour(r, 255, 255, 255, 255);
    ExpectGrey(r, 10, 255);
    ExpectGrey(r, 11, 253);
    ExpectGrey(r, 235, 11);
    ExpectGrey(r, 245, 1);

    const uint8_t* pixels = r.data + h.biSize + 1024;
    for (size_t i = 0; i < 320u * 200u; ++i)
        ASSERT_EQ(pixels[i], 0u) << "pixel " << i;
}

TEST(ToolbarBitmap, Is606By32With4BitsPerPixel)
{
    const Resource r = Find(MAKEINTRESOURCEA(2), MAKEINTRESOURCEA(2) /* RT_BITMAP */);
    ASSERT_NE(r.data, nullptr);
    const BITMAPINFOHEADER h = HeaderOf(r);
    EXPECT_EQ(h.biWidth, 606);
    EXPECT_EQ(h.biHeight, 32);
    EXPECT_EQ(h.biBitCount, 4);
    EXPECT_EQ(r.size, 40u + 16u * 4u + 304u * 32u);
    // The button face colour is where the toolbar expects it.
    ExpectColour(r, 7, 192, 192, 192);

    HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(2));
    ASSERT_NE(bitmap, nullptr);
    BITMAP bm = {};
    ASSERT_NE(GetObjectA(bitmap, sizeof(bm), &bm), 0);
    EXPECT_EQ(bm.bmWidth, 606);
    EXPECT_EQ(bm.bmHeight, 32);
    DeleteObject(bitmap);
}

TEST(Icons, BothLoadAt32By32With16Colours)
{
    for (WORD id : {WORD(2), WORD(104)}) {
        SCOPED_TRACE("icon " + std::to_string(id));
        // The group directory offers one 32 × 32, 16-colour image.
        const Resource group = Find(MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */);
        ASSERT_NE(group.data, nullptr);
        ASSERT_GE(group.size, 6u + 14u);
        WORD count;
        std::memcpy(&count, group.data + 4, 2);
        EXPECT_EQ(count, 1u);
        EXPECT_EQ(group.data[6], 32u);
        EXPECT_EQ(group.data[7], 32u);
        EXPECT_EQ(group.data[8], 16u);
        WORD bits;
        std::memcpy(&bits, group.data + 12, 2);
        EXPECT_EQ(bits, 4u);

        HICON icon = HICON(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON, 32, 32, 0));
        ASSERT_NE(icon, nullptr);
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        EXPECT_TRUE(info.fIcon);
        BITMAP bm = {};
        ASSERT_NE(GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bm), &bm), 0);
        EXPECT_EQ(bm.bmWidth, 32);
        EXPECT_EQ(bm.bmHeight, info.hbmColor ? 32 : 64);
        if (info.hbmColor)
            DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
}

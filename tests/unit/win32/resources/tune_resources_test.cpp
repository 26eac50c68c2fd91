// The three tunes: complete RIFF WAVE images of type "WAVE", US English,
// with their exact sizes.
#include <windows.h>
#include <cstring>
#include <gtest/gtest.h>

TEST(Tunes, ThreeWaveImagesWithTheirExactSizes)
{
#ifndef VELMORA_TEST_TUNES
    GTEST_SKIP() << "this build embeds no tunes";
#else
    const struct {
        const char* name;
        DWORD size;
    } tunes[] = {{"RIFF1", 1144414}, {"RIFF2", 1244452}, {"RIFF3", 717722}};
    HMODULE module = GetModuleHandleA(nullptr);
    for (const auto& tune : tunes) {
        SCOPED_TRACE(tune.name);
        HRSRC res = FindResourceExA(module, "WAVE", tune.name, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
        ASSERT_NE(res, nullptr);
        EXPECT_EQ(SizeofResource(module, res), tune.size);
        HGLOBAL loaded = LoadResource(module, res);
        ASSERT_NE(loaded, nullptr);
        const char* data = static_cast<const char*>(LockResource(loaded));
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(std::memcmp(data, "RIFF", 4), 0);
        DWORD riffSize;
        std::memcpy(&riffSize, data + 4, 4);
        EXPECT_EQ(riffSize, tune.size - 8);
        EXPECT_EQ(std::memcmp(data + 8, "WAVEfmt ", 8), 0);
    }
    // Only three: the player's "next tune" wraps after RIFF3.
    EXPECT_EQ(FindResourceA(module, "RIFF4", "WAVE"), nullptr);
#endif
}

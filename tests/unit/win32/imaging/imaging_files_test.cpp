// Bitmap and PCX files written by ImageMagick load with the pixels and
// colours ImageMagick itself reads from them, in either row orientation.
#include "ImagingSupport.h"
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

namespace {

struct Fixture {
    std::string name;
    int32_t width;
    int32_t height;
};

std::vector<Fixture> Fixtures()
{
    std::vector<Fixture> list;
    std::ifstream in("fixtures/list.txt");
    Fixture f;
    while (in >> f.name >> f.width >> f.height)
        list.push_back(f);
    return list;
}

std::vector<uint8_t> ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Compares every pixel of the buffer, through its colour table, with
// ImageMagick's raw dump of the same file.
void ExpectSamePicture(CDibG& dib, const Fixture& f, const std::string& file)
{
    ASSERT_TRUE(dib.IsCreated()) << file;
    ASSERT_EQ(dib.GetWidth(), f.width) << file;
    ASSERT_EQ(dib.GetHeight(), f.height) << file;
    const std::vector<uint8_t> rgb = ReadAll("fixtures/" + file + ".rgb");
    ASSERT_EQ(rgb.size(), size_t(f.width) * size_t(f.height) * 3) << file;
    int wrong = 0;
    for (int32_t y = 0; y < f.height; ++y)
        for (int32_t x = 0; x < f.width; ++x) {
            const RGBQUAD c = dib.m_colors[dib.GetPixel(x, y)];
            const uint8_t* want = &rgb[(size_t(y) * size_t(f.width) + size_t(x)) * 3];
            if (c.rgbRed != want[0] || c.rgbGreen != want[1] || c.rgbBlue != want[2])
                ++wrong;
        }
    EXPECT_EQ(wrong, 0) << file << ": pixels that differ from ImageMagick's reading";
}

class ImagingFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        StartSurfaceOnce();
        ASSERT_EQ(g_nOrientation, ExpectedOrientation());
        fixtures = Fixtures();
        ASSERT_EQ(fixtures.size(), 6u) << "fixtures/list.txt is missing or incomplete";
    }
    std::vector<Fixture> fixtures;
};

TEST_F(ImagingFiles, BitmapFilesLoadAsImageMagickReadsThem)
{
    for (const Fixture& f : fixtures) {
        CPalId palette;
        CDibG dib;
        const std::string file = f.name + ".bmp";
        dib.Load(("fixtures/" + file).c_str(), &palette, SOURCE_BMP_FILE);
        EXPECT_TRUE(palette.IsCreated());
        ExpectSamePicture(dib, f, file);
    }
}

TEST_F(ImagingFiles, PcxFilesLoadAsImageMagickReadsThem)
{
    for (const Fixture& f : fixtures) {
        CPalId palette;
        CDibG dib;
        const std::string file = f.name + ".pcx";
        dib.Load(("fixtures/" + file).c_str(), &palette, SOURCE_PCX_FILE);
        EXPECT_TRUE(palette.IsCreated());
        ExpectSamePicture(dib, f, file);
    }
}

TEST_F(ImagingFiles, ReloadsReplaceThePixelsOfABufferOfTheSameSize)
{
    const Fixture& f = fixtures[0];   // 320 x 200
    for (const char* ext : {".bmp", ".pcx"}) {
        CPalId palette;
        CDibG dib;
        dib.Create(f.width, f.height, &palette);
        dib.Fill(0);
        const std::string file = f.name + ext;
        dib.Reload(("fixtures/" + file).c_str(), &palette, ext[1] == 'b' ? SOURCE_BMP_FILE : SOURCE_PCX_FILE);
        ExpectSamePicture(dib, f, file);
    }
}

TEST_F(ImagingFiles, FailedReloadsLeaveTheBufferAsItWas)
{
    const Fixture& f = fixtures[0];
    for (const char* ext : {".bmp", ".pcx"}) {
        const std::string path = "fixtures/" + f.name + ext;
        // The file with its data cut short: a bitmap's last rows, a PCX
        // file's second half of run-length data (its trailing colours kept).
        std::vector<uint8_t> bytes = ReadAll(path);
        if (ext[1] == 'b') {
            bytes.resize(bytes.size() - 100);
        } else {
            const size_t nData = bytes.size() - 128 - 769;
            bytes.erase(bytes.begin() + 128 + std::ptrdiff_t(nData / 2), bytes.end() - 769);
        }
        const std::string shortPath = "short" + std::string(ext);
        std::ofstream(shortPath, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        for (int32_t nWidth : {f.width + 1, f.width}) {   // another size, then a file that ends early
            CPalId palette;
            CDibG dib;
            dib.Create(nWidth, f.height, &palette);
            dib.Fill(77);
            RGBQUAD colors[256];
            std::memcpy(colors, dib.m_colors, sizeof colors);
            const std::string& file = nWidth == f.width ? shortPath : path;
            EXPECT_EQ(ExceptionOf([&] {
                          dib.Reload(file.c_str(), &palette, ext[1] == 'b' ? SOURCE_BMP_FILE : SOURCE_PCX_FILE);
                      }),
                      "CResourceException")
                << file;
            int nChanged = 0;
            for (int32_t y = 0; y < f.height; ++y)
                for (int32_t x = 0; x < nWidth; ++x)
                    nChanged += dib.GetPixel(x, y) != 77;
            EXPECT_EQ(nChanged, 0) << file;
            EXPECT_EQ(std::memcmp(colors, dib.m_colors, sizeof colors), 0) << file << ": the colours changed";
        }
        std::remove(shortPath.c_str());
    }
}

}   // namespace

// Damaged and hostile bitmap and PCX files: a clear resource exception,
// nothing created from a rejected header, nothing written outside the
// buffer.
#include "ImagingSupport.h"
#include <atomic>
#include <fstream>
#include <thread>
#include <vector>

namespace {

std::string TempFile(const char* name)
{
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + name;
}

void Write(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

void Put32(std::vector<uint8_t>& b, size_t at, int32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + size_t(i)] = uint8_t(uint32_t(v) >> (8 * i));
}
void Put16(std::vector<uint8_t>& b, size_t at, int32_t v)
{
    b[at] = uint8_t(v);
    b[at + 1] = uint8_t(uint32_t(v) >> 8);
}

// A valid 8 x 4 bitmap file.
std::vector<uint8_t> GoodBmp()
{
    std::vector<uint8_t> b(1078 + 8 * 4, 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, int32_t(b.size()));
    Put32(b, 10, 1078);
    Put32(b, 14, 40);
    Put32(b, 18, 8);
    Put32(b, 22, 4);
    Put16(b, 26, 1);
    Put16(b, 28, 8);
    for (int i = 0; i < 256; ++i) {
        b[54 + 4 * size_t(i)] = uint8_t(i);
        b[54 + 4 * size_t(i) + 2] = uint8_t(255 - i);
    }
    for (size_t i = 1078; i < b.size(); ++i)
        b[i] = uint8_t(i);
    return b;
}

// A PCX file of width x height with the given run-length data.
std::vector<uint8_t> Pcx(int32_t width, int32_t height, int32_t bytesPerLine, const std::vector<uint8_t>& data)
{
    std::vector<uint8_t> b(128, 0);
    b[0] = 10;
    b[1] = 5;
    b[2] = 1;
    b[3] = 8;
    Put16(b, 8, width - 1);
    Put16(b, 10, height - 1);
    b[65] = 1;
    Put16(b, 66, bytesPerLine);
    for (uint8_t d : data)
        b.push_back(d);
    b.push_back(0x0C);
    for (int i = 0; i < 256; ++i) {
        b.push_back(uint8_t(i));
        b.push_back(uint8_t(255 - i));
        b.push_back(uint8_t(i / 2));
    }
    return b;
}

class HostileFiles : public ::testing::Test {
protected:
    void SetUp() override { StartSurfaceOnce(); }

    // Loads the bytes as a file of the given kind into a new buffer.
    std::string LoadBytes(const std::vector<uint8_t>& bytes, int32_t source)
    {
        const std::string path = TempFile(source == SOURCE_BMP_FILE ? "velmora-hostile.bmp" : "velmora-hostile.pcx");
        Write(path, bytes);
        return ExceptionOf([&] { dib.Load(path.c_str(), &palette, source); });
    }

    CPalId palette;
    CDibG dib;
};

TEST_F(HostileFiles, BitmapFilesOutsideTheAcceptedLayoutAreRejectedBeforeCreation)
{
    ASSERT_EQ(LoadBytes(GoodBmp(), SOURCE_BMP_FILE), "none");
    EXPECT_EQ(dib.GetPixel(0, 3), uint8_t(1078));   // bottom row first in the file
    dib.Destroy();

    struct Case {
        const char* what;
        size_t at;
        int32_t value;
        bool wide;
    };
    const Case cases[] = {
        {"24 bits", 28, 24, false},       {"run-length compressed", 30, 1, true},
        {"top-down rows", 22, -4, true},  {"a larger header", 14, 124, true},
        {"zero width", 18, 0, true},      {"zero height", 22, 0, true},
        {"negative width", 18, -8, true}, {"an overflowing size", 18, 0x40000000, true},
        {"16 colours", 46, 16, true},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> b = GoodBmp();
        if (c.wide)
            Put32(b, c.at, c.value);
        else
            Put16(b, c.at, c.value);
        EXPECT_EQ(LoadBytes(b, SOURCE_BMP_FILE), "CResourceException") << c.what;
        EXPECT_FALSE(dib.IsCreated()) << c.what;
    }

    std::vector<uint8_t> shortPixels = GoodBmp();
    shortPixels.pop_back();
    EXPECT_EQ(LoadBytes(shortPixels, SOURCE_BMP_FILE), "CResourceException");
    EXPECT_FALSE(dib.IsCreated());
    std::vector<uint8_t> headerOnly = GoodBmp();
    headerOnly.resize(54);
    EXPECT_EQ(LoadBytes(headerOnly, SOURCE_BMP_FILE), "CResourceException");
    EXPECT_FALSE(dib.IsCreated());
    EXPECT_EQ(ExceptionOf([&] { dib.Load(TempFile("velmora-no-such.bmp").c_str(), &palette, SOURCE_BMP_FILE); }),
              "CResourceException");
}

TEST_F(HostileFiles, PcxRunsPastTheRowEndAreClippedToTheRow)
{
    // Row 0: a run of 6 in rows of 4; row 1 carries on with a run of 4.
    ASSERT_EQ(LoadBytes(Pcx(4, 2, 4, {0xC6, 9, 0xC4, 3}), SOURCE_PCX_FILE), "none");
    for (int32_t x = 0; x < 4; ++x) {
        EXPECT_EQ(dib.GetPixel(x, 0), 9);
        EXPECT_EQ(dib.GetPixel(x, 1), 3);
    }
}

TEST_F(HostileFiles, PcxLinesLongerThanThePitchKeepOnlyWhatFits)
{
    ASSERT_EQ(LoadBytes(Pcx(4, 2, 6, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}), SOURCE_PCX_FILE), "none");
    const uint8_t want[2][4] = {{1, 2, 3, 4}, {7, 8, 9, 10}};
    for (int32_t y = 0; y < 2; ++y)
        for (int32_t x = 0; x < 4; ++x)
            EXPECT_EQ(dib.GetPixel(x, y), want[y][x]) << x << "," << y;
}

TEST_F(HostileFiles, PcxDataThatEndsEarlyOrFilesTooShortAreRejected)
{
    EXPECT_EQ(LoadBytes(Pcx(4, 2, 4, {1, 2, 3, 4, 5}), SOURCE_PCX_FILE), "CResourceException");
    dib.Destroy();
    // The marker byte before the palette counts as data: here it is the
    // value of the last run, and the second row still lacks a byte.
    EXPECT_EQ(LoadBytes(Pcx(4, 2, 4, {1, 2, 3, 4, 5, 6, 0xC1}), SOURCE_PCX_FILE), "CResourceException");
    dib.Destroy();
    std::vector<uint8_t> tiny = Pcx(4, 2, 4, {0xC4, 1, 0xC4, 2});
    tiny.resize(500);
    EXPECT_EQ(LoadBytes(tiny, SOURCE_PCX_FILE), "CResourceException");
    EXPECT_FALSE(dib.IsCreated());
    EXPECT_EQ(LoadBytes(Pcx(8, 2, 4, {0xC4, 1, 0xC4, 2}), SOURCE_PCX_FILE),
              "CResourceException");   // rows shorter than the width
    EXPECT_FALSE(dib.IsCreated());
}

// Counts the pixel blocks a load asks for.
class CCountingDib : public CDibG {
public:
    void AllocateBits() override
    {
        ++m_nBlocks;
        CDibG::AllocateBits();
    }
    int m_nBlocks = 0;
};

TEST_F(HostileFiles, PcxDataTooShortForItsRowsCostsNoPixelBlock)
{
    // 64 x 64 claimed, 200 single pixels given: enough bytes for runs of 63
    // to fill the rows, too few for what they really hold.
    const std::string path = TempFile("velmora-short-data.pcx");
    Write(path, Pcx(64, 64, 64, std::vector<uint8_t>(200, 1)));
    CCountingDib counted;
    EXPECT_EQ(ExceptionOf([&] { counted.Load(path.c_str(), &palette, SOURCE_PCX_FILE); }), "CResourceException");
    EXPECT_EQ(counted.m_nBlocks, 0);
    EXPECT_FALSE(counted.IsCreated());
}

TEST_F(HostileFiles, FilesThatOpenButCannotBeReadRaiseTheResourceException)
{
    // A named pipe opens like a file, but the file layer can neither size
    // nor read it once its other end has gone.
    const std::string name = "\\\\.\\pipe\\velmora-unreadable-" + std::to_string(GetCurrentProcessId());
    for (int32_t source : {SOURCE_BMP_FILE, SOURCE_PCX_FILE}) {
        HANDLE hPipe =
            CreateNamedPipeA(name.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 4096, 4096, 0, nullptr);
        ASSERT_NE(hPipe, INVALID_HANDLE_VALUE);
        std::atomic<bool> bConnected{false};
        std::thread server([&] {
            // A client that came, or came and went, before the call counts.
            bConnected = ConnectNamedPipe(hPipe, nullptr) || GetLastError() == ERROR_PIPE_CONNECTED ||
                         GetLastError() == ERROR_NO_DATA;
            CloseHandle(hPipe);
        });
        const std::string kind = ExceptionOf([&] { dib.Load(name.c_str(), &palette, source); });
        if (!bConnected) {
            // The loader never got the pipe open: let the server go.
            HANDLE hClient = CreateFileA(name.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            if (hClient != INVALID_HANDLE_VALUE)
                CloseHandle(hClient);
        }
        server.join();
        EXPECT_TRUE(bConnected) << "the loader did not open the pipe";
        EXPECT_EQ(kind, "CResourceException") << source;
        EXPECT_FALSE(dib.IsCreated());
    }
}

}   // namespace

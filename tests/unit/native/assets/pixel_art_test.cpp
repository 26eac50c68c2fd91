// Reading pixel art from text: what is accepted and how mistakes in a
// picture file are reported (the build step must fail, naming the line).
#include "tools/assets/PixelArt.h"
#include <gtest/gtest.h>

using velmora::assets::kBackground;
using velmora::assets::ParsePixelArt;
using velmora::assets::PixelArt;

TEST(PixelArt, LegendMapsToTheStandardSixteenColoursAndBackground)
{
    PixelArt art;
    std::string error;
    ASSERT_TRUE(ParsePixelArt("#rgybmc-\n:RGYBMCW\n........\n", 8, 3, art, error)) << error;
    for (int32_t i = 0; i < 16; ++i)
        EXPECT_EQ(art.At(i % 8, i / 8), i) << "pixel " << i;
    for (int32_t x = 0; x < 8; ++x)
        EXPECT_EQ(art.At(x, 2), kBackground);

    // The indices name the colours of the standard 4-bit palette.
    const auto& palette = velmora::assets::StandardPalette16();
    ASSERT_EQ(palette.size(), 16u);
    EXPECT_EQ(palette[7].red, 192);   // '-' light grey, the button face
    EXPECT_EQ(palette[8].red, 128);   // ':' dark grey
    EXPECT_EQ(palette[11].blue, 0);   // 'Y' yellow
    EXPECT_EQ(palette[11].green, 255);
    EXPECT_EQ(palette[14].red, 0);   // 'C' cyan
    EXPECT_EQ(palette[14].blue, 255);
}

TEST(PixelArt, CommentsBlankLinesAndCrLfAreIgnored)
{
    PixelArt art;
    std::string error;
    ASSERT_TRUE(ParsePixelArt("; a comment\r\n\r\nWW\r\n; between rows\r\n#.\r\n", 2, 2, art, error)) << error;
    EXPECT_EQ(art.At(0, 0), 15);
    EXPECT_EQ(art.At(1, 1), kBackground);
    // A last row without a line break counts too.
    ASSERT_TRUE(ParsePixelArt("WW\n##", 2, 2, art, error)) << error;
    EXPECT_EQ(art.At(1, 1), 0);
}

TEST(PixelArt, MistakesAreReportedWithTheirLine)
{
    PixelArt art;
    art.width = 99;
    std::string error;

    EXPECT_FALSE(ParsePixelArt("WW\nW\n", 2, 2, art, error));
    EXPECT_NE(error.find("line 2"), std::string::npos) << error;
    EXPECT_NE(error.find("expected 2 pixels, found 1"), std::string::npos) << error;

    EXPECT_FALSE(ParsePixelArt("WW\nWx\n", 2, 2, art, error));
    EXPECT_NE(error.find("line 2: column 2: 'x'"), std::string::npos) << error;

    EXPECT_FALSE(ParsePixelArt("WW\nWW\nWW\n", 2, 2, art, error));
    EXPECT_NE(error.find("line 3"), std::string::npos) << error;

    EXPECT_FALSE(ParsePixelArt("; only a comment\nWW\n", 2, 2, art, error));
    EXPECT_NE(error.find("found 1"), std::string::npos) << error;

    // A space is not background: pictures must say what every pixel is.
    EXPECT_FALSE(ParsePixelArt("W \nWW\n", 2, 2, art, error));

    // A failed parse leaves the output alone.
    EXPECT_EQ(art.width, 99);
}

TEST(PixelArt, MissingFileIsReportedByName)
{
    PixelArt art;
    std::string error;
    EXPECT_FALSE(velmora::assets::ReadPixelArtFile("/nonexistent/picture.txt", 2, 2, art, error));
    EXPECT_NE(error.find("/nonexistent/picture.txt"), std::string::npos) << error;
}

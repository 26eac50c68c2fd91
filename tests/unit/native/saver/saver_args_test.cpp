// The screen saver's command line in the forms Windows and users write it,
// the stored settings read back (junk as the default), and where the
// picture goes on a monitor and in a preview.
#include "saver/SaverArgs.h"
#include "saver/SaverChoices.h"
#include "saver/SaverLayout.h"

#include <gtest/gtest.h>

namespace {

struct ArgsCase {
    const char* pszLine;
    int32_t nMode;
    int32_t bHasWindow;
    uint64_t nWindow;
};

TEST(SaverArgs, ReadsEveryFormWindowsUses)
{
    const ArgsCase cases[] = {
        {"", SAVER_SETTINGS, 0, 0},
        {nullptr, SAVER_SETTINGS, 0, 0},
        {"   ", SAVER_SETTINGS, 0, 0},
        {"/s", SAVER_FULL_SCREEN, 0, 0},
        {"/S", SAVER_FULL_SCREEN, 0, 0},
        {"-s ", SAVER_FULL_SCREEN, 0, 0},
        {"/p 1234", SAVER_PREVIEW, 1, 1234},
        {"/P:1234", SAVER_PREVIEW, 1, 1234},
        {"-p\t66", SAVER_PREVIEW, 1, 66},
        {"/p 4294967297", SAVER_PREVIEW, 1, 4294967297u},   // handles are not cut to 32 bits here
        {"/c", SAVER_SETTINGS, 0, 0},
        {"/C:5678", SAVER_SETTINGS, 1, 5678},
        {"-c 5678", SAVER_SETTINGS, 1, 5678},
        {"/a", SAVER_PASSWORD, 0, 0},
        {"/A:99", SAVER_PASSWORD, 1, 99},
        {"/a 99", SAVER_PASSWORD, 1, 99},
    };
    for (const ArgsCase& c : cases) {
        const SaverArgs args = ParseSaverArgs(c.pszLine);
        EXPECT_EQ(args.nMode, c.nMode) << (c.pszLine ? c.pszLine : "(null)");
        EXPECT_EQ(args.bHasWindow, c.bHasWindow) << (c.pszLine ? c.pszLine : "(null)");
        EXPECT_EQ(args.nWindow, c.nWindow) << (c.pszLine ? c.pszLine : "(null)");
    }
}

TEST(SaverArgs, APreviewWithoutAReadableHandleHasNoWindow)
{
    for (const char* line : {"/p", "/p junk", "/p:", "/p 12x", "/p -3", "/p 99999999999999999999999"}) {
        const SaverArgs args = ParseSaverArgs(line);
        EXPECT_EQ(args.nMode, SAVER_PREVIEW) << line;
        EXPECT_EQ(args.bHasWindow, 0) << line;
    }
    // A zero handle is read; it is no window, which the caller finds out.
    EXPECT_EQ(ParseSaverArgs("/p 0").bHasWindow, 1);
}

TEST(SaverArgs, AnythingElseIsUsage)
{
    for (const char* line :
         {"/x", "s", "/", "-", "/sx", "/s 12", "/s:1", "/pjunk", "/c:junk", "/cx", "/a b", "/c 1 2", "//s", "x /s"}) {
        const SaverArgs args = ParseSaverArgs(line);
        EXPECT_EQ(args.nMode, SAVER_USAGE) << line;
        EXPECT_EQ(args.nWindow, 0u) << line;
    }
}

TEST(SaverChoices, StoredTextsReadStrictlyWithDefaults)
{
    const SaverChoices defaults = DefaultSaverChoices();
    EXPECT_EQ(defaults.nSimulation, 1);
    EXPECT_EQ(defaults.nPopulation, 2000);
    EXPECT_EQ(defaults.nNausea, 0);
    EXPECT_EQ(defaults.nFrameRate, 60);
    EXPECT_EQ(defaults.nTune, 0);

    const SaverChoiceList& rate = GetSaverChoiceList(CHOICE_FRAME_RATE);
    EXPECT_EQ(ReadChoiceText(rate, "30"), 30);
    EXPECT_EQ(ReadChoiceText(rate, " 0 "), 0);   // as fast as possible
    // Junk, missing and values the list does not hold read as 60, never as
    // the unpaced 0 that a lenient number reader would give.
    for (const char* junk : {"", "abc", "30fps", "-30", "45", "99999999999999", "0x1e"})
        EXPECT_EQ(ReadChoiceText(rate, junk), 60) << junk;
    EXPECT_EQ(ReadChoiceText(rate, nullptr), 60);

    const SaverChoiceList& population = GetSaverChoiceList(CHOICE_POPULATION);
    EXPECT_EQ(ReadChoiceText(population, "5000"), 5000);
    EXPECT_EQ(ReadChoiceText(population, "5001"), 2000);
    EXPECT_EQ(ReadChoiceText(GetSaverChoiceList(CHOICE_TUNE), "4"), 0);
    EXPECT_EQ(ReadChoiceText(GetSaverChoiceList(CHOICE_SIMULATION), "3"), 3);
    EXPECT_EQ(NauseaSpeed(2), 7);
    EXPECT_EQ(NauseaSpeed(9), 1);
}

TEST(SaverLayout, WholeFactorsOnMonitorsAndTheShapeInAPreview)
{
    auto expect = [](SaverRect r, int32_t x, int32_t y, int32_t cx, int32_t cy) {
        EXPECT_EQ(r.x, x);
        EXPECT_EQ(r.y, y);
        EXPECT_EQ(r.cx, cx);
        EXPECT_EQ(r.cy, cy);
    };
    expect(IntegerFit(1024, 768), 32, 84, 960, 600);       // 3x
    expect(IntegerFit(1920, 1080), 160, 40, 1600, 1000);   // 5x: the height decides
    expect(IntegerFit(800, 600), 80, 100, 640, 400);       // 2x: the width decides
    expect(IntegerFit(640, 400), 0, 0, 640, 400);
    expect(IntegerFit(300, 100), -10, -50, 320, 200);   // too small: 1x, cut
    expect(AspectFit(152, 112), 0, 8, 152, 95);         // the system's preview monitor
    expect(AspectFit(100, 200), 0, 69, 100, 62);
    expect(AspectFit(0, 10), 0, 0, 0, 0);
}

}   // namespace

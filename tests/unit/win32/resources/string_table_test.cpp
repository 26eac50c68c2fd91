// Every string of the table, exactly as the frame, the view, the meter and
// the fatal-error report show it.
#include <windows.h>
#include <gtest/gtest.h>
#include <string>

namespace {

std::string Load(UINT id)
{
    char text[1024] = {};
    const int n = LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof(text));
    return std::string(text, size_t(n > 0 ? n : 0));
}

}   // namespace

TEST(StringTable, CommandPromptsAndTooltips)
{
    const struct {
        UINT id;
        const char* text;
    } strings[] = {
        {57665, "Exit Velmora 95\nExit"},
        {32772, "Display the starfield at the normal resolution\nNormal Size"},
        {32773, "Display the starfield at double the resolution\nDouble Size"},
        {32774, "Display the starfield at the window's resolution\nWindow Size"},
        {32775, "Simulate parallax scrolling starfield 1"},
        {32776, "Simulate parallax scrolling starfield 2"},
        {32777, "Simulate parallax scrolling starfield 3"},
        {32778, "Set the star population to the minimum"},
        {32779, "Set the star population to the maximum"},
        {32780, "Set the star population to the default"},
        {32782, "Set simulation parameters to the least nauseating"},
        {32783, "Set simulation parameters to make you queasy"},
        {32784, "Set simulation parameters to make you sick!"},
        {32785, "Play tune #1"},
        {32786, "Play tune #2"},
        {32787, "Play tune #3"},
        {32788, "Turn off any currently playing tune"},
        {32789, "Play the next tune\nNext Tune"},
        {32790, "View the next starfield simulation\nNext Simulation"},
        {32792, "Set the star population to the next value\nNext Population"},
        {32793, "Set the simulation parameters to the next \"nausea\" level\nNext Nausea Level"},
        {57664, "Display information about Velmora 95\nAbout Velmora 95"},
        {32771, "Display information about QUARVELL\nAbout QUARVELL"},
        {32794, "Display helpful information on how to use Velmora 95\nQuick Help"},
        {32795, "Fps = 000"},
    };
    for (const auto& s : strings)
        EXPECT_EQ(Load(s.id), s.text) << "string " << s.id;
    // The two gaps in the command numbers carry no string.
    EXPECT_EQ(Load(32781), "");
    EXPECT_EQ(Load(32791), "");
}

TEST(StringTable, DocumentTemplateHasSevenFields)
{
    const std::string doc = Load(2);
    EXPECT_EQ(doc, "Velmora 95\nVelmor\nVelmor Document\n\n\nVelmor.Document\nVelmor Document");
}

TEST(StringTable, MessagesOfTheApplicationAndTheView)
{
    EXPECT_EQ(Load(3), "Unable to access WinG.  You may wish to install WinG because it provides enhanced graphics "
                       "performance on most systems.  You can install WinG by selecting 'setup' from the QUARVELL CD "
                       "Vistadeck.");
    EXPECT_EQ(Load(4), "Not enough memory to complete the operation.\n\nThe application will be terminated.");
    EXPECT_EQ(Load(5), "An unexpected error has occurred.\n\nThe application will be terminated.");
    EXPECT_EQ(Load(6), "QUARVELL is profiling your video for optimal performance!");
    EXPECT_EQ(Load(57344), "Velmora 95");
}

TEST(StringTable, IdleMessageIsAOneLineProductNotice)
{
    const std::string idle = Load(57345);
    EXPECT_NE(idle.find("Velmora 95"), std::string::npos) << idle;
    EXPECT_EQ(idle.find('\n'), std::string::npos) << idle;
    EXPECT_LT(idle.size(), 64u) << "must fit the status bar's message pane";
}

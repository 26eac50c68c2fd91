// The benchmark build's per-window record: one line per meter window, whose
// pieces add up to the window's time.
#include "WorkTimes.h"
#include <windows.h>
#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

long long Field(const std::string& line, const char* name)
{
    const std::string key = std::string("\"") + name + "\":";
    const size_t at = line.find(key);
    return at == std::string::npos ? -1 : std::atoll(line.c_str() + at + key.size());
}

TEST(WorkTimes, AWindowIsWrittenWhenTheMeterMovesOnAndItsPiecesAddUpToItsTime)
{
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    ASSERT_TRUE(length > 0 && length < MAX_PATH && std::strrchr(path, '.'));
    std::strcpy(std::strrchr(path, '.'), ".work");
    {
        WorkTimes times;
        times.BeginTurn(WORK_COMMANDS, 7, -1);   // the first window begins
        for (int turn = 0; turn < 2; ++turn) {
            times.Mark(WORK_PANE);
            Sleep(20);
            times.Mark(WORK_TEMPMAP);
            times.Mark(WORK_STEP);
            times.Mark(WORK_PRETRANSLATE);
            times.Mark(WORK_DISPATCH);
            times.BeginTurn(WORK_COMMANDS, turn == 0 ? 7 : 8, 123);   // then the meter moves on
        }
        times.Mark(WORK_PANE);
        times.BeginTurn(WORK_COMMANDS, 9, 5);   // a one-turn window
    }
    FILE* f = std::fopen(path, "r");
    ASSERT_NE(f, nullptr);
    char buffer[1024];
    std::string first = std::fgets(buffer, sizeof buffer, f) ? buffer : "";
    std::string second = std::fgets(buffer, sizeof buffer, f) ? buffer : "";
    const bool more = std::fgets(buffer, sizeof buffer, f) != nullptr;
    std::fclose(f);
    std::remove(path);

    EXPECT_EQ(Field(first, "turns"), 2);
    EXPECT_EQ(Field(first, "messages"), 2);
    EXPECT_EQ(Field(first, "rate"), 123);
    EXPECT_GE(Field(first, "pane") * 1000, 40 * Field(first, "frequency") * 95 / 100);
    long long sum = 0;
    for (const char* piece : {"step", "pretranslate", "dispatch", "commands", "pane", "layout", "tempmap"})
        sum += Field(first, piece);
    EXPECT_EQ(sum, Field(first, "ticks"));
    EXPECT_EQ(Field(second, "turns"), 1);
    EXPECT_EQ(Field(second, "rate"), 5);
    EXPECT_FALSE(more);
}

}   // namespace

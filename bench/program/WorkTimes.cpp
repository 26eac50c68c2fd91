#include "WorkTimes.h"

#include "PerformanceCounter.h"

#include <windows.h>

#include <cstring>

namespace {

const char* const kPieceNames[WORK_PIECES] = {"step", "pretranslate", "dispatch", "commands", "pane", "layout",
                                              "tempmap"};

}   // namespace

WorkTimes::WorkTimes() : m_frequency(PerformanceFrequency()), m_last(PerformanceTicks()), m_windowStart(m_last)
{
    char path[MAX_PATH + 8];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    char* dot = std::strrchr(path, '.');
    std::strcpy(dot && !std::strchr(dot, '\\') ? dot : path + length, ".work");
    m_out = std::fopen(path, "w");
}

WorkTimes::~WorkTimes()
{
    if (m_out != nullptr)
        std::fclose(m_out);
}

void WorkTimes::Mark(WorkPiece next)
{
    const int64_t now = PerformanceTicks();
    m_sums[m_running] += now - m_last;
    m_last = now;
    m_running = next;
    m_messages += next == WORK_PRETRANSLATE;
}

void WorkTimes::BeginTurn(WorkPiece next, uint32_t meterStart, int32_t meterRate)
{
    Mark(next);
    if (meterStart != m_meterStart) {
        m_meterStart = meterStart;
        if (m_turns > 0)
            Write(m_last, meterRate);
        std::memset(m_sums, 0, sizeof m_sums);
        m_turns = 0;
        m_messages = 0;
        m_windowStart = m_last;
    }
    ++m_turns;
}

// Once per meter window (every three seconds or at a resize): the pieces'
// sums in counter ticks.
void WorkTimes::Write(int64_t now, int32_t meterRate)
{
    if (m_out == nullptr)
        return;
    std::fprintf(m_out, "{\"frequency\":%lld,\"start\":%lld,\"ticks\":%lld,\"turns\":%lu,\"messages\":%lu,\"rate\":%ld",
                 static_cast<long long>(m_frequency), static_cast<long long>(m_windowStart),
                 static_cast<long long>(now - m_windowStart), static_cast<unsigned long>(m_turns),
                 static_cast<unsigned long>(m_messages), static_cast<long>(meterRate));
    for (uint32_t i = 0; i < WORK_PIECES; ++i)
        std::fprintf(m_out, ",\"%s\":%lld", kPieceNames[i], static_cast<long long>(m_sums[i]));
    std::fprintf(m_out, "}\n");
    std::fflush(m_out);
}

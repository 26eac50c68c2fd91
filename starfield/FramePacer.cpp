#include "starfield/FramePacer.h"

int32_t FrameRateFromText(const char* pszText)
{
    const char* p = pszText;
    while (*p == ' ' || *p == '\t')
        ++p;
    int32_t nRate = 0;
    const char* pDigits = p;
    for (; *p >= '0' && *p <= '9'; ++p) {
        nRate = nRate * 10 + int32_t(*p - '0');
        if (nRate > kMaxFrameRate)
            return 0;
    }
    if (p == pDigits)
        return 0;
    while (*p == ' ' || *p == '\t')
        ++p;
    return *p == '\0' ? nRate : 0;
}

void CFramePacer::SetRate(int32_t nFramesPerSecond)
{
    m_nRate = (nFramesPerSecond >= 1 && nFramesPerSecond <= kMaxFrameRate) ? nFramesPerSecond : 0;
    m_bGridStarted = 0;
    m_nLongestWait = m_nRate ? (1000u + uint32_t(m_nRate) - 1u) / uint32_t(m_nRate) : 0;
}

LoopDecision CFramePacer::Decide(uint32_t nNowMs, int32_t bCanBeSeen)
{
    if (!bCanBeSeen) {
        m_bGridStarted = 0;
        return {LOOP_WAIT_MESSAGES, FRAME_WAIT_FOREVER};
    }
    if (m_nRate == 0)
        return {LOOP_STEP_FRAME, 0};
    if (!m_bGridStarted) {
        m_bGridStarted = 1;
        m_nSecondStart = nNowMs;
        return StepAt(nNowMs);
    }
    // Unsigned differences keep the comparison right across the clock's
    // wrap: the due time is reached when it lies at or behind nNowMs.
    const uint32_t nAhead = m_nDueMs - nNowMs;
    if (nAhead == 0 || nAhead >= 0x80000000u)
        return StepAt(nNowMs);
    if (nAhead > m_nLongestWait) {
        // The clock went back: start the grid afresh rather than wait.
        m_nSecondStart = nNowMs;
        return StepAt(nNowMs);
    }
    return {LOOP_WAIT_DUE, nAhead};
}

LoopDecision CFramePacer::StepAt(uint32_t nNowMs)
{
    const uint32_t nRate = uint32_t(m_nRate);
    // Whole seconds of the grid that have passed move its start; within the
    // second, the next frame is the first k with k * 1000 / rate > elapsed,
    // that is k * 1000 >= (elapsed + 1) * rate.
    uint32_t nElapsed = nNowMs - m_nSecondStart;
    m_nSecondStart += nElapsed / 1000u * 1000u;
    nElapsed %= 1000u;
    uint32_t nNext = ((nElapsed + 1u) * nRate + 999u) / 1000u;
    if (nNext >= nRate) {
        m_nSecondStart += 1000u;
        nNext -= nRate;
    }
    m_nDueMs = m_nSecondStart + nNext * 1000u / nRate;
    return {LOOP_STEP_FRAME, 0};
}

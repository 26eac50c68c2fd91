// The engine's replaceable sources: the millisecond clock that seeds the
// random generator at every reset, the 15-bit generator itself, and the
// hook the Tumble Dry step calls once per frame (the frame-rate meter).
#include "starfield/StarEngine.h"

namespace {

uint32_t g_randomState = 1;

void DefaultSeed(uint32_t seed)
{
    g_randomState = seed;
}

// Linear congruential generator; bits 16..30 of the state are the result.
int32_t DefaultNext()
{
    g_randomState = g_randomState * 214013u + 2531011u;
    return static_cast<int32_t>((g_randomState >> 16) & 0x7fffu);
}

void NoTick()
{
}

MillisecondClock g_clock = &DefaultMillisecondClock;
RandomSeedFunction g_seed = &DefaultSeed;
RandomNextFunction g_next = &DefaultNext;
FrameTickFunction g_tick = &NoTick;

} // namespace

void SetMillisecondClock(MillisecondClock clock)
{
    g_clock = clock != nullptr ? clock : &DefaultMillisecondClock;
}

void SetRandomGenerator(RandomSeedFunction seed, RandomNextFunction next)
{
    g_seed = seed != nullptr ? seed : &DefaultSeed;
    g_next = next != nullptr ? next : &DefaultNext;
}

void SetFrameTickHook(FrameTickFunction tick)
{
    g_tick = tick != nullptr ? tick : &NoTick;
}

uint32_t ReadMillisecondClock()
{
    return g_clock();
}

void SeedStarRandom(uint32_t seed)
{
    g_seed(seed);
}

int32_t NextStarRandom()
{
    return g_next();
}

// Internal: the Tumble Dry step's per-frame call.
void TickFrameHook()
{
    g_tick();
}

// Hashes of the last picture after a fixed number of steps from a fixed
// seed, per simulation and population (see golden_test.cpp for why they
// are trusted). Shared with the benchmark, which checks the frames it times.
#pragma once

#include <cstdint>

namespace engine_test {

constexpr uint32_t kGoldenSeedClock = 12345;
constexpr int32_t kGoldenSteps = 300;

struct Golden
{
    int32_t simulation;
    int32_t population;
    uint32_t hash; // FNV-1a over the picture, row 0 at the top
};

constexpr Golden kGolden[] = {
    { 1, 500, 0x52075797u }, { 1, 2000, 0xe841060fu }, { 1, 5000, 0xc9beb83fu },
    { 2, 500, 0x77ca839au }, { 2, 2000, 0x37994837u }, { 2, 5000, 0x01902a56u },
    { 3, 500, 0xda0e55d0u }, { 3, 2000, 0x0fa2f877u }, { 3, 5000, 0x03e57321u },
};

} // namespace engine_test

// Turns a score into the tune's sample data: 8-bit unsigned stereo at
// 22050 Hz, exactly the score's length, looping without a seam.
#pragma once

#include "Score.h"

#include <cstdint>
#include <vector>

namespace tunes {

struct RenderStats {
  double peakBeforeLevel = 0.0;  // peak of the raw mix, before scaling to the score's level
  uint32_t notes = 0;
};

std::vector<uint8_t> RenderTune(const Score& score, RenderStats* stats = nullptr);

} // namespace tunes

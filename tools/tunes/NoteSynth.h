// Synthesises a single note of an instrument: oscillators, envelope, filter
// and stereo placement.
#pragma once

#include "Score.h"

#include <cstdint>
#include <vector>

namespace tunes {

struct StereoBuffer {
  std::vector<double> left;
  std::vector<double> right;
};

// Renders the note from its first frame until its release has died away
// (or maxFrames, whichever comes first) into `out`, which is resized.
// `gateFrames` is how long the key is held; `seed` feeds the noise.
void RenderNote(const Instrument& in, int32_t pitch, double velocity, uint32_t gateFrames,
                uint32_t seed, uint32_t maxFrames, StereoBuffer& out);

} // namespace tunes

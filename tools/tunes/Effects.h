// Echo and reverb over a looping tune. Each effect runs over the loop twice
// and keeps the second pass, so that the tail that rings past the end of the
// tune is heard again at its start and the loop has no seam.
#pragma once

#include "NoteSynth.h"
#include "Score.h"

namespace tunes {

// Ping-pong echo of `in` (left and right are mixed into the left tap);
// `out` receives only the echoes.
void ApplyEcho(const Echo& echo, uint32_t delayFrames, const StereoBuffer& in, StereoBuffer& out);

// Stereo room reverb of `in`; `out` receives only the reverberation.
void ApplyReverb(const Reverb& reverb, const StereoBuffer& in, StereoBuffer& out);

} // namespace tunes

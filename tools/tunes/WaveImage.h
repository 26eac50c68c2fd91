// The complete RIFF WAVE file image of a tune: a 44-byte header (RIFF,
// a 16-byte PCM "fmt " chunk, "data") followed by the samples, nothing else.
#pragma once

#include <cstdint>
#include <vector>

namespace tunes {

constexpr uint32_t kWaveHeaderBytes = 44;

// `samples` holds unsigned 8-bit stereo frames at 22050 Hz.
std::vector<uint8_t> WaveImage(const std::vector<uint8_t>& samples);

} // namespace tunes

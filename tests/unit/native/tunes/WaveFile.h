// Reads a WAVE file image field by field, without trusting any of it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct WaveFields {
  std::string riff, wave, fmt, data;  // the four chunk tags
  uint32_t riffSize = 0;
  uint32_t fmtSize = 0;
  uint16_t formatTag = 0;
  uint16_t channels = 0;
  uint32_t samplesPerSec = 0;
  uint32_t bytesPerSec = 0;
  uint16_t blockAlign = 0;
  uint16_t bitsPerSample = 0;
  uint32_t dataSize = 0;
};

// The fields of the 44-byte header; the image must be at least 44 bytes.
WaveFields ReadWaveHeader(const std::vector<uint8_t>& image);

std::vector<uint8_t> ReadWholeFile(const std::string& path);

// One channel (0 left, 1 right) of interleaved 8-bit stereo samples, as
// signed values around the 128 midpoint.
std::vector<int32_t> Channel(const std::vector<uint8_t>& samples, int channel);

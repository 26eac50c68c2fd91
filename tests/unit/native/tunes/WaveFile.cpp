#include "WaveFile.h"

#include <fstream>
#include <iterator>

namespace {

uint32_t Get32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

uint16_t Get16(const std::vector<uint8_t>& b, size_t at) {
  return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

std::string Tag(const std::vector<uint8_t>& b, size_t at) {
  return std::string(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at) + 4);
}

} // namespace

WaveFields ReadWaveHeader(const std::vector<uint8_t>& b) {
  WaveFields f;
  f.riff = Tag(b, 0);
  f.riffSize = Get32(b, 4);
  f.wave = Tag(b, 8);
  f.fmt = Tag(b, 12);
  f.fmtSize = Get32(b, 16);
  f.formatTag = Get16(b, 20);
  f.channels = Get16(b, 22);
  f.samplesPerSec = Get32(b, 24);
  f.bytesPerSec = Get32(b, 28);
  f.blockAlign = Get16(b, 32);
  f.bitsPerSample = Get16(b, 34);
  f.data = Tag(b, 36);
  f.dataSize = Get32(b, 40);
  return f;
}

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
}

std::vector<int32_t> Channel(const std::vector<uint8_t>& samples, int channel) {
  std::vector<int32_t> out;
  out.reserve(samples.size() / 2);
  for (size_t i = static_cast<size_t>(channel); i < samples.size(); i += 2) {
    out.push_back(static_cast<int32_t>(samples[i]) - 128);
  }
  return out;
}

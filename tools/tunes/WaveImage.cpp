#include "WaveImage.h"

#include "Score.h"


namespace tunes {
namespace {

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) {
    out.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }
}

void Put16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void PutTag(std::vector<uint8_t>& out, const char* tag) {
  for (int i = 0; i < 4; ++i) {
    out.push_back(static_cast<uint8_t>(tag[i]));
  }
}

} // namespace

std::vector<uint8_t> WaveImage(const std::vector<uint8_t>& samples) {
  const uint32_t dataBytes = static_cast<uint32_t>(samples.size());
  const uint16_t bitsPerSample = 8;
  const uint16_t blockAlign = kChannels * bitsPerSample / 8;
  std::vector<uint8_t> out;
  out.reserve(kWaveHeaderBytes + dataBytes);
  PutTag(out, "RIFF");
  Put32(out, kWaveHeaderBytes - 8 + dataBytes);
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  Put32(out, 16);
  Put16(out, 1);  // PCM
  Put16(out, kChannels);
  Put32(out, kSampleRate);
  Put32(out, kSampleRate * blockAlign);
  Put16(out, blockAlign);
  Put16(out, bitsPerSample);
  PutTag(out, "data");
  Put32(out, dataBytes);
  out.insert(out.end(), samples.begin(), samples.end());
  return out;
}

} // namespace tunes

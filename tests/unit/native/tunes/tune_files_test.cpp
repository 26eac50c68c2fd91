// The three rendered tunes: the exact file layout, a seamless loop, and
// signal that looks like music (levels, stereo, energy in few pitches).

#include "Spectrum.h"
#include "WaveFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

namespace {

struct TuneCase {
  const char* file;
  uint32_t fileSize;
  uint32_t dataSize;
};

const TuneCase kTunes[] = {
    {"riff1.wav", 1144414, 1144370},
    {"riff2.wav", 1244452, 1244408},
    {"riff3.wav", 717722, 717678},
};

const std::vector<uint8_t>& Image(const char* file) {
  static std::map<std::string, std::vector<uint8_t>> cache;
  auto it = cache.find(file);
  if (it == cache.end()) {
    it = cache.emplace(file, ReadWholeFile(std::string(VELMORA_TUNE_DIR) + "/" + file)).first;
  }
  return it->second;
}

class TuneFile : public ::testing::TestWithParam<TuneCase> {
protected:
  void SetUp() override {
    const std::vector<uint8_t>& image = Image(GetParam().file);
    ASSERT_EQ(image.size(), GetParam().fileSize) << GetParam().file;
    samples.assign(image.begin() + 44, image.end());
    left = Channel(samples, 0);
    right = Channel(samples, 1);
  }
  std::vector<uint8_t> samples;
  std::vector<int32_t> left;
  std::vector<int32_t> right;
};

TEST_P(TuneFile, HeaderIsThe44BytePcmLayout) {
  WaveFields f = ReadWaveHeader(Image(GetParam().file));
  EXPECT_EQ(f.riff, "RIFF");
  EXPECT_EQ(f.riffSize, GetParam().fileSize - 8);
  EXPECT_EQ(f.wave, "WAVE");
  EXPECT_EQ(f.fmt, "fmt ");
  EXPECT_EQ(f.fmtSize, 16u);
  EXPECT_EQ(f.formatTag, 1u);
  EXPECT_EQ(f.channels, 2u);
  EXPECT_EQ(f.samplesPerSec, 22050u);
  EXPECT_EQ(f.bytesPerSec, 44100u);
  EXPECT_EQ(f.blockAlign, 2u);
  EXPECT_EQ(f.bitsPerSample, 8u);
  EXPECT_EQ(f.data, "data");
  EXPECT_EQ(f.dataSize, GetParam().dataSize);
  EXPECT_EQ(44u + f.dataSize, GetParam().fileSize);  // nothing after the samples
}

// The step from the last sample back to the first is no bigger than the
// tune's ordinary sample-to-sample motion.
TEST_P(TuneFile, LoopSeamIsNoBiggerThanOrdinaryMotion) {
  for (const std::vector<int32_t>* ch : {&left, &right}) {
    const std::vector<int32_t>& s = *ch;
    std::vector<int32_t> steps;
    steps.reserve(s.size());
    for (size_t i = 0; i + 1 < s.size(); ++i) {
      steps.push_back(std::abs(s[i + 1] - s[i]));
    }
    std::nth_element(steps.begin(), steps.begin() + static_cast<long>(steps.size() * 99 / 100),
                     steps.end());
    const int32_t p99 = steps[steps.size() * 99 / 100];
    const int32_t seam = std::abs(s.front() - s.back());
    EXPECT_GT(p99, 0);
    EXPECT_LE(seam, p99) << "first " << s.front() << ", last " << s.back();
  }
}

// Loud enough to hear, never at the rails, centred, and never silent for
// half a second.
TEST_P(TuneFile, LevelsAreMusicalNotClippedOrSilent) {
  const size_t halfSecond = 22050 / 2;
  int32_t peak = 0;
  for (const std::vector<int32_t>* ch : {&left, &right}) {
    const std::vector<int32_t>& s = *ch;
    double sum = 0.0;
    double squares = 0.0;
    for (int32_t v : s) {
      sum += v;
      squares += static_cast<double>(v) * v;
      peak = std::max(peak, std::abs(v));
    }
    const double n = static_cast<double>(s.size());
    const double rms = std::sqrt(squares / n);
    EXPECT_LT(std::fabs(sum / n), 1.0) << "DC offset";
    EXPECT_GT(rms, 12.0);
    EXPECT_LT(rms, 45.0);
    for (size_t start = 0; start + halfSecond <= s.size(); start += halfSecond) {
      double w = 0.0;
      for (size_t i = start; i < start + halfSecond; ++i) {
        w += static_cast<double>(s[i]) * s[i];
      }
      EXPECT_GT(std::sqrt(w / halfSecond), 4.0) << "quiet at " << start / 22050.0 << " s";
    }
  }
  EXPECT_GT(peak, 100);
  EXPECT_LE(peak, 126);  // samples stay within 2..254: headroom, no clipping
}

// The two channels carry the same music, spread a little apart.
TEST_P(TuneFile, ChannelsAreRelatedButNotIdentical) {
  double ll = 0.0, rr = 0.0, lr = 0.0;
  for (size_t i = 0; i < left.size(); ++i) {
    ll += static_cast<double>(left[i]) * left[i];
    rr += static_cast<double>(right[i]) * right[i];
    lr += static_cast<double>(left[i]) * right[i];
  }
  const double correlation = lr / std::sqrt(ll * rr);
  EXPECT_GT(correlation, 0.2);
  EXPECT_LT(correlation, 0.99);
}

// Music puts its energy into a few pitches at a time: its spectrum is far
// from flat, unlike noise, in nearly every window.
TEST_P(TuneFile, EnergySitsInFewPitches) {
  std::vector<double> mono(left.size());
  for (size_t i = 0; i < left.size(); ++i) {
    mono[i] = 0.5 * (left[i] + right[i]);
  }
  const size_t window = 4096;
  std::vector<double> flatness;
  for (size_t start = 0; start + window <= mono.size(); start += window) {
    flatness.push_back(SpectralFlatness(mono, start, window));
  }
  std::sort(flatness.begin(), flatness.end());
  const double median = flatness[flatness.size() / 2];
  const double worst = flatness.back();
  EXPECT_LT(median, 0.05);
  EXPECT_LT(worst, 0.15);

  // The same measure on white noise of the same level, as a yardstick.
  std::vector<double> noise(window);
  uint32_t x = 12345;
  for (double& v : noise) {
    x = x * 1664525u + 1013904223u;
    v = static_cast<double>(x >> 24) - 128.0;
  }
  EXPECT_GT(SpectralFlatness(noise, 0, window), 0.4);
}

INSTANTIATE_TEST_SUITE_P(Tunes, TuneFile, ::testing::ValuesIn(kTunes),
                         [](const ::testing::TestParamInfo<TuneCase>& info) {
                           return std::string("Tune") + std::to_string(info.index + 1);
                         });

} // namespace

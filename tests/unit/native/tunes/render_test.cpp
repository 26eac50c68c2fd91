// Synthesis: reproducible math, exact levels, and a loop whose tails wrap
// round to the start.

#include "tools/tunes/DetMath.h"
#include "tools/tunes/Score.h"
#include "tools/tunes/TuneRenderer.h"
#include "tools/tunes/WaveImage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

namespace {

TEST(TuneMath, OwnSineExpAndPitchAgreeWithTheLibrary) {
  double worstSin = 0.0;
  for (int i = -2000; i <= 2000; ++i) {
    double t = i / 997.0;
    worstSin = std::max(worstSin, std::fabs(tunes::SinTurns(t) - std::sin(2.0 * std::numbers::pi * t)));
  }
  EXPECT_LT(worstSin, 1e-6);
  EXPECT_DOUBLE_EQ(tunes::SinTurns(0.25), 1.0);
  EXPECT_DOUBLE_EQ(tunes::SinTurns(0.5), 0.0);
  EXPECT_DOUBLE_EQ(tunes::SinTurns(-0.25), -1.0);
  for (double x = -40.0; x <= 40.0; x += 0.37) {
    EXPECT_NEAR(tunes::Exp(x) / std::exp(x), 1.0, 1e-14) << x;
  }
  EXPECT_EQ(tunes::Exp(-1000.0), 0.0);
  EXPECT_EQ(tunes::NoteFrequency(69), 440.0);
  EXPECT_EQ(tunes::NoteFrequency(57), 220.0);
  EXPECT_EQ(tunes::NoteFrequency(93), 1760.0);
  EXPECT_NEAR(tunes::NoteFrequency(60), 261.6255653, 1e-6);
  EXPECT_NEAR(tunes::NoteFrequency(23), 30.8677063, 1e-6);  // B0, below the table's octave
  EXPECT_NEAR(tunes::NoteFrequency(69.5), 452.8929841, 1e-6);
}

// One bar of 4/4 in two seconds.
std::string OneBar(const std::string& instrument, const std::string& bar,
                   const std::string& extra = "") {
  return "length 88200\nmeter 4\nbars 1\ntempo 120\nlevel 0.5\n" + extra + "instrument a " +
         instrument + "\nvoice a gate=1 vel=1\n| " + bar + " |\n";
}

int32_t Peak(const std::vector<uint8_t>& s, size_t from, size_t to) {
  int32_t peak = 0;
  for (size_t i = from; i < to; ++i) {
    peak = std::max(peak, std::abs(static_cast<int32_t>(s[i]) - 128));
  }
  return peak;
}

TEST(TuneRender, LengthLevelAndRepeatability) {
  tunes::Score score =
      tunes::ParseScore(OneBar("wave=saw cutoff=2000 detune=8 pan=0.3", "C4:q E4 G4 C5"));
  std::vector<uint8_t> first = tunes::RenderTune(score);
  std::vector<uint8_t> second = tunes::RenderTune(score);
  ASSERT_EQ(first.size(), 88200u);
  EXPECT_EQ(first, second);
  // The loudest sample sits exactly at the score's level.
  EXPECT_EQ(Peak(first, 0, first.size()), 64);  // 0.5 of 127, rounded

  std::vector<uint8_t> image = tunes::WaveImage(first);
  EXPECT_EQ(image.size(), 44u + 88200u);
  EXPECT_TRUE(std::equal(first.begin(), first.end(), image.begin() + 44));
}

TEST(TuneRender, TailsRingingPastTheEndWrapToTheStart) {
  // A note in the last beat with a long release: what sounds after the bar
  // ends must be heard at the start of the loop.
  tunes::Score late = tunes::ParseScore(OneBar("release=1.5 sustain=1", "r:h. A4:q"));
  std::vector<uint8_t> s = tunes::RenderTune(late);
  EXPECT_GT(Peak(s, 0, 2000), 20);
  EXPECT_LE(std::abs(s[0] - s[s.size() - 2]), 8);  // left channel meets itself

  // The same for the echo of a short note near the end.
  tunes::Score echoed = tunes::ParseScore(
      OneBar("release=0.02 sustain=0 decay=0.05 echo=1", "r:h. A4:e r:e",
             "echo delay=0.75 feedback=0.6 level=1\n"));
  std::vector<uint8_t> e = tunes::RenderTune(echoed);
  // The note sounds from 1.5 s to 1.75 s; its echoes follow every 0.375 s,
  // the second from 2.25 s, that is 0.25 s into the next pass of the loop.
  EXPECT_GT(Peak(e, 2 * 5600, 2 * 7700), 10);

  // And a note early in the bar with a short release leaves the end silent.
  tunes::Score early = tunes::ParseScore(OneBar("release=0.05 sustain=1", "A4:q r:h."));
  std::vector<uint8_t> q = tunes::RenderTune(early);
  EXPECT_EQ(Peak(q, q.size() - 4000, q.size()), 0);
}

} // namespace

// Reading the tune notation: where notes land, and how mistakes are reported.

#include "tools/tunes/Score.h"

#include <gtest/gtest.h>

#include <string>

using tunes::NoteEvent;
using tunes::ParseScore;
using tunes::Score;
using tunes::ScoreError;

namespace {

// Two bars of 4/4 in 4 seconds: 120 beats per minute.
const std::string kHead =
    "tune Test # a comment\n"
    "length 176400\n"
    "meter 4\n"
    "bars 2\n"
    "tempo 120\n";

std::vector<NoteEvent> EventsOf(const Score& s, uint32_t instrument) {
  std::vector<NoteEvent> out;
  for (const NoteEvent& e : s.events) {
    if (e.instrument == instrument) {
      out.push_back(e);
    }
  }
  return out;
}

void ExpectNote(const NoteEvent& e, uint32_t start, double gate, int32_t pitch, double velocity) {
  EXPECT_EQ(e.startTick, start);
  EXPECT_DOUBLE_EQ(e.gateTicks, gate);
  EXPECT_EQ(e.pitch, pitch);
  EXPECT_DOUBLE_EQ(e.velocity, velocity);
}

TEST(ScoreNotation, PlacesNotesChordsTiesGridsAndArpeggios) {
  Score s = ParseScore(kHead +
                       "instrument a\ninstrument b\ninstrument c wave=kick note=G1\n"
                       "instrument d wave=square pan=-0.5 cutoff=1200\n"
                       "voice a vel=0.5\n"
                       "| C4:q E4+G4:h r:q | % |\n"
                       "voice b gate=1 vel=1\n"
                       "| r:h A3:h~ | A3:q Bb3 C#4:e D4 E4:q |   # sharps are not comments\n"
                       "voice c vel=1\n"
                       "| X.x.o... | x2\n"
                       "voice d arp=s order=updown gate=0.5 transpose=12\n"
                       "| C4+E4+G4:q r:h. |\n"
                       "| r:w |\n");
  EXPECT_EQ(s.title, "Test");
  EXPECT_EQ(s.TotalTicks(), 2u * 4u * 48u);
  EXPECT_EQ(s.instruments[3].wave, tunes::Wave::Square);
  EXPECT_DOUBLE_EQ(s.instruments[3].pan, -0.5);
  EXPECT_EQ(s.instruments[2].note, 31);

  auto a = EventsOf(s, 0);  // gate 0.9 by default; '%' repeats the bar
  ASSERT_EQ(a.size(), 6u);
  ExpectNote(a[0], 0, 48 * 0.9, 60, 0.5);
  ExpectNote(a[1], 48, 96 * 0.9, 64, 0.5);
  ExpectNote(a[2], 48, 96 * 0.9, 67, 0.5);
  ExpectNote(a[3], 192, 48 * 0.9, 60, 0.5);
  ExpectNote(a[5], 240, 96 * 0.9, 67, 0.5);

  auto b = EventsOf(s, 1);  // the tie carries A3 over the bar line
  ASSERT_EQ(b.size(), 5u);
  ExpectNote(b[0], 96, 144, 57, 1.0);
  ExpectNote(b[1], 240, 48, 58, 1.0);  // the duration carries over
  ExpectNote(b[2], 288, 24, 61, 1.0);
  ExpectNote(b[3], 312, 24, 62, 1.0);
  ExpectNote(b[4], 336, 48, 64, 1.0);

  auto c = EventsOf(s, 2);  // eight steps of 24 ticks, line played twice
  ASSERT_EQ(c.size(), 6u);
  ExpectNote(c[0], 0, 24 * 0.9, 31, 1.0);
  ExpectNote(c[1], 48, 24 * 0.9, 31, 0.75);
  ExpectNote(c[2], 96, 24 * 0.9, 31, 0.4);
  EXPECT_EQ(c[3].startTick, 192u);

  auto d = EventsOf(s, 3);  // sixteenths up and down, an octave higher
  ASSERT_EQ(d.size(), 4u);
  ExpectNote(d[0], 0, 6, 72, 0.8);
  ExpectNote(d[1], 12, 6, 76, 0.8);
  ExpectNote(d[2], 24, 6, 79, 0.8);
  ExpectNote(d[3], 36, 6, 76, 0.8);
}

TEST(ScoreNotation, BarsFillTheLengthExactly) {
  Score s = ParseScore(kHead + "instrument a\nvoice a\n| C4:w | C4:w |\n");
  EXPECT_EQ(s.Frames(), 88200u);
  EXPECT_EQ(s.FrameOfTick(0), 0u);
  EXPECT_EQ(s.FrameOfTick(s.TotalTicks() / 2), 44100u);
  EXPECT_EQ(s.FrameOfTick(s.TotalTicks()), s.Frames());
  EXPECT_DOUBLE_EQ(s.FittedTempo(), 120.0);

  // An odd beat length: the grid still ends on the last frame.
  Score odd = ParseScore(
      "length 1244408\nmeter 4\nbars 8\ntempo 68\ninstrument a\nvoice a\n| C4:w | x8\n");
  EXPECT_EQ(odd.FrameOfTick(odd.TotalTicks()), 622204u);
  EXPECT_NEAR(odd.FittedTempo(), 68.04, 0.01);
}

struct BadScore {
  const char* what;
  std::string text;
  int line;
  const char* message;
};

TEST(ScoreNotation, MistakesAreReportedWithTheirLine) {
  const std::string inst = "instrument a\n";
  const BadScore cases[] = {
      {"short bar", kHead + inst + "voice a\n| C4:w | C4:h C4:q |\n", 8, "bar 2 lasts 3 beats"},
      {"long bar", kHead + inst + "voice a\n| C4:w C4:s | C4:w |\n", 8, "bar 1 lasts 4 12/48"},
      {"voice too short", kHead + inst + "voice a\n| C4:w |\n", 8, "lasts 4 beats, the tune has 8"},
      {"tempo off", "length 176400\nmeter 4\nbars 2\ntempo 100\n" + inst + "voice a\n", 6,
       "does not fit"},
      {"odd length", "length 176401\n", 1, "whole stereo frames"},
      {"unknown setting", kHead + "instrument a shimmer=2\n", 6, "unknown instrument setting"},
      {"out of range", kHead + "instrument a pan=2\n", 6, "pan must lie between"},
      {"bad pitch", kHead + inst + "voice a\n| H4:w | C4:w |\n", 8, "not a pitch"},
      {"bad duration", kHead + inst + "voice a\n| C4:x | C4:w |\n", 8, "unknown duration"},
      {"tie to another note", kHead + inst + "voice a\n| C4:w~ | D4:w |\n", 8, "tie joins"},
      {"nothing to repeat", kHead + inst + "voice a\n| % | C4:w |\n", 8, "repeats the previous bar"},
      {"no such instrument", kHead + "voice z\n", 6, "no instrument named 'z'"},
      {"grid does not divide", kHead + "instrument a\nvoice a\n| x.x.x | x2\n", 8,
       "equal steps"},
      {"bars before a voice", kHead + "| C4:w |\n", 6, "before the first voice"},
      {"no voices", kHead, 6, "no voices"},
  };
  for (const BadScore& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      ParseScore(c.text);
      ADD_FAILURE() << "accepted";
    } catch (const ScoreError& e) {
      EXPECT_EQ(e.Line(), c.line) << e.what();
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
    }
  }
}

} // namespace

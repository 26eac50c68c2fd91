// A tune as read from its score: global settings, the instruments and every
// note placed on a grid of ticks (48 per beat).
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tunes {

constexpr uint32_t kTicksPerBeat = 48;
constexpr uint32_t kSampleRate = 22050;
constexpr uint32_t kChannels = 2;

enum class Wave { Sine, Triangle, Saw, Square, Fm, Kick, Snare, Hat };

struct Instrument {
  std::string name;
  Wave wave = Wave::Sine;
  // Envelope: the attack rises linearly over its time; decay and release
  // (like every fade below) give the time to fall by 60 dB. Sustain is a
  // level from 0 to 1.
  double attack = 0.005;
  double decay = 0.3;
  double sustain = 0.7;
  double release = 0.2;
  double gain = 0.5;
  double pan = 0.0;           // -1 left .. +1 right
  double detune = 0.0;        // cents; two voices spread left and right
  double cutoff = 0.0;        // low-pass cutoff in Hz (0: no filter)
  double resonance = 0.0;     // 0 .. 1
  double filterEnv = 0.0;     // Hz added to the cutoff at the note's start, fading over `decay`
  double ratio = 1.0;         // FM modulator : carrier frequency
  double index = 0.0;         // FM modulation depth (radians)
  double indexDecay = 0.0;    // seconds for the FM depth to fade (0: constant)
  double vibrato = 0.0;       // cents
  double vibratoRate = 5.0;   // Hz
  double pitchDrop = 0.0;     // semitones the pitch starts above the note (drums)
  double pitchTime = 0.04;    // seconds for that drop to fade
  double noise = 0.0;         // share of noise in the snare
  double echo = 0.0;          // send level to the echo
  double reverb = 0.0;        // send level to the reverb
  int32_t note = 36;          // pitch of grid hits (drums)
};

struct Echo {
  double delayBeats = 0.75;
  double feedback = 0.0;      // 0: echo off
  double tone = 3000.0;       // low-pass in the feedback path, Hz
  double level = 0.0;         // return level into the mix
};

struct Reverb {
  double room = 0.7;          // 0 .. 1, longer tail
  double damp = 0.4;          // 0 .. 1, darker tail
  double level = 0.0;         // return level into the mix
};

struct NoteEvent {
  uint32_t startTick = 0;
  double gateTicks = 0.0;     // how long the key is held
  int32_t pitch = 60;         // MIDI note number
  double velocity = 1.0;
  uint32_t instrument = 0;    // index into Score::instruments
};

struct Score {
  std::string title;
  uint32_t dataBytes = 0;     // size of the sample data: whole stereo frames
  uint32_t beatsPerBar = 4;
  uint32_t bars = 0;
  double tempo = 0.0;         // nominal beats per minute
  double level = 0.9;         // peak level of the rendered mix, 0 .. 1
  Echo echo;
  Reverb reverb;
  std::vector<Instrument> instruments;
  std::vector<NoteEvent> events;

  uint32_t Frames() const { return dataBytes / kChannels; }
  uint32_t TotalTicks() const { return bars * beatsPerBar * kTicksPerBeat; }
  // First sample frame of a tick; the tune's bars fill the length exactly.
  uint32_t FrameOfTick(uint64_t tick) const {
    return static_cast<uint32_t>(tick * Frames() / TotalTicks());
  }
  // The tempo that makes the bars fill the length exactly.
  double FittedTempo() const {
    return 60.0 * bars * beatsPerBar * kSampleRate / Frames();
  }
};

// A score that cannot be read; the message names the line.
class ScoreError : public std::runtime_error {
public:
  ScoreError(int line, const std::string& message)
      : std::runtime_error("line " + std::to_string(line) + ": " + message), m_line(line) {}
  int Line() const { return m_line; }

private:
  int m_line;
};

// Reads a score; throws ScoreError on anything it does not understand, on a
// bar that does not add up to the meter and on a voice that does not fill
// the tune.
Score ParseScore(std::string_view text);

} // namespace tunes

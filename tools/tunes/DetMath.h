// Reproducible math for the tune generator: sine, exponential and pitch
// ratios built only from IEEE addition, multiplication and division, so that
// every machine renders the same bytes whatever its libm does.
#pragma once

#include <cstdint>

namespace tunes {

constexpr double kPi = 3.14159265358979323846;
constexpr double kLn2 = 0.69314718055994530942;

// Sine of a phase given in turns (1.0 = one full cycle); any finite value.
double SinTurns(double turns);
// Cosine of a phase given in turns.
double CosTurns(double turns);
// e to the power x.
double Exp(double x);
// 2 to the power x.
double Pow2(double x);
// Frequency in Hz of a MIDI note number (69 = A4 = 440 Hz), fractional
// numbers allowed (cents).
double NoteFrequency(double midiNote);
// Per-sample multiplier that fades a value by 60 dB (to 1/1000) over
// `seconds`; 0 for no time at all.
double DecayPerSample(double seconds, double sampleRate);

// Small deterministic noise source (xorshift32).
class Noise {
public:
  explicit Noise(uint32_t seed) : m_state(seed ? seed : 0x9E3779B9u) {}
  // Uniform value in [-1, 1).
  double Next() {
    m_state ^= m_state << 13;
    m_state ^= m_state >> 17;
    m_state ^= m_state << 5;
    return static_cast<double>(m_state) * (2.0 / 4294967296.0) - 1.0;
  }

private:
  uint32_t m_state;
};

} // namespace tunes

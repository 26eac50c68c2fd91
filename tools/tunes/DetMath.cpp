#include "DetMath.h"

#include <cmath>

namespace tunes {
namespace {

constexpr int kTableBits = 12;
constexpr int kTableSize = 1 << kTableBits;

// sin(x) for 0 <= x <= pi/2 by its Taylor series, summed smallest term last.
double SinSeries(double x) {
  double x2 = x * x;
  double term = x;
  double sum = x;
  for (int n = 1; n < 12; ++n) {
    term = -term * x2 / static_cast<double>((2 * n) * (2 * n + 1));
    sum += term;
  }
  return sum;
}

struct SineTable {
  double v[kTableSize + 1];
  SineTable() {
    const int quarter = kTableSize / 4;
    for (int i = 0; i <= quarter; ++i) {
      // Fold to the first quadrant so that the series stays short and exact
      // symmetries hold: sin(pi - x) = sin(x), sin(x + pi) = -sin(x).
      double s = SinSeries(static_cast<double>(i) * (2.0 * kPi / kTableSize));
      v[i] = s;
      v[2 * quarter - i] = s;
      v[2 * quarter + i] = -s;
      v[4 * quarter - i] = -s;
    }
    v[0] = v[2 * quarter] = v[4 * quarter] = 0.0;
    v[quarter] = 1.0;
    v[3 * quarter] = -1.0;
  }
};

const SineTable& Table() {
  static const SineTable table;
  return table;
}

// 2^(k/12) for k = 0..11, written out so no run-time power is needed.
constexpr double kSemitone[12] = {
    1.0,
    1.0594630943592952646,
    1.1224620483093729814,
    1.1892071150027210667,
    1.2599210498948731648,
    1.3348398541700343648,
    1.4142135623730950488,
    1.4983070768766814988,
    1.5874010519681994748,
    1.6817928305074290861,
    1.7817974362806786095,
    1.8877486253633869932,
};

} // namespace

double SinTurns(double turns) {
  double t = turns - std::floor(turns);  // floor is exact everywhere
  double pos = t * kTableSize;
  int i = static_cast<int>(pos);
  if (i >= kTableSize) {
    i = kTableSize - 1;
  }
  double frac = pos - i;
  const double* v = Table().v;
  return v[i] + (v[i + 1] - v[i]) * frac;
}

double CosTurns(double turns) { return SinTurns(turns + 0.25); }

double Exp(double x) {
  if (x < -700.0) {
    return 0.0;
  }
  // x = k ln2 + r with |r| <= ln2 / 2; e^r by its series, then scale by 2^k.
  double k = std::floor(x / kLn2 + 0.5);
  double r = x - k * kLn2;
  double term = 1.0;
  double sum = 1.0;
  for (int n = 1; n < 16; ++n) {
    term = term * r / n;
    sum += term;
  }
  return std::ldexp(sum, static_cast<int>(k));
}

double Pow2(double x) { return Exp(x * kLn2); }

double NoteFrequency(double midiNote) {
  double whole = std::floor(midiNote);
  double cents = midiNote - whole;
  int n = static_cast<int>(whole) - 69;
  int octave = (n >= 0) ? n / 12 : -((11 - n) / 12);
  int semis = n - octave * 12;
  double f = std::ldexp(440.0 * kSemitone[semis], octave);
  if (cents != 0.0) {
    f *= Pow2(cents / 12.0);
  }
  return f;
}

double DecayPerSample(double seconds, double sampleRate) {
  if (seconds <= 0.0) {
    return 0.0;
  }
  constexpr double kLn1000 = 6.90775527898213705205;
  return Exp(-kLn1000 / (seconds * sampleRate));
}

} // namespace tunes

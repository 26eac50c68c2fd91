#include "NoteSynth.h"

#include "DetMath.h"

#include <algorithm>
#include <cmath>

namespace tunes {
namespace {

constexpr double kRate = kSampleRate;
// Below this envelope level a note is silent at 8 bits.
constexpr double kSilent = 1.0 / 8192.0;

// Smooths the corners of a naive saw or square (polynomial band-limited step).
double PolyBlep(double t, double dt) {
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1.0;
  }
  if (t > 1.0 - dt) {
    t = (t - 1.0) / dt;
    return t * t + t + t + 1.0;
  }
  return 0.0;
}

double Wrap(double phase) { return phase >= 1.0 ? phase - 1.0 : phase; }

// One oscillator of a pitched instrument.
struct Oscillator {
  double phase = 0.0;
  double modPhase = 0.0;

  double Next(const Instrument& in, double freq, double fmDepth) {
    const double dt = freq / kRate;
    double v = 0.0;
    switch (in.wave) {
      case Wave::Sine:
        v = SinTurns(phase);
        break;
      case Wave::Triangle:
        v = 4.0 * (phase < 0.5 ? phase : 1.0 - phase) - 1.0;
        break;
      case Wave::Saw:
        v = 2.0 * phase - 1.0 - PolyBlep(phase, dt);
        break;
      case Wave::Square:
        v = (phase < 0.5 ? 1.0 : -1.0) + PolyBlep(phase, dt) - PolyBlep(Wrap(phase + 0.5), dt);
        break;
      case Wave::Fm:
        v = SinTurns(phase + fmDepth * SinTurns(modPhase) * (1.0 / (2.0 * kPi)));
        modPhase += dt * in.ratio;
        modPhase -= std::floor(modPhase);
        break;
      default:
        break;
    }
    phase = Wrap(phase + dt);
    return v;
  }
};

// State-variable low-pass, run twice per sample so that cutoffs up to a
// third of the sample rate stay stable.
struct LowPass {
  double low = 0.0;
  double band = 0.0;

  double Run(double x, double f, double damping) {
    for (int i = 0; i < 2; ++i) {
      low += f * band;
      double high = x - low - damping * band;
      band += f * high;
    }
    return low;
  }
};

double FilterCoefficient(double cutoff) {
  double c = std::min(std::max(cutoff, 20.0), kRate / 3.0);
  return 2.0 * SinTurns(c / (4.0 * kRate));  // 2 sin(pi fc / (2 fs))
}

// Attack, decay to sustain, release after the gate; levels 0..1.
class Envelope {
public:
  Envelope(const Instrument& in, uint32_t gateFrames)
      : m_attackFrames(std::max(1.0, in.attack * kRate)),
        m_sustain(in.sustain),
        m_decay(DecayPerSample(in.decay, kRate)),
        m_release(DecayPerSample(in.release, kRate)),
        m_gate(gateFrames) {}

  double Next() {
    if (m_n < m_gate) {
      if (m_n < m_attackFrames) {
        // Rise to the peak, then fall from it towards the sustain level.
        m_level = std::min(1.0, (m_n + 1) / m_attackFrames);
        m_over = 1.0 - m_sustain;
      } else {
        m_over *= m_decay;
        m_level = m_sustain + m_over;
      }
    } else {
      m_level *= m_release;
    }
    ++m_n;
    return m_level;
  }

  bool Done() const { return m_n >= m_gate && m_n > m_attackFrames && m_level < kSilent; }

private:
  double m_attackFrames;
  double m_sustain;
  double m_decay;
  double m_release;
  uint32_t m_gate;
  uint32_t m_n = 0;
  double m_level = 0.0;
  double m_over = 0.0;
};

// Left and right gains for a position from -1 (left) to +1 (right), equal power.
void PanGains(double pan, double& left, double& right) {
  double angle = (pan + 1.0) * 0.125;  // a quarter turn across the field
  left = CosTurns(angle);
  right = SinTurns(angle);
}

void RenderPitched(const Instrument& in, double freq, double amp, uint32_t gateFrames,
                   uint32_t maxFrames, StereoBuffer& out) {
  Envelope env(in, gateFrames);
  const bool twin = in.detune > 0.0;
  const double spread = twin ? Pow2(in.detune / 1200.0) : 1.0;
  Oscillator a;
  Oscillator b;
  b.phase = 0.37;  // the twin starts elsewhere in its cycle: no doubled attack
  LowPass fl;
  LowPass fr;
  const double damping = 1.4 - 1.3 * in.resonance;
  const double filterFade = DecayPerSample(in.decay, kRate);
  const double fmFade = DecayPerSample(in.indexDecay, kRate);
  const double vibDepth = Pow2(in.vibrato / 1200.0) - 1.0;
  const double vibDelay = 0.25 * kRate;
  double filterEnv = in.filterEnv;
  double fmDepth = in.index;
  double gl = 0.0;
  double gr = 0.0;
  PanGains(in.pan, gl, gr);
  for (uint32_t n = 0; n < maxFrames; ++n) {
    double e = env.Next();
    double f = freq;
    if (vibDepth > 0.0) {
      double ramp = std::min(1.0, n / vibDelay);
      f *= 1.0 + vibDepth * ramp * SinTurns(in.vibratoRate * n / kRate);
    }
    double l;
    double r;
    if (twin) {
      double va = a.Next(in, f / spread, fmDepth);
      double vb = b.Next(in, f * spread, fmDepth);
      l = 0.7 * va + 0.3 * vb;
      r = 0.3 * va + 0.7 * vb;
    } else {
      l = r = a.Next(in, f, fmDepth);
    }
    if (in.indexDecay > 0.0) {
      fmDepth *= fmFade;
    }
    if (in.cutoff > 0.0) {
      double fc = FilterCoefficient(in.cutoff + filterEnv);
      filterEnv *= filterFade;
      l = fl.Run(l, fc, damping);
      r = twin ? fr.Run(r, fc, damping) : l;
    }
    out.left.push_back(l * e * amp * gl);
    out.right.push_back(r * e * amp * gr);
    if (env.Done()) {
      break;
    }
  }
}

// Kick: a sine whose pitch falls quickly onto the note; snare: a short tone
// under band-passed noise; hat: high-passed noise.
void RenderDrum(const Instrument& in, double freq, double amp, uint32_t seed, uint32_t maxFrames,
                StereoBuffer& out) {
  Instrument shape = in;
  shape.sustain = 0.0;
  Envelope env(shape, maxFrames);
  Noise noise(seed);
  const double drop = Pow2(in.pitchDrop / 12.0) - 1.0;
  const double dropFade = DecayPerSample(in.pitchTime, kRate);
  double dropLevel = drop;
  double phase = 0.0;
  double low = 0.0;
  double band = 0.0;
  const double cutoff = in.cutoff > 0.0 ? in.cutoff : (in.wave == Wave::Hat ? 6000.0 : 1800.0);
  const double fc = FilterCoefficient(cutoff);
  const double damping = 1.4 - 1.3 * in.resonance;
  double gl = 0.0;
  double gr = 0.0;
  PanGains(in.pan, gl, gr);
  for (uint32_t n = 0; n < maxFrames; ++n) {
    double e = env.Next();
    double tone = SinTurns(phase);
    phase = Wrap(phase + freq * (1.0 + dropLevel) / kRate);
    dropLevel *= dropFade;
    double v = 0.0;
    if (in.wave == Wave::Kick) {
      v = tone;
    } else {
      double x = noise.Next();
      double high = 0.0;
      for (int i = 0; i < 2; ++i) {
        low += fc * band;
        high = x - low - damping * band;
        band += fc * high;
      }
      v = (in.wave == Wave::Hat) ? high : (1.0 - in.noise) * tone + in.noise * band;
    }
    out.left.push_back(v * e * amp * gl);
    out.right.push_back(v * e * amp * gr);
    if (n > 8 && e < kSilent) {
      break;
    }
  }
}

} // namespace

void RenderNote(const Instrument& in, int32_t pitch, double velocity, uint32_t gateFrames,
                uint32_t seed, uint32_t maxFrames, StereoBuffer& out) {
  out.left.clear();
  out.right.clear();
  const double freq = NoteFrequency(pitch);
  const double amp = in.gain * velocity;
  if (in.wave == Wave::Kick || in.wave == Wave::Snare || in.wave == Wave::Hat) {
    RenderDrum(in, freq, amp, seed, maxFrames, out);
  } else {
    RenderPitched(in, freq, amp, gateFrames, maxFrames, out);
  }
}

} // namespace tunes

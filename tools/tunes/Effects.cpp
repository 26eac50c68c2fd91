#include "Effects.h"

#include "DetMath.h"

#include <array>

namespace tunes {
namespace {

class Comb {
public:
  explicit Comb(size_t length) : m_buf(length, 0.0) {}
  double Run(double x, double feedback, double damp) {
    double y = m_buf[m_i];
    m_store = y * (1.0 - damp) + m_store * damp;
    m_buf[m_i] = x + m_store * feedback;
    if (++m_i == m_buf.size()) {
      m_i = 0;
    }
    return y;
  }

private:
  std::vector<double> m_buf;
  size_t m_i = 0;
  double m_store = 0.0;
};

class AllPass {
public:
  explicit AllPass(size_t length) : m_buf(length, 0.0) {}
  double Run(double x) {
    double held = m_buf[m_i];
    m_buf[m_i] = x + held * 0.5;
    if (++m_i == m_buf.size()) {
      m_i = 0;
    }
    return held - x;
  }

private:
  std::vector<double> m_buf;
  size_t m_i = 0;
};

// Comb and all-pass lengths in frames at 22050 Hz; the right channel's are
// a little longer, which decorrelates the two sides.
constexpr std::array<size_t, 8> kCombs = {557, 593, 641, 677, 709, 743, 779, 809};
constexpr std::array<size_t, 4> kAllPasses = {278, 220, 170, 112};
constexpr size_t kStereoSpread = 11;

struct ReverbChannel {
  std::vector<Comb> combs;
  std::vector<AllPass> allPasses;
  explicit ReverbChannel(size_t extra) {
    for (size_t len : kCombs) {
      combs.emplace_back(len + extra);
    }
    for (size_t len : kAllPasses) {
      allPasses.emplace_back(len + extra);
    }
  }
  double Run(double x, double feedback, double damp) {
    double sum = 0.0;
    for (Comb& c : combs) {
      sum += c.Run(x, feedback, damp);
    }
    for (AllPass& a : allPasses) {
      sum = a.Run(sum);
    }
    return sum;
  }
};

} // namespace

void ApplyEcho(const Echo& echo, uint32_t delayFrames, const StereoBuffer& in, StereoBuffer& out) {
  const size_t n = in.left.size();
  out.left.assign(n, 0.0);
  out.right.assign(n, 0.0);
  if (echo.feedback <= 0.0 || echo.level <= 0.0 || delayFrames == 0 || n == 0) {
    return;
  }
  std::vector<double> lineL(delayFrames, 0.0);
  std::vector<double> lineR(delayFrames, 0.0);
  const double k = 1.0 - Exp(-2.0 * kPi * echo.tone / kSampleRate);
  double toneL = 0.0;
  double toneR = 0.0;
  size_t d = 0;
  for (size_t i = 0; i < 2 * n; ++i) {
    const size_t s = i % n;
    double yl = lineL[d];
    double yr = lineR[d];
    toneL += k * (yl - toneL);
    toneR += k * (yr - toneR);
    lineL[d] = 0.5 * (in.left[s] + in.right[s]) + echo.feedback * toneR;
    lineR[d] = echo.feedback * toneL;
    if (++d == delayFrames) {
      d = 0;
    }
    if (i >= n) {
      out.left[s] = yl;
      out.right[s] = yr;
    }
  }
}

void ApplyReverb(const Reverb& reverb, const StereoBuffer& in, StereoBuffer& out) {
  const size_t n = in.left.size();
  out.left.assign(n, 0.0);
  out.right.assign(n, 0.0);
  if (reverb.level <= 0.0 || n == 0) {
    return;
  }
  ReverbChannel left(0);
  ReverbChannel right(kStereoSpread);
  const double feedback = 0.7 + 0.28 * reverb.room;
  const double damp = 0.4 * reverb.damp;
  for (size_t i = 0; i < 2 * n; ++i) {
    const size_t s = i % n;
    double x = 0.05 * (in.left[s] + in.right[s]);
    double yl = left.Run(x, feedback, damp);
    double yr = right.Run(x, feedback, damp);
    if (i >= n) {
      out.left[s] = yl;
      out.right[s] = yr;
    }
  }
}

} // namespace tunes

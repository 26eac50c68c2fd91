#include "Spectrum.h"

#include <cmath>
#include <complex>
#include <numbers>

namespace {

void Fft(std::vector<std::complex<double>>& a) {
  const size_t n = a.size();
  for (size_t i = 1, j = 0; i < n; ++i) {
    size_t bit = n >> 1;
    for (; j & bit; bit >>= 1) {
      j ^= bit;
    }
    j ^= bit;
    if (i < j) {
      std::swap(a[i], a[j]);
    }
  }
  for (size_t len = 2; len <= n; len <<= 1) {
    const double angle = -2.0 * std::numbers::pi / static_cast<double>(len);
    const std::complex<double> step(std::cos(angle), std::sin(angle));
    for (size_t i = 0; i < n; i += len) {
      std::complex<double> w(1.0, 0.0);
      for (size_t k = 0; k < len / 2; ++k) {
        std::complex<double> u = a[i + k];
        std::complex<double> v = a[i + k + len / 2] * w;
        a[i + k] = u + v;
        a[i + k + len / 2] = u - v;
        w *= step;
      }
    }
  }
}

} // namespace

double SpectralFlatness(const std::vector<double>& signal, size_t start, size_t size) {
  std::vector<std::complex<double>> a(size);
  for (size_t i = 0; i < size; ++i) {
    double hann = 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * static_cast<double>(i) / static_cast<double>(size));
    a[i] = signal[start + i] * hann;
  }
  Fft(a);
  double logSum = 0.0;
  double sum = 0.0;
  const size_t bins = size / 2;
  for (size_t k = 1; k <= bins; ++k) {
    double p = std::norm(a[k]) + 1e-12;
    logSum += std::log(p);
    sum += p;
  }
  return std::exp(logSum / static_cast<double>(bins)) / (sum / static_cast<double>(bins));
}

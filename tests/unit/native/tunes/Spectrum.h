// Spectral measures used to tell music from noise and silence.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Spectral flatness (geometric over arithmetic mean of the power spectrum,
// 0 = pure tones, about 0.5 or more = white noise) of `size` samples from
// `start`, Hann-windowed; `size` is a power of two.
double SpectralFlatness(const std::vector<double>& signal, std::size_t start, std::size_t size);

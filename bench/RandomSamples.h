// Reproducible test signals for the benchmarks.
#pragma once

#include <cstddef>
#include <random>
#include <vector>

// N samples uniform in [-1, 1), the same for the same seed.
inline std::vector<double> RandomSamples(size_t n, unsigned seed) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<double> dist(-1.0, 1.0);
  std::vector<double> v(n);
  for (auto& e : v) e = dist(gen);
  return v;
}

// Samples of every kind a simulator might pass, and bit-for-bit comparison
// of sample sequences, for tests that hold a fast path against its
// reference.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

// Mostly ordinary values, with signed zeros, subnormals, magnitudes from
// 1e-300 to 1e300, random bit patterns, the largest doubles, infinities and
// NaNs (quiet and signalling, either sign, any payload). Infinities, NaNs
// and the largest doubles are rare, so that most filter windows stay finite.
inline double AnySample(std::mt19937_64& rng) {
  const uint64_t kind = rng() % 2000;
  const uint64_t bits = rng();
  const uint64_t sign = bits & (uint64_t(1) << 63);
  const uint64_t mantissa = bits & 0x000FFFFFFFFFFFFFu;
  auto fromBits = [](uint64_t b) {
    double d;
    std::memcpy(&d, &b, sizeof d);
    return d;
  };
  const double unit = double(bits >> 11) * 0x1p-53 * 2.0 - 1.0;               // [-1, 1)
  if (kind < 1) return fromBits(sign | 0x7FF0000000000000u);                  // infinity
  if (kind < 2) return fromBits(sign | 0x7FF0000000000000u | mantissa | 1u);  // NaN
  if (kind < 8) return fromBits(sign | 0x7FE0000000000000u | mantissa);       // largest binade
  if (kind < 200) return fromBits(sign);                                      // +-0
  if (kind < 340) return fromBits(sign | mantissa);                           // subnormal
  if (kind < 380) return fromBits(bits);                                      // any bit pattern
  if (kind < 580) return unit * std::pow(10.0, double(int64_t(bits % 601) - 300));
  return unit;
}

inline std::vector<double> AnySamples(size_t n, uint64_t seed) {
  std::mt19937_64 rng(seed);
  std::vector<double> v(n);
  for (double& x : v) x = AnySample(rng);
  return v;
}

// Equal bits, or both NaN (which NaN survives where two meet follows the
// compiler's operand order).
inline bool SameSample(double a, double b) {
  return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof a) == 0;
}

// "" when the sequences agree sample for sample, else where and how they
// first differ.
inline std::string FirstDifference(const std::vector<double>& got, const std::vector<double>& expected) {
  if (got.size() != expected.size())
    return "sizes " + std::to_string(got.size()) + " and " + std::to_string(expected.size());
  for (size_t i = 0; i < got.size(); ++i) {
    if (!SameSample(got[i], expected[i])) {
      std::ostringstream text;
      text.precision(17);
      text << "sample " << i << ": " << got[i] << " instead of " << expected[i];
      return text.str();
    }
  }
  return "";
}

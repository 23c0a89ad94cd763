// Waveforms with a known eye for the eye measurement and plot tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// NRZ of +-0.5 V with one post-cursor: bit k settles at
// 0.5*s[k] + post*s[k-1] (s = +-1, s[-1] = -1), reached by a straight ramp
// over the first `ramp` samples of the bit. The waveform starts at 0 V and
// `delay` samples late.
inline std::vector<double> SyntheticNrz(const std::vector<uint8_t>& bits, int spb, int ramp, int delay = 0,
                                        double post = 0.0) {
  std::vector<double> out(static_cast<size_t>(delay), 0.0);
  double previousLevel = 0.0;
  for (size_t k = 0; k < bits.size(); ++k) {
    const double s = bits[k] ? 1.0 : -1.0;
    const double sp = k ? (bits[k - 1] ? 1.0 : -1.0) : -1.0;
    const double level = 0.5 * s + post * sp;
    for (int i = 0; i < spb; ++i) {
      const double f = ramp > 0 && i < ramp ? static_cast<double>(i) / ramp : 1.0;
      out.push_back(previousLevel + (level - previousLevel) * f);
    }
    previousLevel = level;
  }
  return out;
}

#include "tools/linkbench/eye/BerContours.h"

#include <algorithm>
#include <cmath>

namespace {

// log10 BER, with 0 read as far below any level.
double Log(double ber) { return std::log10(std::max(ber, 1e-300)); }

struct Corner {
  double phase, volts, value;  // value: log10 BER minus the level's
};

// Where the contour crosses the edge from `a` to `b` (values of opposite sign).
void Crossing(const Corner& a, const Corner& b, double& phase, double& volts) {
  const double f = a.value / (a.value - b.value);
  phase = a.phase + (b.phase - a.phase) * f;
  volts = a.volts + (b.volts - a.volts) * f;
}

}  // namespace

std::vector<BerSegment> BerContours::Trace(const BerMap& map, double level) {
  std::vector<BerSegment> segments;
  const double target = std::log10(level);
  std::vector<double> value(static_cast<size_t>(BerMap::kPhases) * BerMap::kThresholds);
  for (int p = 0; p < BerMap::kPhases; ++p)
    for (int t = 0; t < BerMap::kThresholds; ++t)
      value[static_cast<size_t>(p) * BerMap::kThresholds + t] = Log(map.At(p, t)) - target;
  auto at = [&](int p, int t) { return value[static_cast<size_t>(p) * BerMap::kThresholds + t]; };
  for (int p = 0; p + 1 < BerMap::kPhases; ++p) {
    for (int t = 0; t + 1 < BerMap::kThresholds; ++t) {
      // Corners in order around the cell.
      const Corner c[4] = {
          {BerMap::PhaseUi(p), map.ThresholdVolts(t), at(p, t)},
          {BerMap::PhaseUi(p + 1), map.ThresholdVolts(t), at(p + 1, t)},
          {BerMap::PhaseUi(p + 1), map.ThresholdVolts(t + 1), at(p + 1, t + 1)},
          {BerMap::PhaseUi(p), map.ThresholdVolts(t + 1), at(p, t + 1)},
      };
      double phases[4], volts[4];
      int n = 0;
      for (int e = 0; e < 4; ++e) {
        const Corner& a = c[e];
        const Corner& b = c[(e + 1) % 4];
        if ((a.value <= 0) != (b.value <= 0)) {
          Crossing(a, b, phases[n], volts[n]);
          ++n;
        }
      }
      // Two crossings: one segment; four (a saddle): two, pairing neighbours.
      for (int i = 0; i + 1 < n; i += 2) segments.push_back({phases[i], volts[i], phases[i + 1], volts[i + 1]});
    }
  }
  return segments;
}

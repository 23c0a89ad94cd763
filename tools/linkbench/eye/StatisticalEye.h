// The eye read from a BER map (BerMap) at given target BERs:
//   height at BER p: the largest voltage span of thresholds, over all
//     sampling phases, where BER <= p; the phase where it is largest (the
//     middle of a plateau) is that target's best phase, and the middle of
//     its span the target's threshold;
//   width at BER p: the span of phases around the best phase where BER <= p
//     at that threshold, at most 1 UI.
// The ends of a span are interpolated in log10 BER between the grid's
// points (linearly in BER next to a point where the BER is 0).
//
// The bathtub is the BER against phase at the decision threshold: the
// threshold of the lowest target the eye opens at (or, when it opens at
// none, the threshold and phase where the BER is lowest).
//
// Without noise and jitter the map is the simulated pattern's own eye: BER
// 0 inside it, at least 1/N (N bits) outside, so every target below 1/N
// reads the same eye.
#pragma once

#include "tools/linkbench/eye/BerContours.h"
#include "tools/linkbench/eye/BerMap.h"

#include <cstdint>
#include <string>
#include <vector>

struct BerTargetFigures {
  double ber = 0.0;        // the target
  bool open = false;       // some phase and threshold have BER <= target
  double heightV = 0.0;    // at the best phase
  double phaseUi = 0.0;    // the best phase, UI from the bit's start
  double threshold = 0.0;  // V, the middle of the height's span
  double widthUi = 0.0;    // at `threshold`
  double fromUi = 0.0;     // edges of the width's span, UI from the bit's start
  double toUi = 0.0;
};

struct BerResult {
  bool valid = false;
  std::string problem;  // why there are no figures
  double noiseV = 0.0;
  double jitterUi = 0.0;
  uint64_t bits = 0;
  std::vector<BerTargetFigures> targets;
  double minimumBer = 1.0;  // the lowest BER of the map, where it is
  double minimumPhaseUi = 0.0;
  double minimumThreshold = 0.0;
  double decisionThreshold = 0.0;  // of the bathtub
  double centreUi = 0.0;           // the bathtub's centre, UI from the bit's start
  std::vector<double> bathtubPhaseUi;
  std::vector<double> bathtubBer;
  std::vector<std::vector<BerSegment>> contours;  // per target, when asked for

  bool Gaussian() const { return noiseV > 0 || jitterUi > 0; }
  // The figures at target `ber`, or null.
  const BerTargetFigures* At(double ber) const;
};

class StatisticalEye {
 public:
  // The figures of `map` at each of `targets` (0 < target < 1), with their
  // contour lines when `contours`.
  static BerResult Analyse(const BerMap& map, const std::vector<double>& targets, bool contours);
  // "1e-12" for a power of ten, else three digits.
  static std::string BerText(double ber);
};

#include "tools/linkbench/eye/StatisticalEye.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// The BER along one line of the map: a phase's thresholds (stride 1) or a
// threshold's phases (stride: the thresholds per phase).
struct BerAt {
  const double* first;
  size_t stride;
  double operator()(int i) const { return first[static_cast<size_t>(i) * stride]; }
};

BerAt AtPhase(const BerMap& map, int phase) { return {&map.At(phase, 0), 1}; }
BerAt AtThreshold(const BerMap& map, int threshold) {
  return {&map.At(0, threshold), static_cast<size_t>(BerMap::kThresholds)};
}

struct Span {
  double from = 0.0, to = 0.0;  // in grid steps
  double Length() const { return to - from; }
};

// Where the BER crosses `level` between grid points `inside` (BER <= level)
// and `outside`, as a fraction of the way from `inside`.
double CrossingFraction(double inside, double outside, double level) {
  // Next to a BER of 0 (no noise or jitter reaches there) the span ends at
  // the last point inside, so that every target reads the same eye there.
  if (inside <= 0.0) return 0.0;
  const double f = (std::log10(level) - std::log10(inside)) / (std::log10(outside) - std::log10(inside));
  return std::clamp(f, 0.0, 1.0);
}

// The run of grid points around `start` (which must be open) with BER <=
// level, its ends interpolated.
Span OpenSpan(const BerAt& ber, int count, int start, double level) {
  int lo = start, hi = start;
  while (lo > 0 && ber(lo - 1) <= level) --lo;
  while (hi + 1 < count && ber(hi + 1) <= level) ++hi;
  Span s{static_cast<double>(lo), static_cast<double>(hi)};
  if (lo > 0) s.from -= CrossingFraction(ber(lo), ber(lo - 1), level);
  if (hi + 1 < count) s.to += CrossingFraction(ber(hi), ber(hi + 1), level);
  return s;
}

// The longest open run of thresholds at one phase; false when none is open.
bool LongestRun(const BerAt& ber, double level, Span& best) {
  bool found = false;
  for (int t = 0; t < BerMap::kThresholds; ++t) {
    if (ber(t) > level) continue;
    const Span s = OpenSpan(ber, BerMap::kThresholds, t, level);
    if (!found || s.Length() > best.Length()) best = s;
    found = true;
    t = static_cast<int>(std::floor(s.to));
  }
  return found;
}

// Height, best phase and threshold at one target.
void FindHeight(const BerMap& map, BerTargetFigures& f, Span& bestRun) {
  std::vector<double> height(BerMap::kPhases, -1.0);
  std::vector<Span> runs(BerMap::kPhases);
  for (int p = 0; p < BerMap::kPhases; ++p) {
    if (LongestRun(AtPhase(map, p), f.ber, runs[static_cast<size_t>(p)]))
      height[static_cast<size_t>(p)] = runs[static_cast<size_t>(p)].Length();
  }
  const double top = *std::max_element(height.begin(), height.end());
  if (top < 0) return;
  // The middle of the plateau of the largest height.
  const double tolerance = 1e-9 * std::max(1.0, top);
  int first = 0;
  while (height[static_cast<size_t>(first)] < top - tolerance) ++first;
  int last = first;
  while (last + 1 < BerMap::kPhases && height[static_cast<size_t>(last + 1)] >= top - tolerance) ++last;
  const int phase = (first + last) / 2;
  bestRun = runs[static_cast<size_t>(phase)];
  f.open = true;
  f.heightV = bestRun.Length() * map.ThresholdStep();
  f.phaseUi = BerMap::PhaseUi(phase);
  f.threshold = map.ThresholdVolts(0) + 0.5 * (bestRun.from + bestRun.to) * map.ThresholdStep();
}

int ThresholdIndex(const BerMap& map, double volts) {
  const long t = std::lround((volts - map.ThresholdVolts(0)) / map.ThresholdStep());
  return static_cast<int>(std::clamp<long>(t, 0, BerMap::kThresholds - 1));
}

int PhaseIndex(double ui) {
  const long p = std::lround((ui + 0.5) * SampleHistograms::kPhasesPerUi);
  return static_cast<int>(std::clamp<long>(p, 0, BerMap::kPhases - 1));
}

void FindWidth(const BerMap& map, BerTargetFigures& f) {
  const int t = ThresholdIndex(map, f.threshold);
  const int p = PhaseIndex(f.phaseUi);
  const BerAt ber = AtThreshold(map, t);
  if (ber(p) > f.ber) return;
  const Span s = OpenSpan(ber, BerMap::kPhases, p, f.ber);
  const double perUi = SampleHistograms::kPhasesPerUi;
  f.fromUi = s.from / perUi - 0.5;
  f.toUi = s.to / perUi - 0.5;
  f.widthUi = std::min(1.0, s.Length() / perUi);
}

void FindMinimum(const BerMap& map, BerResult& r) {
  int bestP = 0, bestT = 0;
  for (int p = 0; p < BerMap::kPhases; ++p)
    for (int t = 0; t < BerMap::kThresholds; ++t)
      if (map.At(p, t) < map.At(bestP, bestT)) bestP = p, bestT = t;
  r.minimumBer = map.At(bestP, bestT);
  r.minimumPhaseUi = BerMap::PhaseUi(bestP);
  r.minimumThreshold = map.ThresholdVolts(bestT);
}

// The bathtub at the threshold of the lowest target that opens.
void TraceBathtub(const BerMap& map, BerResult& r) {
  r.decisionThreshold = r.minimumThreshold;
  r.centreUi = r.minimumPhaseUi;
  const BerTargetFigures* lowest = nullptr;
  for (const BerTargetFigures& f : r.targets)
    if (f.open && f.widthUi > 0 && (!lowest || f.ber < lowest->ber)) lowest = &f;
  if (lowest) {
    r.decisionThreshold = lowest->threshold;
    r.centreUi = 0.5 * (lowest->fromUi + lowest->toUi);
  }
  const int t = ThresholdIndex(map, r.decisionThreshold);
  for (int p = 0; p < BerMap::kPhases; ++p) {
    r.bathtubPhaseUi.push_back(BerMap::PhaseUi(p));
    r.bathtubBer.push_back(map.At(p, t));
  }
}

}  // namespace

const BerTargetFigures* BerResult::At(double ber) const {
  for (const BerTargetFigures& f : targets)
    if (f.ber == ber) return &f;
  return nullptr;
}

BerResult StatisticalEye::Analyse(const BerMap& map, const std::vector<double>& targets, bool contours) {
  BerResult r;
  r.noiseV = map.NoiseV();
  r.jitterUi = map.JitterUi();
  r.bits = map.Bits();
  if (r.bits == 0) {
    r.problem = "no bits measured";
    return r;
  }
  for (double target : targets) {
    BerTargetFigures f;
    f.ber = target;
    Span run;
    FindHeight(map, f, run);
    if (f.open) FindWidth(map, f);
    r.targets.push_back(f);
    if (contours) r.contours.push_back(BerContours::Trace(map, target));
  }
  FindMinimum(map, r);
  TraceBathtub(map, r);
  r.valid = true;
  return r;
}

std::string StatisticalEye::BerText(double ber) {
  char text[32];
  const double exponent = std::round(std::log10(ber));
  if (std::fabs(ber - std::pow(10.0, exponent)) <= 1e-9 * ber) {
    std::snprintf(text, sizeof text, "1e%.0f", exponent);
  } else {
    std::snprintf(text, sizeof text, "%.3g", ber);
  }
  return text;
}

#include "tools/linkbench/eye/EyeMeasure.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The checks that come before any statistics; false with the problem set.
bool CanMeasure(EyeMeasurement& m, long samples, long bits) {
  if (m.samplesPerBit <= 0) {
    m.problem = "no samples per bit";
    return false;
  }
  if (samples == 0 || bits == 0) {
    m.problem = "no waveform";
    return false;
  }
  return true;
}

bool HasEnoughBits(const PhaseStatistics& s, EyeMeasurement& m) {
  const long ones = s.Count(1, 0) + s.Count(1, 1);
  const long zeros = s.Count(0, 0) + s.Count(0, 1);
  if (m.endBit - m.firstBit < 8 || ones == 0 || zeros == 0) {
    m.problem = "too few bits to measure an eye (need at least 8 settled bits with ones and zeros)";
    m.firstBit = m.endBit = 0;
    return false;
  }
  return true;
}

// Best phase: the largest height; on a flat top, the middle of the plateau.
// A `fixedPhase` in range (a sampling instant the receiver chose) is taken
// as it is.
void FindBestPhase(const PhaseStatistics& s, EyeMeasurement& m, int fixedPhase) {
  const long spb = m.samplesPerBit;
  auto height = [&](long o) { return s.MinOne(o + spb) - s.MaxZero(o + spb); };
  if (fixedPhase >= 0 && fixedPhase < spb) {
    m.bestPhase = fixedPhase;
    m.heightV = height(fixedPhase);
    m.threshold = 0.5 * (s.MinOne(m.bestPhase + spb) + s.MaxZero(m.bestPhase + spb));
    return;
  }
  double bestHeight = -std::numeric_limits<double>::infinity();
  for (long o = 0; o < spb; ++o) bestHeight = std::max(bestHeight, height(o));
  const double tolerance = 1e-12 * std::max(1.0, std::fabs(bestHeight));
  long runStart = 0;
  while (height(runStart) < bestHeight - tolerance) ++runStart;
  long runEnd = runStart;
  while (runEnd + 1 < spb && height(runEnd + 1) >= bestHeight - tolerance) ++runEnd;
  m.bestPhase = static_cast<int>((runStart + runEnd) / 2);
  m.heightV = bestHeight;
  m.threshold = 0.5 * (s.MinOne(m.bestPhase + spb) + s.MaxZero(m.bestPhase + spb));
}

// Levels at the best phase.
void ReadLevels(const PhaseStatistics& s, EyeMeasurement& m) {
  auto sum = [&](int bit, int prev) { return s.LevelSum(m.bestPhase, bit, prev); };
  auto mean = [&](int bit, int prev) { return s.Count(bit, prev) ? sum(bit, prev) / s.Count(bit, prev) : 0.0; };
  m.highMean = (sum(1, 0) + sum(1, 1)) / static_cast<double>(s.Count(1, 0) + s.Count(1, 1));
  m.lowMean = (sum(0, 0) + sum(0, 1)) / static_cast<double>(s.Count(0, 0) + s.Count(0, 1));
  m.highSteady = mean(1, 1);
  m.highTransition = mean(1, 0);
  m.lowSteady = mean(0, 0);
  m.lowTransition = mean(0, 1);
  const double steadySwing = m.highSteady - m.lowSteady;
  const double transitionSwing = m.highTransition - m.lowTransition;
  if (s.Count(1, 1) && s.Count(0, 0) && s.Count(1, 0) && s.Count(0, 1) && steadySwing > 0 && transitionSwing > 0)
    m.deemphasisDb = 20.0 * std::log10(transitionSwing / steadySwing);
}

// Width: walk out from the best phase while every sample keeps its side of
// the threshold; interpolate the edges where the margin crosses zero.
void FindWidth(const PhaseStatistics& s, EyeMeasurement& m) {
  const long spb = m.samplesPerBit;
  const long phases = s.Phases();
  auto margin = [&](long p) { return std::min(s.MinOne(p) - m.threshold, m.threshold - s.MaxZero(p)); };
  const long centre = m.bestPhase + spb;
  if (!(m.heightV > 0 && margin(centre) > 0)) return;
  long r = centre;
  while (r + 1 < phases && margin(r + 1) > 0) ++r;
  double right = static_cast<double>(r);
  if (r + 1 < phases) right += margin(r) / (margin(r) - margin(r + 1));
  long l = centre;
  while (l > 0 && margin(l - 1) > 0) --l;
  double left = static_cast<double>(l);
  if (l > 0) left -= margin(l) / (margin(l) - margin(l - 1));
  m.widthUi = std::min(1.0, (right - left) / static_cast<double>(spb));
  m.openFromUi = (left - static_cast<double>(centre)) / static_cast<double>(spb);
  m.openToUi = m.openFromUi + m.widthUi;
}

// Folds `n` samples into the lowest and highest so far as std::minmax_element
// over the whole output picks them: the first lowest and the last highest,
// which differ from any other equal sample only for a zero of either sign.
// Four independent lanes keep the loop fast; a zero extreme takes the exact
// sample-by-sample pass.
void FoldExtremes(const double* v, long n, double& low, double& high) {
  double lo[4] = {low, low, low, low};
  double hi[4] = {high, high, high, high};
  long i = 0;
  for (; i + 4 <= n; i += 4) {
    for (int k = 0; k < 4; ++k) {
      lo[k] = v[i + k] < lo[k] ? v[i + k] : lo[k];
      hi[k] = v[i + k] > hi[k] ? v[i + k] : hi[k];
    }
  }
  for (; i < n; ++i) {
    lo[0] = v[i] < lo[0] ? v[i] : lo[0];
    hi[0] = v[i] > hi[0] ? v[i] : hi[0];
  }
  for (int k = 1; k < 4; ++k) {
    lo[0] = lo[k] < lo[0] ? lo[k] : lo[0];
    hi[0] = hi[k] > hi[0] ? hi[k] : hi[0];
  }
  if (lo[0] != 0 && hi[0] != 0) {
    low = lo[0];
    high = hi[0];
    return;
  }
  for (i = 0; i < n; ++i) {
    if (v[i] < low) low = v[i];
    if (v[i] >= high) high = v[i];
  }
}

}  // namespace

EyeMeasurement EyeMeasure::Evaluate(EyeMeasurement m, const EyeAlignment& a, const PhaseStatistics& s, int fixedPhase) {
  m.delaySamples = a.delaySamples;
  m.firstBit = a.firstBit;
  m.endBit = a.endBit;
  if (!HasEnoughBits(s, m)) return m;
  FindBestPhase(s, m, fixedPhase);
  ReadLevels(s, m);
  FindWidth(s, m);
  m.valid = true;
  return m;
}

EyeMeasure::EyeMeasure(const EyeGeometry& geometry, double bitTime)
    : geometry_(geometry),
      bitTime_(bitTime),
      aligner_(geometry),
      statistics_(geometry.samplesPerBit),
      low_(std::numeric_limits<double>::infinity()),
      high_(-std::numeric_limits<double>::infinity()) {
  aligner_.AddSink(&statistics_);
}

bool EyeMeasure::Consume(const WaveBlock& block, std::string&) {
  FoldExtremes(block.samples, block.count, low_, high_);
  consumed_ += block.count;
  aligner_.Push(block);
  return true;
}

EyeMeasurement EyeMeasure::Result() const {
  EyeMeasurement m;
  m.samplesPerBit = geometry_.samplesPerBit;
  m.bitTime = bitTime_;
  if (!CanMeasure(m, consumed_, geometry_.totalBits)) return m;
  m.outMin = low_;
  m.outMax = high_;
  if (!aligner_.Aligned()) {
    m.problem = "the run ended before its latency could be found";
    return m;
  }
  return Evaluate(m, aligner_.Alignment(), statistics_);
}

EyeMeasurement EyeMeasure::Measure(const std::vector<double>& output, const std::vector<uint8_t>& bits,
                                   int samplesPerBit, double bitTime, int settleBits, int maxDelayBits,
                                   BitWindowSink* sink) {
  EyeMeasurement m;
  m.samplesPerBit = samplesPerBit;
  m.bitTime = bitTime;
  const long spb = samplesPerBit;
  const long n = static_cast<long>(output.size());
  if (!CanMeasure(m, n, static_cast<long>(bits.size()))) return m;
  const auto [lo, hi] = std::minmax_element(output.begin(), output.end());
  m.outMin = *lo;
  m.outMax = *hi;

  const EyeGeometry g{samplesPerBit, n, static_cast<long>(bits.size()), settleBits, maxDelayBits * spb};
  const LatencyAligner::Search search = LatencyAligner::PlanSearch(n, g.totalBits, samplesPerBit, g.maxLagSamples);
  EyeAlignment a =
      LatencyAligner::Align(g, LatencyAligner::FindDelay(output.data(), bits.data(), samplesPerBit, search));
  if (search.span > 0) {
    const auto [low, high] = std::minmax_element(output.begin(), output.begin() + search.span);
    a.low = *low;
    a.high = *high;
  }
  PhaseStatistics statistics(samplesPerBit);
  if (sink) sink->Begin(a);
  for (long k = a.firstBit; k < a.endBit; ++k) {
    BitWindow w;
    w.bit = k;
    w.value = bits[k] ? 1 : 0;
    w.previous = bits[k - 1] ? 1 : 0;
    w.start = output.data() + a.delaySamples + k * spb;
    w.end = std::min(2 * spb + 1, n - (a.delaySamples + k * spb));
    statistics.Add(w);
    if (sink) sink->Add(w);
  }
  return Evaluate(m, a, statistics);
}

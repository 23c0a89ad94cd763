#include "EyeMeasure.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Bits taken into the latency search: enough for a sharp peak, few enough to
// keep long runs cheap.
constexpr long kCorrelationBits = 4096;

}  // namespace

long EyeMeasure::FindDelay(const std::vector<double>& output, const std::vector<uint8_t>& bits, int samplesPerBit,
                           long maxLag) {
  const long spb = samplesPerBit;
  const long n = static_cast<long>(output.size());
  if (spb <= 0 || bits.empty() || n < spb) return 0;
  maxLag = std::max(0L, std::min(maxLag, n - spb));
  // Whole bits whose samples stay inside the output at every lag searched.
  const long nbits = std::min({static_cast<long>(bits.size()), (n - maxLag) / spb, kCorrelationBits});
  if (nbits <= 0) return 0;

  // The stimulus is constant over each bit, so the correlation at one lag is a
  // sum over bits of +-(sum of the output over that bit's samples): prefix sums
  // of the output (its mean removed) make that one subtraction per bit.
  const long span = nbits * spb + maxLag;
  double mean = 0.0;
  for (long i = 0; i < span; ++i) mean += output[i];
  mean /= static_cast<double>(span);
  std::vector<double> prefix(span + 1, 0.0);
  for (long i = 0; i < span; ++i) prefix[i + 1] = prefix[i] + (output[i] - mean);

  long best = 0;
  double bestCorr = -std::numeric_limits<double>::infinity();
  for (long lag = 0; lag <= maxLag; ++lag) {
    double corr = 0.0;
    for (long k = 0; k < nbits; ++k) {
      const double s = prefix[lag + (k + 1) * spb] - prefix[lag + k * spb];
      corr += bits[k] ? s : -s;
    }
    if (corr > bestCorr) {
      bestCorr = corr;
      best = lag;
    }
  }
  return best;
}

EyeMeasurement EyeMeasure::Measure(const std::vector<double>& output, const std::vector<uint8_t>& bits,
                                   int samplesPerBit, double bitTime, int settleBits, int maxDelayBits) {
  EyeMeasurement m;
  m.samplesPerBit = samplesPerBit;
  m.bitTime = bitTime;
  const long spb = samplesPerBit;
  const long n = static_cast<long>(output.size());
  if (spb <= 0) {
    m.problem = "no samples per bit";
    return m;
  }
  if (n == 0 || bits.empty()) {
    m.problem = "no waveform";
    return m;
  }
  const auto [lo, hi] = std::minmax_element(output.begin(), output.end());
  m.outMin = *lo;
  m.outMax = *hi;

  m.delaySamples = FindDelay(output, bits, samplesPerBit, static_cast<long>(maxDelayBits) * spb);
  const long d = m.delaySamples;
  // Each used bit needs its previous bit (transition or not) and the samples
  // from one UI before to two UI after its own start (the width search looks
  // across both neighbours).
  m.firstBit = std::max<long>(1, settleBits);
  m.endBit = std::min(static_cast<long>(bits.size()), (n - d) / spb - 1);
  while (m.firstBit < m.endBit && d + m.firstBit * spb - spb < 0) ++m.firstBit;
  long ones = 0;
  long zeros = 0;
  for (long k = m.firstBit; k < m.endBit; ++k) (bits[k] ? ones : zeros)++;
  if (m.endBit - m.firstBit < 8 || ones == 0 || zeros == 0) {
    m.problem = "too few bits to measure an eye (need at least 8 settled bits with ones and zeros)";
    m.firstBit = m.endBit = 0;
    return m;
  }

  // Extended phases -spb .. 2spb-1, stored at index phase + spb.
  const long phases = 3 * spb;
  std::vector<double> minOne(phases, std::numeric_limits<double>::infinity());
  std::vector<double> maxZero(phases, -std::numeric_limits<double>::infinity());
  for (long k = m.firstBit; k < m.endBit; ++k) {
    const double* w = output.data() + (d + k * spb - spb);
    if (bits[k]) {
      for (long p = 0; p < phases; ++p) minOne[p] = std::min(minOne[p], w[p]);
    } else {
      for (long p = 0; p < phases; ++p) maxZero[p] = std::max(maxZero[p], w[p]);
    }
  }

  // Best phase: the largest height; on a flat top, the middle of the plateau.
  double bestHeight = -std::numeric_limits<double>::infinity();
  for (long o = 0; o < spb; ++o) bestHeight = std::max(bestHeight, minOne[o + spb] - maxZero[o + spb]);
  const double tolerance = 1e-12 * std::max(1.0, std::fabs(bestHeight));
  long runStart = 0;
  while (minOne[runStart + spb] - maxZero[runStart + spb] < bestHeight - tolerance) ++runStart;
  long runEnd = runStart;
  while (runEnd + 1 < spb && minOne[runEnd + 1 + spb] - maxZero[runEnd + 1 + spb] >= bestHeight - tolerance) ++runEnd;
  m.bestPhase = static_cast<int>((runStart + runEnd) / 2);
  m.heightV = bestHeight;
  m.threshold = 0.5 * (minOne[m.bestPhase + spb] + maxZero[m.bestPhase + spb]);

  // Levels at the best phase.
  double sums[2][2] = {{0, 0}, {0, 0}};  // [bit][previous bit]
  long counts[2][2] = {{0, 0}, {0, 0}};
  for (long k = m.firstBit; k < m.endBit; ++k) {
    const double v = output[d + k * spb + m.bestPhase];
    sums[bits[k]][bits[k - 1]] += v;
    counts[bits[k]][bits[k - 1]]++;
  }
  auto mean = [&](int bit, int prev) { return counts[bit][prev] ? sums[bit][prev] / counts[bit][prev] : 0.0; };
  m.highMean = (sums[1][0] + sums[1][1]) / static_cast<double>(counts[1][0] + counts[1][1]);
  m.lowMean = (sums[0][0] + sums[0][1]) / static_cast<double>(counts[0][0] + counts[0][1]);
  m.highSteady = mean(1, 1);
  m.highTransition = mean(1, 0);
  m.lowSteady = mean(0, 0);
  m.lowTransition = mean(0, 1);
  const double steadySwing = m.highSteady - m.lowSteady;
  const double transitionSwing = m.highTransition - m.lowTransition;
  if (counts[1][1] && counts[0][0] && counts[1][0] && counts[0][1] && steadySwing > 0 && transitionSwing > 0)
    m.deemphasisDb = 20.0 * std::log10(transitionSwing / steadySwing);

  // Width: walk out from the best phase while every sample keeps its side of
  // the threshold; interpolate the edges where the margin crosses zero.
  auto margin = [&](long p) { return std::min(minOne[p] - m.threshold, m.threshold - maxZero[p]); };
  const long centre = m.bestPhase + spb;
  if (m.heightV > 0 && margin(centre) > 0) {
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
  m.valid = true;
  return m;
}

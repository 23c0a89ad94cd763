#include "tools/linkbench/eye/BerMap.h"

#include <algorithm>
#include <cmath>

namespace {

// The Gaussian CDF, accurate in both tails.
double Phi(double z) { return 0.5 * std::erfc(-z / std::sqrt(2.0)); }

// Noise beyond this many sigma counts as none: the Gaussian beyond holds
// less than 1e-25.
constexpr double kNoiseReachSigma = 10.5;
// Jitter weights out to this many sigma (beyond: less than 1e-19).
constexpr double kJitterReachSigma = 9.0;

}  // namespace

void BerMap::NoiseKernels(double noiseOverBin, int& reach, std::vector<double>& ones, std::vector<double>& zeros) {
  const bool noise = noiseOverBin > 0;
  reach = noise ? static_cast<int>(std::min(4.0 * kThresholds, std::ceil(kNoiseReachSigma * noiseOverBin) + 2)) : 1;
  const int span = 2 * reach - 1;
  ones.assign(static_cast<size_t>(kPositions * span), 0.0);
  zeros.assign(ones.size(), 0.0);
  for (int j = 0; j < kPositions; ++j) {
    const double place = (j + 0.5) / kPositions;
    for (int m = -reach + 1; m < reach; ++m) {
      // A sample `place` into the bin lies m - place bins below the threshold.
      const double below = m - place;
      const size_t i = static_cast<size_t>(j * span + m + reach - 1);
      ones[i] = noise ? Phi(below / noiseOverBin) : (below > 0 ? 1.0 : 0.0);
      zeros[i] = noise ? Phi(-below / noiseOverBin) : (below < 0 ? 1.0 : 0.0);
    }
  }
}

BerMap::BerMap(const SampleHistograms& h, double noiseV, double jitterUi)
    : low_(h.Low()),
      step_(h.BinWidth()),
      noiseV_(std::max(0.0, noiseV)),
      jitterUi_(std::max(0.0, jitterUi)),
      bits_(h.Bits(0) + h.Bits(1)),
      ber_(static_cast<size_t>(kPhases) * kThresholds, 0.0) {
  NoiseKernels(noiseV_ / step_, reach_, ones_, zeros_);
  if (bits_ == 0) return;
  std::vector<double> errors(kThresholds), definite(static_cast<size_t>(kThresholds) + 1);
  for (int p = 0; p < kPhases; ++p) {
    std::fill(errors.begin(), errors.end(), 0.0);
    AddErrors(h.Row(1, p), 1, errors.data(), definite);
    AddErrors(h.Row(0, p), 0, errors.data(), definite);
    double* row = &ber_[Index(p, 0)];
    for (int t = 0; t < kThresholds; ++t) row[t] = errors[static_cast<size_t>(t)] / static_cast<double>(bits_);
  }
  if (jitterUi_ > 0) ApplyJitter();
}

// Bin b's samples at threshold t, m = t - b: partly in error for |m| < reach,
// wholly where m >= reach (a '1') or m <= -reach (a '0'), which goes in
// through a running sum so that each threshold gets it once.
void BerMap::AddErrors(const SampleHistograms::Bin* bins, int bit, double* errors,
                       std::vector<double>& definite) const {
  const int span = 2 * reach_ - 1;
  const std::vector<double>& kernels = bit ? ones_ : zeros_;
  std::fill(definite.begin(), definite.end(), 0.0);
  for (int b = 0; b < SampleHistograms::kBins; ++b) {
    if (bins[b].count == 0) continue;
    const double c = static_cast<double>(bins[b].count);
    const int place = std::min(kPositions - 1, static_cast<int>(bins[b].offsets / c * kPositions));
    const double* kernel = &kernels[static_cast<size_t>(place * span + reach_ - 1)];  // m = 0
    for (int t = std::max(0, b - reach_ + 1); t <= std::min(kThresholds - 1, b + reach_ - 1); ++t)
      errors[t] += c * kernel[t - b];
    if (bit) {
      definite[static_cast<size_t>(std::min(kThresholds, b + reach_))] += c;
    } else if (b - reach_ >= 0) {
      definite[0] += c;
      definite[static_cast<size_t>(b - reach_ + 1)] -= c;
    }
  }
  double running = 0.0;
  for (int t = 0; t < kThresholds; ++t) {
    running += definite[static_cast<size_t>(t)];
    errors[t] += running;
  }
}

void BerMap::ApplyJitter() {
  const double sigma = jitterUi_ * SampleHistograms::kPhasesPerUi;  // in phase steps
  const int reach = static_cast<int>(std::min<double>(kPhases, std::ceil(kJitterReachSigma * sigma)));
  std::vector<double> weight(static_cast<size_t>(2 * reach + 1));
  for (int d = -reach; d <= reach; ++d) {
    // The small side of the Gaussian computed directly, for its tails.
    const double lo = (std::abs(d) - 0.5) / sigma, hi = (std::abs(d) + 0.5) / sigma;
    weight[static_cast<size_t>(d + reach)] = d == 0 ? 1.0 - 2.0 * Phi(-0.5 / sigma) : Phi(-lo) - Phi(-hi);
  }
  const std::vector<double> plain = ber_;
  for (int p = 0; p < kPhases; ++p) {
    double* row = &ber_[Index(p, 0)];
    std::fill(row, row + kThresholds, 0.0);
    for (int d = -reach; d <= reach; ++d) {
      const double w = weight[static_cast<size_t>(d + reach)];
      const double* from = &plain[Index(std::clamp(p + d, 0, kPhases - 1), 0)];
      for (int t = 0; t < kThresholds; ++t) row[t] += w * from[t];
    }
  }
}

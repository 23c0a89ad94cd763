#include "tools/linkbench/eye/PhaseStatistics.h"

#include <algorithm>
#include <limits>

PhaseStatistics::PhaseStatistics(int samplesPerBit)
    : samplesPerBit_(std::max(0, samplesPerBit)),
      minOne_(static_cast<size_t>(3 * samplesPerBit_), std::numeric_limits<double>::infinity()),
      maxZero_(static_cast<size_t>(3 * samplesPerBit_), -std::numeric_limits<double>::infinity()),
      levelSums_(static_cast<size_t>(4 * samplesPerBit_), 0.0) {}

void PhaseStatistics::GatherHistograms(int threads) {
  if (!histograms_) histograms_ = std::make_unique<SampleHistograms>(static_cast<int>(samplesPerBit_), threads);
}

void PhaseStatistics::Begin(const EyeAlignment& alignment) {
  if (histograms_) histograms_->Begin(alignment);
}

void PhaseStatistics::Add(const BitWindow& window) {
  const long spb = samplesPerBit_;
  const long phases = 3 * spb;
  const double* w = window.start - spb;
  if (window.value) {
    double* minOne = minOne_.data();
    for (long p = 0; p < phases; ++p) minOne[p] = std::min(minOne[p], w[p]);
  } else {
    double* maxZero = maxZero_.data();
    for (long p = 0; p < phases; ++p) maxZero[p] = std::max(maxZero[p], w[p]);
  }
  double* sums = levelSums_.data() + (window.value * 2 + window.previous) * spb;
  for (long o = 0; o < spb; ++o) sums[o] += window.start[o];
  ++counts_[window.value][window.previous];
  if (histograms_) histograms_->Add(window);
}

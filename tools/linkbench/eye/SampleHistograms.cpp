#include "tools/linkbench/eye/SampleHistograms.h"

#include <algorithm>
#include <cmath>

SampleHistograms::SampleHistograms(int samplesPerBit)
    : samplesPerBit_(std::max(1, samplesPerBit)),
      sample_(kPhases),
      fraction_(kPhases),
      bins_(static_cast<size_t>(2) * kPhases * kBins) {
  for (int p = 0; p < kPhases; ++p) {
    const double t = PhaseUi(p) * samplesPerBit_;
    sample_[p] = static_cast<long>(std::floor(t));
    fraction_[p] = t - static_cast<double>(sample_[p]);
  }
}

void SampleHistograms::Begin(const EyeAlignment& a) {
  double low = a.low, high = a.high;
  if (!(std::isfinite(low) && std::isfinite(high) && high > low)) {
    const double mid = std::isfinite(low) ? low : 0.0;
    low = mid - 0.5;
    high = mid + 0.5;
  }
  const double span = high - low;
  low_ = low - 0.5 * span;
  binWidth_ = 2.0 * span / kBins;
  binsPerVolt_ = 1.0 / binWidth_;
}

void SampleHistograms::Add(const BitWindow& w) {
  // Every phase reads samples up to one and a half UI after the bit's start.
  if (w.end <= sample_[kPhases - 1] + 1) return;
  const int bit = w.value ? 1 : 0;
  Bin* bins = &bins_[Index(bit, 0, 0)];
  for (int p = 0; p < kPhases; ++p) {
    const double* at = w.start + sample_[p];
    const double f = fraction_[p];
    const double v = f == 0.0 ? at[0] : at[0] + (at[1] - at[0]) * f;
    const double position = (v - low_) * binsPerVolt_;
    // NaN and anything below the bins go to the bottom of the first bin.
    const int bin = position >= 0.0 ? static_cast<int>(std::min(position, kBins - 1.0)) : 0;
    Bin& into = bins[static_cast<size_t>(p) * kBins + static_cast<size_t>(bin)];
    ++into.count;
    into.offsets += position >= 0.0 ? std::min(position - bin, 1.0) : 0.0;
  }
  ++bits_[bit];
}

// The distributions of the measured samples from which BER is computed: at
// each sampling phase, for the bits sent as '1' and as '0' apart, how many
// samples fell in each of a fine grid of voltage bins.
//
// Phases: kPhasesPerUi per unit interval, from half a UI before a bit's start
// to one and a half UI after it (two UI, so that a bathtub of one UI around
// the eye centre fits wherever the centre lies, with room for the jitter's
// reach). Where a phase falls between two samples of the grid the sample is
// interpolated linearly between them: at 32 samples per UI a phase step is a
// quarter of a sample (0.78 ps at 10 Gb/s), fine enough for jitter of a
// picosecond.
//
// Bins: kBins equal bins over the voltages of the latency search's prefix
// widened by half its span on each side (so bins of about 1/4000 of the
// eye's swing); a sample outside goes to the end bin on its side, which keeps
// it on the same side of every threshold the BER is read at. Counts are exact
// (64-bit), so the BER of the simulated pattern is exact to the bin. Each bin
// also sums where in the bin its samples fell, so that the noise can be
// applied at their mean rather than at the bin's middle: a level that sits
// anywhere in a bin is then placed to within a small part of the bin, not
// half of it.
#pragma once

#include "tools/linkbench/eye/LatencyAligner.h"

#include <cstdint>
#include <vector>

class SampleHistograms : public BitWindowSink {
 public:
  static constexpr int kPhasesPerUi = 128;
  static constexpr int kPhases = 2 * kPhasesPerUi;
  static constexpr int kBins = 2048;

  explicit SampleHistograms(int samplesPerBit);

  void Begin(const EyeAlignment& alignment) override;
  void Add(const BitWindow& window) override;

  // Where phase `phase` lies, in UI from the start of the bit (-0.5 .. 1.5).
  static double PhaseUi(int phase) { return static_cast<double>(phase) / kPhasesPerUi - 0.5; }
  // Bin b holds voltages [Low() + b * BinWidth(), Low() + (b + 1) * BinWidth()).
  double Low() const { return low_; }
  double BinWidth() const { return binWidth_; }
  // One bin: how many samples fell in it, and the sum over them of where in
  // it they fell, 0 (its bottom) .. 1 (its top; outside the bins, 0 or 1).
  // Side by side, so that a sample touches one cache line.
  struct Bin {
    uint64_t count = 0;
    double offsets = 0.0;
  };
  // Samples of bits of value `bit` at `phase` in bin `bin`.
  uint64_t Count(int bit, int phase, int bin) const { return bins_[Index(bit, phase, bin)].count; }
  // The kBins bins of bits of value `bit` at `phase`.
  const Bin* Row(int bit, int phase) const { return &bins_[Index(bit, phase, 0)]; }
  // Bits of each value gathered.
  uint64_t Bits(int bit) const { return bits_[bit]; }

 private:
  static size_t Index(int bit, int phase, int bin) {
    return (static_cast<size_t>(bit) * kPhases + static_cast<size_t>(phase)) * kBins + static_cast<size_t>(bin);
  }

  int samplesPerBit_;
  std::vector<long> sample_;      // per phase: the sample before it (from the bit's start)
  std::vector<double> fraction_;  // per phase: how far towards the next sample it lies
  double low_ = -1.0;
  double binWidth_ = 1.0;
  double binsPerVolt_ = 1.0;
  std::vector<Bin> bins_;  // [bit][phase][bin]
  uint64_t bits_[2] = {0, 0};
};

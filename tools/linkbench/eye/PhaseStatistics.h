// What the measured bits look like at each sampling phase of the unit
// interval: the one place where the host gathers the eye's samples, bit by
// bit as the run goes. The eye's height, width, best phase and levels are all
// read from it.
//
// Extended phases run from one UI before a bit's start to two UI after it
// (-spb .. 2spb-1, stored at index phase + spb), so that the width search can
// look across both neighbours. Level sums are kept at every phase of the bit
// itself, split by the bit and the bit before it, because the phase they are
// read at (the best one) is known only at the end.
//
// When asked for, it also gathers the sample distributions per phase and bit
// value (SampleHistograms) from which the BER is computed.
#pragma once

#include "tools/linkbench/eye/LatencyAligner.h"
#include "tools/linkbench/eye/SampleHistograms.h"

#include <memory>
#include <vector>

class PhaseStatistics : public BitWindowSink {
 public:
  explicit PhaseStatistics(int samplesPerBit);

  // Gathers the sample distributions too (before the first window), on
  // `threads` threads (the caller's included).
  void GatherHistograms(int threads = 1);
  // Stops gathering them and frees them (a measurement that another one
  // replaces, such as the eye at a receiver's clock times).
  void DropHistograms() { histograms_.reset(); }
  // The distributions, when gathered; null otherwise.
  const SampleHistograms* Histograms() const { return histograms_.get(); }

  void Begin(const EyeAlignment& alignment) override;
  void Add(const BitWindow& window) override;

  long SamplesPerBit() const { return samplesPerBit_; }
  // Extended phases: 3 * samplesPerBit.
  long Phases() const { return 3 * samplesPerBit_; }
  // Lowest '1' sample and highest '0' sample at extended phase index `p`
  // (+inf and -inf while there are none).
  double MinOne(long p) const { return minOne_[static_cast<size_t>(p)]; }
  double MaxZero(long p) const { return maxZero_[static_cast<size_t>(p)]; }
  // Sum of the samples at `phase` (0 .. samplesPerBit-1) of the bits of value
  // `bit` whose previous bit was `previous`, and how many such bits there are.
  double LevelSum(long phase, int bit, int previous) const {
    return levelSums_[static_cast<size_t>(((bit * 2 + previous) * samplesPerBit_) + phase)];
  }
  long Count(int bit, int previous) const { return counts_[bit][previous]; }

 private:
  long samplesPerBit_;
  std::vector<double> minOne_;
  std::vector<double> maxZero_;
  std::vector<double> levelSums_;  // [bit][previous][phase]
  long counts_[2][2] = {{0, 0}, {0, 0}};
  std::unique_ptr<SampleHistograms> histograms_;
};

// Where the samples of a batch of bits fall in the sample distributions at
// one phase: the bin and the place within it, the work of
// SampleHistograms::AddDirect before anything is counted, done for several
// bits at once with the vector unit.
//
// Contract. Place(plan, fraction, at, next, count, bins, offsets) writes,
// for i = 0 .. count - 1, with a = at[i], b = next[i] (the samples before
// and after the phase, of bit i) and f = fraction:
//
//   v        = f == 0 ? a : a + (b - a) * f
//   position = (v - plan.low) * plan.binsPerVolt
//   bins[i]    = position >= 0 ? int(min(position, plan.lastBin)) : 0
//   offsets[i] = position >= 0 ? min(position - bins[i], 1) : 0
//
// each operation rounded on its own, never fused (so NaN and anything below
// the bins go to the bottom of the first bin, anything above to the last).
// The vector levels hold consecutive bits side by side, one bit per lane,
// doing that sequence in each lane, so every level gives the scalar level's
// bits.
//
// Dispatch: the levels are the block path's (FIRLanes: which of them the
// processor runs is read there, once). The SSE2 kernel runs on any 64-bit
// x86 processor, the AVX2 and AVX-512F ones are compiled for those
// instruction sets beside it; a new HistogramLanes takes the best level,
// Select forces another (tests compare them). Other processors have the
// scalar level only.
#pragma once

#include "blocks/FIRLanes.h"

#include <cstdint>

class HistogramLanes {
 public:
  using Level = OrvennModelBuilder::FIRLanes::Level;
  static constexpr int kLevelCount = OrvennModelBuilder::FIRLanes::LevelCount;

  // The bins.
  struct Plan {
    double low = 0.0;
    double binsPerVolt = 1.0;
    double lastBin = 0.0;  // the number of bins less one
  };
  using Kernel = void (*)(const Plan& plan, double fraction, const double* at, const double* next, long count,
                          int32_t* bins, double* offsets);

  HistogramLanes();

  static const char* Name(Level level) { return OrvennModelBuilder::FIRLanes::Name(level); }
  // Uses `level` from now on; false (nothing changed) when it does not run here.
  bool Select(Level level);
  Level Current() const { return level_; }

  void Place(const Plan& plan, double fraction, const double* at, const double* next, long count, int32_t* bins,
             double* offsets) const {
    kernel_(plan, fraction, at, next, count, bins, offsets);
  }

 private:
  Level level_ = Level::Scalar;
  Kernel kernel_ = nullptr;
};

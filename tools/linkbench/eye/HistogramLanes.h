// Where one bit's samples fall in the sample distributions: for each of the
// distributions' phases, the bin and the place within it, the work of
// SampleHistograms::Add before anything is counted, done on several phases
// at once with the vector unit.
//
// Contract. Place(plan, start, bins, offsets) writes, for p = 0 .. phases-1,
// with a = start[plan.sample[p]], b = start[plan.sample[p] + 1] and
// f = plan.fraction[p]:
//
//   v        = f == 0 ? a : a + (b - a) * f
//   position = (v - plan.low) * plan.binsPerVolt
//   bins[p]    = position >= 0 ? int(min(position, plan.lastBin)) : 0
//   offsets[p] = position >= 0 ? min(position - bins[p], 1) : 0
//
// each operation rounded on its own, never fused (so NaN and anything below
// the bins go to the bottom of the first bin, anything above to the last).
// The vector levels hold consecutive phases side by side, one phase per
// lane, doing that sequence in each lane, so every level gives the scalar
// level's bits.
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

  // The phases of one bit: where each reads the waveform, and the bins.
  struct Plan {
    const long* sample = nullptr;      // per phase: the sample before it, from the bit's start
    const double* fraction = nullptr;  // per phase: how far towards the next sample
    int phases = 0;
    double low = 0.0;
    double binsPerVolt = 1.0;
    double lastBin = 0.0;  // the number of bins less one
  };
  using Kernel = void (*)(const Plan& plan, const double* start, int32_t* bins, double* offsets);

  HistogramLanes();

  static const char* Name(Level level) { return OrvennModelBuilder::FIRLanes::Name(level); }
  // Uses `level` from now on; false (nothing changed) when it does not run here.
  bool Select(Level level);
  Level Current() const { return level_; }

  void Place(const Plan& plan, const double* start, int32_t* bins, double* offsets) const {
    kernel_(plan, start, bins, offsets);
  }

 private:
  Level level_ = Level::Scalar;
  Kernel kernel_ = nullptr;
};

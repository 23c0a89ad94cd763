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
//
// Gathering: Add keeps the samples the phases read of a batch of bits, and
// counts a whole batch at once, phase after phase: the bins of one phase
// stay in the cache while every bit of the batch is counted into them,
// where bit after bit would touch a bin of every phase (16 MB of them) for
// each bit. The batch holds the samples by their place in the bit, so that
// the bits' samples at a phase lie side by side for the vector unit
// (HistogramLanes). With more than one thread, workers count a batch while
// the run goes on filling the next, each worker its own range of phases.
// Every bin still takes its samples in the order of the bits, so the figures
// are those of AddDirect, one bit after the other, whatever the threads.
#pragma once

#include "tools/common/WorkerTeam.h"
#include "tools/linkbench/eye/HistogramLanes.h"
#include "tools/linkbench/eye/LatencyAligner.h"

#include <cstdint>
#include <memory>
#include <vector>

class SampleHistograms : public BitWindowSink {
 public:
  static constexpr int kPhasesPerUi = 128;
  static constexpr int kPhases = 2 * kPhasesPerUi;
  static constexpr int kBins = 2048;

  // `threads`: the threads the gathering may use, the caller's included.
  explicit SampleHistograms(int samplesPerBit, int threads = 1);
  ~SampleHistograms() override;
  SampleHistograms(const SampleHistograms&) = delete;
  SampleHistograms& operator=(const SampleHistograms&) = delete;

  void Begin(const EyeAlignment& alignment) override;
  // Takes one bit's samples into the batch; counts the batch when it is full.
  void Add(const BitWindow& window) override;
  // Counts one bit's samples there and then, one phase after the other: the
  // straightforward way, which Add must match to the bit.
  void AddDirect(const BitWindow& window);
  // The vector level the phases are placed with (tests force each one).
  HistogramLanes& Lanes() { return lanes_; }

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
  // The readers below count the bits still in the batch first (so they are
  // not to be called while another thread adds).
  // Samples of bits of value `bit` at `phase` in bin `bin`.
  uint64_t Count(int bit, int phase, int bin) const;
  // The kBins bins of bits of value `bit` at `phase`.
  const Bin* Row(int bit, int phase) const;
  // Bits of each value gathered.
  uint64_t Bits(int bit) const { return bits_[bit]; }

 private:
  // Bits whose samples wait to be counted, the span of samples each bit's
  // phases read, kept apart by the bit's value: a bin only ever takes bits
  // of one value, so counting the '1's and then the '0's, each in their
  // order, gives every bin its samples in the order of the bits, and the
  // counting loop needs no look-up of which distribution a bit goes to.
  struct Batch {
    std::vector<double> samples[2];  // per value: [place in the span][bit]
    long count[2] = {0, 0};
    long capacity = 0;
  };
  // Where one worker places one phase of the bits of one value of a batch.
  struct Scratch {
    std::vector<int32_t> bins;
    std::vector<double> offsets;
  };

  static size_t Index(int bit, int phase, int bin) {
    return (static_cast<size_t>(bit) * kPhases + static_cast<size_t>(phase)) * kBins + static_cast<size_t>(bin);
  }
  void CountBatch(const Batch& batch, int part, Scratch& scratch) const;
  void CountPhase(const Batch& batch, int phase, int bit, Scratch& scratch) const;
  void MakeBatches() const;
  void Submit() const;
  void CountInHand() const;
  void Settle() const;

  int samplesPerBit_;
  std::vector<long> sample_;      // per phase: the sample before it (from the bit's start)
  std::vector<double> fraction_;  // per phase: how far towards the next sample it lies
  std::vector<long> spanSample_;  // per phase: the sample before it, from the batch span's start
  long span_ = 0;                 // samples a bit's phases read
  long bitsPerBatch_ = 16;
  double low_ = -1.0;
  double binWidth_ = 1.0;
  double binsPerVolt_ = 1.0;
  HistogramLanes::Plan plan_;
  HistogramLanes lanes_;
  uint64_t bits_[2] = {0, 0};
  // The gathering's state, which the readers bring up to date.
  mutable std::vector<Bin> bins_;  // [bit][phase][bin]
  mutable Batch batches_[2];       // one filling while the workers count the other
  mutable int filling_ = 0;
  mutable std::vector<Scratch> scratch_;  // per worker
  std::unique_ptr<WorkerTeam> team_;
};

// Lines the output of the simulation stream up with the bits that made it, for
// the sinks that look at it bit by bit: the eye's per-phase statistics and its
// density picture.
//
// First the latency: the lag, within the search window, at which the output
// correlates best with the NRZ stimulus (+1 for a one, -1 for a zero). The
// search reads a bounded prefix of the run (at most kLatencyBits bits and the
// window), so the aligner holds that prefix and nothing more. Then every
// measured bit k, from the first settled bit to the last bit whose samples the
// run holds, is handed on in bit order as a window on the output from one UI
// before its start to two UI after it. Bit k starts at output sample
// delay + k * samplesPerBit.
#pragma once

#include "tools/linkbench/stream/WaveSink.h"

#include <cstdint>
#include <vector>

// The shape of a run as the eye measurement sees it.
struct EyeGeometry {
  int samplesPerBit = 0;
  long totalSamples = 0;   // output samples in the run
  long totalBits = 0;      // stimulus bits in the run
  int settleBits = 32;     // bits left out after the latency while filters settle
  long maxLagSamples = 0;  // how far the latency search looks
  long minLagSamples = 0;  // where it starts (a channel's known delay, less a margin)
};

// Where the measured bits lie in the output.
struct EyeAlignment {
  long delaySamples = 0;  // output latency against the stimulus
  long firstBit = 0;      // first bit measured
  long endBit = 0;        // one past the last bit measured (none when <= firstBit)
  double low = 0.0;       // lowest and highest output sample of the part
  double high = 0.0;      // the latency search read
};

// One measured bit and the output around it.
struct BitWindow {
  long bit = 0;
  uint8_t value = 0;     // 0 or 1
  uint8_t previous = 0;  // the bit before it, 0 or 1
  // The output sample where the bit starts; start[-samplesPerBit] ..
  // start[end - 1] are readable, end = 2 * samplesPerBit or one more when the
  // run holds it.
  const double* start = nullptr;
  long end = 0;
};

// What takes the windows.
class BitWindowSink {
 public:
  virtual ~BitWindowSink() = default;
  // Once, when the latency is known, before the first window.
  virtual void Begin(const EyeAlignment& alignment) = 0;
  virtual void Add(const BitWindow& window) = 0;
};

class LatencyAligner {
 public:
  // Bits taken into the latency search: enough for a sharp peak, few enough
  // to keep long runs cheap.
  static constexpr long kLatencyBits = 4096;
  // Samples beyond the latency search's prefix the buffer has room for from
  // the start (a block of up to this many samples ends the prefix in place).
  static constexpr long kReserveBlock = 1L << 13;

  // What the latency search reads of a run: lags minLag .. maxLag, over the
  // first `bits` bits, so output samples 0 .. span - 1. No search (latency
  // 0) when `bits` is 0.
  struct Search {
    long minLag = 0;
    long maxLag = 0;
    long bits = 0;
    long span = 0;
  };
  static Search PlanSearch(long samples, long bits, int samplesPerBit, long maxLag, long minLag = 0);
  // The lag in samples at which `output` (at least search.span samples)
  // correlates best with the NRZ waveform of `bits` (search.bits of them).
  static long FindDelay(const double* output, const uint8_t* bits, int samplesPerBit, const Search& search);
  // The measured bits at latency `delay`; low and high left at 0.
  static EyeAlignment Align(const EyeGeometry& geometry, long delay);

  explicit LatencyAligner(const EyeGeometry& geometry);

  // Sinks get the windows in the order they were added.
  void AddSink(BitWindowSink* sink) { sinks_.push_back(sink); }
  // How many bits behind the newest the aligner may still read when the
  // stream comes in blocks of `blockSamples`: what a bit history must keep.
  long BitsKept(long blockSamples) const;

  // The next block of the output.
  void Push(const WaveBlock& block);

  bool Aligned() const { return aligned_; }
  const EyeAlignment& Alignment() const { return alignment_; }

 private:
  long BufferEnd() const { return bufferStart_ + static_cast<long>(buffer_.size()); }
  void AlignOnPrefix(const BitHistory& bits);
  void HandOnWindows(const BitHistory& bits);
  void DropUsedSamples();

  EyeGeometry geometry_;
  Search search_;
  std::vector<BitWindowSink*> sinks_;
  std::vector<double> buffer_;  // output samples [bufferStart_, BufferEnd())
  long bufferStart_ = 0;
  bool aligned_ = false;
  bool finished_ = false;  // every window handed on
  EyeAlignment alignment_;
  long nextBit_ = 0;
};

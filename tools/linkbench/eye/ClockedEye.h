// The eye at the receiver's own sampling instants, when its AMI_GetWave
// returns clock times.
//
// A receiver's clock times are the ticks of its recovered clock, in seconds
// from the start of its waveform; it decides each bit half a unit interval
// after a tick (IBIS 7.2, Section 10, AMI_GetWave's clock_times), so the
// sampling instant of a tick t is t + UI/2.
//
// The measurement sits behind the eye's latency search (a BitWindowSink of
// its aligner): each bit, lined up with its stimulus, is paired with the
// sampling instant that falls within half a UI of the bit's mean sampling
// place (the mean of the instants queued when the latency is found), and
// the waveform around that instant is resampled (linear interpolation) into
// a window whose bit starts half a UI before it. Those windows feed the
// measurement's own per-phase statistics and, when asked, its sample
// distributions, so the eye, the BER and the bathtub are read in the
// recovered clock's frame, the instant at phase UI/2; the sinks added here
// (the eye density) get them too. A bit with no instant near it is left
// out and counted.
//
// Without any clock time the measurement is not clocked: the windows pass
// on unchanged to its sinks, and the caller keeps the best-phase eye.
//
// Memory is fixed when it is made: the queue of instants holds `capacity`
// of them (what the stream can produce ahead of the aligner), the waveform
// ring a few UI.
#pragma once

#include "tools/linkbench/eye/EyeMeasure.h"
#include "tools/linkbench/eye/PhaseStatistics.h"

#include <string>
#include <vector>

// The recovered clock as the measurement saw it.
struct RecoveredClock {
  bool used = false;       // the eye was measured at its instants
  long ticks = 0;          // clock times received (after the ignored bits)
  long paired = 0;         // bits measured at an instant
  long unpaired = 0;       // measured bits with no instant near them
  long dropped = 0;        // instants the queue had no room for
  long refused = 0;        // clock times not a number, or outside the block they came with
  double meanPhase = 0.0;  // seconds into the UI of the output's sample grid
  double jitterRms = 0.0;  // seconds, of the instants about their mean place
};

class ClockedEye : public BitWindowSink {
 public:
  // A run of `samplesPerBit` samples per UI of `bitTime`; instants before
  // bit `ignoreBits` are left out; `capacity` instants can wait.
  // `replaced`, when given, is the best-phase eye this one stands in for:
  // once the measurement is clocked, that eye's sample distributions are
  // dropped, since only these are read.
  ClockedEye(int samplesPerBit, double bitTime, long ignoreBits, long capacity, EyeMeasure* replaced = nullptr);
  ClockedEye(const ClockedEye&) = delete;
  ClockedEye& operator=(const ClockedEye&) = delete;

  void AddSink(BitWindowSink* sink) { sinks_.push_back(sink); }
  void GatherHistograms() { statistics_.GatherHistograms(); }
  const SampleHistograms* Histograms() const { return statistics_.Histograms(); }

  // The next clock time (seconds from the start of the receiver's waveform),
  // which must lie in [earliest, latest], the block it came with; others
  // are refused (and counted).
  void AddClockTime(double t, double earliest, double latest);

  void Begin(const EyeAlignment& alignment) override;
  void Add(const BitWindow& window) override;

  bool Clocked() const { return clocked_; }
  RecoveredClock Clock() const;
  // The eye at the instants, on top of `base` (the best-phase eye of the
  // same run, for its grid and output range).
  EyeMeasurement Result(const EyeMeasurement& base) const;

 private:
  double RingAt(double position) const;
  void Store(const BitWindow& window);
  void Measure(long bit);
  bool PopInstant(double centre, double& instant);

  long spb_;
  double dt_;
  double ignoreBefore_;  // samples
  EyeMeasure* replaced_;
  std::vector<BitWindowSink*> sinks_;
  PhaseStatistics statistics_;
  // Sampling instants in samples, a ring of fixed capacity.
  std::vector<double> queue_;
  size_t head_ = 0;
  size_t size_ = 0;
  // The waveform around the last bits, by sample index modulo its size (a
  // power of two, so that the index is a mask away).
  std::vector<double> ring_;
  long ringMask_;
  long ringLow_ = 0;            // lowest sample index stored since the first window
  long ringHigh_ = 0;           // one past the highest
  std::vector<double> window_;  // the resampled window, 3 * spb + 1 samples
  EyeAlignment alignment_;
  bool clocked_ = false;
  double centre_ = 0.0;  // mean sampling place, samples from a bit's start
  long windows_ = 0;
  uint8_t values_[3] = {0, 0, 0};  // bits lastBit_ - 2 .. lastBit_
  RecoveredClock clock_;
  double sumDeviation_ = 0.0;
  double sumSquares_ = 0.0;
  long firstMeasured_ = -1;
  long lastMeasured_ = -1;
};

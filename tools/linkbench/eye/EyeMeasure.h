// Eye measurement of a simulated NRZ waveform against the bits that made it.
//
// The waveform is folded into unit intervals aligned to the transmitted
// bits. The alignment (the model's latency) is the lag at which the output
// correlates best with the NRZ stimulus; bit k then owns the output samples
// delay + k*spb + o for o in [0, spb). Bits that the filters have not yet
// settled for, and bits whose samples run past the end, are left out.
//
// Eye height at a sampling phase o: the lowest "1" sample minus the highest
// "0" sample at that phase (the inner vertical opening; negative when the eye
// is closed). The best sampling phase is the phase of the largest height.
//
// Eye width: the decision threshold is the middle of the vertical opening at
// the best phase. The eye is open at a phase when every
// "1" sample lies above the threshold and every "0" sample below it. The
// width is the span of phases around the best phase where the eye is open,
// with the edges interpolated linearly between samples, at most one UI.
//
// The measurement streams: it takes the output block by block as a sink of
// the simulation stream, holds the latency search's bounded prefix and the
// per-phase statistics, and nothing that grows with the run.
#pragma once

#include "tools/linkbench/eye/LatencyAligner.h"
#include "tools/linkbench/eye/PhaseStatistics.h"
#include "tools/linkbench/stream/WaveSink.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct EyeMeasurement {
  bool valid = false;
  std::string problem;  // why the eye could not be measured

  int samplesPerBit = 0;
  double bitTime = 0.0;   // seconds
  long delaySamples = 0;  // output latency against the stimulus
  long firstBit = 0;      // first bit used
  long endBit = 0;        // one past the last bit used
  int bestPhase = 0;      // sample offset within the unit interval

  double heightV = 0.0;         // at the best phase; negative when closed
  double widthUi = 0.0;         // 0 .. 1
  double openFromUi = 0.0;      // edges of the opening, in UI from the
  double openToUi = 0.0;        // best sampling phase (from <= 0 <= to)
  double threshold = 0.0;       // V, middle of the opening
  double highMean = 0.0;        // mean "1" level at the best phase
  double lowMean = 0.0;         // mean "0" level at the best phase
  double highSteady = 0.0;      // mean "1" level after a "1"
  double highTransition = 0.0;  // mean "1" level after a "0"
  double lowSteady = 0.0;       // mean "0" level after a "0"
  double lowTransition = 0.0;   // mean "0" level after a "1"
  double deemphasisDb = 0.0;    // 20 log10(transition swing / steady swing)
  double outMin = 0.0;
  double outMax = 0.0;

  double WidthSeconds() const { return widthUi * bitTime; }
  size_t BitsUsed() const { return endBit > firstBit ? size_t(endBit - firstBit) : 0; }
  // Index of the output sample at phase `phase` of bit `bit`.
  long SampleIndex(long bit, long phase) const { return delaySamples + bit * samplesPerBit + phase; }
};

class EyeMeasure : public WaveSink {
 public:
  // Measures a run of `geometry`'s shape whose unit interval is `bitTime`.
  EyeMeasure(const EyeGeometry& geometry, double bitTime);
  EyeMeasure(const EyeMeasure&) = delete;
  EyeMeasure& operator=(const EyeMeasure&) = delete;

  // Another sink for the measured bits' windows (e.g. the eye density); it
  // gets each window after the measurement's own statistics.
  void AddWindowSink(BitWindowSink* sink) { aligner_.AddSink(sink); }
  // Gathers the sample distributions the BER is computed from (before the
  // first block); Histograms() has them, null when not gathered.
  void GatherHistograms(int threads = 1) { statistics_.GatherHistograms(threads); }
  const SampleHistograms* Histograms() const { return statistics_.Histograms(); }
  void DropHistograms() { statistics_.DropHistograms(); }
  // How many stimulus bits behind the newest one the measurement reads.
  long BitsKept(long blockSamples) const { return aligner_.BitsKept(blockSamples); }

  bool Consume(const WaveBlock& block, std::string& error) override;
  // The eye of statistics `s` of the bits `a` places, on top of `m` (its
  // grid, bit time and output range): at the best phase, or at
  // `fixedPhase` (0 .. samplesPerBit - 1) when one is given.
  static EyeMeasurement Evaluate(EyeMeasurement m, const EyeAlignment& a, const PhaseStatistics& s,
                                 int fixedPhase = -1);
  // The eye of everything consumed (meant for when the run is complete).
  EyeMeasurement Result() const;

  // The eye of a whole waveform at once, the straightforward way (the
  // streaming measurement must agree with it to the bit). `output`: the
  // waveform; `bits`: the transmitted bits, one per `samplesPerBit` samples of
  // stimulus starting at sample 0; `settleBits`: bits left out after the
  // latency while filters settle; `maxDelayBits`: how far the latency search
  // looks; `sink`, when given, also gets the measured bits' windows.
  static EyeMeasurement Measure(const std::vector<double>& output, const std::vector<uint8_t>& bits, int samplesPerBit,
                                double bitTime, int settleBits = 32, int maxDelayBits = 16,
                                BitWindowSink* sink = nullptr);

 private:
  EyeGeometry geometry_;
  double bitTime_;
  LatencyAligner aligner_;
  PhaseStatistics statistics_;
  long consumed_ = 0;
  double low_;
  double high_;
};

// The density picture of the eye, gathered as the run goes: the trace of
// every measured bit, drawn as connected line segments with one hit per cell
// along each segment, folded into one unit interval (the eye is the waveform
// folded over the bit period). Where the picture will be centred and which
// voltages it will span are known only at the end of the run, so the cells
// are finer than the picture's pixels (about two per pixel each way) and
// cover the voltages the run has shown so far, widening (by halving their
// resolution) when a sample falls outside. Render maps the cells onto the
// picture's pixels.
#pragma once

#include "tools/linkbench/eye/LatencyAligner.h"

#include <cstdint>
#include <vector>

struct VoltageRange {
  double low = 0.0;
  double high = 0.0;
};

class EyeDensity : public BitWindowSink {
 public:
  // For a picture of `columns` x `rows` pixels spanning two UI.
  EyeDensity(int samplesPerBit, int columns, int rows);

  void Begin(const EyeAlignment& alignment) override;
  void Add(const BitWindow& window) override;

  // Counts over a `columns` x `rows` grid spanning two UI (left to right,
  // centred `centre` samples after the start of a bit) and `range` (top row
  // = range.high). A trace counts twice on its pixel and once on each of the
  // four neighbours, so that one-pixel traces stay visible when the image is
  // scaled down.
  std::vector<unsigned> Render(int columns, int rows, const VoltageRange& range, double centre) const;

 private:
  // Hits along the segment from `v0` to `v1`, `phase` samples into the UI.
  void AddSegment(double v0, double v1, long phase);
  // Widens the cells' voltages until they hold `v`; false when no width does.
  bool Covers(double v);
  void Widen();
  // Rendering: the cells spread over the picture's pixels, then the
  // neighbours' share.
  std::vector<double> Spread(int columns, int rows, const VoltageRange& range, double centre) const;

  long samplesPerBit_;
  long cellsPerUi_;
  long cellRows_;  // even, so that widening halves exactly
  double cellsPerSample_;
  double top_ = 0.5;   // voltage at the top of the cells
  double span_ = 1.0;  // voltages the cells cover, below top_
  double rowsPerVolt_;
  long firstBit_ = 0;
  long lastBit_ = -1;
  std::vector<uint32_t> cells_;  // [row * cellsPerUi_ + column]
};

#pragma once

#include "blocks/SamplingEvent.h"
#include "dataflow/CircularBuffer.h"
#include "dataflow/DFModel.h"

#include <cstdint>

namespace OrvennModelBuilder {

// Decision-feedback equaliser with sign-sign LMS adaptation, one waveform
// sample per firing, driven by the sampling instants of a clock-recovery
// block (AlexanderCDR).
//
// Output = Input - feedback, where the feedback for bit k is
// sum over i < NumTaps of Taps[i] * d[k - 1 - i], d the past decisions (+1 or
// -1). At each data sample s (the clock recovery's interpolated Output at the
// data instant of bit k) the block decides d[k] = s >= 0 ? +1 : -1 and, when
// adapting, compares s with the reference level A: with e = s - A d[k],
//   Taps[i] += Step * sign(e) * d[k - 1 - i]   (then bounded to +-TapLimit)
//   A       += Step * sign(e) * d[k]           (then bounded to 0 .. LevelLimit)
// (sign(0) = 0: no change), which drives each tap to the post-cursor it
// cancels and A to the cursor. The feedback of bit k + 1 is formed then and
// takes effect at the next edge sample, half a UI later, so that the whole
// eye of a bit around its data instant carries that bit's feedback.
//
// Pins: Input, the waveform; Event and Sample, the clock recovery's Event and
// Sample pins as they were after its previous firing (the network fires the
// equaliser before the clock recovery, which samples the equaliser's Output:
// the loop has one sample of delay); Output, the equalised waveform.
//
// Taps start from InitialTaps (NumInitialTaps values, the rest 0; none: all
// 0) and A from InitialLevel. Adapt false keeps them.
class DFE : public DFModel {
 public:
  static constexpr int32_t MaxTaps = 64;

  bool Setup() override;
  bool Initialize() override;  // taps, level and decisions back to their starting values
  bool Run() override;

  const double* Taps() const { return taps; }  // NumTaps values
  int32_t TapCount() const { return tapCount; }
  double Level() const { return level; }
  uint64_t Decisions() const { return decisions; }

  CircularBuffer<double> Input;
  CircularBuffer<int> Event;
  CircularBuffer<double> Sample;
  CircularBuffer<double> Output;

  int32_t NumTaps = 4;                  // 0 .. MaxTaps
  const double* InitialTaps = nullptr;  // NumInitialTaps values, not owned
  int32_t NumInitialTaps = 0;           // 0 .. NumTaps
  double InitialLevel = 0.0;            // starting reference level, 0 .. LevelLimit
  double Step = 1e-3;                   // adaptation step, in input units; >= 0
  double TapLimit = 1.0;                // taps stay within +-TapLimit; > 0
  double LevelLimit = 10.0;             // the level stays within 0 .. LevelLimit; > 0
  bool Adapt = true;

 private:
  void OnData(double s);

  int32_t tapCount = 0;
  double startTaps[MaxTaps] = {};
  double startLevel = 0.0;
  double step = 0.0, tapLimit = 0.0, levelLimit = 0.0;
  bool adapt = true;

  double taps[MaxTaps] = {};
  double history[MaxTaps] = {};  // d[k - 1 - i] at index i; 0 before the first decisions
  double level = 0.0;
  double feedback = 0.0;  // subtracted now
  double pending = 0.0;   // subtracted from the next edge sample on
  uint64_t decisions = 0;
};

}  // namespace OrvennModelBuilder

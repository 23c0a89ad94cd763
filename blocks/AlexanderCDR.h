#pragma once

#include "blocks/SamplingEvent.h"
#include "dataflow/CircularBuffer.h"
#include "dataflow/DFModel.h"

#include <cstdint>

namespace OrvennModelBuilder {

// Bang-bang (Alexander) clock recovery over a sampled waveform, one input
// sample per firing.
//
// Per unit interval it takes two samples of the input, linearly interpolated
// between the input samples around each instant: an edge sample half a UI
// before the data sample. When two successive data decisions differ, the
// edge sample votes: equal to the earlier bit, the crossing came after the
// edge sample, so the clock is early and the next instants move later by
// PhaseStep UI; equal to the later bit, the clock is late and they move
// earlier. Without a transition nothing moves. The votes also accumulate
// into a frequency offset (FrequencyStep UI per UI per vote, bounded by
// +-FrequencyLimit) that stretches or shrinks the interval between data
// instants: a second-order loop that follows a transmitter whose bit rate
// differs from the nominal one. Decisions slice at 0.
//
// Pins: Input, the waveform; Event, what this firing's interval held
// (SamplingEvent); Sample, the interpolated value at that instant; Offset,
// the instant in samples relative to the current input sample, in (-1, 0].
// Event, Sample and Offset keep their values of the last firing until the
// next one.
//
// The first data instant lies InitialPhase UI after the first input sample;
// the loop locks from there. Setup requires at least two samples between an
// edge instant and the data instants around it in every case:
// SamplesPerBit * ((1 - FrequencyLimit) / 2 - PhaseStep) >= 2.
class AlexanderCDR : public DFModel {
 public:
  bool Setup() override;
  bool Initialize() override;  // back to the first instants, no frequency offset
  bool Run() override;

  double Frequency() const { return frequency; }  // UI per UI: + means a longer interval than nominal
  double Period() const { return period; }        // samples between data instants, without phase votes
  uint64_t EarlyVotes() const { return early; }
  uint64_t LateVotes() const { return late; }
  uint64_t DataSamples() const { return dataCount; }

  CircularBuffer<double> Input;
  CircularBuffer<int> Event;
  CircularBuffer<double> Sample;
  CircularBuffer<double> Offset;

  double SamplesPerBit = 32.0;          // nominal unit interval in samples
  double PhaseStep = 1.0 / 64.0;        // UI per vote; 0 .. 0.25
  double FrequencyStep = 1.0 / 8192.0;  // UI per UI per vote; 0 .. FrequencyLimit
  double FrequencyLimit = 0.01;         // bound of the frequency offset, UI per UI; 0 .. 0.25
  double InitialPhase = 0.5;            // first data instant, UI after the first sample; 0 .. 1

 private:
  double spb = 0.0;        // SamplesPerBit accepted by Setup
  double phaseStep = 0.0;  // in samples
  double frequencyStep = 0.0;
  double frequencyLimit = 0.0;
  double initialPhase = 0.0;

  // Instants relative to the previous input sample (the current one after
  // the decrement at the start of a firing).
  double edgeAt = 0.0;
  double dataAt = 0.0;
  double previous = 0.0;   // the previous input sample
  double edgeValue = 0.0;  // the edge sample of this UI
  bool haveEdge = false;   // an edge sample was taken since the last data sample
  bool haveData = false;   // a data sample was taken before
  bool lastBit = false;    // the last data decision (true: >= 0)
  double frequency = 0.0;
  double period = 0.0;
  uint64_t early = 0, late = 0, dataCount = 0;

  void OnData(double value, double at);
};

}  // namespace OrvennModelBuilder

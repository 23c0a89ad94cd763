// A first-order (RC) low-pass channel for the simulation host: what the
// model's output looks like after an interconnect with a given loss at the
// Nyquist frequency (half the bit rate), the loss transmit de-emphasis is
// there to compensate. The simulator's convolution of the GetWave output
// with a channel is done here by the filter
//   y[n] = (1 - b) x[n] + b y[n-1],
// whose pole b is chosen so that the loss on the simulation grid at the
// Nyquist frequency is exactly the one asked for; its DC gain is 1.
#pragma once

#include "tools/linkbench/stream/ChannelStage.h"

#include <vector>

class RcChannel : public ChannelStage {
 public:
  // `lossDb` >= 0 at the Nyquist frequency of a unit interval of
  // `samplesPerBit` samples. 0 dB is no channel.
  RcChannel(double lossDb, int samplesPerBit);

  double Pole() const { return pole_; }
  // Time constant in seconds for a unit interval of `bitTime` seconds.
  double TimeConstant(double bitTime) const;

  // The stream stage: starts from rest, continues from block to block.
  void Process(double* samples, long count) override;
  void Reset() override { state_ = 0.0; }

  // Filters a whole waveform in place, starting from rest at its first sample.
  void Apply(std::vector<double>& wave) const;

 private:
  int samplesPerBit_;
  double pole_ = 0.0;
  double state_ = 0.0;  // the last output
};

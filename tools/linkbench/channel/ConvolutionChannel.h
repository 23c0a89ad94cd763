// A channel given by its impulse response on the simulation grid (from a
// Touchstone file, through ChannelResponse) as a stage of the simulation
// stream: FFT overlap-save convolution, block by block. The FFTs are planned
// once, when the stage is made; each run (each thread of a sweep) makes its
// own stage.
#pragma once

#include "tools/linkbench/channel/OverlapSaveConvolver.h"
#include "tools/linkbench/stream/ChannelStage.h"

#include <vector>

class ConvolutionChannel : public ChannelStage {
 public:
  // `impulse` must not be empty; `delaySamples` is the response's own delay.
  ConvolutionChannel(const std::vector<double>& impulse, long delaySamples);

  void Process(double* samples, long count) override;
  void Reset() override { convolver_.Reset(); }
  long LatencySamples() const override { return static_cast<long>(convolver_.Latency()); }
  long DelaySamples() const override { return delay_; }

 private:
  OverlapSaveConvolver convolver_;
  long delay_;
};

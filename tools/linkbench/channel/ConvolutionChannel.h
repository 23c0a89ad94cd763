// A channel given by its impulse response on the simulation grid (from a
// Touchstone file, through ChannelResponse) as a stage of the simulation
// stream: FFT overlap-save convolution, block by block. The FFTs are planned
// once, when a convolver is made; each run (each thread of a sweep) makes its
// own stage.
//
// A sweep makes a stage for every point, mostly of the same channel. The
// convolver of the last stage a thread let go is kept, with the response it
// was made for, and a new stage of the same response on that thread takes
// it back, reset: that spares the response's transform, the plans and some
// 12 MB fresh from the system (a page fault every 4 kB), about 4 % of a sweep
// of 10^5-bit points. A reset convolver is in the state of a new one, so the
// outputs are the same bits.
#pragma once

#include "tools/linkbench/channel/OverlapSaveConvolver.h"
#include "tools/linkbench/stream/ChannelStage.h"

#include <memory>
#include <vector>

class ConvolutionChannel : public ChannelStage {
 public:
  // `impulse` must not be empty; `delaySamples` is the response's own delay.
  ConvolutionChannel(const std::vector<double>& impulse, long delaySamples);
  ~ConvolutionChannel() override;
  ConvolutionChannel(const ConvolutionChannel&) = delete;
  ConvolutionChannel& operator=(const ConvolutionChannel&) = delete;

  void Process(double* samples, long count) override;
  void Reset() override { convolver_->Reset(); }
  long LatencySamples() const override { return static_cast<long>(convolver_->Latency()); }
  long DelaySamples() const override { return delay_; }

  // Whether this stage took the convolver a stage before it let go (tests).
  bool Reused() const { return reused_; }

 private:
  std::vector<double> impulse_;
  std::unique_ptr<OverlapSaveConvolver> convolver_;
  long delay_;
  bool reused_ = false;
};

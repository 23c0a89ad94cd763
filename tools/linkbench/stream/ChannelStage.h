// The stage between the model and the sinks: what the signal meets on its way
// from the transmitter's pins to the receiver, as a simulator convolves the
// GetWave output with its channel. It filters the stream block by block, in
// place, and keeps its state from one block to the next.
#pragma once

class ChannelStage {
 public:
  virtual ~ChannelStage() = default;

  // Filters the next `count` samples of the stream in place.
  virtual void Process(double* samples, long count) = 0;
  // Back to rest, for a new stream.
  virtual void Reset() = 0;
  // Samples by which the stage delays the signal on top of what its response
  // shows (a block convolution's own latency): the output written for input
  // t is the channel's output at t - LatencySamples(). The stream takes them
  // out again: it hands the sinks the channel's output at t as sample t and,
  // after the model's last block, pushes zeros through the stage for the
  // last ones, so that the sinks see every sample of the run.
  virtual long LatencySamples() const { return 0; }
  // The delay the response itself shows, in samples (a line's time of
  // flight): the eye's latency search looks that much further.
  virtual long DelaySamples() const { return 0; }
};

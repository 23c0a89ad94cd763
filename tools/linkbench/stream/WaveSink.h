// The end of the simulation stream: what takes the output, block by block,
// once it has passed the model and the channel (the eye measurement, the
// waveform writer).
#pragma once

#include "tools/linkbench/stream/BitHistory.h"

#include <string>

// Samples [start, start + count) of the run at the end of the stream, with
// the stimulus bits that made them (bit k drove samples k * samplesPerBit
// onward).
struct WaveBlock {
  long start = 0;
  long count = 0;
  const double* samples = nullptr;
  const BitHistory* bits = nullptr;
};

class WaveSink {
 public:
  virtual ~WaveSink() = default;
  // Takes the next block (blocks come in order, without gaps). False, with
  // the reason in `error`, stops the run.
  virtual bool Consume(const WaveBlock& block, std::string& error) = 0;
};

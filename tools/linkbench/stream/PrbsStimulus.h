// The first stage of the simulation stream: the NRZ waveform of a PRBS, a
// channel simulator's usual stimulus, +0.5 V for a one and -0.5 V for a zero,
// `samplesPerBit` samples per bit, made block by block. Each bit goes into
// the bit history as its first sample is made.
#pragma once

#include "tools/linkbench/stream/BitHistory.h"
#include "tools/linkbench/stream/Prbs.h"

#include <cstdint>

class PrbsStimulus {
 public:
  // `seed`: the register's first contents (all ones unless a sweep seeds it).
  PrbsStimulus(int order, int samplesPerBit, BitHistory& history, uint32_t seed = 0xFFFFFFFFu);

  // NRZ level of a bit.
  static double Level(uint8_t bit) { return bit ? 0.5 : -0.5; }

  // Writes the next `count` samples of the stimulus.
  void Fill(double* samples, long count);

 private:
  Prbs prbs_;
  long samplesPerBit_;
  BitHistory& history_;
  long phase_;  // samples of the current bit already made
  double level_ = 0.0;
};

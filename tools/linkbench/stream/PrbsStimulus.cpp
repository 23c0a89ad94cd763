#include "tools/linkbench/stream/PrbsStimulus.h"

#include <algorithm>

PrbsStimulus::PrbsStimulus(int order, int samplesPerBit, BitHistory& history, uint32_t seed)
    : prbs_(order, seed), samplesPerBit_(std::max(1, samplesPerBit)), history_(history), phase_(samplesPerBit_) {}

void PrbsStimulus::Fill(double* samples, long count) {
  while (count > 0) {
    if (phase_ == samplesPerBit_) {
      const auto bit = static_cast<uint8_t>(prbs_.Next());
      history_.Append(bit);
      level_ = Level(bit);
      phase_ = 0;
    }
    const long run = std::min(count, samplesPerBit_ - phase_);
    std::fill(samples, samples + run, level_);
    samples += run;
    count -= run;
    phase_ += run;
  }
}

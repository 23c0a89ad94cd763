#include "WaveCsvWriter.h"

#include "PrbsStimulus.h"

#include <algorithm>
#include <cstdio>

namespace {

// Longest line: two numbers of "%.9e" and "%.9g" (at most 16 characters each),
// one of "%.3f" of +-0.5, commas and the newline.
constexpr size_t kLineRoom = 64;
// Lines gathered before each write.
constexpr size_t kLinesPerWrite = 4096;

}  // namespace

WaveCsvWriter::WaveCsvWriter(std::string path, int samplesPerBit, double sampleInterval)
    : file_(std::move(path)), samplesPerBit_(std::max(1, samplesPerBit)), sampleInterval_(sampleInterval) {}

bool WaveCsvWriter::Open(std::string& error) {
  static const char kHeader[] = "time_s,stimulus_V,output_V\n";
  text_.resize(kLineRoom * kLinesPerWrite);
  return file_.Open(error) && file_.Write(kHeader, sizeof kHeader - 1, error);
}

bool WaveCsvWriter::Consume(const WaveBlock& block, std::string& error) {
  size_t used = 0;
  for (long i = 0; i < block.count; ++i) {
    const long sample = block.start + i;
    const double stimulus = PrbsStimulus::Level(block.bits->At(sample / samplesPerBit_));
    const int n = std::snprintf(text_.data() + used, kLineRoom, "%.9e,%.3f,%.9g\n",
                                static_cast<double>(sample) * sampleInterval_, stimulus, block.samples[i]);
    used += static_cast<size_t>(std::clamp(n, 0, static_cast<int>(kLineRoom) - 1));
    if (used + kLineRoom > text_.size() || i + 1 == block.count) {
      if (!file_.Write(text_.data(), used, error)) return false;
      used = 0;
    }
  }
  return true;
}

bool WaveCsvWriter::Commit(std::string& error) { return file_.Commit(error); }

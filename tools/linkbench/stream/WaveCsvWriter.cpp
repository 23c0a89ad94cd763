#include "tools/linkbench/stream/WaveCsvWriter.h"

#include "tools/linkbench/stream/PrbsStimulus.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace {

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

// One line "%.9e,%.3f,%.9g\n" of time, stimulus and output, as printf writes
// it (std::to_chars with a precision is specified so), at a fraction of its
// cost; returns its length.
size_t WaveCsvWriter::FormatLine(char* line, double time, double stimulus, double output) {
  char* const end = line + kLineRoom;
  auto put = [&](char* at, double value, std::chars_format format, int precision, char after) {
    const std::to_chars_result r = std::to_chars(at, end - 1, value, format, precision);
    if (r.ec != std::errc()) return static_cast<char*>(nullptr);
    *r.ptr = after;
    return r.ptr + 1;
  };
  char* at = put(line, time, std::chars_format::scientific, 9, ',');
  if (at) at = put(at, stimulus, std::chars_format::fixed, 3, ',');
  if (at) at = put(at, output, std::chars_format::general, 9, '\n');
  if (at) return static_cast<size_t>(at - line);
  const int n = std::snprintf(line, kLineRoom, "%.9e,%.3f,%.9g\n", time, stimulus, output);
  return static_cast<size_t>(std::clamp(n, 0, static_cast<int>(kLineRoom) - 1));
}

bool WaveCsvWriter::Consume(const WaveBlock& block, std::string& error) {
  size_t used = 0;
  for (long i = 0; i < block.count; ++i) {
    const long sample = block.start + i;
    const double stimulus = PrbsStimulus::Level(block.bits->At(sample / samplesPerBit_));
    used += FormatLine(text_.data() + used, static_cast<double>(sample) * sampleInterval_, stimulus, block.samples[i]);
    if (used + kLineRoom > text_.size() || i + 1 == block.count) {
      if (!file_.Write(text_.data(), used, error)) return false;
      used = 0;
    }
  }
  return true;
}

bool WaveCsvWriter::Commit(std::string& error) { return file_.Commit(error); }

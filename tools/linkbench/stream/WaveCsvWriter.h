// A sink of the simulation stream: the waveform as CSV, one line per sample
// with its time, stimulus and output, written as the run goes. The file
// appears under its name only when the run has ended well (AtomicFile).
#pragma once

#include "tools/common/AtomicFile.h"
#include "tools/linkbench/stream/WaveSink.h"

#include <string>
#include <vector>

class WaveCsvWriter : public WaveSink {
 public:
  WaveCsvWriter(std::string path, int samplesPerBit, double sampleInterval);

  const std::string& Path() const { return file_.Path(); }
  // Creates the file and writes the header; false and `error` on failure.
  bool Open(std::string& error);
  bool Consume(const WaveBlock& block, std::string& error) override;
  // After the last block: the file under its name; false and `error` on failure.
  bool Commit(std::string& error);

 private:
  // Room for one line: the longest has two numbers of "%.9e" and "%.9g" (at
  // most 16 characters each), one "%.3f" of +-0.5, commas and the newline.
  static constexpr size_t kLineRoom = 64;
  static size_t FormatLine(char* line, double time, double stimulus, double output);

  AtomicFile file_;
  long samplesPerBit_;
  double sampleInterval_;
  std::vector<char> text_;
};

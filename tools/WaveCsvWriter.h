// A sink of the simulation stream: the waveform as CSV, one line per sample
// with its time, stimulus and output, written as the run goes. The file
// appears under its name only when the run has ended well (AtomicFile).
#pragma once

#include "AtomicFile.h"
#include "WaveSink.h"

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
  AtomicFile file_;
  long samplesPerBit_;
  double sampleInterval_;
  std::vector<char> text_;
};

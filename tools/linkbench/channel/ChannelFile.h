// A Touchstone channel for the simulation host (`sim --channel`, `sweep
// --channel`): the file read, its through response built on the run's
// simulation grid, and the lines the reports print about it.
#pragma once

#include "tools/linkbench/channel/ChannelResponse.h"

#include <string>
#include <vector>

class ChannelFile {
 public:
  // Reads `path` and builds the impulse response of the through path named
  // by `ports` (as `tessalune channel --ports`) on the grid of `bitTime`
  // and `samplesPerBit`. False with `error` when the file cannot be used.
  bool Load(const std::string& path, const ChannelResponse::Ports& ports, double bitTime, int samplesPerBit,
            std::string& error);

  const std::string& Path() const { return path_; }
  const ChannelResponse& Response() const { return response_; }
  // The response's delay rounded to samples of the grid.
  long DelaySamples() const;
  double NyquistLossDb() const;
  // The report: the channel line, then one line per note, without the
  // "channel     " label.
  std::vector<std::string> Describe() const;

 private:
  std::string path_;
  double bitTime_ = 0.0;
  ChannelResponse response_;
};

// One simulation as a channel simulator's GetWave flow runs it: AMI_Init,
// AMI_GetWave over a PRBS stimulus in blocks, AMI_Close, then the eye
// measurement of the output. Shared by `tessalune sim` and `tessalune sweep`.
#pragma once

#include "AmiFileParams.h"
#include "AmiModelLoader.h"
#include "EyeMeasure.h"

#include <CLI/CLI.hpp>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct SimSettings {
  std::string modelPath;
  std::string amiPath;
  std::vector<std::string> params;  // NAME=VALUE
  int prbs = 7;
  long bits = 2000;
  double bitTime = 1e-10;
  int samplesPerBit = 32;
  long block = 1024;
  double channelLossDb = 0.0;  // first-order channel after the model; 0: none

  double SampleInterval() const { return bitTime / samplesPerBit; }
  long Samples() const { return bits * samplesPerBit; }
};

struct SimResult {
  bool initOk = false;
  bool getWaveOk = false;
  bool closeOk = false;
  std::string message;  // the model's message from AMI_Init
  std::string error;    // what went wrong, when something did
  std::vector<uint8_t> bits;
  std::vector<double> output;   // at the model's output, or after the channel
  double getWaveSeconds = 0.0;  // time spent inside AMI_GetWave
  EyeMeasurement eye;

  bool Ok() const { return initOk && getWaveOk && closeOk; }
};

class SimulationRun {
 public:
  // Stimulus limits: the host keeps the whole waveform in memory.
  static constexpr long kMaxSamples = 100'000'000;

  // The options `sim` and `sweep` share (model, .ami file, stimulus, block).
  static void AddOptions(CLI::App* cmd, SimSettings& settings);
  // Fills in the default model and .ami paths; empty when fine, else why not.
  static std::string ResolvePaths(SimSettings& settings);
  // Empty when the settings can run, else what is wrong with them.
  static std::string Check(const SimSettings& settings);
  // Everything before the first run: line-buffered standard output, paths,
  // settings, the .ami file and the model library. Returns 0 when ready, else prints "COMMAND: reason" on
  // standard error and returns the exit status (2 for usage errors).
  static int Prepare(const char* command, SimSettings& settings, AmiFileParams& ami, AmiModelLoader& model);

  // NRZ stimulus: +0.5 V for a one, -0.5 V for a zero.
  static double Level(uint8_t bit) { return bit ? 0.5 : -0.5; }

  // Runs one model instance with `parameters` as its AMI parameter string;
  // the output passes through the channel when one is set.
  // `progress` (may be empty) gets the fraction done after each block.
  static SimResult Run(const AmiModelLoader& model, const SimSettings& settings, const std::string& parameters,
                       const std::function<void(double)>& progress = {});

  // printf of one number, for reports.
  static std::string Fixed(const char* format, double value);
  // "height H mV, width W ps (U UI)" or why the eye was not measured.
  static std::string EyeSummary(const EyeMeasurement& eye);

  // After writing an output file: prints "LABEL PATH" on success, else
  // "COMMAND: ERROR" on standard error; returns the exit status (0 or 1).
  static int ReportFile(bool written, const char* command, const char* label, const std::string& path,
                        const std::string& error);

  // Writes time, stimulus and output as CSV; false and `error` on failure.
  static bool WriteCsv(const std::string& path, const SimSettings& settings, const SimResult& result,
                       std::string& error);
};

// One simulation as a channel simulator's GetWave flow runs it: AMI_Init,
// then the stream, block by block, AMI_Close. Shared by `tessalune sim` and
// `tessalune sweep`.
//
// The stream has four stages, each working on one block at a time, so that
// memory stays the same whatever the number of bits:
//   stimulus (PrbsStimulus: NRZ of a PRBS; its bits go to a BitHistory)
//   -> model (AMI_GetWave on the block, in place)
//   -> channel (a ChannelStage: a Touchstone file's response convolved
//      block by block, the RC channel, or none)
//   -> sinks (WaveSink: the eye measurement, and what the caller adds, such
//      as the waveform writer). The eye measurement hands each measured bit,
//      lined up with its stimulus, to its own per-phase statistics and to the
//      caller's BitWindowSinks (such as the eye density of the picture).
// With noise, jitter or a Touchstone channel the per-phase statistics also
// gather the sample distributions, and the run ends with the BER figures
// computed from them (BerMap, StatisticalEye).
#pragma once

#include "tools/host/AmiModelLoader.h"
#include "tools/host/LinkFlow.h"
#include "tools/host/ReceiverNoise.h"
#include "tools/linkbench/channel/ChannelFile.h"
#include "tools/linkbench/eye/ClockedEye.h"
#include "tools/linkbench/eye/EyeMeasure.h"
#include "tools/linkbench/eye/LatencyAligner.h"
#include "tools/linkbench/eye/StatisticalEye.h"
#include "tools/linkbench/stream/WaveSink.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

struct SimSettings {
  std::string modelPath;
  std::string amiPath;
  std::vector<std::string> params;  // NAME=VALUE
  // The receiver model (none when rxModelPath is empty), its .ami file and
  // its parameters.
  std::string rxModelPath;
  std::string rxAmiPath;
  std::vector<std::string> rxParams;  // NAME=VALUE
  int prbs = 7;
  uint32_t prbsSeed = 0xFFFFFFFFu;  // the PRBS register's first contents; noise and jitter are analytic (no draws)
  long bitCount = 2000;
  double bitTime = 1e-10;
  int samplesPerBit = 32;
  long block = 1024;
  double channelLossDb = 0.0;         // first-order channel after the model; 0: none
  std::string channelPath;            // Touchstone channel after the model; empty: none
  ChannelResponse::Ports ports;       // the channel file's 4-port order
  double noiseMv = 0.0;               // RMS noise at the receiver's input pins, DC to the bit rate
  NoiseAt noiseAt = NoiseAt::kInput;  // or given at the decision point, as it is
  double rjPs = 0.0;                  // RMS random jitter of the sampling instant
  // The BER figures' targets, and whether contour lines are traced for them.
  std::vector<double> berTargets = {1e-6, 1e-9, 1e-12};
  bool berContours = false;
  bool berAsked = false;  // the BER figures even without noise, jitter or a channel file
  // Threads one run may use (its own included); the figures are the same
  // whatever the number.
  int threads = 1;

  // The channel file, read and built on the grid by Prepare.
  std::shared_ptr<const ChannelFile> channel;

  double SampleInterval() const { return bitTime / samplesPerBit; }
  long SampleCount() const { return bitCount * samplesPerBit; }
  // Whether runs gather the sample distributions and report BER figures.
  bool WantsBer() const { return berAsked || noiseMv > 0 || rjPs > 0 || !channelPath.empty(); }
};

// What a run feeds besides its own eye measurement.
struct SimOutputs {
  std::vector<WaveSink*> sinks;          // each block after the channel (e.g. the waveform writer)
  std::vector<BitWindowSink*> eyeSinks;  // each measured bit (e.g. the eye density)
};

struct SimResult {
  bool initOk = false;
  bool getWaveOk = false;
  bool closeOk = false;
  bool streamOk = false;          // the host's own stages (sinks, memory)
  std::string message;            // the model's message from AMI_Init
  std::string rxMessage;          // the receiver's, when there is one
  std::string rxParametersOut;    // the receiver's output parameters after its last AMI_GetWave
  std::string flow;               // the reference flow the run used, in words
  std::string error;              // what went wrong, when something did
  double getWaveSeconds = 0.0;    // time spent inside AMI_GetWave
  double rxGetWaveSeconds = 0.0;  // of which inside the receiver's
  double hostSeconds = 0.0;       // time the stream spent around it, of which:
  double channelSeconds = 0.0;    //   the channel stage
  double sinkSeconds = 0.0;       //   the sinks (eye, distributions, density, files)
  bool sinksOwnThread = false;    // the sinks ran on a thread of their own, beside the rest
  double berSeconds = 0.0;        //   the BER figures at the end
  EyeMeasurement eye;             // at the receiver's clock times when it gives them
  BerResult ber;                  // when the settings want it
  NoiseReferral noise;            // the noise as given and at the decision point
  RecoveredClock clock;

  bool Ok() const { return initOk && getWaveOk && closeOk && streamOk; }
};

class SimulationRun {
 public:
  // Samples in one run: far beyond any run's time, and exactly countable in
  // the sample times written out.
  static constexpr long kMaxSamples = 1'000'000'000'000'000;
  // Samples per AMI_GetWave call: the host holds one block.
  static constexpr long kMaxBlock = 100'000'000;

  // The threads each run may use when `jobs` runs go at once: the cores
  // left to each (at least one, at most kMaxThreads), so that runs side by
  // side and the threads inside them never ask for more cores than there are.
  static constexpr int kMaxThreads = 4;
  static int ThreadsPerRun(unsigned jobs);
  // Fills in the default model and .ami paths; empty when fine, else why not.
  static std::string ResolvePaths(SimSettings& settings);
  // Empty when the settings can run, else what is wrong with them.
  static std::string Check(const SimSettings& settings);
  // Reads the channel file (when there is one) into settings.channel; empty
  // when fine, else why not.
  static std::string LoadChannel(SimSettings& settings);
  // Runs one model instance with `parameters` as its AMI parameter string;
  // the output passes through the channel when one is set, then to the eye
  // measurement and `outputs`. `progress` (may be empty) gets the fraction
  // done after each block.
  static SimResult Run(const AmiModelLoader& model, const SimSettings& settings, const std::string& parameters,
                       const SimOutputs& outputs = {}, const std::function<void(double)>& progress = {});
  // The noise of the settings at the decision point of the pair `models`,
  // the receiver (when there is one) with `rxParameters`: through its own
  // AMI_Init response where it returns one (ReceiverNoise). False with
  // `error` when the receiver fails to give its response.
  static bool ReferNoise(const LinkModels& models, const SimSettings& settings, const std::string& rxParameters,
                         NoiseReferral& noise, std::string& error);
  // Runs the pair `models` as the reference flow prescribes (LinkFlow), the
  // transmitter with `txParameters`, the receiver (when there is one) with
  // `rxParameters`.
  static SimResult Run(const LinkModels& models, const SimSettings& settings, const std::string& txParameters,
                       const std::string& rxParameters, const SimOutputs& outputs = {},
                       const std::function<void(double)>& progress = {});
};

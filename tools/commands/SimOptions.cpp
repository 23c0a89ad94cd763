#include "tools/commands/SimOptions.h"

#include "tools/commands/FiniteRange.h"
#include "tools/commands/PathOption.h"
#include "tools/host/ModelPaths.h"

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// The values each option takes; a results file's header is held to them too.
const std::vector<int> kPrbsOrders = {7, 15, 23, 31};
constexpr double kMinBitTime = 1e-15, kMaxBitTime = 1e-3;
constexpr int kMinSamplesPerBit = 2, kMaxSamplesPerBit = 1024;
constexpr double kMaxChannelLossDb = 60.0, kMaxNoiseMv = 10000.0, kMaxRjPs = 1e9;

std::string Outside(const char* option, double value, double low, double high) {
  if (std::isfinite(value) && value >= low && value <= high) return {};
  char text[160];
  std::snprintf(text, sizeof text, "%s %.17g is not in [%g, %g]", option, value, low, high);
  return text;
}

}  // namespace

std::string SettingsProblem(const SimSettings& s) {
  if (std::find(kPrbsOrders.begin(), kPrbsOrders.end(), s.prbs) == kPrbsOrders.end())
    return "--prbs " + std::to_string(s.prbs) + " is not 7, 15, 23 or 31";
  const std::string outside[] = {
      Outside("--bits", static_cast<double>(s.bitCount), 1, static_cast<double>(SimulationRun::kMaxSamples)),
      Outside("--bit-time", s.bitTime, kMinBitTime, kMaxBitTime),
      Outside("--samples-per-bit", s.samplesPerBit, kMinSamplesPerBit, kMaxSamplesPerBit),
      Outside("--block", static_cast<double>(s.block), 1, static_cast<double>(SimulationRun::kMaxBlock)),
      Outside("--channel-loss", s.channelLossDb, 0, kMaxChannelLossDb),
      Outside("--noise", s.noiseMv, 0, kMaxNoiseMv),
      Outside("--rj", s.rjPs, 0, kMaxRjPs)};
  for (const std::string& problem : outside)
    if (!problem.empty()) return problem;
  return SimulationRun::Check(s);
}

void AddSimOptions(CLI::App* cmd, SimCommandLine& line) {
  SimSettings& s = line.settings;
  cmd->add_option("--model", s.modelPath, "Model library to load (default: the one built with these tools)")
      ->check(NonEmptyPath());
  cmd->add_option("--ami", s.amiPath, "The model's .ami parameter file (default: ibis/tessalune_tx.ami)")
      ->check(NonEmptyPath());
  cmd->add_option("--prbs", s.prbs, "Stimulus PRBS order: 7, 15, 23 or 31")
      ->check(CLI::IsMember(kPrbsOrders))
      ->capture_default_str();
  cmd->add_option("--bits", s.bitCount, "Number of bits simulated (the run streams: memory does not grow with it)")
      ->check(CLI::Range(1L, SimulationRun::kMaxSamples))
      ->capture_default_str();
  cmd->add_option("--bit-time", s.bitTime, "Unit interval in seconds")
      ->check(FiniteRange(kMinBitTime, kMaxBitTime))
      ->capture_default_str();
  cmd->add_option("--samples-per-bit", s.samplesPerBit, "Samples per unit interval")
      ->check(CLI::Range(kMinSamplesPerBit, kMaxSamplesPerBit))
      ->capture_default_str();
  cmd->add_option("--block", s.block, "Samples per AMI_GetWave call")
      ->check(CLI::Range(1L, SimulationRun::kMaxBlock))
      ->capture_default_str();
  CLI::Option* rc = cmd->add_option("--channel-loss", s.channelLossDb,
                                    "Pass the output through a first-order (RC) channel with this loss in dB at half "
                                    "the bit rate; the eye is then measured after it (0: no channel)")
                        ->check(FiniteRange(0.0, kMaxChannelLossDb))
                        ->capture_default_str();
  cmd->add_option("--channel", s.channelPath,
                  "Pass the output through the channel of this Touchstone file (.s2p: S21; .s4p: SDD21; a "
                  "regular file of at most " +
                      std::to_string(TouchstoneLimits::kDefaultMaxBytes >> 20) +
                      " MiB), convolved block by block; the eye is measured after it. Its kept impulse response is "
                      "at most " +
                      std::to_string(ChannelResponse::kMaxKeptSamples) +
                      " samples, so that its convolution takes at most about 100 MiB per run. Not with "
                      "--channel-loss")
      ->check(NonEmptyPath())
      ->excludes(rc);
  cmd->add_option("--ports", line.ports, "--channel's 4-port order p-in,p-out,n-in,n-out (as `tessalune channel`)")
      ->capture_default_str();
  cmd->add_option("--noise", s.noiseMv, "Gaussian noise at the receiver input, RMS in mV, for the BER figures")
      ->check(FiniteRange(0.0, kMaxNoiseMv))
      ->capture_default_str();
  CLI::Option* rx = cmd->add_option("--rx", s.rxModelPath,
                                    "Receiver model library: the link runs the IBIS-AMI reference flow for the "
                                    "transmitter and this receiver, as their .ami files describe them")
                        ->check(NonEmptyPath());
  cmd->add_option("--rx-ami", s.rxAmiPath, "The receiver's .ami parameter file (needed with --rx)")
      ->check(NonEmptyPath())
      ->needs(rx);
  cmd->add_option("--rx-param", s.rxParams,
                  "Override a Model_Specific parameter of the receiver's .ami file, NAME=VALUE (repeatable)")
      ->needs(rx);
  cmd->add_option("--model-timeout", line.modelTimeout,
                  "Stop a model whose entry point (AMI_Init, AMI_GetWave, AMI_Close) has not returned after this "
                  "many seconds. Models other than the ones built with these tools run in a child process of "
                  "their own, so that one that hangs, crashes or calls exit() costs its run alone")
      ->check(FiniteRange(0.001, 1e7))
      ->capture_default_str();
  cmd->add_flag("--in-process", line.inProcess,
                "Run every model in this process, without a child process (faster for very short runs; a model "
                "that crashes, exits or hangs then takes the program with it)");
  cmd->add_option("--rj", s.rjPs, "Gaussian random jitter of the sampling instant, RMS in ps, for the BER figures")
      ->check(FiniteRange(0.0, kMaxRjPs))
      ->capture_default_str();
}

bool SimCommandLine::Isolates() const {
  if (inProcess) return false;
  return !IsOwnModel(settings.modelPath) || (!settings.rxModelPath.empty() && !IsOwnModel(settings.rxModelPath));
}

IsolationLimits SimCommandLine::Limits() const {
  IsolationLimits limits;
  limits.callSeconds = modelTimeout;
  return limits;
}

int PrepareSimulation(const char* command, SimCommandLine& line, AmiFileParams& ami, AmiModelLoader& model) {
  SimSettings& s = line.settings;
  // Line by line, so that reports and errors keep their order in a log.
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  // A file size limit fails the write (and the file is cleaned away) rather
  // than ending the program half way through it.
  std::signal(SIGXFSZ, SIG_IGN);
  std::string error = SimulationRun::ResolvePaths(s);
  if (error.empty()) error = SimulationRun::Check(s);
  if (error.empty()) ChannelResponse::ParsePorts(line.ports, s.ports, error);
  int status = error.empty() ? 0 : 2;
  if (status == 0 && !ami.Load(s.amiPath, error)) status = 1;
  if (status == 0 && !(error = SimulationRun::LoadChannel(s)).empty()) status = 1;
  if (status == 0 && !model.Open(s.modelPath, error)) status = 1;
  if (status != 0) std::fprintf(stderr, "%s: %s\n", command, error.c_str());
  return status;
}

int PrepareReceiver(const char* command, const SimSettings& s, AmiFileParams& ami, AmiModelLoader& model,
                    std::string& parameters) {
  if (s.rxModelPath.empty()) return 0;
  std::string error;
  int status = 0;
  if (s.rxAmiPath.empty()) {
    error = "--rx needs --rx-ami, the receiver's .ami file";
    status = 2;
  }
  if (status == 0 && !ami.Load(s.rxAmiPath, error)) status = 1;
  if (status == 0 && !ami.BuildParameterString(s.rxParams, parameters, error)) status = 2;
  if (status == 0 && !model.Open(s.rxModelPath, error)) status = 1;
  if (status != 0) std::fprintf(stderr, "%s: %s\n", command, error.c_str());
  return status;
}

LinkModels MakeLink(const AmiFileParams& txAmi, const AmiModelLoader& tx, const AmiFileParams& rxAmi,
                    const AmiModelLoader& rx) {
  LinkModels link;
  link.tx = &tx;
  link.txReserved = txAmi.Reserved();
  if (rx.IsOpen()) {
    link.rx = &rx;
    link.rxReserved = rxAmi.Reserved();
  }
  return link;
}

#include "SimulationRun.h"

#include "ModelPaths.h"
#include "Prbs.h"
#include "RcChannel.h"

#include <chrono>
#include <cstdio>
#include <memory>

namespace {

// Impulse response handed to AMI_Init: this many UI of the simulation grid.
constexpr long kImpulseBits = 64;

}  // namespace

void SimulationRun::AddOptions(CLI::App* cmd, SimSettings& s) {
  cmd->add_option("--model", s.modelPath, "Model library to load (default: the one built with these tools)");
  cmd->add_option("--ami", s.amiPath, "The model's .ami parameter file (default: ibis/tessalune_tx.ami)");
  cmd->add_option("--prbs", s.prbs, "Stimulus PRBS order: 7, 15, 23 or 31")
      ->check(CLI::IsMember({7, 15, 23, 31}))
      ->capture_default_str();
  cmd->add_option("--bits", s.bits, "Number of bits simulated")
      ->check(CLI::Range(1L, kMaxSamples))
      ->capture_default_str();
  cmd->add_option("--bit-time", s.bitTime, "Unit interval in seconds")
      ->check(CLI::Range(1e-15, 1e-3))
      ->capture_default_str();
  cmd->add_option("--samples-per-bit", s.samplesPerBit, "Samples per unit interval")
      ->check(CLI::Range(2, 1024))
      ->capture_default_str();
  cmd->add_option("--block", s.block, "Samples per AMI_GetWave call")
      ->check(CLI::Range(1L, kMaxSamples))
      ->capture_default_str();
  cmd->add_option("--channel-loss", s.channelLossDb,
                  "Pass the output through a first-order (RC) channel with this loss in dB at half the bit "
                  "rate; the eye is then measured after it (0: no channel)")
      ->check(CLI::Range(0.0, 60.0))
      ->capture_default_str();
}

std::string SimulationRun::ResolvePaths(SimSettings& s) {
  if (s.modelPath.empty()) s.modelPath = DefaultModelPath();
  if (s.amiPath.empty()) s.amiPath = DefaultAmiPath();
  if (s.modelPath.empty()) return "no model library known to these tools: give --model PATH";
  if (s.amiPath.empty()) return "no .ami parameter file known to these tools: give --ami PATH";
  return {};
}

std::string SimulationRun::Check(const SimSettings& s) {
  if (s.bits > kMaxSamples / s.samplesPerBit)
    return "--bits x --samples-per-bit is more than " + std::to_string(kMaxSamples) + " samples";
  return {};
}

int SimulationRun::Prepare(const char* command, SimSettings& s, AmiFileParams& ami, AmiModelLoader& model) {
  // Line by line, so that reports and errors keep their order in a log.
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  std::string error = ResolvePaths(s);
  if (error.empty()) error = Check(s);
  int status = error.empty() ? 0 : 2;
  if (status == 0 && (!ami.Load(s.amiPath, error) || !model.Open(s.modelPath, error))) status = 1;
  if (status != 0) std::fprintf(stderr, "%s: %s\n", command, error.c_str());
  return status;
}

SimResult SimulationRun::Run(const AmiModelLoader& model, const SimSettings& s, const std::string& parameters,
                             const std::function<void(double)>& progress) {
  SimResult r;
  Prbs prbs(s.prbs);
  r.bits = prbs.Bits(static_cast<size_t>(s.bits));
  const long spb = s.samplesPerBit;
  r.output.resize(static_cast<size_t>(s.Samples()));
  for (long i = 0; i < s.Samples(); ++i) r.output[i] = Level(r.bits[i / spb]);

  AmiInstance instance;
  r.initOk = model.Init(instance, s.SampleInterval(), s.bitTime, parameters, kImpulseBits * spb, r.message);
  if (!r.initOk) {
    r.error = "AMI_Init reported failure";
    if (!model.Close(instance)) r.error += "; AMI_Close reported failure";
    return r;
  }

  r.getWaveOk = true;
  const long total = s.Samples();
  for (long start = 0; start < total && r.getWaveOk; start += s.block) {
    const long count = std::min(s.block, total - start);
    const auto t0 = std::chrono::steady_clock::now();
    r.getWaveOk = model.GetWave(instance, r.output.data() + start, count);
    r.getWaveSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    if (!r.getWaveOk) r.error = "AMI_GetWave reported failure on the block at sample " + std::to_string(start);
    if (progress) progress(static_cast<double>(start + count) / static_cast<double>(total));
  }
  r.closeOk = model.Close(instance);
  if (!r.closeOk && r.error.empty()) r.error = "AMI_Close reported failure";
  if (r.getWaveOk) RcChannel(s.channelLossDb, s.samplesPerBit).Apply(r.output);
  if (r.getWaveOk) r.eye = EyeMeasure::Measure(r.output, r.bits, s.samplesPerBit, s.bitTime);
  return r;
}

std::string SimulationRun::Fixed(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string SimulationRun::EyeSummary(const EyeMeasurement& e) {
  if (!e.valid) return "eye not measured: " + e.problem;
  return "height " + Fixed("%.1f", e.heightV * 1e3) + " mV, width " + Fixed("%.1f", e.WidthSeconds() * 1e12) + " ps (" +
         Fixed("%.3f", e.widthUi) + " UI)";
}

int SimulationRun::ReportFile(bool written, const char* command, const char* label, const std::string& path,
                              const std::string& error) {
  if (written) {
    std::printf("%-11s %s\n", label, path.c_str());
    return 0;
  }
  std::fprintf(stderr, "%s: %s\n", command, error.c_str());
  return 1;
}

bool SimulationRun::WriteCsv(const std::string& path, const SimSettings& s, const SimResult& r, std::string& error) {
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "w"), &std::fclose);
  if (!file) {
    error = "cannot write " + path;
    return false;
  }
  std::fprintf(file.get(), "time_s,stimulus_V,output_V\n");
  const double dt = s.SampleInterval();
  for (size_t i = 0; i < r.output.size(); ++i)
    std::fprintf(file.get(), "%.9e,%.3f,%.9g\n", static_cast<double>(i) * dt, Level(r.bits[i / s.samplesPerBit]),
                 r.output[i]);
  if (std::fflush(file.get()) != 0 || std::ferror(file.get())) {
    error = "cannot write " + path;
    return false;
  }
  return true;
}

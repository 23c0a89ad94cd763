#include "SimCommand.h"

#include "AmiFileParams.h"
#include "AtomicFile.h"
#include "EyeDensity.h"
#include "EyePlot.h"
#include "ProgressBar.h"
#include "RcChannel.h"
#include "SimulationRun.h"
#include "WaveCsvWriter.h"

#include <cstdio>
#include <memory>
#include <string>

namespace {

constexpr auto Fixed = &SimulationRun::Fixed;
constexpr const char* kCommand = "tessalune sim";
// Title lines of the eye picture: the model and its parameters, the
// stimulus, the eye's figures.
constexpr size_t kEyeTitleLines = 3;

struct SimOptions {
  SimSettings settings;
  std::string eyePath;
  std::string wavePath;
  int eyeWidth = 900;
  int eyeHeight = 600;
};

constexpr const char* kEyeDefinitions =
    "Eye measurement: the output is folded into unit intervals aligned to the transmitted\n"
    "bits at the latency where output and stimulus correlate best; the first 32 bits after\n"
    "it are left out while the filters settle.\n"
    "  eye height: at each sampling phase, the lowest sample of a '1' bit minus the highest\n"
    "    sample of a '0' bit (negative when the eye is closed); reported at the best\n"
    "    sampling phase, the phase where it is largest.\n"
    "  eye width: the span of sampling phases around the best phase over which every '1'\n"
    "    sample stays above and every '0' sample below the decision threshold (the middle\n"
    "    of the opening at the best phase), edges interpolated between samples; at most 1 UI.\n"
    "  levels: mean '1' and '0' levels at the best phase; 'after a transition' and 'repeated'\n"
    "    split them by the previous bit, and their swing ratio is the de-emphasis in dB.\n"
    "  throughput: samples and bits per second of time spent inside AMI_GetWave; host: the\n"
    "    time the simulation host spent around it (stimulus, channel, measurement, files).";

std::string Engineering(double value, const char* unit) {
  const char* prefixes[] = {"", "k", "M", "G", "T"};
  int i = 0;
  while (value >= 1000.0 && i < 4) {
    value /= 1000.0;
    ++i;
  }
  char text[64];
  std::snprintf(text, sizeof text, "%.3g %s%s", value, prefixes[i], unit);
  return text;
}

// The files a run writes, gathered as it goes: the eye density for --eye,
// the waveform for --wave.
struct SimFiles {
  std::unique_ptr<EyeDensity> density;
  std::unique_ptr<WaveCsvWriter> wave;

  // Before the run, so that an unwritable path fails at once.
  bool Open(const SimOptions& o, std::string& error) {
    const SimSettings& s = o.settings;
    if (!o.eyePath.empty()) {
      if (!AtomicFile(o.eyePath).Open(error)) return false;
      const EyePlot::Layout at = EyePlot::PictureLayout(o.eyeWidth, o.eyeHeight, kEyeTitleLines);
      density = std::make_unique<EyeDensity>(s.samplesPerBit, at.columns, at.rows);
    }
    if (!o.wavePath.empty()) {
      wave = std::make_unique<WaveCsvWriter>(o.wavePath, s.samplesPerBit, s.SampleInterval());
      if (!wave->Open(error)) return false;
    }
    return true;
  }

  SimOutputs Outputs() const {
    SimOutputs outputs;
    if (density) outputs.eyeSinks.push_back(density.get());
    if (wave) outputs.sinks.push_back(wave.get());
    return outputs;
  }
};

void PrintSetup(const SimSettings& s, const std::string& parameters) {
  const double gbps = 1e-9 / s.bitTime;
  std::printf("model       %s\n", s.modelPath.c_str());
  std::printf("parameters  %s\n", parameters.c_str());
  std::printf("stimulus    PRBS%d, %ld bits at %s (UI %s ps), %d samples per UI, AMI_GetWave blocks of %ld\n", s.prbs,
              s.bitCount, (Fixed("%.4g", gbps) + " Gb/s").c_str(), Fixed("%.4g", s.bitTime * 1e12).c_str(),
              s.samplesPerBit, s.block);
  if (s.channelLossDb > 0) {
    const RcChannel channel(s.channelLossDb, s.samplesPerBit);
    std::printf("channel     first-order, %s dB at %s GHz (time constant %s ps); the eye is measured after it\n",
                Fixed("%.3g", s.channelLossDb).c_str(), Fixed("%.4g", gbps / 2).c_str(),
                Fixed("%.1f", channel.TimeConstant(s.bitTime) * 1e12).c_str());
  }
}

SimResult RunWithProgress(const AmiModelLoader& model, const SimSettings& s, const std::string& parameters,
                          const SimOutputs& outputs) {
  ProgressBar bar("simulating");
  SimResult r = SimulationRun::Run(model, s, parameters, outputs, [&bar](double f) { bar.Update(f); });
  bar.Finish();
  return r;
}

void PrintEye(const SimSettings& s, const EyeMeasurement& e) {
  if (!e.valid) {
    std::printf("eye         not measured: %s\n", e.problem.c_str());
    return;
  }
  const double phasePs = (e.delaySamples + e.bestPhase) % s.samplesPerBit * s.SampleInterval() * 1e12;
  std::printf("eye         %s\n", SimulationRun::EyeSummary(e).c_str());
  std::printf("sampling    best phase %s ps into the UI; latency %s ps (%ld samples); %zu bits measured\n",
              Fixed("%.1f", phasePs).c_str(), Fixed("%.1f", e.delaySamples * s.SampleInterval() * 1e12).c_str(),
              e.delaySamples, e.BitsUsed());
  std::printf("levels      '1' %s V, '0' %s V; after a transition %s / %s V, repeated %s / %s V (%s dB)\n",
              Fixed("%+.4f", e.highMean).c_str(), Fixed("%+.4f", e.lowMean).c_str(),
              Fixed("%+.4f", e.highTransition).c_str(), Fixed("%+.4f", e.lowTransition).c_str(),
              Fixed("%+.4f", e.highSteady).c_str(), Fixed("%+.4f", e.lowSteady).c_str(),
              Fixed("%.2f", e.deemphasisDb).c_str());
  std::printf("output      %s .. %s V\n", Fixed("%+.4f", e.outMin).c_str(), Fixed("%+.4f", e.outMax).c_str());
}

void PrintThroughput(const SimSettings& s, const SimResult& r) {
  const double seconds = r.getWaveSeconds > 0 ? r.getWaveSeconds : 1e-9;
  std::printf("throughput  %ld samples in %s ms inside AMI_GetWave: %s, %s; host %s ms\n", s.SampleCount(),
              Fixed("%.2f", r.getWaveSeconds * 1e3).c_str(),
              Engineering(static_cast<double>(s.SampleCount()) / seconds, "samples/s").c_str(),
              Engineering(static_cast<double>(s.bitCount) / seconds, "bit/s").c_str(),
              Fixed("%.2f", r.hostSeconds * 1e3).c_str());
}

bool WriteEyePicture(const SimOptions& o, const AmiFileParams& ami,
                     const std::vector<std::pair<std::string, std::string>>& chosen, const SimFiles& files,
                     const EyeMeasurement& e, std::string& error) {
  const SimSettings& s = o.settings;
  std::string title = ami.RootName() + ":";
  for (size_t i = 0; i < chosen.size(); ++i) title += (i ? ", " : " ") + chosen[i].first + " " + chosen[i].second;
  std::string stimulus = "PRBS" + std::to_string(s.prbs) + ", " + std::to_string(s.bitCount) + " bits at " +
                         Fixed("%.4g", 1e-9 / s.bitTime) + " Gb/s, " + std::to_string(s.samplesPerBit) +
                         " samples per UI";
  if (s.channelLossDb > 0) stimulus += ", after a " + Fixed("%.3g", s.channelLossDb) + " dB RC channel";
  const std::vector<std::string> lines = {title, stimulus, (e.valid ? "eye " : "") + SimulationRun::EyeSummary(e)};
  const bool written = EyePlot(files.density.get(), e).WritePng(o.eyePath, o.eyeWidth, o.eyeHeight, lines, error);
  EyePlot::ReleaseFontCaches();
  return written;
}

int Simulate(SimOptions& o) {
  SimSettings& s = o.settings;
  AmiFileParams ami;
  AmiModelLoader model;
  if (int status = SimulationRun::Prepare(kCommand, s, ami, model)) return status;
  std::string parameters, error;
  std::vector<std::pair<std::string, std::string>> chosen;
  if (!ami.BuildParameterString(s.params, parameters, error, &chosen)) {
    std::fprintf(stderr, "%s: %s\n", kCommand, error.c_str());
    return 2;
  }
  PrintSetup(s, parameters);
  SimFiles files;
  if (!files.Open(o, error)) {
    std::fprintf(stderr, "%s: %s\n", kCommand, error.c_str());
    return 1;
  }
  const SimResult r = RunWithProgress(model, s, parameters, files.Outputs());
  std::printf("message     %s\n", r.message.empty() ? "(none)" : r.message.c_str());
  if (!r.Ok()) {
    std::fprintf(stderr, "%s: %s\n", kCommand, r.error.c_str());
    return 1;
  }
  PrintEye(s, r.eye);
  PrintThroughput(s, r);
  int status = 0;
  if (files.density) {
    const bool written = WriteEyePicture(o, ami, chosen, files, r.eye, error);
    status |= SimulationRun::ReportFile(written, kCommand, "eye diagram", o.eyePath, error);
  }
  if (files.wave)
    status |= SimulationRun::ReportFile(files.wave->Commit(error), kCommand, "waveform", o.wavePath, error);
  return status;
}

}  // namespace

void AddSimCommand(CLI::App& app, std::function<int()>& action) {
  auto options = std::make_shared<SimOptions>();
  CLI::App* cmd = app.add_subcommand("sim", "Simulate the model as a GetWave host: PRBS in, eye out");
  SimulationRun::AddOptions(cmd, options->settings);
  cmd->add_option("--param", options->settings.params,
                  "Override a Model_Specific parameter of the .ami file, NAME=VALUE (repeatable)");
  cmd->add_option("--eye", options->eyePath, "Write the eye diagram to this PNG file");
  cmd->add_option("--eye-size", options->eyeWidth, "Eye diagram width in pixels (height is two thirds)")
      ->check(CLI::Range(300, 4000))
      ->capture_default_str();
  cmd->add_option("--wave", options->wavePath, "Write time, stimulus and output to this CSV file, as the run goes");
  cmd->footer(kEyeDefinitions);
  cmd->callback([options, &action] {
    options->eyeHeight = options->eyeWidth * 2 / 3;
    action = [options] { return Simulate(*options); };
  });
}

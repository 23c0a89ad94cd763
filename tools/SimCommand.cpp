#include "SimCommand.h"

#include "AmiFileParams.h"
#include "EyePlot.h"
#include "ProgressBar.h"
#include "RcChannel.h"
#include "SimulationRun.h"

#include <cstdio>
#include <memory>
#include <string>

namespace {

constexpr auto Fixed = &SimulationRun::Fixed;

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
    "  throughput: samples and bits per second of time spent inside AMI_GetWave.";

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

int Simulate(SimOptions& o) {
  SimSettings& s = o.settings;
  AmiFileParams ami;
  AmiModelLoader model;
  if (int status = SimulationRun::Prepare("tessalune sim", s, ami, model)) return status;
  std::string parameters, error;
  std::vector<std::pair<std::string, std::string>> chosen;
  if (!ami.BuildParameterString(s.params, parameters, error, &chosen)) {
    std::fprintf(stderr, "tessalune sim: %s\n", error.c_str());
    return 2;
  }

  const double gbps = 1e-9 / s.bitTime;
  std::printf("model       %s\n", s.modelPath.c_str());
  std::printf("parameters  %s\n", parameters.c_str());
  std::printf("stimulus    PRBS%d, %ld bits at %s (UI %s ps), %d samples per UI, AMI_GetWave blocks of %ld\n", s.prbs,
              s.bits, (Fixed("%.4g", gbps) + " Gb/s").c_str(), Fixed("%.4g", s.bitTime * 1e12).c_str(), s.samplesPerBit,
              s.block);

  if (s.channelLossDb > 0) {
    const RcChannel channel(s.channelLossDb, s.samplesPerBit);
    std::printf("channel     first-order, %s dB at %s GHz (time constant %s ps); the eye is measured after it\n",
                Fixed("%.3g", s.channelLossDb).c_str(), Fixed("%.4g", gbps / 2).c_str(),
                Fixed("%.1f", channel.TimeConstant(s.bitTime) * 1e12).c_str());
  }

  ProgressBar bar("simulating");
  SimResult r = SimulationRun::Run(model, s, parameters, [&bar](double f) { bar.Update(f); });
  bar.Finish();

  std::printf("message     %s\n", r.message.empty() ? "(none)" : r.message.c_str());
  if (!r.Ok()) {
    std::fprintf(stderr, "tessalune sim: %s\n", r.error.c_str());
    return 1;
  }
  const EyeMeasurement& e = r.eye;
  if (e.valid) {
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
  } else {
    std::printf("eye         not measured: %s\n", e.problem.c_str());
  }
  const double seconds = r.getWaveSeconds > 0 ? r.getWaveSeconds : 1e-9;
  std::printf("throughput  %ld samples in %s ms inside AMI_GetWave: %s, %s\n", s.Samples(),
              Fixed("%.2f", r.getWaveSeconds * 1e3).c_str(),
              Engineering(static_cast<double>(s.Samples()) / seconds, "samples/s").c_str(),
              Engineering(static_cast<double>(s.bits) / seconds, "bit/s").c_str());

  int status = 0;
  if (!o.eyePath.empty()) {
    std::string title = ami.RootName() + ":";
    for (size_t i = 0; i < chosen.size(); ++i) title += (i ? ", " : " ") + chosen[i].first + " " + chosen[i].second;
    std::string stimulus = "PRBS" + std::to_string(s.prbs) + ", " + std::to_string(s.bits) + " bits at " +
                           Fixed("%.4g", gbps) + " Gb/s, " + std::to_string(s.samplesPerBit) + " samples per UI";
    if (s.channelLossDb > 0) stimulus += ", after a " + Fixed("%.3g", s.channelLossDb) + " dB RC channel";
    std::vector<std::string> lines = {title, stimulus};
    lines.push_back((e.valid ? "eye " : "") + SimulationRun::EyeSummary(e));
    const bool written = EyePlot(r.output, e).WritePng(o.eyePath, o.eyeWidth, o.eyeHeight, lines, error);
    EyePlot::ReleaseFontCaches();
    status |= SimulationRun::ReportFile(written, "tessalune sim", "eye diagram", o.eyePath, error);
  }
  if (!o.wavePath.empty()) {
    const bool written = SimulationRun::WriteCsv(o.wavePath, s, r, error);
    status |= SimulationRun::ReportFile(written, "tessalune sim", "waveform", o.wavePath, error);
  }
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
  cmd->add_option("--wave", options->wavePath, "Write time, stimulus and output to this CSV file");
  cmd->footer(kEyeDefinitions);
  cmd->callback([options, &action] {
    options->eyeHeight = options->eyeWidth * 2 / 3;
    action = [options] { return Simulate(*options); };
  });
}

#include "tools/commands/SimCommand.h"

#include "tools/common/Numbers.h"

#include "tools/commands/PathOption.h"
#include "tools/commands/ProgressBar.h"
#include "tools/commands/RunReport.h"
#include "tools/commands/SimOptions.h"
#include "tools/common/AtomicFile.h"
#include "tools/host/AmiFileParams.h"
#include "tools/linkbench/channel/RcChannel.h"
#include "tools/linkbench/eye/EyeDensity.h"
#include "tools/linkbench/stream/WaveCsvWriter.h"
#include "tools/plots/BathtubPlot.h"
#include "tools/plots/EyePlot.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>

namespace {

using RunReport::Fixed;
constexpr const char* kCommand = "tessalune sim";
// Title lines of the eye picture: the model and its parameters, the
// stimulus, the eye's figures.
constexpr size_t kEyeTitleLines = 3;

struct SimOptions {
  SimCommandLine line;
  std::string eyePath;
  std::string wavePath;
  std::string bathtubPath;
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
    "    time the simulation host spent around it (stimulus, channel, measurement, files).\n"
    "BER (with --noise, --rj, --channel or --bathtub): from the distribution of the samples at\n"
    "each of 128 sampling phases per UI, per transmitted bit value, in fine voltage bins,\n"
    "convolved exactly with the Gaussian noise (its CDF at each bin's mean sample) and the\n"
    "Gaussian jitter (its probability over each phase step); no tail is extrapolated.\n"
    "  height at BER p: the largest span of thresholds with BER <= p, at the best phase;\n"
    "  width at BER p: the span of phases with BER <= p at that span's middle threshold.\n"
    "  Without noise and jitter the BER is the simulated pattern's own: 0 inside its eye,\n"
    "  at least 1/N (N bits) outside, so every target reads that eye.";

// The files a run writes, gathered as it goes: the eye density for --eye,
// the waveform for --wave; the pictures' files are open from the start and
// written at the end.
struct SimFiles {
  std::unique_ptr<EyeDensity> density;
  std::unique_ptr<WaveCsvWriter> wave;
  std::unique_ptr<AtomicFile> eye;
  std::unique_ptr<AtomicFile> bathtub;

  // Every output opened before the run, so that a directory or an
  // unwritable path fails at once rather than after it.
  bool Open(const SimOptions& o, std::string& error) {
    const SimSettings& s = o.line.settings;
    if (!o.eyePath.empty()) {
      eye = std::make_unique<AtomicFile>(o.eyePath);
      if (!eye->Open(error)) return false;
      const EyePlot::Layout at = EyePlot::PictureLayout(o.eyeWidth, o.eyeHeight, kEyeTitleLines);
      density = std::make_unique<EyeDensity>(s.samplesPerBit, at.columns, at.rows);
    }
    if (!o.bathtubPath.empty()) {
      bathtub = std::make_unique<AtomicFile>(o.bathtubPath);
      if (!bathtub->Open(error)) return false;
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

void PrintSetup(const SimSettings& s, const std::string& parameters, const std::string& rxParameters,
                NoiseReferral::Path noisePath) {
  const double gbps = 1e-9 / s.bitTime;
  std::printf("model       %s\n", s.modelPath.c_str());
  std::printf("parameters  %s\n", parameters.c_str());
  if (!s.rxModelPath.empty()) {
    std::printf("receiver    %s\n", s.rxModelPath.c_str());
    std::printf("rx params   %s\n", rxParameters.c_str());
  }
  std::printf("stimulus    PRBS%d, %ld bits at %s (UI %s ps), %d samples per UI, AMI_GetWave blocks of %ld\n", s.prbs,
              s.bitCount, (Fixed("%.4g", gbps) + " Gb/s").c_str(), Fixed("%.4g", s.bitTime * 1e12).c_str(),
              s.samplesPerBit, s.block);
  if (s.channel) {
    const std::vector<std::string> lines = s.channel->Describe();
    for (const std::string& line : lines) std::printf("channel     %s\n", line.c_str());
  }
  if (s.WantsBer()) {
    std::printf("noise       %s mV RMS at the %s; random jitter %s ps RMS of the sampling instant\n",
                Fixed("%.4g", s.noiseMv).c_str(), RunReport::NoisePlace(noisePath), Fixed("%.4g", s.rjPs).c_str());
  }
  if (s.channelLossDb > 0) {
    const RcChannel channel(s.channelLossDb, s.samplesPerBit);
    std::printf("channel     first-order, %s dB at %s GHz (time constant %s ps); the eye is measured after it\n",
                Fixed("%.3g", s.channelLossDb).c_str(), Fixed("%.4g", gbps / 2).c_str(),
                Fixed("%.1f", channel.TimeConstant(s.bitTime) * 1e12).c_str());
  }
}

SimResult RunWithProgress(const LinkModels& models, const SimSettings& s, const std::string& parameters,
                          const std::string& rxParameters, const SimOutputs& outputs) {
  ProgressBar bar("simulating");
  SimResult r = SimulationRun::Run(models, s, parameters, rxParameters, outputs, [&bar](double f) { bar.Update(f); });
  bar.Finish();
  return r;
}

// Where the eye was sampled: at the receiver's recovered clock, or at the
// best phase.
void PrintSampling(const SimSettings& s, const EyeMeasurement& e, const RecoveredClock& c) {
  if (c.refused > 0)
    std::printf(
        "clock       %ld of the receiver's clock times refused: not a number, or outside the block they "
        "came with\n",
        c.refused);
  const double latencyPs = e.delaySamples * s.SampleInterval() * 1e12;
  if (c.used) {
    std::printf(
        "sampling    at the receiver's clock times + UI/2: mean phase %s ps into the UI, jitter %s ps RMS; latency "
        "%s ps; %ld bits measured, %ld without a clock time near them\n",
        Fixed("%.2f", c.meanPhase * 1e12).c_str(), Fixed("%.3f", c.jitterRms * 1e12).c_str(),
        Fixed("%.1f", latencyPs).c_str(), c.paired, c.unpaired);
    return;
  }
  const double phasePs = (e.delaySamples + e.bestPhase) % s.samplesPerBit * s.SampleInterval() * 1e12;
  std::printf("sampling    best phase %s ps into the UI; latency %s ps (%ld samples); %zu bits measured\n",
              Fixed("%.1f", phasePs).c_str(), Fixed("%.1f", latencyPs).c_str(), e.delaySamples, e.BitsUsed());
}

void PrintEye(const SimSettings& s, const EyeMeasurement& e, const RecoveredClock& c) {
  if (!e.valid) {
    std::printf("eye         not measured: %s\n", e.problem.c_str());
    return;
  }
  std::printf("eye         %s\n", RunReport::EyeSummary(e).c_str());
  PrintSampling(s, e, c);
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
              SiPrefixed(static_cast<double>(s.SampleCount()) / seconds, "samples/s", 3).c_str(),
              SiPrefixed(static_cast<double>(s.bitCount) / seconds, "bit/s", 3).c_str(),
              Fixed("%.2f", r.hostSeconds * 1e3).c_str());
  if (s.rxModelPath.empty() || r.rxGetWaveSeconds <= 0) return;
  // The two models apart: each streams every sample once.
  const double tx = std::max(r.getWaveSeconds - r.rxGetWaveSeconds, 1e-9);
  std::printf("models      transmitter %s ms (%s), receiver %s ms (%s)\n", Fixed("%.2f", tx * 1e3).c_str(),
              SiPrefixed(static_cast<double>(s.SampleCount()) / tx, "samples/s", 3).c_str(),
              Fixed("%.2f", r.rxGetWaveSeconds * 1e3).c_str(),
              SiPrefixed(static_cast<double>(s.SampleCount()) / r.rxGetWaveSeconds, "samples/s", 3).c_str());
}

// The BER figures at each target, then where they were read (the eye centre
// as the sampling line gives the best phase: in the UI of the stimulus).
void PrintBer(const SimSettings& s, const EyeMeasurement& e, const BerResult& b, bool clocked) {
  if (!b.valid) {
    std::printf("BER         not computed: %s\n", b.problem.c_str());
    return;
  }
  for (const BerTargetFigures& f : b.targets)
    std::printf("BER         %s: %s\n", StatisticalEye::BerText(f.ber).c_str(),
                RunReport::BerFigures(f, s.bitTime).c_str());
  const double uiPs = s.bitTime * 1e12;
  if (clocked) {
    // The receiver's instant sits half a UI into the bits it measured.
    std::printf("decision    threshold %s V, eye centre %s ps from the receiver's sampling instant; lowest BER %s\n",
                Fixed("%+.4f", b.decisionThreshold).c_str(), Fixed("%+.1f", (b.centreUi - 0.5) * uiPs).c_str(),
                Fixed("%.3g", b.minimumBer).c_str());
    return;
  }
  const double centreUi = static_cast<double>(e.delaySamples) / s.samplesPerBit + b.centreUi;
  std::printf("decision    threshold %s V, eye centre %s ps into the UI; lowest BER %s\n",
              Fixed("%+.4f", b.decisionThreshold).c_str(),
              Fixed("%.1f", (centreUi - std::floor(centreUi)) * uiPs).c_str(), Fixed("%.3g", b.minimumBer).c_str());
  if (!b.Gaussian()) {
    std::printf(
        "BER         no noise or jitter: the simulated pattern's own eye (BER 0 inside, at least 1/%llu "
        "outside) for every target\n",
        static_cast<unsigned long long>(b.bits));
  }
}

// The flow the run used and what the models said.
void PrintModels(const SimSettings& s, const SimResult& r) {
  if (!r.flow.empty()) std::printf("flow        %s\n", r.flow.c_str());
  std::printf("message     %s\n", r.message.empty() ? "(none)" : r.message.c_str());
  if (s.rxModelPath.empty()) return;
  std::printf("rx message  %s\n", r.rxMessage.empty() ? "(none)" : r.rxMessage.c_str());
  if (!r.rxParametersOut.empty()) std::printf("rx out      %s\n", r.rxParametersOut.c_str());
}

double CpuSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

void PrintTime(const SimResult& r, double picturesSeconds, double wallSeconds, double cpuSeconds) {
  // Sinks on a thread of their own overlap the rest: the rest is then the
  // calling thread's time outside the model and the channel, waits included.
  const double rest = r.hostSeconds - r.channelSeconds - (r.sinksOwnThread ? 0.0 : r.sinkSeconds);
  std::printf(
      "time        model %s s, channel %s s, eye and BER gathering %s s, stimulus and rest %s s, "
      "BER %s s, pictures %s s; wall %s s, CPU %s s\n",
      Fixed("%.3f", r.getWaveSeconds).c_str(), Fixed("%.3f", r.channelSeconds).c_str(),
      Fixed("%.3f", r.sinkSeconds).c_str(), Fixed("%.3f", rest).c_str(), Fixed("%.3f", r.berSeconds).c_str(),
      Fixed("%.3f", picturesSeconds).c_str(), Fixed("%.2f", wallSeconds).c_str(), Fixed("%.2f", cpuSeconds).c_str());
}

// The stimulus line of the pictures' titles.
std::string StimulusTitle(const SimSettings& s) {
  std::string stimulus = "PRBS" + std::to_string(s.prbs) + ", " + std::to_string(s.bitCount) + " bits at " +
                         Fixed("%.4g", 1e-9 / s.bitTime) + " Gb/s, " + std::to_string(s.samplesPerBit) +
                         " samples per UI";
  stimulus += RunReport::ChannelCaption(s);
  if (s.WantsBer()) stimulus += ", noise " + Fixed("%.3g", s.noiseMv) + " mV, RJ " + Fixed("%.3g", s.rjPs) + " ps";
  return stimulus;
}

bool WriteBathtub(const SimOptions& o, AtomicFile& file, const std::string& title, const SimResult& r,
                  std::string& error) {
  const SimSettings& s = o.line.settings;
  const BerTargetFigures* deepest = r.ber.targets.empty() ? nullptr : &r.ber.targets.back();
  const std::vector<std::string> lines = {
      title, StimulusTitle(s),
      "BER at the decision threshold " + Fixed("%+.4f", r.ber.decisionThreshold) + " V" +
          (deepest ? "; " + RunReport::BerSummary(*deepest, s.bitTime) : std::string())};
  const bool written = BathtubPlot(r.ber, s.bitTime).WritePng(file, o.eyeWidth, o.eyeHeight, lines, error);
  return written;
}

bool WriteEyePicture(const SimOptions& o, const std::string& title, const SimFiles& files, const EyeMeasurement& e,
                     const BerResult* ber, std::string& error) {
  const SimSettings& s = o.line.settings;
  const std::vector<std::string> lines = {title, StimulusTitle(s), (e.valid ? "eye " : "") + RunReport::EyeSummary(e)};
  EyePlot plot(files.density.get(), e);
  if (ber && ber->valid) plot.SetContours(ber);
  return plot.WritePng(*files.eye, o.eyeWidth, o.eyeHeight, lines, error);
}

std::string PictureTitle(const AmiFileParams& ami, const std::vector<std::pair<std::string, std::string>>& chosen,
                         const AmiFileParams& rxAmi, const SimSettings& s) {
  std::string title = ami.RootName() + ":";
  for (size_t i = 0; i < chosen.size(); ++i) title += (i ? ", " : " ") + chosen[i].first + " " + chosen[i].second;
  if (s.rxModelPath.empty()) return title;
  title += "; receiver " + rxAmi.RootName();
  for (size_t i = 0; i < s.rxParams.size(); ++i) title += (i ? ", " : " ") + s.rxParams[i];
  return title;
}

// The pictures asked for; returns the exit status.
int WritePictures(const SimOptions& o, const std::string& title, const SimFiles& files, const SimResult& r) {
  int status = 0;
  std::string error;
  if (files.density) {
    const bool written = WriteEyePicture(o, title, files, r.eye, o.line.settings.WantsBer() ? &r.ber : nullptr, error);
    status |= RunReport::ReportFile(written, kCommand, "eye diagram", o.eyePath, error);
  }
  if (files.bathtub) {
    const bool written = r.ber.valid && WriteBathtub(o, *files.bathtub, title, r, error);
    if (!r.ber.valid) error = "no bathtub: " + r.ber.problem;
    status |= RunReport::ReportFile(written, kCommand, "bathtub", o.bathtubPath, error);
  }
  if (files.density || files.bathtub) EyePlot::ReleaseFontCaches();
  return status;
}

int Report(const SimOptions& o, const LinkModels& models, const std::string& parameters,
           const std::string& rxParameters, const std::string& title, SimFiles& files);

int Simulate(SimOptions& o) {
  SimSettings& s = o.line.settings;
  if (!o.bathtubPath.empty()) s.berAsked = true;
  s.berContours = !o.eyePath.empty();
  s.threads = SimulationRun::ThreadsPerRun(1);
  AmiFileParams ami;
  AmiModelLoader model;
  if (int status = PrepareSimulation(kCommand, o.line, ami, model)) return status;
  AmiFileParams rxAmi;
  AmiModelLoader rxModel;
  std::string rxParameters;
  if (int status = PrepareReceiver(kCommand, s, rxAmi, rxModel, rxParameters)) return status;
  std::string parameters, error;
  std::vector<std::pair<std::string, std::string>> chosen;
  if (!ami.BuildParameterString(s.params, parameters, error, &chosen)) {
    std::fprintf(stderr, "%s: %s\n", kCommand, error.c_str());
    return 2;
  }
  PrintSetup(s, parameters, rxParameters, RunReport::NoisePath(s, rxAmi.Reserved().initReturnsImpulse));
  SimFiles files;
  if (!files.Open(o, error)) {
    std::fprintf(stderr, "%s: %s\n", kCommand, error.c_str());
    return 1;
  }
  const LinkModels models = MakeLink(ami, model, rxAmi, rxModel);
  auto run = [&] { return Report(o, models, parameters, rxParameters, PictureTitle(ami, chosen, rxAmi, s), files); };
  if (!o.line.Isolates()) return run();
  // The run, its report and its files in a child: a model that crashes,
  // exits or hangs ends the child alone, and is named here.
  const IsolationLimits limits = o.line.Limits();
  const IsolatedOutcome outcome = IsolatedRun::Run([&] { return std::string(1, static_cast<char>(run())); }, limits);
  if (outcome.Returned() && outcome.bytes.size() == 1) return outcome.bytes[0];
  std::fprintf(stderr, "%s: %s\n", kCommand, outcome.Describe(limits).c_str());
  return 1;
}

// The run and what it gives: the report, the pictures and the waveform;
// returns the exit status.
int Report(const SimOptions& o, const LinkModels& models, const std::string& parameters,
           const std::string& rxParameters, const std::string& title, SimFiles& files) {
  const auto wallStart = std::chrono::steady_clock::now();
  const double cpuStart = CpuSeconds();
  const SimSettings& s = o.line.settings;
  std::string error;
  const SimResult r = RunWithProgress(models, s, parameters, rxParameters, files.Outputs());
  PrintModels(s, r);
  if (!r.Ok()) {
    std::fprintf(stderr, "%s: %s\n", kCommand, r.error.c_str());
    return 1;
  }
  PrintEye(s, r.eye, r.clock);
  // The noise the BER read, where the receiver's response carried it there.
  if (s.WantsBer() && s.noiseMv > 0 && r.noise.path == NoiseReferral::Path::kThroughResponse)
    std::printf("noise       %s\n", RunReport::NoiseFigures(r.noise).c_str());
  if (s.WantsBer()) PrintBer(s, r.eye, r.ber, r.clock.used);
  PrintThroughput(s, r);
  const auto picturesStart = std::chrono::steady_clock::now();
  int status = WritePictures(o, title, files, r);
  if (s.WantsBer()) {
    const auto now = std::chrono::steady_clock::now();
    PrintTime(r, std::chrono::duration<double>(now - picturesStart).count(),
              std::chrono::duration<double>(now - wallStart).count(), CpuSeconds() - cpuStart);
  }
  if (files.wave) status |= RunReport::ReportFile(files.wave->Commit(error), kCommand, "waveform", o.wavePath, error);
  return status;
}

}  // namespace

void AddSimCommand(CLI::App& app, std::function<int()>& action) {
  auto options = std::make_shared<SimOptions>();
  CLI::App* cmd = app.add_subcommand("sim", "Simulate the model as a GetWave host: PRBS in, eye out");
  AddSimOptions(cmd, options->line);
  cmd->add_option("--param", options->line.settings.params,
                  "Override a Model_Specific parameter of the .ami file, NAME=VALUE (repeatable)");
  cmd->add_option("--eye", options->eyePath, "Write the eye diagram to this PNG file")->check(NonEmptyPath());
  cmd->add_option("--eye-size", options->eyeWidth, "Eye diagram width in pixels (height is two thirds)")
      ->check(CLI::Range(300, 4000))
      ->capture_default_str();
  cmd->add_option("--bathtub", options->bathtubPath,
                  "Write the BER bathtub (BER against sampling phase at the decision threshold) to this PNG file")
      ->check(NonEmptyPath());
  cmd->add_option("--wave", options->wavePath, "Write time, stimulus and output to this CSV file, as the run goes")
      ->check(NonEmptyPath());
  cmd->footer(kEyeDefinitions);
  cmd->callback([options, &action] {
    options->eyeHeight = options->eyeWidth * 2 / 3;
    action = [options] { return Simulate(*options); };
  });
}

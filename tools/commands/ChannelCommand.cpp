#include "tools/commands/ChannelCommand.h"

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <memory>
#include <string>

#include "tools/commands/FiniteRange.h"
#include "tools/common/AtomicFile.h"
#include "tools/linkbench/channel/ChannelResponse.h"
#include "tools/linkbench/channel/Touchstone.h"

namespace {

struct ChannelOptions {
  std::string file;
  std::string ports = "1,2,3,4";
  double bitTime = 1e-10;
  int samplesPerBit = 32;
  size_t fftSize = 0;
  std::string csv;
};

std::string Reference(const TouchstoneNetwork& network) {
  std::string text;
  for (size_t i = 0; i < network.reference.size(); ++i) {
    const std::complex<double> r = network.reference[i];
    char value[64];
    if (r.imag() != 0.0) {
      std::snprintf(value, sizeof value, "%.6g%+.6gj", r.real(), r.imag());
    } else {
      std::snprintf(value, sizeof value, "%.6g", r.real());
    }
    if (i > 0 && r == network.reference[i - 1]) continue;
    text += (text.empty() ? "" : " ") + std::string(value);
  }
  return text + " ohm";
}

// The response as CSV into `file` (open), whole or not at all.
bool WriteCsv(AtomicFile& file, const ChannelResponse& channel, std::string& error) {
  std::string text = "time_s,impulse,step\n";
  const std::vector<double>& h = channel.Impulse();
  const std::vector<double> step = channel.Step();
  for (size_t i = 0; i < h.size(); ++i) {
    char line[96];
    const int n =
        std::snprintf(line, sizeof line, "%.9e,%.9e,%.9e\n", static_cast<double>(i) * channel.Dt(), h[i], step[i]);
    text.append(line, static_cast<size_t>(std::clamp(n, 0, static_cast<int>(sizeof line) - 1)));
    if (text.size() >= 65536 || i + 1 == h.size()) {
      if (!file.Write(text.data(), text.size(), error)) return false;
      text.clear();
    }
  }
  if (!text.empty() && !file.Write(text.data(), text.size(), error)) return false;
  return file.Commit(error);
}

// What the file holds, as read.
void PrintNetwork(const std::string& file, const TouchstoneNetwork& network) {
  std::printf("file        %s\n", file.c_str());
  std::printf("read        Touchstone %s, %d ports, %zu frequencies %s .. %s (%s, S, %s, R %s)\n",
              network.version == 2 ? "2.0" : "1.x", network.ports, network.Points(),
              FormatHertz(network.frequency.front()).c_str(), FormatHertz(network.frequency.back()).c_str(),
              network.frequencyUnit.c_str(), network.format.c_str(), Reference(network).c_str());
  if (network.noiseLines > 0) std::printf("noise       %zu noise parameter lines skipped\n", network.noiseLines);
  for (const std::string& note : network.notes) std::printf("note        %s\n", note.c_str());
}

// The response built from it on the simulation grid.
void PrintResponse(const ChannelOptions& o, const ChannelResponse& channel) {
  const double dt = o.bitTime / o.samplesPerBit;
  const double nyquist = 0.5 / o.bitTime;
  std::printf("through     %s\n", channel.Name().c_str());
  std::printf("grid        dt %.6g ps (%d samples per %.6g ps bit), FFT %zu points (%.6g ns)\n", dt * 1e12,
              o.samplesPerBit, o.bitTime * 1e12, channel.FftSize(), static_cast<double>(channel.FftSize()) * dt * 1e9);
  std::printf("loss        %.3f dB at Nyquist %s%s\n", channel.LossDb(nyquist), FormatHertz(nyquist).c_str(),
              nyquist > channel.LastFrequency() ? " (above the file's last frequency)" : "");
  std::printf("dc gain     %.6f (%.3f dB)\n", channel.DcGain(), 20.0 * std::log10(std::fabs(channel.DcGain())));
  std::printf("delay       %.6g ns (step response at 50 %%)\n", channel.Delay() * 1e9);
  std::printf("causality   energy before t = 0: %.3g of the total (%.1f dB)\n", channel.PreT0Energy(),
              10.0 * std::log10(std::max(channel.PreT0Energy(), 1e-300)));
  std::printf("impulse     %zu samples kept (%.6g ns), summing to %.6f; energy beyond: %.3g\n",
              channel.Impulse().size(), static_cast<double>(channel.Impulse().size()) * dt * 1e9, channel.KeptSum(),
              channel.CutEnergy());
  for (const std::string& note : channel.Notes()) std::printf("note        %s\n", note.c_str());
  if (channel.PreT0Energy() > 1e-3) {
    std::printf("warning     more than 0.1 %% of the energy comes before t = 0: the data are not causal enough\n");
  }
}

int RunChannel(const ChannelOptions& o) {
  std::string error;
  // A file size limit fails the write (and the old file stands) rather than
  // ending the program.
  std::signal(SIGXFSZ, SIG_IGN);
  // The CSV file first, so that a path that cannot take it fails at once.
  AtomicFile csv(o.csv);
  if (!o.csv.empty() && !csv.Open(error)) {
    std::fprintf(stderr, "channel: %s\n", error.c_str());
    return 1;
  }
  TouchstoneNetwork network;
  if (!ReadTouchstoneFile(o.file, network, error, ChannelResponse::FileLimits())) {
    std::fprintf(stderr, "channel: %s\n", error.c_str());
    return 1;
  }
  ChannelResponse::Ports ports;
  if (!ChannelResponse::ParsePorts(o.ports, ports, error)) {
    std::fprintf(stderr, "channel: %s\n", error.c_str());
    return 2;
  }
  PrintNetwork(o.file, network);

  ChannelResponse channel;
  const double dt = o.bitTime / o.samplesPerBit;
  const double nyquist = 0.5 / o.bitTime;
  if (!channel.SetNetwork(network, ports, error) || !channel.Build(dt, error, o.fftSize) ||
      !channel.CheckLossAt(nyquist, error)) {
    std::fprintf(stderr, "channel: %s: %s\n", o.file.c_str(), error.c_str());
    return 1;
  }
  PrintResponse(o, channel);
  if (!o.csv.empty()) {
    if (!WriteCsv(csv, channel, error)) {
      std::fprintf(stderr, "channel: %s\n", error.c_str());
      return 1;
    }
    std::printf("wrote       %s (time, impulse, step)\n", o.csv.c_str());
  }
  return 0;
}

}  // namespace

void AddChannelCommand(CLI::App& app, std::function<int()>& action) {
  auto options = std::make_shared<ChannelOptions>();
  CLI::App* cmd = app.add_subcommand("channel", "Read a Touchstone channel (.s2p, .s4p) and show its impulse response");
  cmd->add_option("file", options->file,
                  "Touchstone file: a regular file of at most " +
                      std::to_string(TouchstoneLimits::kDefaultMaxBytes >> 20) +
                      " MiB (a directory, FIFO or device is refused)")
      ->required();
  cmd->add_option("--ports", options->ports,
                  "4-port order p-in,p-out,n-in,n-out (1,2,3,4: p 1->2, n 3->4; inputs 1,2 outputs 3,4: 1,3,2,4)")
      ->capture_default_str();
  cmd->add_option("--bit-time", options->bitTime, "Unit interval in seconds (Nyquist = 1 / (2 bit time))")
      ->check(FiniteRange(1e-13, 1e-6))
      ->capture_default_str();
  cmd->add_option("--samples-per-bit", options->samplesPerBit, "Samples per unit interval of the grid")
      ->check(CLI::Range(2, 1024))
      ->capture_default_str();
  cmd->add_option("--fft-size", options->fftSize,
                  "FFT length (even, up to " + std::to_string(ChannelResponse::kMaxFftSize) +
                      "; default: from the file's frequency step and the channel's delay)");
  cmd->add_option("--csv", options->csv,
                  "Write time, impulse and step response to this CSV file (whole or not at all)");
  cmd->footer(
      "The kept impulse response ends where the rest is below 1e-6 of the peak and moves the step response by less "
      "than 1e-4, or where the rest holds less than 1e-12 of the energy, and at most at " +
      std::to_string(ChannelResponse::kMaxKeptSamples) +
      " samples. A channel whose response is not finite, or whose delay and tail (four times the delay) do not fit "
      "in the FFT period, is refused with the reason.");
  cmd->callback([options, &action] { action = [options] { return RunChannel(*options); }; });
}

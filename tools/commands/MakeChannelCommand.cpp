#include "tools/commands/MakeChannelCommand.h"

#include <cmath>
#include <csignal>
#include <cstdio>
#include <memory>
#include <string>

#include "tools/commands/FiniteRange.h"
#include "tools/common/AtomicFile.h"
#include "tools/linkbench/channel/ChannelResponse.h"
#include "tools/linkbench/channel/LossyLine.h"

namespace {

struct MakeChannelOptions {
  std::string out;
  double lossDb = 15.0;
  double bitTime = 1e-10;
  double step = 20e6;
  double last = 30e9;
};

int RunMakeChannel(const MakeChannelOptions& o) {
  LossyLine line;
  const double nyquist = 0.5 / o.bitTime;
  line.length = line.LengthForLoss(o.lossDb, nyquist);
  char header[300];
  std::snprintf(header, sizeof header,
                "tessalune make-channel --loss %g --bit-time %g --step %g --last %g\n"
                "SDD21 loses %g dB at %s, the Nyquist frequency of %g Gb/s.",
                o.lossDb, o.bitTime, o.step, o.last, o.lossDb, FormatHertz(nyquist).c_str(), 1e-9 / o.bitTime);
  const std::string text = line.Touchstone(LossyLine::Frequencies(o.step, o.last), header);
  // Whole or not at all: a full disk (or a file size limit, which fails the
  // write rather than ending the program) leaves the old file as it was.
  std::signal(SIGXFSZ, SIG_IGN);
  AtomicFile out(o.out);
  std::string error;
  if (!out.Open(error) || !out.Write(text.data(), text.size(), error) || !out.Commit(error)) {
    std::fprintf(stderr, "make-channel: %s\n", error.c_str());
    return 1;
  }
  const double delay = line.length * std::sqrt(line.permittivity) / 299792458.0;
  std::printf("wrote       %s\n", o.out.c_str());
  std::printf("line        %.6f m lossy stripline pair, %.6g ohm differential\n", line.length, 2.0 * line.oddImpedance);
  std::printf("loss        %.3f dB SDD21 at %s\n", line.LossDb(nyquist), FormatHertz(nyquist).c_str());
  std::printf("dc gain     %.6f (%.3f dB)\n", line.DcGain(), 20.0 * std::log10(line.DcGain()));
  std::printf("delay       %.6g ns (length x sqrt(epsR) / c)\n", delay * 1e9);
  return 0;
}

}  // namespace

void AddMakeChannelCommand(CLI::App& app, std::function<int()>& action) {
  auto options = std::make_shared<MakeChannelOptions>();
  CLI::App* cmd = app.add_subcommand("make-channel", "Write the .s4p of a lossy differential line with a given loss");
  cmd->add_option("out", options->out, "Touchstone file to write (.s4p)")->required();
  cmd->add_option("--loss", options->lossDb, "SDD21 loss in dB at the Nyquist frequency")
      ->check(FiniteRange(0.1, 100.0))
      ->capture_default_str();
  cmd->add_option("--bit-time", options->bitTime, "Unit interval in seconds (Nyquist = 1 / (2 bit time))")
      ->check(FiniteRange(1e-12, 1e-6))
      ->capture_default_str();
  cmd->add_option("--step", options->step,
                  "Frequency step in Hz (points: 0, every step / 20 up to step, then every step)")
      ->check(FiniteRange(1e3, 1e10))
      ->capture_default_str();
  cmd->add_option("--last", options->last, "Last frequency in Hz")
      ->check(FiniteRange(1e6, 1e12))
      ->capture_default_str();
  cmd->callback([options, &action] {
    if (options->last / options->step > 200000) throw CLI::ValidationError("--last / --step", "over 200000 points");
    action = [options] { return RunMakeChannel(*options); };
  });
}

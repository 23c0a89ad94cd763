// The host as a link bench, end to end: a Touchstone channel in the stream,
// noise and jitter turned into BER figures and pictures, and the sweep's
// best emphasis for a channel.
#include "tests/TestFolder.h"
#include "tests/tools/CliRun.h"
#include "tests/tools/SimCliHelpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <regex>
#include <sstream>
#include <vector>

namespace {

const std::string kExample = std::string("'") + TESSALUNE_SOURCE_DIR + "/examples/lossy_line_15dB.s4p'";

// A 2-port that delays by 1 ns (10 UI, 320 samples of the default grid) and
// halves, with a Gaussian roll-off that smooths the stand-in's sharp edges
// without ringing (11 ps RMS, settled to a few parts per million half a UI
// from an edge): S21 = 0.5 exp(-(f / 20 GHz)^2) exp(-j 2 pi f 1 ns), from DC
// to 60 GHz.
std::string DelayAndHalf() {
  std::ostringstream s;
  s << "! a delay of 1 ns with a gain of 1/2\n# GHz S RI R 50\n";
  for (int i = 0; i <= 600; ++i) {
    const double f = 0.1 * i, phase = -2 * M_PI * f * 1.0, gain = 0.5 * std::exp(-(f / 20) * (f / 20));
    char line[200];
    std::snprintf(line, sizeof line, "%.1f 0 0 %.17g %.17g %.17g %.17g 0 0\n", f, gain * std::cos(phase),
                  gain * std::sin(phase), gain * std::cos(phase), gain * std::sin(phase));
    s << line;
  }
  return s.str();
}

// The BER figures of a report: target -> height in mV.
std::map<std::string, double> BerHeights(const std::string& report) {
  std::map<std::string, double> heights;
  std::regex line(R"(BER         (1e-\d+): height ([0-9.]+) mV)");
  for (auto it = std::sregex_iterator(report.begin(), report.end(), line); it != std::sregex_iterator(); ++it)
    heights[(*it)[1]] = std::stod((*it)[2]);
  return heights;
}

// The "best emphasis" table of a sweep: "Vreg corner" -> emphasis level.
std::map<std::string, int> BestEmphasis(const std::string& report) {
  std::map<std::string, int> best;
  const size_t table = report.find("best emphasis at BER");
  if (table == std::string::npos) return best;
  const std::string rest = report.substr(table);
  std::regex row(R"(\n\s+(\d)\s+(\d)\s+(\d)\s+[0-9.]+\s+[0-9.]+\s+[0-9.]+(?=\n))");
  for (auto it = std::sregex_iterator(rest.begin(), rest.end(), row); it != std::sregex_iterator(); ++it)
    best[(*it)[1].str() + " " + (*it)[2].str()] = std::stoi((*it)[3]);
  return best;
}

}  // namespace

// Through a channel that delays and halves (and smooths the edges), the eye
// is the same eye at half the voltage, 320 samples later; with half the noise the BER figures
// are those of the direct eye, halved. The waveform shows the channel's
// output sample by sample up to the run's last sample.
TEST(LinkBenchCli, AChannelOfDelayAndGainGivesTheSameEyeScaled) {
  TestFolder folder;
  const std::string file = folder.Write("delay.s2p", DelayAndHalf());
  const std::string csv = (folder.path / "wave.csv").string();
  CliResult direct = RunCli(FakeSim("--bits 2000 --noise 60"), true);
  CliResult through = RunCli(FakeSim("--bits 2000 --noise 30 --channel '" + file + "' --wave '" + csv + "'"), true);
  ASSERT_EQ(direct.status, 0) << direct.output;
  ASSERT_EQ(through.status, 0) << through.output;
  EXPECT_NE(through.output.find("channel     " + file + ": S21, 6.56 dB at Nyquist 5 GHz, delay 1 ns (10.0 UI)"),
            std::string::npos)
      << through.output;
  const std::string latency = R"(latency [0-9.]+ ps \((\d+) samples\))";
  EXPECT_EQ(Number(through.output, latency), Number(direct.output, latency) + 320);
  EXPECT_NEAR(Number(through.output, R"(eye         height ([0-9.]+) mV)"), 500.0, 5.0) << through.output;
  const auto a = BerHeights(direct.output), b = BerHeights(through.output);
  ASSERT_EQ(a.size(), 3u) << direct.output;
  ASSERT_EQ(b.size(), 3u) << through.output;
  for (const auto& [target, height] : a) EXPECT_NEAR(b.at(target), height / 2, 0.01 * height) << target;

  std::istringstream lines(Read(csv));
  std::string line;
  std::getline(lines, line);
  std::vector<double> stimulus, output;
  double t, s, o;
  while (std::getline(lines, line) && std::sscanf(line.c_str(), "%lf,%lf,%lf", &t, &s, &o) == 3) {
    stimulus.push_back(s);
    output.push_back(o);
  }
  ASSERT_EQ(output.size(), 64000u);
  // The middle of every bit, the last ones too: half the stimulus 325
  // samples (the stand-in's 5 and the channel's 320) before.
  for (size_t i = 336; i < output.size(); i += 32) ASSERT_NEAR(output[i], 0.5 * stimulus[i - 325], 2e-3) << i;
}

// The BER lines, the time split and the new pictures appear only when asked
// for; more noise closes the eye; without noise or jitter the figures are the
// pattern's own eye and the report says so.
TEST(LinkBenchCli, NoiseJitterAndBathtubOnlyWhenAskedFor) {
  TestFolder folder;
  CliResult plain = RunCli(FakeSim("--bits 500"));
  ASSERT_EQ(plain.status, 0);
  for (const char* label : {"\nBER ", "\nnoise ", "\ntime ", "\nchannel ", "\ndecision "})
    EXPECT_EQ(plain.output.find(label), std::string::npos) << label;
  const std::string bathtub = (folder.path / "bathtub.png").string(), eye = (folder.path / "eye.png").string();
  CliResult noisy = RunCli(FakeSim("--bits 3000 --noise 60 --rj 1 --bathtub '" + bathtub + "' --eye '" + eye + "'"));
  ASSERT_EQ(noisy.status, 0) << noisy.output;
  EXPECT_NE(noisy.output.find(
                "noise       60 mV RMS at the receiver input (flat from DC to the bit rate); random jitter 1 ps RMS"),
            std::string::npos);
  EXPECT_NE(noisy.output.find("bathtub     " + bathtub), std::string::npos) << noisy.output;
  EXPECT_NE(noisy.output.find("\ntime        model "), std::string::npos);
  EXPECT_EQ(Read(bathtub).substr(1, 3), "PNG");
  EXPECT_EQ(Read(eye).substr(1, 3), "PNG");
  CliResult noisier = RunCli(FakeSim("--bits 3000 --noise 90 --rj 1"));
  const auto a = BerHeights(noisy.output), b = BerHeights(noisier.output);
  ASSERT_EQ(a.size(), 3u) << noisy.output;
  EXPECT_LT(b.at("1e-6"), a.at("1e-6"));
  EXPECT_EQ(b.count("1e-12"), 0u);  // closed: Q(0.5 / 0.09) is above 1e-12
  EXPECT_NE(noisier.output.find("BER         1e-12: closed"), std::string::npos) << noisier.output;
  CliResult pattern = RunCli(FakeSim("--bits 500 --bathtub '" + bathtub + "'"));
  ASSERT_EQ(pattern.status, 0) << pattern.output;
  EXPECT_NE(pattern.output.find("no noise or jitter: the simulated pattern's own eye"), std::string::npos);
  const auto c = BerHeights(pattern.output);
  ASSERT_EQ(c.size(), 3u);
  EXPECT_EQ(c.at("1e-6"), c.at("1e-12"));
}

TEST(LinkBenchCli, ChannelNoiseAndJitterOptionsAreChecked) {
  TestFolder folder;
  const std::string file = folder.Write("delay.s2p", DelayAndHalf());
  const std::string bad = folder.Write("bad.s2p", "# GHz S RI R 50\n1 0 0 0.5 0 0.5 0 0\n2 0 0 x 0 0.5 0 0 0\n");
  for (const std::string& args : std::vector<std::string>{"--channel '" + file + "' --channel-loss 10",
                                                          "--channel '" + file + "' --ports 1,2,2,4", "--noise nan",
                                                          "--rj nan", "--noise -1", "--rj inf", "--rj 30"}) {
    CliResult sim = RunCli(FakeSim("--bits 100 " + args), true);
    EXPECT_EQ(sim.status, 2) << args << "\n" << sim.output;
    EXPECT_EQ(sim.output.find("message"), std::string::npos) << args;
  }
  EXPECT_EQ(RunCli("sweep --bits 100 --noise nan").status, 2);
  EXPECT_EQ(RunCli("sweep --bits 100 --ber 2").status, 2);
  CliResult missing = RunCli(FakeSim("--bits 100 --channel '" + folder.path.string() + "/none.s4p'"), true);
  EXPECT_EQ(missing.status, 1);
  CliResult unreadable = RunCli(FakeSim("--bits 100 --channel '" + bad + "'"), true);
  EXPECT_EQ(unreadable.status, 1);
  EXPECT_NE(unreadable.output.find(bad + ":3:"), std::string::npos) << unreadable.output;
}

// Every run of a sweep failing AMI_Init with one message: the message once.
TEST(LinkBenchCli, SweepPrintsTheModelsMessageOnceWhenAllRunsShareIt) {
  TestFolder folder;
  const std::string ami =
      folder.Write("fail.ami",
                   "(fake\n  (Reserved_Parameters\n    (GetWave_Exists (Usage Info) (Type Boolean) (Default True)"
                   " (Description \"yes\")))\n  (Model_Specific\n"
                   "    (mode (Usage In) (Type Integer) (Format List 0 1 2) (Default 1) (Description \"behaviour\"))\n"
                   "    (emphasis (Usage In) (Type Integer) (Format Range 0 0 1) (Default 0) (Description \"e\"))\n"
                   "    (Vreg (Usage In) (Type Integer) (Format Range 0 0 1) (Default 0) (Description \"v\"))\n"
                   "    (corner (Usage In) (Type Integer) (Format Range 0 0 1) (Default 0) (Description \"c\"))))\n");
  CliResult r = RunCli("sweep --model '" FAKE_AMI_MODEL "' --ami '" + ami + "' --bits 100", true);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.output.find("       0     0       0   AMI_Init reported failure (the model's message is below)"),
            std::string::npos)
      << r.output;
  EXPECT_NE(r.output.find("model message (every run that failed): fake: init failed on purpose"), std::string::npos);
}

#ifdef TESSALUNE_MODEL_BUILT

// A bit time the model refuses: each row points at the model's sentence,
// and each different sentence is printed once.
TEST(LinkBenchCli, SweepPrintsTheModelsMessagesWhenAmiInitFails) {
  CliResult r = RunCli("sweep --bit-time 2e-9 --bits 100", true);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.output.find("       0     0       0   AMI_Init reported failure (model message 1 below)"),
            std::string::npos)
      << r.output;
  const size_t first = r.output.find("model message 1: The IBIS-AMI model, tessalune_tx, cannot use the sample");
  EXPECT_NE(first, std::string::npos) << r.output;
  EXPECT_EQ(r.output.find("model message 1:", first + 1), std::string::npos);
}

// Behind the example line (15 dB at 5 GHz) the sweep names an emphasis level
// for every response, a low one (the responses have de-emphasis of their
// own); behind a 25 dB line of the same kind the best level is higher.
TEST(LinkBenchCli, SweepNamesTheBestEmphasisForAChannel) {
  TestFolder folder;
  const std::string grid = (folder.path / "grid.png").string();
  CliResult r = RunCli("sweep --bits 1000 --channel " + kExample + " --grid '" + grid + "'");
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_NE(r.output.find("best emphasis at BER 1e-12 per Vreg and corner"), std::string::npos) << r.output;
  const auto best = BestEmphasis(r.output);
  ASSERT_EQ(best.size(), 9u) << r.output;
  for (const auto& [response, level] : best) EXPECT_LE(level, 2) << response;
  EXPECT_EQ(Read(grid).substr(1, 3), "PNG");

  const std::string lossier = (folder.path / "line25.s4p").string();
  ASSERT_EQ(RunCli("make-channel '" + lossier + "' --loss 25").status, 0);
  CliResult more = RunCli("sweep --bits 1000 --channel '" + lossier + "'");
  ASSERT_EQ(more.status, 0) << more.output;
  const auto moreBest = BestEmphasis(more.output);
  ASSERT_EQ(moreBest.size(), 9u) << more.output;
  EXPECT_GE(moreBest.at("2 2"), 3);
  for (const auto& [response, level] : moreBest) EXPECT_GT(level, best.at(response)) << response;
}

#endif

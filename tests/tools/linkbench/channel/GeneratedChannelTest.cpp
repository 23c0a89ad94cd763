// The channel the project generates from a physical model of a lossy
// differential line (examples/lossy_line_15dB.s4p, written by `tessalune
// make-channel`), checked against the textbook formulas of a line:
// attenuation alpha = Rskin sqrt(f / 1 GHz) / (2 Z0) + pi f sqrt(epsR)
// tanDelta / c per metre, delay length sqrt(eps'(f)) / c, DC gain
// 2 Zr / (2 Zr + Rdc length).
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/TestFolder.h"
#include "tests/tools/CliRun.h"
#include "tools/linkbench/channel/ChannelResponse.h"
#include "tools/linkbench/channel/LossyLine.h"
#include "tools/linkbench/channel/Touchstone.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kLight = 299792458.0;
const std::string kExample = std::string(TESSALUNE_SOURCE_DIR) + "/examples/lossy_line_15dB.s4p";
constexpr double kNyquist = 5e9;  // 10 Gb/s

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

const TouchstoneNetwork& Example() {
  static const TouchstoneNetwork network = [] {
    TouchstoneNetwork n;
    std::string error;
    EXPECT_TRUE(ReadTouchstoneFile(kExample, n, error)) << error;
    return n;
  }();
  return network;
}

// The index of frequency F in the file.
size_t At(const TouchstoneNetwork& n, double f) {
  size_t k = 0;
  while (k + 1 < n.Points() && n.frequency[k + 1] <= f * (1 + 1e-12)) ++k;
  EXPECT_NEAR(n.frequency[k], f, 1e-3);
  return k;
}

std::complex<double> Sdd21(const TouchstoneNetwork& n, size_t k) {
  return 0.5 * (n.S(k, 2, 1) - n.S(k, 2, 3) - n.S(k, 4, 1) + n.S(k, 4, 3));
}

// The line the example was generated from: the model's parameters, its
// length solved for 15 dB at 5 GHz.
LossyLine Line() {
  LossyLine line;
  line.length = line.LengthForLoss(15.0, kNyquist);
  return line;
}

}  // namespace

TEST(GeneratedChannel, TheExampleIsWhatTheGeneratorWrites) {
  TestFolder folder("generated_channel");
  const std::string path = (folder.path / "line.s4p").string();
  const CliResult run = RunCli("make-channel '" + path + "' --loss 15 --bit-time 1e-10");
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_NE(run.output.find("loss        15.000 dB SDD21 at 5 GHz"), std::string::npos) << run.output;
  EXPECT_EQ(Slurp(path), Slurp(kExample)) << "regenerate with: tessalune make-channel examples/lossy_line_15dB.s4p";
  char length[64];
  std::snprintf(length, sizeof length, "! length %.6f m,", Line().length);
  EXPECT_NE(Slurp(kExample).find(length), std::string::npos) << length;
}

TEST(GeneratedChannel, LossDelayAndDcGainFollowTheLineFormulas) {
  const TouchstoneNetwork& n = Example();
  ASSERT_EQ(n.ports, 4);
  ASSERT_EQ(n.Points(), 1520u);  // DC, 1 .. 19 MHz, 20 MHz .. 30 GHz
  const LossyLine line = Line();
  EXPECT_EQ(n.frequency[0], 0.0);
  EXPECT_NEAR(n.frequency[1], 1e6, 1e-6);
  const double step = 20e6;

  // The stated loss at Nyquist, read straight from the file.
  const size_t nyquist = At(n, kNyquist);
  EXPECT_NEAR(-20.0 * std::log10(std::abs(Sdd21(n, nyquist))), 15.0, 1e-6);

  // DC gain: a series resistance between the ports.
  const double dcGain = 2.0 * 50.0 / (2.0 * 50.0 + line.dcResistance * line.length);
  EXPECT_NEAR(Sdd21(n, 0).real(), dcGain, 1e-8);
  EXPECT_NEAR(Sdd21(n, 0).imag(), 0.0, 1e-12);

  // Loss against the low-loss line's attenuation with the skin effect's
  // resistance, and delay against the time of flight at the permittivity
  // of each frequency (group delay from the phase around it).
  for (double f : {1e9, 2.5e9, 5e9, 10e9, 20e9}) {
    const size_t k = At(n, f);
    const double skin = line.skinResistance * std::sqrt(f / 1e9);
    const double alpha =
        skin / (2.0 * line.oddImpedance) + kPi * f * std::sqrt(line.permittivity) * line.lossTangent / kLight;
    const double flight = line.length * std::sqrt(line.Permittivity(f).real()) / kLight;
    const double formulaDb = 20.0 / std::log(10.0) * alpha * line.length;
    const double lossDb = -20.0 * std::log10(std::abs(Sdd21(n, k)));
    EXPECT_NEAR(lossDb, formulaDb, 0.02 * formulaDb) << f;
    const double phaseStep = std::arg(Sdd21(n, k + 1) / Sdd21(n, k - 1));
    const double groupDelay = -phaseStep / (2.0 * kPi * 2.0 * step);
    EXPECT_NEAR(groupDelay, flight, 0.015 * flight) << f;
    std::printf("%5.1f GHz: loss %7.3f dB (formula %7.3f), group delay %.4f ns (flight %.4f ns)\n", f / 1e9, lossDb,
                formulaDb, groupDelay * 1e9, flight * 1e9);
  }

  // A passive, reciprocal, symmetric pair.
  for (size_t k = 0; k < n.Points(); k += 50) {
    for (int j = 1; j <= 4; ++j) {
      double power = 0.0;
      for (int i = 1; i <= 4; ++i) {
        power += std::norm(n.S(k, i, j));
        EXPECT_LT(std::abs(n.S(k, i, j) - n.S(k, j, i)), 1e-8);
      }
      EXPECT_LE(power, 1.0 + 1e-8);
    }
    EXPECT_LT(std::abs(n.S(k, 2, 1) - n.S(k, 4, 3)), 1e-8);
  }
}

TEST(GeneratedChannel, ItsImpulseResponseKeepsTheFiguresAndIsCausal) {
  const LossyLine line = Line();
  const double dt = 1e-10 / 32;
  ChannelResponse channel;
  std::string error;
  ASSERT_TRUE(channel.SetNetwork(Example(), ChannelResponse::Ports(), error)) << error;
  ASSERT_TRUE(channel.Build(dt, error)) << error;
  EXPECT_NEAR(channel.LossDb(kNyquist), 15.0, 1e-6);
  EXPECT_NEAR(channel.DcGain(), line.DcGain(), 1e-8);
  const std::vector<double> step = channel.Step();
  EXPECT_NEAR(step.back(), line.DcGain(), 5e-4);  // what the kept response leaves out
  const double flight = line.length * std::sqrt(line.permittivity) / 299792458.0;
  EXPECT_GT(channel.Delay(), flight);
  EXPECT_LT(channel.Delay(), 1.05 * flight);
  EXPECT_LT(channel.PreT0Energy(), 1e-5);
  std::printf("dc gain %.6f (formula %.6f), delay %.4f ns (flight %.4f ns), before t = 0 %.3g, %zu taps\n",
              channel.DcGain(), line.DcGain(), channel.Delay() * 1e9, flight * 1e9, channel.PreT0Energy(),
              channel.Impulse().size());

  // Without its DC point the gain is extrapolated, as for a measured file.
  TouchstoneNetwork measured = Example();
  measured.frequency.erase(measured.frequency.begin(), measured.frequency.begin() + 20);
  measured.s.erase(measured.s.begin(), measured.s.begin() + 20 * 16);
  ASSERT_EQ(measured.frequency[0], 20e6);
  ASSERT_TRUE(channel.SetNetwork(measured, ChannelResponse::Ports(), error)) << error;
  ASSERT_TRUE(channel.Build(dt, error)) << error;
  // The skin effect is already at work at 20 MHz, which hides the DC
  // resistance: the fit lands within 2 %.
  EXPECT_NEAR(channel.DcGain(), line.DcGain(), 0.02 * line.DcGain());
  std::printf("extrapolated from 20 MHz: dc gain %.6f\n", channel.DcGain());
}

// `tessalune sim --rx`: the options, and the receiver run through the host
// against the same receiver played by hand in the small C host
// (tests/rxami/RxDlopenHost.c).
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

#include "tests/TestFolder.h"
#include "tests/tools/CliRun.h"
#include "tests/tools/SimCliHelpers.h"

namespace {

// A gain model's .ami file: a transmitter (or receiver) that scales by `gain`.
const char* kGainAmi =
    "(flowgain\n (Reserved_Parameters\n  (Init_Returns_Impulse (Usage Info) (Type Boolean) (Value False))\n"
    "  (GetWave_Exists (Usage Info) (Type Boolean) (Value True)))\n"
    " (Model_Specific\n  (gain (Usage In) (Type Float) (Range 1 0 10))))\n";

std::string GainSim(const TestFolder& folder, const std::string& args) {
  const std::string ami = folder.Write("gain.ami", kGainAmi);
  return "sim --model '" FLOW_GAIN_GETWAVE "' --ami '" + ami + "' " + args;
}

}  // namespace

TEST(RxSimCli, TheReceiverNeedsItsAmiFileAndKnownParameters) {
  const TestFolder folder;
  const std::string ami = folder.Write("rx.ami", kGainAmi);
  CliResult r = RunCli(GainSim(folder, "--bits 200 --rx '" FLOW_GAIN_GETWAVE "'"), true);
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.output.find("tessalune sim: --rx needs --rx-ami, the receiver's .ami file"), std::string::npos)
      << r.output;
  r = RunCli(GainSim(folder, "--bits 200 --rx '" FLOW_GAIN_GETWAVE "' --rx-ami '" + ami + "' --rx-param peak=3"), true);
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.output.find("unknown parameter 'peak' (the model takes: gain)"), std::string::npos) << r.output;
  r = RunCli(GainSim(folder, "--bits 200 --rx-ami '" + ami + "'"), true);
  EXPECT_NE(r.status, 0);  // --rx-ami without --rx
}

TEST(RxSimCli, TheRunNamesItsFlowAndTheReceiversGainShowsInTheEye) {
  const TestFolder folder;
  const std::string ami = folder.Write("rx.ami", kGainAmi);
  const CliResult r =
      RunCli(GainSim(folder, "--bits 500 --rx '" FLOW_GAIN_GETWAVE "' --rx-ami '" + ami + "' --rx-param gain=2"), true);
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_NE(r.output.find("receiver    " FLOW_GAIN_GETWAVE), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("rx params   (flowgain (gain 2))"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("flow        Tx GetWave, Rx GetWave: Tx GetWave -> channel -> Rx GetWave"), std::string::npos)
      << r.output;
  EXPECT_NEAR(Number(r.output, R"(eye +height ([0-9.]+) mV)"), 2000.0, 1e-6) << r.output;
  EXPECT_NE(r.output.find("sampling    best phase"), std::string::npos) << r.output;  // no clock times
}

#ifdef RX_DLOPEN_HOST
// The C host plays the flow by hand: a one-pole line of one UI time
// constant, PRBS7 straight into it, the receiver's GetWave in blocks of
// 1,024, the wave sampled half a UI after each clock time. `sim` with a
// unit-gain transmitter and the RC channel of the same pole (its loss at 5
// GHz) must report the same eye and clock.
TEST(RxSimCli, TheHostAgreesWithTheCHostThatPlaysTheFlowByHand) {
  const TestFolder folder;
  const CliResult c = [] {
    CliResult r;
    FILE* pipe = popen("'" RX_DLOPEN_HOST "'", "r");
    if (!pipe) return r;
    char chunk[4096];
    size_t n = 0;
    while ((n = fread(chunk, 1, sizeof chunk, pipe)) > 0) r.output.append(chunk, n);
    r.status = pclose(pipe) == 0 ? 0 : 1;
    return r;
  }();
  ASSERT_EQ(c.status, 0) << c.output;
  const CliResult r = RunCli(GainSim(folder, "--bits 4000 --channel-loss 10.358649060710597 --rx '" TESSALUNE_RX_LIBRARY
                                             "' --rx-ami '" TESSALUNE_SOURCE_DIR "/ibis/tessalune_rx.ami'"),
                             true);
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_NEAR(Number(r.output, R"(eye +height ([0-9.]+) mV)"), 1e3 * Number(c.output, R"(figures: height ([0-9.]+) V)"),
              0.06)
      << r.output << c.output;
  EXPECT_NEAR(Number(r.output, R"(mean phase ([0-9.]+) ps)"), Number(c.output, R"(clock mean phase ([0-9.]+) ps)"),
              0.01)
      << r.output << c.output;
  EXPECT_NEAR(Number(r.output, R"(jitter ([0-9.]+) ps RMS)"), Number(c.output, R"(jitter ([0-9.]+) ps RMS)"), 0.002)
      << r.output << c.output;
}

// The receiver's blocks follow the channel's latency, not --block's cut of
// the stimulus: how the host cuts the stream changes nothing it reports.
TEST(RxSimCli, TheBlockSizeDoesNotChangeTheReceiversFigures) {
  const TestFolder folder;
  auto figures = [&](const std::string& block) {
    const CliResult r = RunCli(GainSim(folder, "--bits 4000 --channel-loss 10 --noise 5 --block " + block +
                                                   " --rx '" TESSALUNE_RX_LIBRARY "' --rx-ami '" TESSALUNE_SOURCE_DIR
                                                   "/ibis/tessalune_rx.ami'"),
                               true);
    EXPECT_EQ(r.status, 0) << r.output;
    std::string kept;
    std::istringstream lines(r.output);
    for (std::string line; std::getline(lines, line);)
      if (line.rfind("eye ", 0) == 0 || line.rfind("sampling ", 0) == 0 || line.rfind("BER ", 0) == 0 ||
          line.rfind("rx out ", 0) == 0)
        kept += line + "\n";
    return kept;
  };
  const std::string reference = figures("1024");
  EXPECT_NE(reference.find("at the receiver's clock times"), std::string::npos) << reference;
  EXPECT_EQ(figures("333"), reference);
  EXPECT_EQ(figures("200000"), reference);
}

// The noise at the decision point is the input's through the CTLE over DC to
// the bit rate: the analogue response's mean power there, whatever the grid.
TEST(RxSimCli, TheDecisionPointsNoiseIsTheCtlesOverTheBandWhateverTheGrid) {
  const TestFolder folder;
  // (1 + s/wz) / (1 + s/wp)^2 with 12 dB of peaking at fp = 5 GHz (half the
  // bit rate), its power averaged over 0 .. 10 GHz by Simpson's rule.
  const double fp = 5e9, fz = fp / std::sqrt(4 * std::pow(10.0, 1.2) - 1);
  const int n = 20000;
  double sum = 0;
  for (int i = 0; i <= n; ++i) {
    const double f = 10e9 * i / n, h2 = (1 + f * f / (fz * fz)) / std::pow(1 + f * f / (fp * fp), 2);
    sum += (i == 0 || i == n ? 1 : i % 2 ? 4 : 2) * h2;
  }
  const double expected = 10.0 * std::sqrt(sum / (3.0 * n));
  double figures[2] = {0, 0};
  for (int i = 0; i < 2; ++i) {
    const CliResult r = RunCli(
        GainSim(folder, "--bits 2500 --channel-loss 10 --noise 10 --samples-per-bit " + std::string(i ? "64" : "16") +
                            " --rx '" TESSALUNE_RX_LIBRARY "' --rx-ami '" TESSALUNE_SOURCE_DIR
                            "/ibis/tessalune_rx.ami' --rx-param ctle_peaking=12"),
        true);
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("noise       10 mV RMS at the receiver's input pins (flat from DC to the bit rate), "
                            "carried to its decision point through its AMI_Init response"),
              std::string::npos)
        << r.output;
    figures[i] = Number(r.output, R"(10 mV RMS at the input, ([0-9.]+) mV RMS at the decision point)");
    EXPECT_NEAR(figures[i], expected, 0.01 * expected) << r.output;
  }
  EXPECT_NEAR(figures[0], figures[1], 0.005 * expected);
  // As before input-referred noise: added as given where the BER is read.
  const CliResult at =
      RunCli(GainSim(folder, "--bits 2500 --channel-loss 10 --noise 10 --noise-at decision --rx '" TESSALUNE_RX_LIBRARY
                             "' --rx-ami '" TESSALUNE_SOURCE_DIR "/ibis/tessalune_rx.ami'"),
             true);
  ASSERT_EQ(at.status, 0) << at.output;
  EXPECT_NE(at.output.find("10 mV RMS at the receiver's decision point, after its equalisation (--noise-at decision)"),
            std::string::npos)
      << at.output;
  EXPECT_EQ(at.output.find("RMS at the decision point"), std::string::npos) << at.output;
}
#endif

#ifdef TESSALUNE_MODEL_BUILT
// The receiver's axis: each transmitter setting with each value, the value
// in every row, and the pair with the widest eye at --ber named; with the
// noise at the decision point, the receiver's larger gain wins.
TEST(RxSimCli, SweepAddsTheReceiversAxisAndNamesTheBestPair) {
  const TestFolder folder;
  const std::string ami = folder.Write("rx.ami", kGainAmi);
  const std::string rx = "--rx '" FLOW_GAIN_GETWAVE "' --rx-ami '" + ami + "'";
  CliResult r = RunCli("sweep --bits 300 --noise 20 --jobs 2 " + rx + " --rx-sweep gain=1,3", true);
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_NE(r.output.find("126 runs"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("rx sweep    gain over 1, 3 (innermost)"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("emphasis  Vreg  corner   rx value"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("over the 18 responses and gain values"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("best pair at BER 1e-12: emphasis 0, Vreg 2, corner 2 with gain 3"), std::string::npos)
      << r.output;
  // Its AMI_Init returns no impulse response: the noise stays output-referred.
  EXPECT_NE(r.output.find("noise       20 mV RMS at the receiver's decision point, after its equalisation: its "
                          "AMI_Init returns no impulse response to carry input noise through (output-referred)"),
            std::string::npos)
      << r.output;
  r = RunCli("sweep --bits 300 --noise 20 --noise-at somewhere " + rx, true);
  EXPECT_EQ(r.status, 2) << r.output;
  r = RunCli("sweep --bits 300 " + rx + " --rx-sweep peak=1", true);
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.output.find("--rx-sweep: the receiver has no input parameter 'peak'"), std::string::npos) << r.output;
  r = RunCli("sweep --bits 300 --rx-sweep gain=1", true);
  EXPECT_NE(r.output.find("--rx-sweep needs --rx and --rx-ami"), std::string::npos) << r.output;
  r = RunCli("sweep --bits 300 " + rx + " --rx-sweep gain", true);
  EXPECT_NE(r.output.find("--rx-sweep 'gain' is not NAME=V1,V2,..."), std::string::npos) << r.output;
}
#endif

// `sim` and `sweep` with a model that misbehaves as a third party's might
// (tests/tools/host/MisbehavingModel.cpp): samples that are no numbers, clock
// times far outside their block, and the like fail the run with a message
// that names the model and the entry point, never figures at exit 0.
#include "tests/TestFolder.h"
#include "tests/tools/CliRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>

namespace {

const char* kAmi =
    "(misbehaving\n (Reserved_Parameters\n  (Init_Returns_Impulse (Usage Info) (Type Boolean) (Value False))\n"
    "  (GetWave_Exists (Usage Info) (Type Boolean) (Value True))RESERVED)\n"
    " (Model_Specific\n  (mode (Usage In) (Type Integer) (Range MODE 0 13))ONLY\n"
    "  (emphasis (Usage In) (Type Integer) (Format List 0 1) (Default 0))\n"
    "  (Vreg (Usage In) (Type Integer) (Format List 0) (Default 0))\n"
    "  (corner (Usage In) (Type Integer) (Format List 0) (Default 0))))\n";
const char* kInitOnlyAmi =
    "(misbehaving\n (Reserved_Parameters\n  (Init_Returns_Impulse (Usage Info) (Type Boolean) (Value True))\n"
    "  (GetWave_Exists (Usage Info) (Type Boolean) (Value False)))\n"
    " (Model_Specific\n  (mode (Usage In) (Type Integer) (Range 0 0 13))))\n";
const char* kGainAmi =
    "(flowgain\n (Reserved_Parameters\n  (Init_Returns_Impulse (Usage Info) (Type Boolean) (Value False))\n"
    "  (GetWave_Exists (Usage Info) (Type Boolean) (Value True)))\n"
    " (Model_Specific\n  (gain (Usage In) (Type Float) (Range 1 0 10))))\n";

struct Misbehaving {
  TestFolder folder;
  std::string ami = Ami(0);
  std::string initOnly = folder.Write("init_only.ami", kInitOnlyAmi);
  std::string gain = folder.Write("gain.ami", kGainAmi);

  // The .ami file whose default mode is `mode` (for sweep, which has no
  // --param), at emphasis `only` alone when it is given, with `reserved`
  // added to its reserved parameters.
  std::string Ami(int mode, int only = -1, const std::string& reserved = "") const {
    std::string text = kAmi;
    text.replace(text.find("MODE"), 4, std::to_string(mode));
    text.replace(
        text.find("ONLY"), 4,
        only < 0 ? "" : "\n  (only_emphasis (Usage In) (Type Integer) (Range " + std::to_string(only) + " 0 6))");
    text.replace(text.find("RESERVED"), 8, reserved);
    static int files = 0;
    return folder.Write("misbehaving" + std::to_string(++files) + ".ami", text);
  }

  // The misbehaving model as the transmitter, in `mode`.
  std::string Tx(const char* command, int mode, const std::string& more = "") const {
    return std::string(command) + " --model '" MISBEHAVING_MODEL "' --ami '" + ami +
           "' --param mode=" + std::to_string(mode) + " --bits 300 " + more;
  }
  // A well-behaved transmitter and the misbehaving model as the receiver.
  std::string Rx(const char* command, int mode, const std::string& more = "") const {
    return std::string(command) + " --model '" FLOW_GAIN_GETWAVE "' --ami '" + gain +
           "' --rx '" MISBEHAVING_MODEL "' --rx-ami '" + ami + "' --rx-param mode=" + std::to_string(mode) +
           " --bits 300 " + more;
  }
};

}  // namespace

TEST(MisbehavingModelCli, SamplesThatAreNoNumbersFailTheRunNamingModelEntryAndSample) {
  const Misbehaving m;
  const std::pair<int, const char*> cases[] = {{1, "sample 100 = nan, not a finite number"},
                                               {2, "sample 100 = inf, not a finite number"},
                                               {3, "sample 100 = 1e+308, beyond the 1e12 any signal stays within"}};
  for (const auto& c : cases) {
    const CliResult r = RunCli(m.Tx("sim", c.first), true);
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_NE(r.output.find(std::string("the model " MISBEHAVING_MODEL ": AMI_GetWave returned ") + c.second),
              std::string::npos)
        << r.output;
    EXPECT_EQ(r.output.find("eye         height"), std::string::npos) << r.output;
  }
  const CliResult rx = RunCli(m.Rx("sim", 1), true);
  EXPECT_EQ(rx.status, 1) << rx.output;
  EXPECT_NE(rx.output.find("the receiver model " MISBEHAVING_MODEL ": AMI_GetWave returned sample"), std::string::npos)
      << rx.output;

  const std::string initOnly =
      "sim --model '" MISBEHAVING_MODEL "' --ami '" + m.initOnly + "' --param mode=4 --bits 300";
  const CliResult init = RunCli(initOnly, true);
  EXPECT_EQ(init.status, 1) << init.output;
  EXPECT_NE(init.output.find("the model " MISBEHAVING_MODEL
                             ": AMI_Init returned impulse response sample 3 = nan, not a finite number"),
            std::string::npos)
      << init.output;
}

// Every run fails: the tables say why and the summary prints no starting
// value of its minimum.
TEST(MisbehavingModelCli, ASweepOfNoNumbersPrintsNoSentinel) {
  const Misbehaving m;
  const CliResult r =
      RunCli("sweep --model '" MISBEHAVING_MODEL "' --ami '" + m.Ami(2) + "' --bits 300 --tables-only", true);
  EXPECT_EQ(r.status, 1) << r.output;
  EXPECT_NE(r.output.find("AMI_GetWave returned sample 100 = inf"), std::string::npos) << r.output;
  EXPECT_EQ(r.output.find("00000000000000000000"), std::string::npos) << r.output;
  EXPECT_EQ(r.output.find(" inf "), std::string::npos) << r.output;
}

// Clock times of 1e300 s (one per block) are refused and counted, as NaN ones are; the eye
// is then read at the best phase, its figures finite.
TEST(MisbehavingModelCli, ClockTimesOutsideTheirBlockAreRefusedAndCounted) {
  const Misbehaving m;
  const CliResult r = RunCli(m.Rx("sim", 11), true);
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_NE(r.output.find("clock       10 of the receiver's clock times refused: not a number, or outside the block"),
            std::string::npos)
      << r.output;
  EXPECT_EQ(r.output.find("nan"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("sampling    best phase"), std::string::npos) << r.output;
}

// A model that crashes, calls exit() or hangs: sim names the model, the
// entry point and how it ended.
TEST(MisbehavingModelCli, SimNamesTheModelThatDiedAndHow) {
  const Misbehaving m;
  const std::string model = "the model " MISBEHAVING_MODEL ", in ";
  const std::pair<int, std::string> cases[] = {
#if !defined(__SANITIZE_ADDRESS__)
    {6, model + "AMI_GetWave, was killed by signal SIGSEGV (Segmentation fault) at address 0x0"},
    {7, model + "AMI_GetWave, called exit(3)"},
#else
    // (The sanitizer may take the fault, or check for leaks at exit and abort.)
    {6, model + "AMI_GetWave, "},
    {7, model + "AMI_GetWave, "},
#endif
    {5, model + "AMI_GetWave, did not return within the time limit of 0.5 s and was stopped"},
    {13, model + "AMI_Init, did not return within the time limit of 0.5 s and was stopped"}
  };
  for (const auto& c : cases) {
    const CliResult r = RunCli(m.Tx("sim", c.first, "--model-timeout 0.5"), true);
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_NE(r.output.find("tessalune sim: " + c.second), std::string::npos) << r.output;
  }
  const CliResult null = RunCli(m.Tx("sim", 8), true);
  EXPECT_EQ(null.status, 1);
  EXPECT_NE(null.output.find("tessalune sim: AMI_Init returned success but left the memory handle null"),
            std::string::npos)
      << null.output;
  EXPECT_EQ(null.output.find("AMI_GetWave reported failure"), std::string::npos) << null.output;
}

namespace {

// The output without what a sanitizer build's runtime prints about the
// model's own fault (the planted null store): its "runtime error" line, its
// stack frames, summary and "==pid==" banners, and all before the table.
std::string WithoutSanitizerReports(const std::string& text) {
  static const std::regex report(R"(: runtime error: |^\s+#\d+ 0x[0-9a-f]+ |^SUMMARY: \w+Sanitizer|^==\d+==)");
  std::string kept;
  size_t at = text.find("emphasis  Vreg");
  if (at == std::string::npos) at = 0;
  while (at < text.size()) {
    const size_t end = std::min(text.find('\n', at), text.size() - 1);
    const std::string line = text.substr(at, end - at + 1);
    if (!std::regex_search(line, report)) kept += line;
    at = end + 1;
  }
  return kept;
}

}  // namespace

// A sweep whose model dies on some points: those fail with the reason, the
// others are measured, every point is recorded and merge goes on. The time
// limit leaves a sound call room on a busy machine under a sanitizer.
TEST(MisbehavingModelCli, ADyingModelCostsItsPointsAlone) {
  const Misbehaving m;
  for (int mode : {5, 6, 7}) {
    const std::string results = (m.folder.path / ("r" + std::to_string(mode) + ".jsonl")).string();
    const std::string sweep = "sweep --model '" MISBEHAVING_MODEL "' --ami '" + m.Ami(mode, 1) +
                              "' --bits 300 --model-timeout 2 --tables-only";
    const CliResult r = RunCli(sweep + " --results '" + results + "'", true);
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_NE(r.output.find("       0     0       0        1000.0"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("       1     0       0   the model " MISBEHAVING_MODEL ", in AMI_GetWave, "),
              std::string::npos)
        << r.output;
    const CliResult merged = RunCli("merge '" + results + "'", true);
    EXPECT_EQ(merged.output, WithoutSanitizerReports(r.output));
  }
}

TEST(MisbehavingModelCli, AShardWhoseRunsAllFailSaysWhy) {
  const Misbehaving m;
  const CliResult r = RunCli("sweep --model '" MISBEHAVING_MODEL "' --ami '" + m.Ami(12) +
                                 "' --bits 300 --shard 0/2 --results '" + (m.folder.path / "r.jsonl").string() + "'",
                             true);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.output.find("tessalune sweep: 1 of the shard's 1 runs failed or gave no eye; the first, point 0: "
                          "AMI_Init reported failure (the model's message: refused \\x1b[2J"),
            std::string::npos)
      << r.output;
}

// What the .ami file says that no flow can follow, or that is read otherwise
// than it says.
TEST(MisbehavingModelCli, ReservedParametersThatLeadNowhereAreSaid) {
  const Misbehaving m;
  const std::string noFlow = m.Ami(0, -1,
                                   "\n  (Init_Returns_Impulse (Usage Info) (Type Boolean) (Value False))"
                                   "\n  (GetWave_Exists (Usage Info) (Type Boolean) (Value False))");
  CliResult r = RunCli("sim --model '" MISBEHAVING_MODEL "' --ami '" + noFlow + "' --bits 300", true);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.output.find("no flow exists for it"), std::string::npos) << r.output;

  const std::string negative = m.Ami(0, -1, "\n  (Ignore_Bits (Usage Info) (Type Integer) (Value -5))");
  r = RunCli("sim --model '" MISBEHAVING_MODEL "' --ami '" + negative + "' --bits 300", true);
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_NE(r.output.find("; note: Ignore_Bits -5 is no count of bits: taken as 0"), std::string::npos) << r.output;

  const std::string many = m.Ami(0, -1, "\n  (Ignore_Bits (Usage Info) (Type Integer) (Value 2000))");
  r = RunCli("sim --model '" FLOW_GAIN_GETWAVE "' --ami '" + m.gain + "' --rx '" MISBEHAVING_MODEL "' --rx-ami '" +
                 many + "' --bits 2000",
             true);
  EXPECT_NE(r.output.find("Ignore_Bits 2000 of the models' .ami files leaves out that many of the run's 2000 bits: "
                          "give --bits 2200 or more"),
            std::string::npos)
      << r.output;
}

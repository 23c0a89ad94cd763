// `tessalune channel` and `tessalune make-channel` as a user runs them.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/TestFolder.h"
#include "tests/tools/CliRun.h"

namespace {

const std::string kExample = std::string("'") + TESSALUNE_SOURCE_DIR + "/examples/lossy_line_15dB.s4p'";

}  // namespace

TEST(ChannelCli, ShowsWhatWasReadAndTheChannelsFigures) {
  TestFolder folder("channel_cli");
  const std::string csv = (folder.path / "h.csv").string();
  const CliResult run = RunCli("channel " + kExample + " --csv '" + csv + "'");
  ASSERT_EQ(run.status, 0) << run.output;
  for (const char* line :
       {"read        Touchstone 1.x, 4 ports, 1520 frequencies 0 Hz .. 30 GHz (GHz, S, RI, R 50 ohm)",
        "through     SDD21 (p 1->2, n 3->4)",
        "grid        dt 3.125 ps (32 samples per 100 ps bit), FFT 640000 points (2000 ns)",
        "loss        15.000 dB at Nyquist 5 GHz", "dc gain     0.965316 (-0.307 dB)", "delay       2.4",
        "causality   energy before t = 0: "}) {
    EXPECT_NE(run.output.find(line), std::string::npos) << line << "\n" << run.output;
  }
  std::ifstream in(csv);
  std::string header, first;
  std::getline(in, header);
  std::getline(in, first);
  EXPECT_EQ(header, "time_s,impulse,step");
  EXPECT_EQ(first.compare(0, 16, "0.000000000e+00,"), 0) << first;

  // Another bit rate moves the Nyquist frequency; another port order says it does not fit.
  const CliResult slow = RunCli("channel " + kExample + " --bit-time 2e-10 --samples-per-bit 8 --ports 1,3,2,4");
  ASSERT_EQ(slow.status, 0) << slow.output;
  EXPECT_NE(slow.output.find("at Nyquist 2.5 GHz"), std::string::npos) << slow.output;
  EXPECT_NE(slow.output.find("try --ports 1,2,3,4"), std::string::npos) << slow.output;
}

TEST(ChannelCli, BadFilesAndPortsEndWithAClearMessage) {
  TestFolder folder("channel_cli");
  const std::string bad = folder.Write("bad.s2p", "# GHz S RI\n1 0 0 0.5 0 0.5 0 0 0\n2 0 0 0.5 0 oops 0 0 0\n");
  CliResult run = RunCli("channel '" + bad + "'", true);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output, "channel: " + bad + ":3: not a number: oops\n");

  const std::string three = folder.Write("t.s3p", "# GHz S RI\n1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0\n");
  run = RunCli("channel '" + three + "'", true);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("a 3-port network cannot be used as a channel"), std::string::npos) << run.output;

  run = RunCli("channel " + kExample + " --ports 1,2,3", true);
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.output.find("--ports needs four different ports"), std::string::npos) << run.output;
  EXPECT_EQ(RunCli("channel '" + (folder.path / "missing.s2p").string() + "'").status, 1);
  EXPECT_EQ(RunCli("make-channel '" + (folder.path / "no/such/dir/x.s4p").string() + "'").status, 1);
}

TEST(ChannelCli, FloatingOptionsRejectNonFiniteValuesAsUsageErrors) {
  TestFolder folder("channel_cli_nan");
  const std::string out = "'" + (folder.path / "line.s4p").string() + "'";
  for (const char* value : {"nan", "inf", "-inf"}) {
    EXPECT_EQ(RunCli("channel " + kExample + " --bit-time " + value).status, 2) << value;
    for (const char* option : {"--loss", "--bit-time", "--step", "--last"})
      EXPECT_EQ(RunCli("make-channel " + out + " " + option + " " + value).status, 2) << option << " " << value;
  }
  EXPECT_FALSE(std::filesystem::exists(folder.path / "line.s4p"));
}

// What is not a file, or not a finite channel, or not one the grid can
// hold, ends with status 1 and the reason, at once.
TEST(ChannelCli, SpecialFilesAndUnusableChannelsAreRefusedWithTheReason) {
  TestFolder folder("channel_cli_special");
  CliResult run = RunCli("channel '" + folder.path.string() + "'", true);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output, "channel: " + folder.path.string() + ": is a directory\n");
  const std::string fifo = (folder.path / "line.s2p").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& path : {fifo, std::string("/dev/zero")}) {
    run = RunCli("channel '" + path + "'", true);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output,
              "channel: " + path + ": not a regular file (a FIFO, a device or a socket): only a file can be read\n");
  }
  const std::string huge =
      folder.Write("huge.s2p", "# GHz S RI\n1 0 0 1e308 0 1e308 0 0 0\n2 0 0 1e308 0 1e308 0 0 0\n");
  run = RunCli("channel '" + huge + "'", true);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("the impulse response is not finite"), std::string::npos) << run.output;
  EXPECT_EQ(run.output.find("dc gain"), std::string::npos) << run.output;
  run = RunCli("channel " + kExample + " --bit-time 1e-13 --samples-per-bit 1024", true);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("the response would wrap around. Use fewer --samples-per-bit or a longer --bit-time"),
            std::string::npos)
      << run.output;
}

// The CSV and the generated channel are written whole or not at all: a full
// disk (a file size limit here) leaves the old file as it was and says why.
TEST(ChannelCli, OutputFilesAreWholeOrNotAtAllAndSayWhy) {
  TestFolder folder("channel_cli_files");
  const std::string csv = folder.Write("h.csv", "old");
  const std::string s4p = folder.Write("line.s4p", "old");
  {
    ScopedLimit limit(RLIMIT_FSIZE, 64 * 1024);
    ASSERT_TRUE(limit.Ok());
    CliResult run = RunCli("channel " + kExample + " --csv '" + csv + "'", true);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("channel: cannot write " + csv + ": File too large"), std::string::npos) << run.output;
    run = RunCli("make-channel '" + s4p + "'", true);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("make-channel: cannot write " + s4p + ": File too large"), std::string::npos)
        << run.output;
  }
  EXPECT_EQ(ReadFile(csv), "old");
  EXPECT_EQ(ReadFile(s4p), "old");
  EXPECT_EQ(folder.Names(), (std::vector<std::string>{"h.csv", "line.s4p"}));
  // A directory as the CSV is refused before the channel is read.
  CliResult run = RunCli("channel " + kExample + " --csv '" + folder.path.string() + "'", true);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output, "channel: cannot write " + folder.path.string() + ": Is a directory\n");
  run = RunCli("make-channel '" + folder.path.string() + "'", true);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output, "make-channel: cannot write " + folder.path.string() + ": Is a directory\n");
}

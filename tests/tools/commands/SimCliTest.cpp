// The simulation host end to end: `tessalune sim` and `tessalune sweep` run
// as a user runs them, against a stand-in model and against the real one.
#include "tests/TestFolder.h"
#include "tests/tools/CliRun.h"
#include "tests/tools/SimCliHelpers.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>

TEST(SimCli, APassThroughModelGivesTheStimulusEyeAndItsLatency) {
  CliResult r = RunCli(FakeSim("--bits 400 --samples-per-bit 16"));
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_NE(r.output.find("parameters  (fake (mode 0))"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("message     (none)"), std::string::npos);
  EXPECT_DOUBLE_EQ(Number(r.output, R"(height ([-0-9.]+) mV)"), 1000.0);
  EXPECT_NE(r.output.find("ps (5 samples)"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("throughput  6400 samples"), std::string::npos) << r.output;
}

TEST(SimCli, ModelFailuresAreReportedWithTheModelsMessage) {
  CliResult init = RunCli(FakeSim("--bits 100 --param mode=1"), true);
  EXPECT_EQ(init.status, 1);
  EXPECT_NE(init.output.find("fake: init failed on purpose"), std::string::npos) << init.output;
  EXPECT_NE(init.output.find("AMI_Init reported failure"), std::string::npos) << init.output;
  CliResult wave = RunCli(FakeSim("--bits 100 --block 1000 --param mode=2"), true);
  EXPECT_EQ(wave.status, 1);
  EXPECT_NE(wave.output.find("AMI_GetWave reported failure on the block at sample 1000"), std::string::npos)
      << wave.output;
  CliResult missing = RunCli("sim --model /nonexistent/libmodel.so --ami '" + FakeAmi() + "'", true);
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.output.find("cannot load model library: /nonexistent/libmodel.so"), std::string::npos);
}

TEST(SimCli, BadParametersAndOptionsAreUsageErrors) {
  for (const char* args : {"--param mode=3", "--param speed=1", "--param mode", "--prbs 9", "--bits 0",
                           "--samples-per-bit 1", "--bits 1000000000000 --samples-per-bit 1024"}) {
    CliResult r = RunCli(FakeSim(args), true);
    EXPECT_EQ(r.status, 2) << args << "\n" << r.output;
  }
  EXPECT_NE(RunCli(FakeSim("--param mode=3"), true).output.find("'3' is not one of 0, 1, 2"), std::string::npos);
}

TEST(SimCli, FloatingOptionsRejectNonFiniteValuesAsUsageErrors) {
  for (const char* option : {"--bit-time", "--channel-loss"}) {
    for (const char* value : {"nan", "NaN", "inf", "-inf", "1e999"}) {
      const std::string args = std::string(option) + " " + value;
      CliResult sim = RunCli(FakeSim("--bits 100 " + args), true);
      EXPECT_EQ(sim.status, 2) << args << "\n" << sim.output;
      EXPECT_EQ(RunCli("sweep --bits 100 " + args).status, 2) << args;
    }
  }
  EXPECT_NE(RunCli(FakeSim("--channel-loss nan"), true).output.find("--channel-loss: Value nan is not a finite number"),
            std::string::npos);
}

// The host streams: a run far longer than memory could hold as a whole is a
// run like any other (here stopped by the model at its second block).
TEST(SimCli, TheNumberOfBitsIsNotBoundByMemory) {
  CliResult r = RunCli(FakeSim("--bits 10000000 --samples-per-bit 1000 --param mode=2"), true);
  EXPECT_EQ(r.status, 1) << r.output;
  EXPECT_NE(r.output.find("AMI_GetWave reported failure on the block at sample 1024"), std::string::npos) << r.output;
}

// --wave and --eye appear whole or not at all: with the disk full (a file
// size limit here), after a failed run, or in a folder that does not take
// them; a file that had the name before stays as it was.
TEST(SimCli, OutputFilesAppearWholeOrNotAtAll) {
  TestFolder folder;
  const std::string csv = (folder.path / "wave.csv").string(), png = (folder.path / "eye.png").string();
  std::ofstream(csv) << "old";
  {
    ScopedLimit limit(RLIMIT_FSIZE, 100 * 1024);
    ASSERT_TRUE(limit.Ok());
    CliResult full = RunCli(FakeSim("--bits 20000 --wave '" + csv + "'"), true);
    EXPECT_EQ(full.status, 1);
    EXPECT_NE(full.output.find("cannot write " + csv + ": File too large"), std::string::npos) << full.output;
    ScopedLimit tiny(RLIMIT_FSIZE, 8 * 1024);
    CliResult eye = RunCli(FakeSim("--bits 2000 --eye '" + png + "'"), true);
    EXPECT_EQ(eye.status, 1);
    EXPECT_NE(eye.output.find("cannot write " + png + ": File too large"), std::string::npos) << eye.output;
  }
  CliResult failed = RunCli(FakeSim("--bits 2000 --param mode=2 --wave '" + csv + "' --eye '" + png + "'"), true);
  EXPECT_EQ(failed.status, 1);
  EXPECT_EQ(Read(csv), "old");
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"wave.csv"});
  // An unwritable path stops the run before it starts.
  CliResult nowhere = RunCli(FakeSim("--bits 2000 --wave '" + folder.path.string() + "/no/wave.csv'"), true);
  EXPECT_EQ(nowhere.status, 1);
  EXPECT_NE(nowhere.output.find("No such file or directory"), std::string::npos) << nowhere.output;
  EXPECT_EQ(nowhere.output.find("message"), std::string::npos) << nowhere.output;
}

// A long run stopped by a signal (a kill, Ctrl-C) takes its half-written
// file with it.
TEST(SimCli, AnInterruptedRunLeavesNoFileBehind) {
  TestFolder folder;
  const std::string csv = (folder.path / "wave.csv").string();
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    signal(SIGTERM, SIG_DFL);  // as a user's shell leaves it
    execl(TESSALUNE_CLI, TESSALUNE_CLI, "sim", "--model", FAKE_AMI_MODEL, "--ami", FakeAmi().c_str(), "--bits",
          "100000000", "--wave", csv.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  // Until the file being written (unnamed, so found among the program's open
  // files; or a hidden temporary in the folder) has something in it.
  bool writing = false;
  const std::string fds = "/proc/" + std::to_string(child) + "/fd";
  for (int i = 0; i < 1000 && !writing; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(fds, ec)) {
      const std::string target = std::filesystem::read_symlink(entry.path(), ec).string();
      struct stat info {};
      if (target.rfind(folder.path.string(), 0) == 0 && stat(entry.path().c_str(), &info) == 0)
        writing |= info.st_size > 0;
    }
  }
  kill(child, SIGTERM);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(writing);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
  EXPECT_TRUE(folder.Names().empty());
}

// Running out of memory (a block of 10^8 samples under an address space
// limit) is a clear error with status 1, never an abort.
TEST(SimCli, OutOfMemoryIsAClearErrorNotAnAbort) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer's shadow memory does not fit under an address space limit";
#else
  ScopedLimit limit(RLIMIT_AS, 512L * 1024 * 1024);
  ASSERT_TRUE(limit.Ok());
  CliResult sim = RunCli(FakeSim("--bits 3125000 --block 100000000"), true);
  EXPECT_EQ(sim.status, 1) << sim.output;
  EXPECT_NE(sim.output.find("tessalune sim: out of memory"), std::string::npos) << sim.output;
#ifdef TESSALUNE_MODEL_BUILT
  CliResult sweep = RunCli("sweep --bits 3125000 --block 100000000 --jobs 4", true);
  EXPECT_EQ(sweep.status, 1) << sweep.output;
  EXPECT_NE(sweep.output.find("       6     2       2   out of memory"), std::string::npos) << sweep.output;
#endif
#endif
}

TEST(SimCli, WritesTheEyePictureAndTheWaveform) {
  const std::string png = kBin + "/sim_cli_eye.png";
  const std::string csv = kBin + "/sim_cli_wave.csv";
  std::remove(png.c_str());
  CliResult r = RunCli(FakeSim("--bits 200 --samples-per-bit 8 --eye '" + png + "' --wave '" + csv + "'"));
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_EQ(Read(png).substr(1, 3), "PNG");
  std::istringstream lines(Read(csv));
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(line, "time_s,stimulus_V,output_V");
  std::vector<double> time, stimulus, output;
  while (std::getline(lines, line)) {
    double t, s, o;
    ASSERT_EQ(std::sscanf(line.c_str(), "%lf,%lf,%lf", &t, &s, &o), 3) << line;
    time.push_back(t);
    stimulus.push_back(s);
    output.push_back(o);
  }
  ASSERT_EQ(time.size(), 1600u);
  EXPECT_DOUBLE_EQ(time[8], 1e-10);
  // The stand-in's output is its input 5 samples later.
  for (size_t i = 5; i < output.size(); ++i) ASSERT_EQ(output[i], stimulus[i - 5]) << "sample " << i;
  CliResult bad = RunCli(FakeSim("--bits 200 --eye /nonexistent/eye.png"), true);
  EXPECT_EQ(bad.status, 1);
  std::remove(png.c_str());
  std::remove(csv.c_str());
}

#ifdef TESSALUNE_MODEL_BUILT

// The real model: defaults from the .ami file, and a waveform that does not
// depend on how the host cuts it into AMI_GetWave blocks.
TEST(SimCli, TheModelRunsWithTheAmiDefaultsAndBlockSizeDoesNotMatter) {
  CliResult a = RunCli("sim --bits 500 --block 1024");
  ASSERT_EQ(a.status, 0) << a.output;
  EXPECT_NE(a.output.find("parameters  (tessalune_tx (emphasis 0) (Vreg 2) (corner 2))"), std::string::npos);
  EXPECT_NE(a.output.find("message     (none)"), std::string::npos) << a.output;
  EXPECT_GT(Number(a.output, R"(height ([-0-9.]+) mV)"), 0.0);
  CliResult b = RunCli("sim --bits 500 --block 333");
  ASSERT_EQ(b.status, 0);
  auto eyeLines = [](const std::string& s) { return s.substr(s.find("eye "), s.find("throughput") - s.find("eye ")); };
  EXPECT_EQ(eyeLines(a.output), eyeLines(b.output));
}

// At the transmitter's pins de-emphasis lowers the repeated bits and so the
// inner eye: the mean opening over the nine responses falls level by level.
TEST(SimCli, SweepCoversEveryCombinationAndTheEyeShrinksWithEmphasis) {
  const std::string grid = kBin + "/sweep_cli_grid.png";
  CliResult r = RunCli("sweep --bits 300 --grid-emphasis 3 --grid '" + grid + "'");
  ASSERT_EQ(r.status, 0) << r.output;
  std::regex row(R"(\n\s+(\d)\s+(\d)\s+(\d)\s+(-?[0-9.]+)\s+([0-9.]+)\s+([0-9.]+)(?=\n))");
  int rows = 0;
  for (auto it = std::sregex_iterator(r.output.begin(), r.output.end(), row); it != std::sregex_iterator(); ++it)
    ++rows;
  EXPECT_EQ(rows, 63) << r.output;
  std::regex level(R"(\n\s+(\d)\s+(-?[0-9.]+)\s+(-?[0-9.]+)\s+([0-9.]+)\s+([0-9.]+)(?=\n))");
  std::vector<double> meanHeight;
  for (auto it = std::sregex_iterator(r.output.begin(), r.output.end(), level); it != std::sregex_iterator(); ++it)
    meanHeight.push_back(std::stod((*it)[2]));
  ASSERT_EQ(meanHeight.size(), 7u) << r.output;
  for (size_t i = 1; i < meanHeight.size(); ++i) EXPECT_LT(meanHeight[i], meanHeight[i - 1]) << "level " << i;
  EXPECT_EQ(Read(grid).substr(1, 3), "PNG");
  std::remove(grid.c_str());
  {
    ScopedLimit full(RLIMIT_FSIZE, 16 * 1024);
    CliResult r = RunCli("sweep --bits 100 --grid '" + grid + "'", true);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("cannot write " + grid + ": File too large"), std::string::npos) << r.output;
  }
  EXPECT_TRUE(Read(grid).empty());
  EXPECT_EQ(RunCli("sweep --bits 300 --grid-emphasis 9 --grid '" + grid + "'").status, 2);
}

// Behind a lossy channel de-emphasis does its job: a moderate level opens
// the eye that the channel closed, too much closes it again.
TEST(SimCli, BehindALossyChannelDeemphasisOpensTheEye) {
  auto height = [](int emphasis) {
    CliResult r = RunCli("sim --bits 600 --channel-loss 20 --param emphasis=" + std::to_string(emphasis));
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("channel     first-order, 20 dB at 5 GHz"), std::string::npos) << r.output;
    return Number(r.output, R"(height ([-0-9.]+) mV)");
  };
  const double none = height(0), moderate = height(3), most = height(6);
  EXPECT_GT(moderate, none * 1.3);
  EXPECT_GT(moderate, most);
}

#endif

// Every output is opened before the run: a directory given as one is refused
// at once (no run: no model message), and a FIFO is written in place and
// stays a FIFO.
TEST(SimCli, OutputsAreOpenedBeforeTheRunAndAFifoIsWrittenInPlace) {
  TestFolder folder;
  const std::string dir = folder.path.string();
  for (const char* option : {"--wave", "--eye", "--bathtub"}) {
    CliResult r = RunCli(FakeSim("--bits 2000 " + std::string(option) + " '" + dir + "'"), true);
    EXPECT_EQ(r.status, 1) << option;
    EXPECT_NE(r.output.find("cannot write " + dir + ": Is a directory"), std::string::npos) << r.output;
    EXPECT_EQ(r.output.find("message"), std::string::npos) << option << ": the run started\n" << r.output;
  }
  const std::string fifo = (folder.path / "wave").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::string received;
  std::thread reader([&] { received = Read(fifo); });
  CliResult r = RunCli(FakeSim("--bits 100 --samples-per-bit 4 --wave '" + fifo + "'"), true);
  reader.join();
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_EQ(received.compare(0, 27, "time_s,stimulus_V,output_V\n"), 0) << received.substr(0, 100);
  EXPECT_EQ(std::count(received.begin(), received.end(), '\n'), 401);
  struct stat info {};
  ASSERT_EQ(stat(fifo.c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

// Behind a channel of 600 dB loss the eye is of 1e-30 V: its picture is
// drawn, not a tick loop that never ends.
TEST(SimCli, AnEyeBehindA600DbChannelIsDrawnAndTheGridFileIsOpenedFirst) {
  TestFolder folder;
  std::string text = "# GHz S RI R 50\n";
  for (int i = 1; i < 400; ++i) text += std::to_string(i / 10.0) + " 0 0 1e-30 0 1e-30 0 0 0\n";
  const std::string channel = folder.Write("dead.s2p", text);
  const std::string png = (folder.path / "eye.png").string();
  CliResult r = RunCli(FakeSim("--bits 300 --channel '" + channel + "' --eye '" + png + "'"), true);
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_EQ(Read(png).substr(1, 3), "PNG");
#ifdef TESSALUNE_MODEL_BUILT
  // The grid (whose panels draw their axes the same way) has its file
  // opened before the runs too.
  r = RunCli("sweep --bits 100 --grid '" + folder.path.string() + "'", true);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.output.find("Is a directory"), std::string::npos) << r.output;
  EXPECT_EQ(r.output.find("runs on"), std::string::npos) << r.output;
#endif
}

// AMI_GetWave's block path against the per-sample network, bit for bit, at
// every lane level this processor runs.
#include "ami/AmiEntryPoints.h"
#include "blocks/FIRLanes.h"
#include "model/tessalune_tx.h"
#include "tests/AnySamples.h"
#include "tests/LibraryListing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

using OrvennModelBuilder::FIRLanes;

namespace {

const int kSamplesPerBit[] = {1, 2, 3, 7, 32, 33, 64, 128};

// A sample interval and a bit time.
struct Grid {
  double sampleInterval, bitTime;
};

// The grid of n samples per bit of 100 ps; with fewer than 7, a shorter bit
// time that keeps the sample interval at 16 ps, since AMI_Init refuses
// intervals too coarse for the response filters.
Grid GridOf(int samplesPerBit) {
  const double bitTime = samplesPerBit < 7 ? 16e-12 * samplesPerBit : 1e-10;
  return {bitTime / samplesPerBit, bitTime};
}

// One model instance.
struct Instance {
  void* handle = nullptr;
  long result = 0;

  Instance(const std::string& params, int samplesPerBit) : Instance(params, GridOf(samplesPerBit)) {}
  Instance(const std::string& params, Grid grid) {
    std::vector<char> text(params.begin(), params.end());
    text.push_back('\0');
    char* msg = nullptr;
    result = AMI_Init(nullptr, 0, 0, grid.sampleInterval, grid.bitTime, text.data(), nullptr, &handle, &msg);
  }
  ~Instance() { AMI_Close(handle); }
  tessalune_tx& Model() { return *static_cast<tessalune_tx*>(handle); }

  // The wave through AMI_GetWave in calls of the given sizes (cycled).
  std::vector<double> Drive(std::vector<double> wave, const std::vector<long>& calls) {
    double clocks[1];
    size_t at = 0;
    for (size_t c = 0; at < wave.size(); ++c) {
      const long n = std::min(calls[c % calls.size()], long(wave.size() - at));
      EXPECT_EQ(AMI_GetWave(wave.data() + at, n, clocks, nullptr, handle), 1);
      at += size_t(n);
    }
    return wave;
  }
};

std::vector<int> LevelsHere() {
  std::vector<int> levels;
  for (int l = 0; l < FIRLanes::LevelCount; ++l)
    if (FIRLanes::Supported(FIRLanes::Level(l))) levels.push_back(l);
  return levels;
}

// Call sizes: one at a time, seven, 1,024, and random ones from 0 to a few
// thousand (more than a chunk of the block path).
std::vector<long> Calls(int kind, unsigned seed) {
  if (kind == 0) return {1};
  if (kind == 1) return {7};
  if (kind == 2) return {1024};
  std::mt19937 rng(seed);
  std::vector<long> calls(50);
  for (long& n : calls) n = rng() % 3 == 0 ? long(rng() % 5000) : long(rng() % 40);
  return calls;
}

// Bits of +-0.5 V, n samples each.
std::vector<double> Levels(size_t count, int n, unsigned seed) {
  std::mt19937 rng(seed);
  std::vector<double> wave(count);
  double level = 0.5;
  for (size_t i = 0; i < count; ++i) {
    if (i % size_t(n) == 0) level = (rng() & 1) ? 0.5 : -0.5;
    wave[i] = level;
  }
  return wave;
}

// Runs `params` through the network once and through the block path at every
// level, in each of the given sequences of calls; the outputs must agree
// sample for sample.
void ExpectSameOutput(const std::string& params, Grid grid, const std::vector<double>& input,
                      const std::vector<std::vector<long>>& callSequences) {
  Instance network(params, grid);
  ASSERT_EQ(network.result, 1) << params;
  network.Model().BlockPath.UseNetwork();
  const std::vector<double> expected = network.Drive(input, {long(input.size())});
  for (const std::vector<long>& calls : callSequences) {
    for (int level : LevelsHere()) {
      Instance block(params, grid);
      ASSERT_TRUE(block.Model().BlockPath.SelectLevel(FIRLanes::Level(level))) << params;
      EXPECT_EQ(FirstDifference(block.Drive(input, calls), expected), "")
          << params << ", " << grid.sampleInterval << " s per sample, " << grid.bitTime << " s per bit, "
          << FIRLanes::Name(FIRLanes::Level(level)) << ", calls of " << calls[0]
          << (calls.size() > 1 ? " and more" : "");
    }
  }
}

void ExpectSameOutput(const std::string& params, int samplesPerBit, const std::vector<double>& input,
                      const std::vector<std::vector<long>>& callSequences) {
  ExpectSameOutput(params, GridOf(samplesPerBit), input, callSequences);
}

}  // namespace

TEST(GetWavePaths, EverySelectionAndEmphasisGivesTheNetworksSamples) {
  // The 63 combinations the .ami file allows, then fractional values that
  // round or truncate into them and emphasis values that name no level.
  std::vector<std::string> params;
  for (int e = 0; e <= 6; ++e)
    for (int v = 0; v <= 2; ++v)
      for (int c = 0; c <= 2; ++c)
        params.push_back("(tessalune_tx (emphasis " + std::to_string(e) + ") (Vreg " + std::to_string(v) +
                         ") (corner " + std::to_string(c) + "))");
  for (const char* extra : {"(emphasis 2.9) (Vreg 1.5) (corner -0.4)", "(emphasis -0.5) (Vreg 0.4999) (corner 2.49)",
                            "(emphasis 7) (Vreg -0.4999) (corner 0.5)", "(emphasis 1e300) (Vreg 2) (corner 1)",
                            "(emphasis -3) (Vreg 2.4) (corner 1.5)", "(emphasis 5.99)"})
    params.push_back(std::string("(tessalune_tx ") + extra + ")");

  // Every samples per bit meets every kind of call with both kinds of input
  // over the first 64 combinations; the rest take their turn likewise.
  for (size_t i = 0; i < params.size(); ++i) {
    const int n = kSamplesPerBit[i % 8];
    const int calls = int(i / 8) % 4;
    const size_t length = size_t(5 * n + 700);
    const std::vector<double> input = (i / 32) % 2 == 0 ? Levels(length, n, unsigned(i)) : AnySamples(length, i);
    ExpectSameOutput(params[i], n, input, {Calls(calls, unsigned(i))});
  }
}

TEST(GetWavePaths, WavesLargerThanTheBlockPathsChunksCarryOver) {
  // One call of 65,536 samples and the rest, then random calls up to a few
  // thousand, over 70,000 samples; then the shortest and the longest
  // histories (1 and 128 samples per bit) over a few chunks.
  const std::string params = "(tessalune_tx (emphasis 4) (Vreg 0) (corner 1))";
  ExpectSameOutput(params, 32, AnySamples(70000, 65536), {{65536}, Calls(3, 5)});
  ExpectSameOutput(params, 1, AnySamples(7000, 1), {Calls(3, 6)});
  ExpectSameOutput("(tessalune_tx (emphasis 6) (Vreg 1) (corner 2))", 128, Levels(7000, 128, 2), {Calls(3, 7)});
}

TEST(GetWavePaths, FiltersLongerThanAChunkAndGridsOffAWholeNumberOfSamplesPerBit) {
  // The response spans 457 ps: at 0.1 ps per sample (128 samples per bit of
  // 12.8 ps) its filter has 4,572 taps, more than two chunks of the block
  // path, so the history window spans chunks. Then bit times of 99.96 and
  // 7.006 sample intervals: within 0.1 % of 100 and 7, not whole numbers,
  // so the response filters take the simulator's grid.
  const std::string params = "(tessalune_tx (emphasis 5) (Vreg 1) (corner 1))";
  const struct {
    Grid grid;
    int samplesPerBit;
    int32_t taps;
  } cases[] = {
      {{1e-13, 1.28e-11}, 128, 4572},
      {{1e-13 * (1.0 + 2e-4), 9.998e-12}, 100, 4571},
      {{1e-10 / 7.006, 1e-10}, 7, 33},
  };
  for (const auto& c : cases) {
    Instance probe(params, c.grid);
    ASSERT_EQ(probe.result, 1) << c.grid.sampleInterval;
    const tessalune_tx& model = probe.Model();
    EXPECT_EQ(model.SamplesPerBitInt, c.samplesPerBit);
    EXPECT_EQ(model.Bank.R[4].NumTaps, c.taps) << c.grid.sampleInterval;
    // Past two full histories; the network, firing all nine filters per
    // sample, is the slow part, so each grid takes one kind of input.
    const size_t length = size_t(2 * model.Bank.R[4].NumTaps + 900);
    const unsigned seed = unsigned(c.samplesPerBit);
    const std::vector<double> input =
        c.samplesPerBit == 100 ? Levels(length, c.samplesPerBit, seed) : AnySamples(length, seed);
    ExpectSameOutput(params, c.grid, input, {{long(length)}, Calls(3, seed)});
  }
}

TEST(GetWavePaths, InitTakesTheBestLevelOfTheProcessor) {
  char params[] = "(tessalune_tx)";
  void* handle = nullptr;
  char* msg = nullptr;
  ASSERT_EQ(AMI_Init(nullptr, 0, 0, 3.125e-12, 1e-10, params, nullptr, &handle, &msg), 1);
  TxBlockPath& path = static_cast<tessalune_tx*>(handle)->BlockPath;
  EXPECT_TRUE(path.Active());
  EXPECT_EQ(path.Level(), FIRLanes::Best());
  for (int level : LevelsHere()) {
    EXPECT_TRUE(path.SelectLevel(FIRLanes::Level(level)));
    EXPECT_EQ(int(path.Level()), level);
  }
  EXPECT_FALSE(path.SelectLevel(FIRLanes::Level(FIRLanes::LevelCount)));
  EXPECT_EQ(int(path.Level()), LevelsHere().back());
  AMI_Close(handle);
}

TEST(GetWavePaths, SelectionsOutsideTheBankKeepTheNetworkAndItsMessages) {
  const std::string range = ".  There are 3 inputs connected.  The valid control input range is [0,2].\n";
  auto lines = [&](const char* control, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += std::string("Control input signal value is equal to ") + control + range;
    return text;
  };
  struct Case {
    const char* params;
    double vreg, corner;
    std::string err;  // standard error of one AMI_GetWave call
  } cases[] = {
      {"(tessalune_tx (corner 2.5))", 2.0, 2.5, lines("3", 1)},
      {"(tessalune_tx (Vreg -0.6) (corner 0))", -0.6, 0.0, lines("-1", 3)},
      {"(tessalune_tx (Vreg 1e300) (corner 1))", 1e300, 1.0, lines("-2147483648", 3)},
  };
  for (const Case& c : cases) {
    // AMI_Init refuses such a selection: neither path ever runs.
    Instance refused(c.params, 32);
    EXPECT_EQ(refused.result, 0) << c.params;
    EXPECT_FALSE(refused.Model().BlockPath.Active()) << c.params;
    std::vector<double> wave = {0.5, -0.5, 0.25};
    double clocks[1];
    testing::internal::CaptureStderr();
    EXPECT_EQ(AMI_GetWave(wave.data(), 3, clocks, nullptr, refused.handle), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << c.params;
    EXPECT_EQ(wave, (std::vector<double>{0.5, -0.5, 0.25}));
    EXPECT_EQ(refused.Model().MessageText.find("Error occurred"), std::string::npos) << c.params;

    // A network set up with it all the same (behind AMI_Init's back): the
    // block path leaves it to the network, which reports every failing
    // multiplexer and fails the call.
    Instance s("(tessalune_tx)", 32);
    ASSERT_EQ(s.result, 1) << c.params;
    tessalune_tx& model = s.Model();
    model.Vreg = c.vreg;
    model.corner = c.corner;
    ASSERT_TRUE(model.Setup() && model.Initialize()) << c.params;
    EXPECT_FALSE(model.BlockPath.Prepare(model)) << c.params;
    EXPECT_FALSE(model.BlockPath.Active()) << c.params;
    EXPECT_FALSE(model.BlockPath.SelectLevel(FIRLanes::Level::Scalar)) << c.params;
    testing::internal::CaptureStderr();
    EXPECT_EQ(AMI_GetWave(wave.data(), 3, clocks, nullptr, s.handle), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), c.err) << c.params;
    EXPECT_EQ(wave, (std::vector<double>{0.5, -0.5, 0.25}));
    const std::string& text = model.MessageText;
    EXPECT_EQ(text.substr(text.size() - 39), "Error occurred in tessalune_tx::Run(). ") << c.params;
  }

  // An instance whose network never became ready has no block path either.
  testing::internal::CaptureStderr();
  Instance failed("(tessalune_tx)", 129);
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(failed.result, 0);
  EXPECT_FALSE(failed.Model().BlockPath.Active());
}

#if defined(__x86_64__)
TEST(GetWavePaths, TheLibraryHoldsNoFusedMultiplyAdd) {
  // The AVX2 and AVX-512F kernels are compiled for those instruction sets;
  // a fused multiply-add would round once where the network rounds twice.
  std::vector<std::vector<std::string>> groups = FusedMultiplyAddGroups();
  groups.push_back({"vmulpd", "%zmm"});
  bool ok = false;
  const std::vector<int> counts = CountInstructions(TESSALUNE_MODEL_PATH, groups, ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(FusedCount(counts), 0);
  EXPECT_GT(counts[4], 0);  // the AVX-512F kernel is there, and the listing was read
}
#endif

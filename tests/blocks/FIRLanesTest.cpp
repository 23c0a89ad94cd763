#include "PinStorage.h"
#include "tests/AnySamples.h"

#include "blocks/FIR.h"
#include "blocks/FIRLanes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

using namespace OrvennModelBuilder;

namespace {

std::vector<FIRLanes::Level> LevelsHere() {
  std::vector<FIRLanes::Level> levels;
  for (int32_t l = 0; l < FIRLanes::LevelCount; ++l)
    if (FIRLanes::Supported(FIRLanes::Level(l))) levels.push_back(FIRLanes::Level(l));
  return levels;
}

// The FIR block fired once per sample: the reference.
std::vector<double> FirBlockOutputs(std::vector<double> taps, const std::vector<double>& x) {
  FIR<double, 0> fir;
  std::vector<double> in(1), out(1);
  fir.Taps = taps.data();
  fir.NumTaps = int32_t(taps.size());
  EXPECT_TRUE(fir.Setup());
  AttachPin(fir.Input, in);
  AttachPin(fir.Output, out);
  EXPECT_TRUE(fir.Initialize());
  std::vector<double> y;
  for (double v : x) {
    in[0] = v;
    EXPECT_TRUE(fir.Run());
    y.push_back(out[0]);
  }
  return y;
}

// The lanes at `level` over the stream x, in blocks of the given sizes
// (cycled), the history kept in front of each block as the contract asks.
std::vector<double> LaneOutputs(FIRLanes::Level level, const std::vector<double>& taps, const std::vector<double>& x,
                                const std::vector<size_t>& blocks) {
  FIRLanes lanes;
  EXPECT_TRUE(lanes.Select(level));
  const size_t history = taps.empty() ? 0 : taps.size() - 1;
  std::vector<double> stream(history, 0.0);
  stream.insert(stream.end(), x.begin(), x.end());
  std::vector<double> y(x.size(), 7.0);
  size_t at = 0;
  for (size_t b = 0; at < x.size(); ++b) {
    const size_t count = std::min(blocks[b % blocks.size()], x.size() - at);
    lanes.Filter(taps.data(), uint32_t(taps.size()), stream.data() + history + at, y.data() + at, count);
    at += count;
  }
  return y;
}

}  // namespace

TEST(FIRLanes, EveryLevelGivesTheFirBlocksBits) {
  // Taps: ordinary values with signed zeros, subnormals and a huge one;
  // samples of every kind. Block sizes cover the vector groups of every
  // level, single vectors and the scalar tail.
  const std::vector<size_t> blocks = {0, 1, 7, 16, 64, 65, 3, 200, 31, 128, 9, 500};
  std::mt19937_64 rng(3);
  for (size_t numTaps : {1, 2, 3, 8, 9, 17, 64, 147, 300}) {
    std::vector<double> taps(numTaps);
    for (double& t : taps) {
      const uint64_t r = rng() % 20;
      t = r == 0 ? 0.0 : r == 1 ? -0.0 : r == 2 ? -4e-320 : r == 3 ? 1e300 : (double(rng() % 2001) - 1000.0) / 997.0;
    }
    const std::vector<double> x = AnySamples(1500, numTaps);
    const std::vector<double> expected = FirBlockOutputs(taps, x);
    for (FIRLanes::Level level : LevelsHere()) {
      EXPECT_EQ(FirstDifference(LaneOutputs(level, taps, x, blocks), expected), "")
          << FIRLanes::Name(level) << ", " << numTaps << " taps";
    }
  }
}

TEST(FIRLanes, ZeroHistoryProductsAndSpecialTapsCountAsTheBlocksDo) {
  // A negative tap times the zero history adds -0.0; an infinite or NaN tap
  // times the zero history gives NaN from the first output on.
  const double inf = std::numeric_limits<double>::infinity();
  const std::vector<std::vector<double>> tapSets = {
      {-0.0, -1.0, -0.0, -2.0, -0.0, -0.5, -0.25, -0.0, -1.0, -3.0},
      {1.0, 0.5, inf, 0.25, 0.0, -0.0, 2.0, 1.0, 0.5, 0.25, 0.125, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0},
      {0.0, std::nan(""), 1.0},
  };
  const std::vector<double> x = {-0.0, -0.0,   0.0,     1.0,  -1.0, 0.0,  -0.0, 2.0,  -0.0, -0.0, -0.0,
                                 -0.0, -0.0,   -0.0,    -0.0, -0.0, -0.0, -0.0, -0.0, -0.0, 0.0,  3.0,
                                 -0.0, 1e-310, -1e-310, 0.0,  -0.0, 0.0,  5.0,  -0.0, 0.0,  0.0,  0.0,
                                 0.0,  -0.0,   -0.0,    -0.0, 0.0,  -0.0, 0.0,  1.0,  -0.0};
  for (const std::vector<double>& taps : tapSets) {
    const std::vector<double> expected = FirBlockOutputs(taps, x);
    for (FIRLanes::Level level : LevelsHere())
      EXPECT_EQ(FirstDifference(LaneOutputs(level, taps, x, {x.size()}), expected), "") << FIRLanes::Name(level);
  }
  EXPECT_TRUE(std::isnan(FirBlockOutputs(tapSets[2], x)[0]));
}

TEST(FIRLanes, NoTapsGivePositiveZeros) {
  const std::vector<double> x = AnySamples(40, 1);
  for (FIRLanes::Level level : LevelsHere()) {
    const std::vector<double> y = LaneOutputs(level, {}, x, {40});
    EXPECT_EQ(FirstDifference(y, std::vector<double>(40, 0.0)), "") << FIRLanes::Name(level);
    EXPECT_FALSE(std::signbit(y[0]));
  }
}

TEST(FIRLanes, LevelsRunOnlyWhereTheProcessorHasThem) {
  EXPECT_TRUE(FIRLanes::Supported(FIRLanes::Level::Scalar));
#if defined(__x86_64__)
  EXPECT_TRUE(FIRLanes::Supported(FIRLanes::Level::Sse2));  // part of every 64-bit x86 processor
  EXPECT_EQ(FIRLanes::Supported(FIRLanes::Level::Avx2), bool(__builtin_cpu_supports("avx2")));
  EXPECT_EQ(FIRLanes::Supported(FIRLanes::Level::Avx512), bool(__builtin_cpu_supports("avx512f")));
#endif
  const std::vector<FIRLanes::Level> here = LevelsHere();
  EXPECT_EQ(FIRLanes::Best(), here.back());
  FIRLanes lanes;
  EXPECT_EQ(lanes.Current(), FIRLanes::Best());

  // A level that does not run here, or is no level at all, changes nothing.
  ASSERT_TRUE(lanes.Select(FIRLanes::Level::Scalar));
  for (int32_t l = 0; l <= FIRLanes::LevelCount; ++l) {
    const FIRLanes::Level level = FIRLanes::Level(l);
    const bool runs = l < FIRLanes::LevelCount && FIRLanes::Supported(level);
    FIRLanes other;
    ASSERT_TRUE(other.Select(FIRLanes::Level::Scalar));
    EXPECT_EQ(other.Select(level), runs) << l;
    EXPECT_EQ(other.Current(), runs ? level : FIRLanes::Level::Scalar) << l;
  }
  EXPECT_STREQ(FIRLanes::Name(FIRLanes::Level::Avx512), "AVX-512F");
  EXPECT_STREQ(FIRLanes::Name(FIRLanes::Level(9)), "unknown");
}

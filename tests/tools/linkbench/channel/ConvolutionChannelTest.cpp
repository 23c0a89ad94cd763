#include "tools/linkbench/channel/ConvolutionChannel.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <thread>
#include <vector>

namespace {

// Uniform samples in [-1, 1).
std::vector<double> Samples(size_t n, unsigned seed) {
  std::minstd_rand engine(seed);
  std::vector<double> v(n);
  for (double& x : v) x = std::generate_canonical<double, 53>(engine) * 2.0 - 1.0;
  return v;
}

std::vector<double> Through(ConvolutionChannel& stage, std::vector<double> x) {
  for (size_t at = 0; at < x.size(); at += 700)
    stage.Process(x.data() + at, static_cast<long>(std::min<size_t>(700, x.size() - at)));
  return x;
}

bool SameBits(const std::vector<double>& a, const std::vector<double>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

}  // namespace

// A sweep's stages of one channel, one after the other on a thread, take
// the convolver back and give the bits of a new one; another response, or
// another thread, gets a convolver of its own.
TEST(ConvolutionChannel, AStageOfTheSameResponseTakesTheLastOneBackAndGivesTheSameBits) {
  const std::vector<double> h = Samples(900, 1), other = Samples(900, 3), x = Samples(20000, 2);
  std::vector<double> first, again, fresh;
  std::thread([&] {
    {
      ConvolutionChannel stage(h, 5);
      EXPECT_FALSE(stage.Reused());
      first = Through(stage, x);
    }
    {
      ConvolutionChannel stage(h, 5);  // mid-hop when let go: the reset must clear it
      EXPECT_TRUE(stage.Reused());
      EXPECT_EQ(stage.DelaySamples(), 5);
      again = Through(stage, x);
    }
    ConvolutionChannel stage(other, 0);
    EXPECT_FALSE(stage.Reused());
    ConvolutionChannel alongside(h, 0);  // the spare was let go when `stage` was made
    EXPECT_FALSE(alongside.Reused());
  }).join();
  std::thread([&] {
    ConvolutionChannel stage(h, 5);
    EXPECT_FALSE(stage.Reused());
    fresh = Through(stage, x);
  }).join();
  EXPECT_TRUE(SameBits(first, again));
  EXPECT_TRUE(SameBits(first, fresh));
}

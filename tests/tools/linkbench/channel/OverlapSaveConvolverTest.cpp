#include "tools/linkbench/channel/OverlapSaveConvolver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

std::vector<double> Random(size_t n, unsigned seed) {
  std::mt19937_64 engine(seed);
  std::normal_distribution<double> normal;
  std::vector<double> v(n);
  for (double& x : v) x = normal(engine);
  return v;
}

// Pushes X through CONVOLVER in blocks of the sizes given, cycling.
std::vector<double> Stream(OverlapSaveConvolver& convolver, const std::vector<double>& x,
                           const std::vector<size_t>& blocks) {
  std::vector<double> y(x.size());
  size_t done = 0;
  for (size_t b = 0; done < x.size(); ++b) {
    const size_t n = std::min(blocks[b % blocks.size()], x.size() - done);
    convolver.Push(x.data() + done, n, y.data() + done);
    done += n;
  }
  return y;
}

}  // namespace

TEST(OverlapSaveConvolver, MatchesDirectConvolutionAfterItsLatency) {
  struct Case {
    size_t taps, fftSize, samples;
  };
  for (const Case& c :
       {Case{1, 0, 3000}, Case{37, 0, 5000}, Case{300, 0, 9000}, Case{1000, 1024, 20000}, Case{2500, 0, 40000}}) {
    const std::vector<double> h = Random(c.taps, 1), x = Random(c.samples, 2);
    OverlapSaveConvolver convolver(h, c.fftSize);
    EXPECT_EQ(convolver.Latency(), convolver.FftSize() - c.taps);
    const std::vector<double> y = Stream(convolver, x, {c.samples});
    const std::vector<double> direct = OverlapSaveConvolver::ConvolveDirect(h, x);
    const size_t latency = convolver.Latency();
    double worst = 0.0, scale = 0.0;
    for (size_t t = 0; t < x.size(); ++t) {
      const double expected = t >= latency ? direct[t - latency] : 0.0;
      worst = std::max(worst, std::fabs(y[t] - expected));
      scale = std::max(scale, std::fabs(expected));
    }
    EXPECT_LT(worst, 1e-12 * scale * std::sqrt(static_cast<double>(c.taps))) << c.taps << " taps";
    for (size_t t = 0; t < std::min(latency, x.size()); ++t) ASSERT_EQ(y[t], 0.0);
  }
}

TEST(OverlapSaveConvolver, TheSameBitsHoweverTheStreamIsCut) {
  const std::vector<double> h = Random(700, 3), x = Random(30000, 4);
  OverlapSaveConvolver whole(h);
  const std::vector<double> reference = Stream(whole, x, {x.size()});
  for (const std::vector<size_t>& blocks : std::vector<std::vector<size_t>>{{1}, {7, 1, 4096}, {whole.Hop()}, {999}}) {
    OverlapSaveConvolver convolver(h);
    EXPECT_EQ(Stream(convolver, x, blocks), reference) << blocks[0];
  }
  // In place, and again after a reset.
  OverlapSaveConvolver convolver(h);
  std::vector<double> wave = x;
  convolver.Push(wave.data(), 12345, wave.data());
  convolver.Push(wave.data() + 12345, wave.size() - 12345, wave.data() + 12345);
  EXPECT_EQ(wave, reference);
  convolver.Reset();
  EXPECT_EQ(Stream(convolver, x, {5000}), reference);
}

TEST(OverlapSaveConvolver, RefusesAnEmptyResponseOrAnFftTooShortForIt) {
  EXPECT_THROW(OverlapSaveConvolver(std::vector<double>{}), std::invalid_argument);
  EXPECT_THROW(OverlapSaveConvolver(std::vector<double>(64, 1.0), 64), std::invalid_argument);
  OverlapSaveConvolver smallest(std::vector<double>(64, 1.0), 65);
  EXPECT_EQ(smallest.Hop(), 2u);
}

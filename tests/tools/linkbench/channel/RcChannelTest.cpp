#include "tools/linkbench/channel/RcChannel.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Steady-state amplitude of the channel's answer to a unit sine at half the
// bit rate.
double NyquistGain(const RcChannel& channel, int spb) {
  std::vector<double> wave(400 * spb);
  for (size_t i = 0; i < wave.size(); ++i) wave[i] = std::sin(M_PI * static_cast<double>(i) / spb + 0.3);
  channel.Apply(wave);
  // Amplitude by projection on sine and cosine over the last 20 periods.
  double a = 0, b = 0;
  const size_t n = 40 * static_cast<size_t>(spb);
  for (size_t i = wave.size() - n; i < wave.size(); ++i) {
    a += wave[i] * std::sin(M_PI * static_cast<double>(i) / spb);
    b += wave[i] * std::cos(M_PI * static_cast<double>(i) / spb);
  }
  return 2.0 * std::hypot(a, b) / static_cast<double>(n);
}

}  // namespace

TEST(RcChannel, LosesExactlyTheAskedLossAtNyquistAndNothingAtDc) {
  for (int spb : {8, 32}) {
    for (double loss : {3.0, 10.0, 20.0}) {
      RcChannel channel(loss, spb);
      EXPECT_NEAR(20 * std::log10(NyquistGain(channel, spb)), -loss, 0.01) << spb << " " << loss;
      std::vector<double> step(3000 * spb, 1.0);
      channel.Apply(step);
      EXPECT_NEAR(step.back(), 1.0, 1e-9);
      EXPECT_LT(step.front(), 1.0);
    }
  }
}

TEST(RcChannel, TimeConstantMatchesAFirstOrderLowPass) {
  // A first-order low-pass loses 10 log10(1 + (f tau 2 pi)^2) dB at f.
  const double bitTime = 1e-10;
  RcChannel channel(10.0, 64);
  const double tau = channel.TimeConstant(bitTime);
  const double f = 0.5 / bitTime;
  EXPECT_NEAR(10 * std::log10(1 + std::pow(2 * M_PI * f * tau, 2)), 10.0, 0.05);
}

TEST(RcChannel, NoLossIsNoChannel) {
  std::vector<double> wave = {1, -1, 0.5, 2};
  const std::vector<double> before = wave;
  RcChannel(0.0, 32).Apply(wave);
  EXPECT_EQ(wave, before);
  EXPECT_EQ(RcChannel(-3.0, 32).Pole(), 0.0);
  EXPECT_EQ(RcChannel(0.0, 32).TimeConstant(1e-10), 0.0);
}

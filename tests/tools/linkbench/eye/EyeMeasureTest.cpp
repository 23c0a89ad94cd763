#include "tests/tools/SyntheticWave.h"
#include "tools/linkbench/eye/EyeMeasure.h"
#include "tools/linkbench/stream/Prbs.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A transmitter output with one tap of de-emphasis (-0.1), `ramp`-sample
// edges and `delay` samples of latency.
std::vector<double> Synthetic(const std::vector<uint8_t>& bits, int spb, int ramp, int delay) {
  return SyntheticNrz(bits, spb, ramp, delay, -0.1);
}

}  // namespace

TEST(EyeMeasure, SquareBitsGiveTheirLevelsFullWidthAndTheShift) {
  const int spb = 16;
  std::vector<uint8_t> bits = Prbs(7).Bits(600);
  EyeMeasurement m = EyeMeasure::Measure(Synthetic(bits, spb, 0, 37), bits, spb, 1e-10);
  ASSERT_TRUE(m.valid) << m.problem;
  EXPECT_EQ(m.delaySamples, 37);
  // Inner opening: lowest one (0.4) minus highest zero (-0.4).
  EXPECT_NEAR(m.heightV, 0.8, 1e-12);
  // An instantaneous step has no crossing instant; interpolating across it
  // costs less than one sample.
  EXPECT_GT(m.widthUi, 1.0 - 1.0 / spb);
  EXPECT_LE(m.widthUi, 1.0);
  EXPECT_NEAR(m.WidthSeconds(), m.widthUi * 1e-10, 1e-22);
  EXPECT_NEAR(m.highTransition, 0.6, 1e-12);
  EXPECT_NEAR(m.highSteady, 0.4, 1e-12);
  EXPECT_NEAR(m.lowTransition, -0.6, 1e-12);
  EXPECT_NEAR(m.lowSteady, -0.4, 1e-12);
  EXPECT_NEAR(m.threshold, 0.0, 1e-9);
  EXPECT_NEAR(m.deemphasisDb, 20 * std::log10(1.2 / 0.8), 1e-9);
  EXPECT_DOUBLE_EQ(m.outMax, 0.6);
  EXPECT_DOUBLE_EQ(m.outMin, -0.6);
}

// With ramps over R samples the crossings of the threshold spread: a swing
// from 0.6 crosses at 0.5 R, one from 0.4 at 0.4 R, so the eye is open from
// 0.5 R into one bit to 0.4 R into the next: 1 UI - 0.1 R.
TEST(EyeMeasure, RampedTransitionsNarrowTheEyeByTheCrossingSpread) {
  const int spb = 32;
  const int ramp = 20;
  std::vector<uint8_t> bits = Prbs(7).Bits(1000);
  EyeMeasurement m = EyeMeasure::Measure(Synthetic(bits, spb, ramp, 5), bits, spb, 1e-10);
  ASSERT_TRUE(m.valid) << m.problem;
  EXPECT_NEAR(m.heightV, 0.8, 1e-12);
  EXPECT_NEAR(m.widthUi, 1.0 - 0.1 * ramp / spb, 1e-9);
  EXPECT_LE(m.openFromUi, 0.0);
  EXPECT_GE(m.openToUi, 0.0);
  EXPECT_NEAR(m.openToUi - m.openFromUi, m.widthUi, 1e-12);
  // The best phase sits in the settled part of the bit.
  const long phaseFromBitStart = (m.delaySamples + m.bestPhase - 5) % spb;
  EXPECT_GE(phaseFromBitStart, ramp);
}

TEST(EyeMeasure, AClosedEyeHasNegativeHeightAndNoWidth) {
  const int spb = 8;
  std::vector<uint8_t> bits = Prbs(15).Bits(800);
  // Two echoes, each smaller than the cursor, together larger: the inner
  // opening is 2 * (0.3 - 0.2 - 0.2).
  std::vector<double> out;
  auto s = [&](size_t k) { return bits[k] ? 1.0 : -1.0; };
  for (size_t k = 0; k < bits.size(); ++k) {
    const double v = 0.3 * s(k) + (k > 0 ? 0.2 * s(k - 1) : 0.0) + (k > 1 ? 0.2 * s(k - 2) : 0.0);
    out.insert(out.end(), spb, v);
  }
  EyeMeasurement m = EyeMeasure::Measure(out, bits, spb, 1e-10);
  ASSERT_TRUE(m.valid) << m.problem;
  EXPECT_EQ(m.delaySamples, 0);
  EXPECT_NEAR(m.heightV, -0.2, 1e-12);
  EXPECT_EQ(m.widthUi, 0.0);
}

TEST(EyeMeasure, TooShortOrEmptyWaveformsAreReportedNotMeasured) {
  std::vector<uint8_t> bits = Prbs(7).Bits(20);
  EXPECT_FALSE(EyeMeasure::Measure({}, bits, 32, 1e-10).valid);
  EXPECT_FALSE(EyeMeasure::Measure(Synthetic(bits, 32, 0, 0), bits, 32, 1e-10).valid);
  EXPECT_FALSE(EyeMeasure::Measure(Synthetic(bits, 32, 0, 0), bits, 0, 1e-10).valid);
  std::vector<uint8_t> ones(200, 1);
  EyeMeasurement m = EyeMeasure::Measure(Synthetic(ones, 4, 0, 0), ones, 4, 1e-10);
  EXPECT_FALSE(m.valid);
  EXPECT_FALSE(m.problem.empty());
}

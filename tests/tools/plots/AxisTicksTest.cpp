#include "tools/plots/AxisTicks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(AxisTicks, TicksAreWholeMultiplesOfTheStepBetweenTheEnds) {
  const AxisTicks volts(-0.63, 0.63, AxisTicks::NiceStep(1.26, 8));
  EXPECT_DOUBLE_EQ(volts.Step(), 0.2);
  ASSERT_EQ(volts.Count(), 7);
  EXPECT_DOUBLE_EQ(volts.At(0), -0.6000000000000001);
  EXPECT_DOUBLE_EQ(volts.At(3), 0.0);
  // Both ends count when they fall on a tick.
  const AxisTicks times(-100.0, 100.0, AxisTicks::NiceStep(200.0, 8));
  EXPECT_DOUBLE_EQ(times.Step(), 50.0);
  EXPECT_EQ(times.Count(), 5);
  EXPECT_DOUBLE_EQ(times.At(4), 100.0);
}

// The spans of a 600 dB channel's eye (volts of 1e-30), of a flat wave and of
// a wave that is not a number give a few ticks or none, never an endless loop.
TEST(AxisTicks, TinyEmptyAndNonFiniteSpansGiveFewTicksOrNone) {
  const AxisTicks tiny(-1.3e-30, 1.3e-30, AxisTicks::NiceStep(2.6e-30, 8));
  EXPECT_GT(tiny.Count(), 3);
  EXPECT_LE(tiny.Count(), 10);
  // A step far too small for the span (the old loop's tolerance of 1e-12
  // beside a step of 1e-31) gives no ticks at all.
  EXPECT_EQ(AxisTicks(-1e-12, 1e-12, 1e-31).Count(), 0);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(AxisTicks::NiceStep(0.0, 8), 0.0);
  EXPECT_EQ(AxisTicks::NiceStep(nan, 8), 0.0);
  EXPECT_EQ(AxisTicks::NiceStep(inf, 8), 0.0);
  EXPECT_EQ(AxisTicks(0.0, 1.0, 0.0).Count(), 0);
  EXPECT_EQ(AxisTicks(nan, 1.0, 0.1).Count(), 0);
  EXPECT_EQ(AxisTicks(-inf, inf, 0.1).Count(), 0);
  EXPECT_EQ(AxisTicks(1.0, -1.0, 0.1).Count(), 0);
  EXPECT_EQ(AxisTicks(1e300, 1e300, 1e-300).Count(), 0);
  EXPECT_EQ(AxisTicks(0.0, 1.0, 1e-6).Count(), 0);  // more than kMaxTicks
}

#include "tools/common/Numbers.h"

#include <gtest/gtest.h>

#include <cmath>

// Thousands become prefixes up to tera, with the digits asked for; what
// is below a thousand, negative values by their size, and what is beyond
// tera keep their own form.
TEST(Numbers, SiPrefixedScalesByThousands) {
  EXPECT_EQ(SiPrefixed(5.0, "Hz", 4), "5 Hz");
  EXPECT_EQ(SiPrefixed(0.0, "Hz", 4), "0 Hz");
  EXPECT_EQ(SiPrefixed(999.0, "Hz", 4), "999 Hz");
  EXPECT_EQ(SiPrefixed(1000.0, "Hz", 4), "1 kHz");
  EXPECT_EQ(SiPrefixed(1.25e9, "Hz", 4), "1.25 GHz");
  EXPECT_EQ(SiPrefixed(-2.5e6, "Hz", 4), "-2.5 MHz");
  EXPECT_EQ(SiPrefixed(135.2e6, "samples/s", 3), "135 Msamples/s");
  EXPECT_EQ(SiPrefixed(4.2e15, "bit/s", 3), "4.2e+03 Tbit/s");
  EXPECT_EQ(SiPrefixed(NAN, "Hz", 4), "nan Hz");
  EXPECT_DOUBLE_EQ(std::cos(kPi), -1.0);
}

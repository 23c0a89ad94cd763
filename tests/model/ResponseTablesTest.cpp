#include "model/ResponseTables.h"

#include "blocks/TimeResponseFIR.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using OrvennModelBuilder::TimeResponseFIR;

namespace {

constexpr double kStep = 5.7870625e-12;

struct Row {
  double entry0, entry1;
  int peakEntry;
  double peak;
  int minEntry;
  double minimum;
  double entry79;
  double area;
};

// The measured characteristic points of the nine responses.
const Row kRows[kResponseTableCount] = {
    {2.1752691e8, -4.0596907e8, 14, 3.3016941e10, 29, -1.2013053e10, 1.6141621e9, 0.877},
    {7.2071115e8, -4.8392449e8, 15, 2.5535899e10, 30, -1.1104481e10, 1.2605317e9, 0.807},
    {5.3794086e7, -6.9960051e8, 14, 4.6176751e10, 29, -1.3216341e10, 1.584205e9, 1.013},
    {2.2816267e8, -3.9740583e8, 14, 3.8545645e10, 29, -1.2342413e10, 1.3732673e9, 0.937},
    {6.5542806e8, -4.03438e8, 15, 2.9343301e10, 30, -1.1463323e10, 1.0193407e9, 0.864},
    {5.3794086e7, -6.9960051e8, 14, 4.6176751e10, 29, -1.3216341e10, 1.584205e9, 1.013},
    {5.0420059e8, -2.9310687e8, 15, 5.4291054e10, 30, -1.229072e10, 8.7799939e7, 1.112},
    {2.9270424e8, -2.8271223e8, 14, 5.1227952e10, 30, -1.5125e10, 8.3170812e8, 1.113},
    {4.8006124e8, -4.3310205e8, 15, 6.5214284e10, 31, -1.3550619e10, 5.4000816e7, 1.201},
};

// i x 5.7870625e-12 with eight significant digits, halves up, from integers.
double ExpectedStamp(int i) {
  const uint64_t full = uint64_t(i) * 57870625u;  // units of 1e-19 s
  int digits = 1;
  for (uint64_t n = full; n >= 10; n /= 10) ++digits;
  uint64_t div = 1;
  for (int k = 8; k < digits; ++k) div *= 10;
  uint64_t q = full / div;
  if ((full % div) * 2 >= div) ++q;  // halves up
  char text[64];
  std::snprintf(text, sizeof text, "%llue%d", (unsigned long long)q, -19 + (digits > 8 ? digits - 8 : 0));
  return std::strtod(text, nullptr);
}

bool HasAtMostEightDigits(double v) {
  char text[64];
  std::snprintf(text, sizeof text, "%.7e", v);
  return std::strtod(text, nullptr) == v;
}

}  // namespace

TEST(ResponseTables, TimeStampsAreTheRoundedGridInEveryTable) {
  for (int k = 0; k < kResponseTableCount; ++k) {
    const double* t = ResponseTableTimeStamps(k);
    for (int i = 0; i < kResponseTableSize; ++i) EXPECT_EQ(t[i], ExpectedStamp(i)) << "table " << k << " entry " << i;
  }
  const double* t = ResponseTableTimeStamps(0);
  EXPECT_EQ(t[0], 0.0);
  EXPECT_EQ(t[1], 5.7870625e-12);
  EXPECT_EQ(t[2], 1.1574125e-11);
  EXPECT_EQ(t[3], 1.7361188e-11);  // ...1875 rounds up
  EXPECT_EQ(t[4], 2.314825e-11);
  EXPECT_EQ(t[78], 4.5139088e-10);  // ...0875 rounds up
  EXPECT_EQ(t[79], 4.5717794e-10);
  for (int i = 1; i < kResponseTableSize; ++i) {
    EXPECT_GT(t[i], t[i - 1]);
    EXPECT_GE(t[i] - t[i - 1], 5.78706e-12 * (1 - 1e-9));
    EXPECT_LE(t[i] - t[i - 1], 5.78707e-12 * (1 + 1e-9));
  }
}

TEST(ResponseTables, CharacteristicPointsAndGain) {
  for (int k = 0; k < kResponseTableCount; ++k) {
    SCOPED_TRACE("table " + std::to_string(k));
    const Row& row = kRows[k];
    const double* v = ResponseTableValues(k);
    EXPECT_EQ(v[0], row.entry0);
    EXPECT_EQ(v[1], row.entry1);
    EXPECT_EQ(v[row.peakEntry], row.peak);
    EXPECT_EQ(v[row.minEntry], row.minimum);
    EXPECT_EQ(v[79], row.entry79);
    double sum = 0;
    for (int i = 0; i < kResponseTableSize; ++i) {
      if (i != row.peakEntry) {
        EXPECT_LT(v[i], row.peak) << "entry " << i;
      }
      if (i != row.minEntry) {
        EXPECT_GT(v[i], row.minimum) << "entry " << i;
      }
      EXPECT_TRUE(HasAtMostEightDigits(v[i])) << "entry " << i << " = " << v[i];
      sum += v[i];
    }
    EXPECT_NEAR(sum * kStep, row.area, 0.0005);
    EXPECT_EQ(ResponseTableArea(k), sum * kStep);
  }
}

TEST(ResponseTables, ShapeIsOneLobeOneUndershootAndASettlingTail) {
  for (int k = 0; k < kResponseTableCount; ++k) {
    SCOPED_TRACE("table " + std::to_string(k));
    const double* v = ResponseTableValues(k);
    const Row& row = kRows[k];
    // Starts small, turns negative at entry 1, and from there on the
    // only turning points are the peak and the minimum.
    EXPECT_GT(v[0], 0.0);
    EXPECT_LT(std::fabs(v[0]), 0.05 * row.peak);
    EXPECT_LT(v[1], 0.0);
    for (int i = 2; i < kResponseTableSize - 1; ++i) {
      const bool turning = (v[i] - v[i - 1]) * (v[i + 1] - v[i]) < 0;
      EXPECT_EQ(turning, i == row.peakEntry || i == row.minEntry) << "entry " << i;
    }
    // Smooth: no second difference beyond a fifth of the peak.
    for (int i = 2; i < kResponseTableSize - 1; ++i)
      EXPECT_LT(std::fabs(v[i + 1] - 2 * v[i] + v[i - 1]), 0.2 * row.peak) << "entry " << i;
    // The undershoot recovers: twelve entries on, at most half as deep.
    EXPECT_GT(v[row.minEntry + 12], 0.5 * row.minimum);
  }
}

TEST(ResponseTables, Vreg0AndVreg1AgreeAtCorner2) {
  for (int i = 0; i < kResponseTableSize; ++i) {
    EXPECT_EQ(ResponseTableValues(2)[i], ResponseTableValues(5)[i]);
    EXPECT_EQ(ResponseTableTimeStamps(2)[i], ResponseTableTimeStamps(5)[i]);
  }
}

TEST(ResponseTables, FilterTapsAtThirtyTwoSamplesPerBitKeepTheGain) {
  for (int k = 0; k < kResponseTableCount; ++k) {
    SCOPED_TRACE("table " + std::to_string(k));
    std::vector<double> values(ResponseTableValues(k), ResponseTableValues(k) + kResponseTableSize);
    std::vector<double> stamps(ResponseTableTimeStamps(k), ResponseTableTimeStamps(k) + kResponseTableSize);
    TimeResponseFIR fir;
    fir.ResponseType = TimeResponseFIR::ImpulseResponse;
    fir.Response = values.data();
    fir.ResponseSize = kResponseTableSize;
    fir.ResponseTimeStamps = stamps.data();
    fir.ResponseTimeStampsSize = kResponseTableSize;
    fir.SampleRate = 32.0 / 1e-10;
    ASSERT_TRUE(fir.Setup());
    ASSERT_EQ(fir.NumTaps, 147);
    double sum = 0;
    for (int i = 0; i < fir.NumTaps; ++i) sum += fir.Taps[i];
    EXPECT_NEAR(sum, kRows[k].area, 0.01 * kRows[k].area);
  }
}

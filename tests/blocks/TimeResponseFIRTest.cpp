#include "CaptureStderr.h"
#include "PinStorage.h"

#include "blocks/TimeResponseFIR.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

using namespace OrvennModelBuilder;

namespace {

// A response filter over its own copies of stamps and values.
struct Response {
  Response(std::vector<double> stamps, std::vector<double> values, int32_t type, double rate)
      : t(std::move(stamps)), v(std::move(values)) {
    fir.ResponseTimeStamps = t.data();
    fir.Response = v.data();
    fir.ResponseTimeStampsSize = int32_t(t.size());
    fir.ResponseSize = int32_t(v.size());
    fir.ResponseType = type;
    fir.SampleRate = rate;
  }
  // Runs Setup, expecting `ok`; returns the standard error text.
  std::string Setup(bool ok) {
    return StderrOf([&] { EXPECT_EQ(fir.Setup(), ok); });
  }
  std::vector<double> Taps() const { return {fir.Taps, fir.Taps + fir.NumTaps}; }

  std::vector<double> t, v;
  TimeResponseFIR fir;
};

std::vector<double> Sampled(const std::vector<double>& t, double (*f)(double)) {
  std::vector<double> v;
  for (double x : t) v.push_back(f(x));
  return v;
}

double Cubic(double x) { return 2.0 - 3.0 * x + 0.5 * x * x + 0.25 * x * x * x; }
double Line(double x) { return 4.0 + 1.5 * x; }
double Quadratic(double x) { return 5.0 + x * x; }

// Every tap i of `fir` is within `tolerance` of expected(i).
template <class Expected>
void ExpectTapsNear(const TimeResponseFIR& fir, Expected expected, double tolerance) {
  for (int i = 0; i < fir.NumTaps; ++i) EXPECT_NEAR(fir.Taps[i], expected(i), tolerance) << "tap " << i;
}

const std::vector<double> kUneven{0.0, 0.4, 0.7, 1.5, 1.9, 2.6, 3.0, 3.8, 4.1, 5.0};

}  // namespace

TEST(TimeResponseFIR, Defaults) {
  TimeResponseFIR fir;
  EXPECT_EQ(fir.ResponseType, TimeResponseFIR::StepResponse);
  EXPECT_EQ(fir.SampleRate, 1e12);
  EXPECT_EQ(fir.Taps, nullptr);
  EXPECT_EQ(fir.Decimation, 1);
  EXPECT_EQ(fir.DecimationPhase, 0);
  EXPECT_EQ(fir.Interpolation, 1);
}

TEST(TimeResponseFIR, TooFewValuesOrUnknownTypeFailWithOneLine) {
  const std::vector<double> t3{0, 1, 2}, v3{1, 2, 3};
  EXPECT_EQ(Response(t3, v3, 0, 1.0).Setup(false),
            "At least 4 response coefficients are required for input impulse response\n");
  EXPECT_EQ(Response(t3, v3, 1, 1.0).Setup(false),
            "At least 4 response coefficients are required for input step response\n");
  EXPECT_EQ(Response(t3, v3, 2, 1.0).Setup(false),
            "Inavlid ResponseType is specified, it can be either Impulse Response or Step "
            "Response\n");
}

TEST(TimeResponseFIR, SizeMismatchAndBadSampleRateFail) {
  Response r({0, 1, 2, 3}, {1, 2, 3, 4}, 0, 1.0);
  r.fir.ResponseTimeStampsSize = 5;
  EXPECT_EQ(r.Setup(false),
            "Number of coefficients in response must be same as the number "
            "of values in time stamps\n");
  const double inf = std::numeric_limits<double>::infinity();
  for (double rate : {0.0, -1.0, std::nan(""), inf, -inf}) {
    Response s({0, 1, 2, 3}, {1, 2, 3, 4}, 1, rate);
    EXPECT_EQ(s.Setup(false), "SampleRate must be > 0.0\n") << "rate " << rate;
    EXPECT_EQ(s.t, (std::vector<double>{0, 1, 2, 3}));  // stamps untouched
  }
}

TEST(TimeResponseFIR, MissingArraysFail) {
  Response r({0, 1, 2, 3}, {1, 2, 3, 4}, 0, 1.0);
  r.fir.Response = nullptr;
  EXPECT_EQ(r.Setup(false), "Response and ResponseTimeStamps must point at ResponseSize values\n");
}

TEST(TimeResponseFIR, RepeatedStampNamesBothPositions) {
  Response r({5, 6, 6, 7}, {1, 2, 3, 4}, 0, 1.0);
  EXPECT_EQ(r.Setup(false),
            "ResponseTimeStamps[3] = 6  <= ResponseTimeStamps[2] = 6. Time "
            "stamps must be in non-repeating ascending order.\n");
  EXPECT_EQ(r.t, (std::vector<double>{0, 1, 1, 7}));  // shifted up to the offending stamp
  EXPECT_EQ(r.fir.Taps, nullptr);
}

TEST(TimeResponseFIR, StampValuesUseSixSignificantDigits) {
  Response r({1e-9, 2.5e-9, 2.25e-9, 4e-9}, {1, 2, 3, 4}, 1, 1e12);
  EXPECT_EQ(r.Setup(false),
            "ResponseTimeStamps[3] = 2.25e-09  <= ResponseTimeStamps[2] = "
            "2.5e-09. Time stamps must be in non-repeating ascending order.\n");
}

TEST(TimeResponseFIR, NaNStampIsNotAscending) {
  Response r({0, 1, std::nan(""), 3}, {1, 2, 3, 4}, 0, 1.0);
  EXPECT_EQ(r.Setup(false),
            "ResponseTimeStamps[3] = nan  <= ResponseTimeStamps[2] = 1. Time "
            "stamps must be in non-repeating ascending order.\n");
}

TEST(TimeResponseFIR, TapCountBeyondTheLimitFailsCleanly) {
  Response r({0, 1, 2, 3}, {1, 2, 3, 4}, 0, 2.0);
  ASSERT_EQ(r.Setup(true), "");
  const double* taps = r.fir.Taps;
  // 3 s at 1 GHz is 3e9 taps: beyond a 32-bit count.
  r.fir.SampleRate = 1e9;
  EXPECT_EQ(r.Setup(false),
            "ResponseTimeStamps span 3 s, which at SampleRate 1e+09 needs more than 536870909 "
            "taps\n");
  EXPECT_EQ(r.fir.Taps, taps);
  EXPECT_EQ(r.fir.NumTaps, 7);
  // An infinite span is refused the same way.
  Response s({0, 1, 2, std::numeric_limits<double>::infinity()}, {1, 2, 3, 4}, 1, 1.0);
  EXPECT_EQ(s.Setup(false),
            "ResponseTimeStamps span inf s, which at SampleRate 1 needs more than 536870909 "
            "taps\n");
  EXPECT_EQ(s.fir.Taps, nullptr);
}

TEST(TimeResponseFIR, ImpulseTapsOnStampsAreTheValuesOverTheRate) {
  Response r({0, 1, 2, 3}, {8.0, -2.0, 6.0, 1.0}, 0, 2.0);
  ASSERT_EQ(r.Setup(true), "");
  ASSERT_EQ(r.fir.NumTaps, 7);
  const std::vector<double> taps = r.Taps();
  EXPECT_EQ(taps[0], 4.0);
  EXPECT_EQ(taps[2], -1.0);
  EXPECT_EQ(taps[4], 3.0);
  EXPECT_EQ(taps[6], 0.5);
}

TEST(TimeResponseFIR, CubicImpulseResponseIsReproduced) {
  const double rate = 7.0;
  Response r(kUneven, Sampled(kUneven, Cubic), 0, rate);
  ASSERT_EQ(r.Setup(true), "");
  ASSERT_EQ(r.fir.NumTaps, 36);
  ExpectTapsNear(
      r.fir, [&](int i) { return Cubic(i / rate) / rate; }, 1e-13);
}

TEST(TimeResponseFIR, LinearStepResponseGivesConstantTaps) {
  const double rate = 3.0;
  Response r(kUneven, Sampled(kUneven, Line), 1, rate);
  ASSERT_EQ(r.Setup(true), "");
  ASSERT_EQ(r.fir.NumTaps, 16);
  ExpectTapsNear(
      r.fir, [&](int) { return 1.5 / rate; }, 1e-14);

  Response flat(kUneven, std::vector<double>(kUneven.size(), 2.5), 1, rate);
  ASSERT_EQ(flat.Setup(true), "");
  ExpectTapsNear(
      flat.fir, [](int) { return 0.0; }, 1e-14);
}

TEST(TimeResponseFIR, StepTapAtTimeZeroIsTheParabolaSlope) {
  // No shortcut for the step type: the first tap is the slope 2t at 0.
  Response r(kUneven, Sampled(kUneven, Quadratic), 1, 4.0);
  ASSERT_EQ(r.Setup(true), "");
  EXPECT_NEAR(r.fir.Taps[0], 0.0, 1e-14);
  EXPECT_NEAR(r.fir.Taps[1], 2.0 * 0.25 / 4.0, 1e-14);
}

TEST(TimeResponseFIR, GridTimesPastTheLastStampAreExtrapolated) {
  // 0.8999999999999999 * 10 rounds to 9, so grid time 0.9 lies past the table.
  const std::vector<double> t{0.0, 0.3, 0.6, 0.8999999999999999};
  Response imp(t, Sampled(t, Cubic), 0, 10.0);
  ASSERT_EQ(imp.Setup(true), "");
  ASSERT_EQ(imp.fir.NumTaps, 10);
  EXPECT_NEAR(imp.fir.Taps[9], Cubic(0.9) / 10.0, 1e-14);
  Response step(t, Sampled(t, Line), 1, 10.0);
  ASSERT_EQ(step.Setup(true), "");
  EXPECT_NEAR(step.fir.Taps[9], 0.15, 1e-14);
}

TEST(TimeResponseFIR, TapsIgnoreTheTimeOrigin) {
  const double rate = 7.0;
  std::vector<double> shifted;
  for (double x : kUneven) shifted.push_back(x + 100.0);
  Response a(kUneven, Sampled(kUneven, Cubic), 0, rate);
  Response b(shifted, Sampled(kUneven, Cubic), 0, rate);
  ASSERT_EQ(a.Setup(true), "");
  ASSERT_EQ(b.Setup(true), "");
  EXPECT_EQ(b.t[0], 0.0);
  ASSERT_EQ(a.fir.NumTaps, b.fir.NumTaps);
  ExpectTapsNear(
      b.fir, [&](int i) { return a.fir.Taps[i]; }, 1e-11);

  // A second Setup on the already shifted stamps gives the same taps.
  const std::vector<double> first = b.Taps();
  ASSERT_EQ(b.Setup(true), "");
  EXPECT_EQ(b.Taps(), first);
}

TEST(TimeResponseFIR, FilterChecksRunAfterTheTaps) {
  Response r({0, 1, 2, 3}, {1, 2, 3, 4}, 0, 1.0);
  r.fir.Interpolation = 0;
  EXPECT_EQ(r.Setup(false), "Interpolation must be > 0\n");
  EXPECT_EQ(r.fir.NumTaps, 4);
}

TEST(TimeResponseFIR, FiltersWithTheComputedTaps) {
  Response r({0, 1, 2, 3}, {8.0, -2.0, 6.0, 1.0}, 0, 1.0);
  ASSERT_EQ(r.Setup(true), "");
  std::vector<double> in{0.0}, out{0.0};
  AttachPin(r.fir.Input, in);
  AttachPin(r.fir.Output, out);
  ASSERT_TRUE(r.fir.Initialize());
  std::vector<double> seen;
  for (double x : {1.0, 0.0, 0.0, 0.0, 0.0}) {
    in[0] = x;
    ASSERT_TRUE(r.fir.Run());
    seen.push_back(out[0]);
  }
  EXPECT_EQ(seen, (std::vector<double>{8.0, -2.0, 6.0, 1.0, 0.0}));
  EXPECT_TRUE(r.fir.Finalize());
}

TEST(TimeResponseFIR, FailedFilterChecksLeaveNoFiringOnTheNewTaps) {
  // A long response, set up and initialised, then set up again on a short
  // one with a bad interpolation: the new, shorter taps are computed, the
  // filter keeps its old configuration, and a firing must not read the
  // short taps as if they were the long ones.
  std::vector<double> longStamps;
  for (int i = 0; i < 40; ++i) longStamps.push_back(i);
  Response r(longStamps, std::vector<double>(40, 1.0), 0, 1.0);
  ASSERT_EQ(r.Setup(true), "");
  std::vector<double> in{1.0}, out{0.0};
  AttachPin(r.fir.Input, in);
  AttachPin(r.fir.Output, out);
  ASSERT_TRUE(r.fir.Initialize());
  ASSERT_TRUE(r.fir.Run());

  std::vector<double> t{0, 1, 2, 3}, v{1, 2, 3, 4};
  r.fir.ResponseTimeStamps = t.data();
  r.fir.Response = v.data();
  r.fir.ResponseSize = r.fir.ResponseTimeStampsSize = 4;
  r.fir.Interpolation = 0;
  EXPECT_EQ(r.Setup(false), "Interpolation must be > 0\n");
  ASSERT_EQ(r.fir.NumTaps, 4);
  out[0] = -5.0;
  EXPECT_NE(StderrOf([&] { EXPECT_FALSE(r.fir.Run()); }), "");
  EXPECT_EQ(out[0], -5.0);
}

TEST(TimeResponseFIR, TapsFollowTheDocumentedArithmeticBitForBit) {
  // Division by the rate, not multiplication by its inverse: 3 / 10 and
  // 3 * (1 / 10) differ in the last bit.
  Response imp({0, 1, 2, 3}, {3.0, 3.0, 7.0, 3.0}, 0, 10.0);
  ASSERT_EQ(imp.Setup(true), "");
  ASSERT_NE(3.0 / 10.0, 3.0 * (1.0 / 10.0));
  EXPECT_EQ(imp.fir.Taps[0], 3.0 / 10.0);
  EXPECT_EQ(imp.fir.Taps[30], 3.0 / 10.0);

  // Step taps: parabola slope through the stamps around each grid time,
  // terms added from 0.0 in stamp order, then divided by the rate.
  const double rate = 7.0;
  const std::vector<double> v{0.1, 0.37, 0.52, 0.9, 1.3, 1.1, 0.95, 1.01, 1.2, 0.8};
  Response step(kUneven, v, 1, rate);
  ASSERT_EQ(step.Setup(true), "");
  const std::vector<double>& t = kUneven;
  const int n = int(t.size());
  int h = 0;
  for (int i = 0; i < step.fir.NumTaps; ++i) {
    const double m = double(i) / rate;
    while (h < n - 1 && t[h] < m) ++h;
    h = h == 0 ? 1 : std::min(h, n - 3);
    const double p = t[h - 1], q = t[h], r = t[h + 1], m2 = m * 2.0;
    double slope = 0.0;
    slope = slope + (m2 - q - r) / ((p - r) * (p - q)) * v[h - 1];
    slope = slope + (m2 - p - r) / ((q - p) * (q - r)) * v[h];
    slope = slope + (m2 - p - q) / ((r - p) * (r - q)) * v[h + 1];
    EXPECT_EQ(step.fir.Taps[i], slope / rate) << "tap " << i;
  }
}

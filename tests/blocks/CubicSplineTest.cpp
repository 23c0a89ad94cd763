#include "blocks/CubicSpline.h"
#include "blocks/SplineCoefficients.h"
#include "blocks/SplineValue.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace OrvennModelBuilder;

TEST(SplineCoefficients, RejectsTooFewOrUnorderedPoints) {
  double x[3] = {0.0, 1.0, 1.0}, y[3] = {1.0, 2.0, 3.0};
  double s1[3] = {7, 7, 7}, s2[3] = {7, 7, 7}, s3[3] = {7, 7, 7};
  EXPECT_EQ(SplineCoefficients(1, 0, 0, 0.0, 0.0, x, y, s1, s2, s3), 1);
  EXPECT_EQ(SplineCoefficients(3, 0, 0, 0.0, 0.0, x, y, s1, s2, s3), 2);
  x[2] = std::nan("");
  EXPECT_EQ(SplineCoefficients(3, 0, 0, 0.0, 0.0, x, y, s1, s2, s3), 2);
  EXPECT_EQ(s1[0], 7.0);  // nothing written
}

TEST(SplineCoefficients, TwoPointsGiveTheLine) {
  const double x[2] = {1.0, 3.0}, y[2] = {2.0, 6.0};
  double s1[2], s2[2], s3[2];
  ASSERT_EQ(SplineCoefficients(2, 0, 0, 0.0, 0.0, x, y, s1, s2, s3), 0);
  EXPECT_EQ(s1[0], 2.0);
  EXPECT_EQ(s1[1], 2.0);
  EXPECT_EQ(s2[0], 0.0);
  EXPECT_EQ(s3[1], 0.0);
}

TEST(SplineCoefficients, GivenEndSlopesAreMet) {
  // y = x^2 on 0..3 with the true end slopes 0 and 6 is reproduced.
  const double x[4] = {0.0, 1.0, 2.0, 3.0}, y[4] = {0.0, 1.0, 4.0, 9.0};
  double s1[4], s2[4], s3[4];
  ASSERT_EQ(SplineCoefficients(4, 1, 1, 0.0, 6.0, x, y, s1, s2, s3), 0);
  int last = 0;
  EXPECT_NEAR(SplineValue(4, 2.5, x, y, s1, s2, s3, last), 6.25, 1e-14);
  EXPECT_NEAR(s1[0], 0.0, 1e-14);
}

TEST(CubicSpline, FourPointsGiveTheirCubic) {
  auto p = [](double t) { return 1.0 - 2.0 * t + 0.75 * t * t - 0.5 * t * t * t; };
  const double x[4] = {-1.0, 0.25, 0.5, 2.0};
  const double y[4] = {p(x[0]), p(x[1]), p(x[2]), p(x[3])};
  CubicSpline spline;
  for (double u : {-1.5, -1.0, 0.0, 0.3, 1.0, 2.0, 2.5}) {
    EXPECT_NEAR(spline.Evaluate(4, u, x, y), p(u), 1e-12) << "u " << u;
    EXPECT_EQ(spline.status, 0);
  }
  EXPECT_EQ(spline.capacity, 4u);
}

TEST(CubicSpline, BadPointsGiveZeroAndAStatus) {
  const double x[4] = {0.0, 2.0, 1.0, 3.0}, y[4] = {1.0, 1.0, 1.0, 1.0};
  CubicSpline spline;
  EXPECT_EQ(spline.Evaluate(4, 0.5, x, y), 0.0);
  EXPECT_EQ(spline.status, 2);
  EXPECT_EQ(spline.Evaluate(1, 0.5, x, y), 0.0);
  EXPECT_EQ(spline.status, 1);
}

TEST(SplineValue, SearchesFromAStaleIntervalAndEndsOnNaN) {
  const double x[5] = {0.0, 1.0, 2.0, 3.0, 4.0}, y[5] = {0.0, 1.0, 2.0, 3.0, 4.0};
  double s1[5], s2[5], s3[5];
  ASSERT_EQ(SplineCoefficients(5, 0, 0, 0.0, 0.0, x, y, s1, s2, s3), 0);
  int last = 0;
  EXPECT_NEAR(SplineValue(5, 3.5, x, y, s1, s2, s3, last), 3.5, 1e-14);
  EXPECT_EQ(last, 3);
  last = 99;  // out of range: restart from interval 0
  EXPECT_NEAR(SplineValue(5, 0.5, x, y, s1, s2, s3, last), 0.5, 1e-14);
  EXPECT_EQ(last, 0);
  EXPECT_TRUE(std::isnan(SplineValue(5, std::nan(""), x, y, s1, s2, s3, last)));
  last = 2;
  EXPECT_NEAR(SplineValue(5, 2.5, x, y, s1, s2, s3, last), 2.5, 1e-14);
  EXPECT_EQ(last, 2);
}

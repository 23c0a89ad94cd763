#include "model/TXFIR_1pre2pst.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

struct Outputs {
  std::vector<double> main, post;
};

Outputs Fire(TXFIR_1pre2pst& f, const std::vector<double>& input) {
  Outputs out;
  for (double x : input) {
    f.Input = x;
    EXPECT_TRUE(f.Run());
    out.main.push_back(f.MainOutput);
    out.post.push_back(f.PostOutput);
  }
  return out;
}

std::vector<double> Ramp(int n) {
  std::vector<double> v;
  for (int i = 0; i < n; ++i) v.push_back(std::sin(0.37 * i) + 0.01 * i);
  return v;
}

TXFIR_1pre2pst Ready(int n, int setting) {
  TXFIR_1pre2pst f;
  f.SamplesPerBit = n;
  f.Setting = setting;
  EXPECT_TRUE(f.Setup());
  EXPECT_TRUE(f.Initialize());
  return f;
}

}  // namespace

TEST(TXFIR_1pre2pst, StepAtThirtyTwoSamplesPerBitLevel2) {
  TXFIR_1pre2pst f = Ready(32, 2);
  const Outputs out = Fire(f, std::vector<double>(200, 1.0));
  for (int t = 0; t < 200; ++t) {
    EXPECT_EQ(out.main[t], t < 32 ? 0.0 : ((1.0 - 0.1111) * 1.0) * 1.05) << t;
    EXPECT_EQ(out.post[t], t < 64 ? 0.0 : (1.0 * -0.1111) * 1.05) << t;
  }
  EXPECT_NEAR(out.main[32], 0.933345, 1e-15);
  EXPECT_NEAR(out.post[64], -0.116655, 1e-15);
  EXPECT_NEAR(out.main[64] + out.post[64], 0.81669, 1e-15);
  EXPECT_DOUBLE_EQ(f.PostWeight, -0.1111);
  EXPECT_DOUBLE_EQ(f.MainWeight, 0.8889);
}

TEST(TXFIR_1pre2pst, PathsAreTheInputDelayedByOneAndTwoUnitIntervals) {
  for (int n : {1, 3, 32, 127, 128}) {
    for (int setting = 0; setting < TXFIR_1pre2pst::LevelCount; ++setting) {
      SCOPED_TRACE("n " + std::to_string(n) + " setting " + std::to_string(setting));
      TXFIR_1pre2pst f = Ready(n, setting);
      const std::vector<double> x = Ramp(7 * n + 5);
      const Outputs out = Fire(f, x);
      const double w = TXFIR_1pre2pst::PostWeights[setting];
      for (size_t t = 0; t < x.size(); ++t) {
        const double main = t < size_t(n) ? 0.0 : ((1.0 - std::fabs(w)) * x[t - n]) * 1.05;
        const double post = t < size_t(2 * n) ? 0.0 : (x[t - 2 * n] * w) * 1.05;
        ASSERT_EQ(out.main[t], main) << t;
        ASSERT_EQ(out.post[t], post) << t;
      }
    }
  }
}

TEST(TXFIR_1pre2pst, SteadyStateGainOfEachLevel) {
  const double posts[] = {0.0, -0.05555, -0.1111, -0.18889, -0.255555, -0.305555, -0.36665};
  for (int setting = 0; setting < 7; ++setting) {
    EXPECT_EQ(TXFIR_1pre2pst::PostWeights[setting], posts[setting]);
    TXFIR_1pre2pst f = Ready(4, setting);
    const Outputs out = Fire(f, std::vector<double>(20, 2.0));
    // A repeated bit keeps 1.05 x (1 - 2|w|) of the swing ...
    EXPECT_NEAR(out.main.back() + out.post.back(), 2.0 * 1.05 * (1 - 2 * std::fabs(posts[setting])), 1e-14);
    // ... the bit after a transition keeps all of it.
    EXPECT_NEAR(out.main[4], 2.0 * 1.05 * (1 - std::fabs(posts[setting])), 1e-14);
  }
}

TEST(TXFIR_1pre2pst, SettingOutsideTheTableKeepsThePreviousWeight) {
  // Before any valid level the post weight is 0: no de-emphasis.
  TXFIR_1pre2pst f = Ready(2, 9);
  Outputs out = Fire(f, std::vector<double>(10, 1.0));
  EXPECT_EQ(f.PostWeight, 0.0);
  EXPECT_EQ(out.post.back(), 0.0);
  EXPECT_EQ(out.main.back(), 1.05);

  f.Setting = 3;
  Fire(f, {1.0});
  f.Setting = -1;
  Fire(f, {1.0});
  EXPECT_EQ(f.PostWeight, -0.18889);
}

TEST(TXFIR_1pre2pst, SamplesPerBitOutsideTheDelayLinesIsRefused) {
  for (int n : {0, -1, 129, 1 << 30}) {
    TXFIR_1pre2pst f;
    f.SamplesPerBit = n;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(f.Setup());
    EXPECT_FALSE(f.Initialize());
    const std::string err = testing::internal::GetCapturedStderr();
    const std::string line = "SamplesPerBit is " + std::to_string(n) + "; it must be between 1 and 128\n";
    EXPECT_EQ(err, line + line);
    f.Input = 1.0;
    EXPECT_FALSE(f.Run());
    EXPECT_EQ(f.MainOutput, 0.0);
    EXPECT_EQ(f.PostOutput, 0.0);
  }
}

TEST(TXFIR_1pre2pst, InitializeRestartsTheDelayLines) {
  TXFIR_1pre2pst f = Ready(5, 6);
  const std::vector<double> x = Ramp(60);
  const Outputs first = Fire(f, x);
  Fire(f, Ramp(13));
  ASSERT_TRUE(f.Initialize());
  const Outputs second = Fire(f, x);
  EXPECT_EQ(first.main, second.main);
  EXPECT_EQ(first.post, second.post);
}

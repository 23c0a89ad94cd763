#include "blocks/DFE.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "CaptureStderr.h"
#include "PinStorage.h"

using OrvennModelBuilder::DFE;
using OrvennModelBuilder::kDataSample;
using OrvennModelBuilder::kEdgeSample;
using OrvennModelBuilder::kNoSample;

namespace {

// A DFE with one-sample pins, driven a unit interval at a time as the clock
// recovery drives it: an edge sample (the feedback of the bit takes effect),
// the bit's level through the equaliser, then its data sample (the decision
// and the adaptation).
struct Rig {
  DFE dfe;
  std::vector<double> in = std::vector<double>(1), sample = std::vector<double>(1), out = std::vector<double>(1);
  std::vector<int> event = std::vector<int>(1);

  bool Start() {
    if (!dfe.Setup()) return false;
    AttachPin(dfe.Input, in);
    AttachPin(dfe.Event, event);
    AttachPin(dfe.Sample, sample);
    AttachPin(dfe.Output, out);
    return dfe.Initialize();
  }
  double Fire(double x, int e) {
    in[0] = x;
    event[0] = e;
    EXPECT_TRUE(dfe.Run());
    return out[0];
  }
  // One unit interval whose received level is y; returns the equalised level.
  double Ui(double y) {
    Fire(y, kEdgeSample);
    const double z = Fire(y, kNoSample);
    sample[0] = z;
    Fire(y, kDataSample);
    return z;
  }
};

// Received levels of random bits through a channel with cursor h[0] and
// post-cursors h[1..].
std::vector<double> Channel(const std::vector<double>& h, size_t bits, unsigned seed) {
  std::mt19937 rng(seed);
  std::vector<double> d(bits), y(bits);
  for (size_t k = 0; k < bits; ++k) {
    d[k] = (rng() & 1u) ? 1.0 : -1.0;
    double v = 0.0;
    for (size_t i = 0; i < h.size() && i <= k; ++i) v += h[i] * d[k - i];
    y[k] = v;
  }
  return y;
}

}  // namespace

TEST(DFE, SignSignLmsConvergesToThePostCursorsWithinTwoPercent) {
  const std::vector<double> h = {0.5, 0.2, 0.1, -0.05, 0.03};
  for (bool fromGiven : {false, true}) {
    Rig r;
    r.dfe.NumTaps = 4;
    r.dfe.Step = 1e-4;
    const double start[] = {0.3, -0.1};  // given, and wrong
    if (fromGiven) {
      r.dfe.InitialTaps = start;
      r.dfe.NumInitialTaps = 2;
    }
    ASSERT_TRUE(r.Start());
    EXPECT_EQ(r.dfe.Taps()[0], fromGiven ? 0.3 : 0.0);
    const std::vector<double> y = Channel(h, 100000, 11);
    double mean[4] = {};
    const size_t average = 20000;
    for (size_t k = 0; k < y.size(); ++k) {
      r.Ui(y[k]);
      if (k < y.size() - average) continue;
      for (int i = 0; i < 4; ++i) mean[i] += r.dfe.Taps()[i] / double(average);
    }
    for (int i = 0; i < 4; ++i) {
      EXPECT_NEAR(mean[i], h[i + 1], 0.02 * std::fabs(h[i + 1])) << "tap " << i + 1 << " from given " << fromGiven;
      EXPECT_NEAR(r.dfe.Taps()[i], h[i + 1], 0.02 * std::fabs(h[i + 1])) << "tap " << i + 1;
    }
    EXPECT_NEAR(r.dfe.Level(), h[0], 0.02 * h[0]);
    EXPECT_EQ(r.dfe.Decisions(), y.size());
  }
}

TEST(DFE, FixedTapsCancelThePostCursorsOverTheWholeUnitInterval) {
  const std::vector<double> h = {0.5, 0.25, -0.125};
  const double taps[] = {0.25, -0.125};
  Rig r;
  r.dfe.NumTaps = 2;
  r.dfe.InitialTaps = taps;
  r.dfe.NumInitialTaps = 2;
  r.dfe.Adapt = false;
  ASSERT_TRUE(r.Start());
  const std::vector<double> y = Channel(h, 2000, 3);
  for (size_t k = 0; k < y.size(); ++k) {
    const double z = r.Ui(y[k]);
    if (k < 2) continue;
    EXPECT_EQ(std::fabs(z), 0.5) << k;  // the eye of every bit fully open
  }
  EXPECT_EQ(r.dfe.Taps()[0], 0.25);
  EXPECT_EQ(r.dfe.Taps()[1], -0.125);
}

TEST(DFE, TapsStayBoundedOnRandomInput) {
  Rig r;
  r.dfe.NumTaps = 8;
  r.dfe.Step = 1e-3;
  r.dfe.TapLimit = 0.5;
  ASSERT_TRUE(r.Start());
  std::mt19937 rng(5);
  std::uniform_real_distribution<double> level(-1.0, 1.0);
  double largest = 0.0;
  for (int k = 0; k < 200000; ++k) {
    r.Ui(level(rng));
    for (int i = 0; i < 8; ++i) largest = std::max(largest, std::fabs(r.dfe.Taps()[i]));
    ASSERT_TRUE(std::isfinite(r.dfe.Level()));
  }
  // Uncorrelated input leaves nothing to cancel: the taps wander near 0,
  // well inside their bound.
  EXPECT_LT(largest, 0.25);
  EXPECT_LE(r.dfe.Level(), 1.0);
}

TEST(DFE, IdenticalInputsGiveIdenticalBits) {
  const std::vector<double> y = Channel({0.4, 0.15, 0.05}, 30000, 9);
  std::vector<double> outputs[2], taps[2];
  for (int run = 0; run < 2; ++run) {
    Rig r;
    r.dfe.NumTaps = 3;
    ASSERT_TRUE(r.Start());
    for (double v : y) outputs[run].push_back(r.Ui(v));
    taps[run].assign(r.dfe.Taps(), r.dfe.Taps() + 3);
  }
  EXPECT_EQ(std::memcmp(outputs[0].data(), outputs[1].data(), y.size() * sizeof(double)), 0);
  EXPECT_EQ(std::memcmp(taps[0].data(), taps[1].data(), 3 * sizeof(double)), 0);
}

TEST(DFE, SetupRefusesWhatItCannotUse) {
  DFE d;
  d.NumTaps = 65;
  d.Step = -1.0;
  EXPECT_EQ(StderrOf([&] { EXPECT_FALSE(d.Setup()); }),
            "NumTaps must be between 0 and 64\nStep must be >= 0 and finite\n");
  const double big[] = {2.0};
  DFE e;
  e.NumTaps = 1;
  e.InitialTaps = big;
  e.NumInitialTaps = 1;
  EXPECT_EQ(StderrOf([&] { EXPECT_FALSE(e.Setup()); }), "InitialTaps must lie within +-TapLimit\n");
  e.NumInitialTaps = 2;
  EXPECT_EQ(StderrOf([&] { EXPECT_FALSE(e.Setup()); }), "InitialTaps must hold NumInitialTaps values, 0 .. NumTaps\n");
}

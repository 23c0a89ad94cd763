// BER against phase and threshold on eyes with a known answer: an ideal NRZ
// eye with Gaussian noise (the BER is the Gaussian tail of the two levels),
// an eye with straight edges and Gaussian jitter (the bathtub is the
// Gaussian tail of the crossing times), and what more noise must do.
#include "tests/tools/SyntheticWave.h"
#include "tools/linkbench/eye/BerMap.h"
#include "tools/linkbench/eye/EyeMeasure.h"
#include "tools/linkbench/eye/SampleHistograms.h"
#include "tools/linkbench/eye/StatisticalEye.h"
#include "tools/linkbench/stream/Prbs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

constexpr int kSpb = 32;

double Q(double z) { return 0.5 * std::erfc(z / std::sqrt(2.0)); }

// The value of x in [lo, hi] where the increasing f crosses 0.
double Solve(const std::function<double(double)>& f, double lo, double hi) {
  for (int i = 0; i < 200; ++i) {
    const double mid = 0.5 * (lo + hi);
    (f(mid) < 0 ? lo : hi) = mid;
  }
  return 0.5 * (lo + hi);
}

// A PRBS7 eye of `count` bits made by SyntheticNrz, with the distributions
// gathered and the measured bits counted by value and by transitions.
struct Gathered {
  std::vector<uint8_t> bits;
  EyeMeasurement eye;
  SampleHistograms histograms{kSpb};
  double ones = 0, zeros = 0, risingOrFalling = 0, nextChanges = 0;

  Gathered(long count, int ramp) {
    Prbs prbs(7);
    bits = prbs.Bits(static_cast<size_t>(count));
    eye = EyeMeasure::Measure(SyntheticNrz(bits, kSpb, ramp), bits, kSpb, 1e-10, 32, 16, &histograms);
    for (long k = eye.firstBit; k < eye.endBit; ++k) {
      (bits[k] ? ones : zeros) += 1;
      risingOrFalling += bits[k] != bits[k - 1];
      nextChanges += bits[k + 1] != bits[k];
    }
  }
  double Bits() const { return ones + zeros; }
};

int ThresholdAt(const BerMap& map, double volts) {
  return static_cast<int>(std::lround((volts - map.ThresholdVolts(0)) / map.ThresholdStep()));
}

}  // namespace

// Ideal levels +-A with noise sigma: at the eye centre the BER at threshold
// v is (n1 Q((A - v)/sigma) + n0 Q((A + v)/sigma)) / N, so Q(A/sigma) at 0 V;
// the height at BER p spans the two thresholds where that reaches p.
TEST(Ber, NoiseOnlyEyeFollowsTheGaussianTailExactly) {
  const Gathered g(3000, 0);
  ASSERT_TRUE(g.eye.valid);
  ASSERT_EQ(static_cast<double>(g.histograms.Bits(0) + g.histograms.Bits(1)), g.Bits());
  const double a = 0.5;
  // Flat levels: every phase of the bit (here the middle) has the same eye.
  const int centre = SampleHistograms::kPhasesPerUi;
  for (double sigma : {0.1, 0.07, 0.06, 0.05}) {
    SCOPED_TRACE(sigma);
    const BerMap map(g.histograms, sigma, 0.0);
    auto exact = [&](double v) { return (g.ones * Q((a - v) / sigma) + g.zeros * Q((a + v) / sigma)) / g.Bits(); };
    for (double v : {0.0, 0.1, -0.2, 0.3}) {
      const int t = ThresholdAt(map, v);
      EXPECT_NEAR(map.At(centre, t) / exact(map.ThresholdVolts(t)), 1.0, 2e-3) << v;
    }
    EXPECT_NEAR(map.At(centre, ThresholdAt(map, 0.0)) / Q(a / sigma), 1.0, 2e-3);
    const BerResult r = StatisticalEye::Analyse(map, {1e-6, 1e-9, 1e-12}, false);
    ASSERT_TRUE(r.valid);
    for (const BerTargetFigures& f : r.targets) {
      SCOPED_TRACE(f.ber);
      if (Q(a / sigma) > f.ber) {
        EXPECT_FALSE(f.open);
        continue;
      }
      // Above 0 V the '1' errors rise with the threshold, below it the '0's.
      const double top = Solve([&](double v) { return exact(v) - f.ber; }, 0.0, a);
      const double bottom = Solve([&](double v) { return f.ber - exact(v); }, -a, 0.0);
      ASSERT_TRUE(f.open);
      EXPECT_NEAR(f.heightV, top - bottom, 2 * map.ThresholdStep());
      // Close to the textbook 2 (A - sigma Q^-1(2p)) for balanced bits.
      EXPECT_NEAR(f.threshold, 0.5 * (top + bottom), map.ThresholdStep());
    }
  }
}

// Straight edges over 8 samples (a quarter UI) cross 0 V an eighth of a UI
// into a bit that changes; with jitter sigma the BER at 0 V is
// (T/N) Phi((t_c - t)/sigma) on the left and (T'/N) Phi((t - 1 - t_c)/sigma)
// on the right, so the eye at BER p is 1 UI less the two tails' reach.
TEST(Ber, JitterOnlyBathtubFollowsTheGaussianTailOfTheCrossings) {
  const Gathered g(3000, 8);
  ASSERT_TRUE(g.eye.valid);
  // The crossing in UI from the start of a bit as the eye lines bits up.
  const double crossing = (4.0 - static_cast<double>(g.eye.delaySamples)) / kSpb;
  const double step = 1.0 / SampleHistograms::kPhasesPerUi;
  for (double sigma : {0.01, 0.02, 0.05}) {
    SCOPED_TRACE(sigma);
    const BerMap map(g.histograms, 0.0, sigma);
    const BerResult r = StatisticalEye::Analyse(map, {1e-6, 1e-9, 1e-12}, false);
    ASSERT_TRUE(r.valid);
    const double left = g.risingOrFalling / g.Bits(), right = g.nextChanges / g.Bits();
    for (const BerTargetFigures& f : r.targets) {
      SCOPED_TRACE(f.ber);
      ASSERT_TRUE(f.open);
      EXPECT_NEAR(f.threshold, 0.0, map.ThresholdStep());
      const double middle = crossing + 0.5;
      const double from = Solve([&](double t) { return f.ber - left * Q((t - crossing) / sigma); }, crossing, middle);
      const double to =
          Solve([&](double t) { return right * Q((1 + crossing - t) / sigma) - f.ber; }, middle, 1 + crossing);
      // The one approximation: an edge moves by at most half a phase step.
      EXPECT_NEAR(f.fromUi, from, 0.5 * step + 1e-9);
      EXPECT_NEAR(f.toUi, to, 0.5 * step + 1e-9);
    }
    // At the crossing itself half the changing bits err.
    const int t = ThresholdAt(map, 0.0);
    const int at = static_cast<int>(std::lround((crossing + 0.5) * SampleHistograms::kPhasesPerUi));
    EXPECT_NEAR(map.At(at, t), 0.5 * left, 0.05 * left);
  }
}

// More noise can only raise the BER and shrink the eye at every target;
// without noise or jitter the BER is the pattern's own: 0 inside its eye,
// at least 1/N outside.
TEST(Ber, MoreNoiseNeverHelpsAndNoNoiseIsThePatternsEye) {
  const Gathered g(2000, 8);
  const BerMap plain(g.histograms, 0.0, 0.0);
  for (int p = 0; p < BerMap::kPhases; ++p)
    for (int t = 0; t < BerMap::kThresholds; t += 7)
      ASSERT_TRUE(plain.At(p, t) == 0 || plain.At(p, t) >= 1.0 / g.Bits() - 1e-15) << p << " " << t;
  const BerResult pattern = StatisticalEye::Analyse(plain, {1e-4, 1e-12}, false);
  EXPECT_NEAR(pattern.targets[0].heightV, pattern.targets[1].heightV, 1e-9);
  EXPECT_NEAR(pattern.targets[0].heightV, g.eye.heightV, 2 * plain.ThresholdStep());

  double lastHeight = 1e9, lastWidth = 1e9;
  const int centre = SampleHistograms::kPhasesPerUi + kSpb / 4;
  double lastCentreBer = 0;
  for (double sigma : {0.05, 0.06, 0.08, 0.1}) {
    const BerMap map(g.histograms, sigma, 0.01);
    const double ber = map.At(centre, ThresholdAt(map, 0.0));
    EXPECT_GT(ber, lastCentreBer);
    lastCentreBer = ber;
    const BerResult r = StatisticalEye::Analyse(map, {1e-6}, false);
    EXPECT_LT(r.targets[0].heightV, lastHeight);
    EXPECT_LE(r.targets[0].widthUi, lastWidth);
    lastHeight = r.targets[0].heightV;
    lastWidth = r.targets[0].widthUi;
  }
}

// The noise kernels are probabilities: between 0 and 1, a '1' read as '0'
// more often the higher the threshold, each place read one way or the other
// (the two kernels add up to 1), and steps without noise.
TEST(Ber, NoiseKernelsAreTheGaussianCdfAtEachPlaceInABin) {
  int reach = 0;
  std::vector<double> ones, zeros;
  BerMap::NoiseKernels(0.0, reach, ones, zeros);
  EXPECT_EQ(reach, 1);
  ASSERT_EQ(ones.size(), static_cast<size_t>(BerMap::kPositions));
  for (size_t j = 0; j < ones.size(); ++j) EXPECT_TRUE(ones[j] == 0.0 && zeros[j] == 1.0) << j;  // m = 0
  for (double sigmaInBins : {0.3, 1.0, 40.0}) {
    BerMap::NoiseKernels(sigmaInBins, reach, ones, zeros);
    const int span = 2 * reach - 1;
    ASSERT_EQ(ones.size(), static_cast<size_t>(BerMap::kPositions * span));
    for (int j = 0; j < BerMap::kPositions; ++j) {
      for (int m = -reach + 1; m < reach; ++m) {
        const size_t i = static_cast<size_t>(j * span + m + reach - 1);
        EXPECT_NEAR(ones[i] + zeros[i], 1.0, 1e-15);
        EXPECT_NEAR(ones[i], Q(-(m - (j + 0.5) / BerMap::kPositions) / sigmaInBins), 1e-15);
        if (m > -reach + 1) {
          EXPECT_GE(ones[i], ones[i - 1]);
        }
      }
      // The ends: the Gaussian beyond them holds nothing that counts.
      EXPECT_LT(ones[static_cast<size_t>(j * span)], 1e-25);
      EXPECT_LT(zeros[static_cast<size_t>(j * span + span - 1)], 1e-25);
    }
  }
}

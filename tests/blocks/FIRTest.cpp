#include "CaptureStderr.h"
#include "PinStorage.h"

#include "blocks/FIR.h"

#include <gtest/gtest.h>

#include <complex>
#include <random>
#include <string>
#include <vector>

using namespace OrvennModelBuilder;

namespace {

using Complex = std::complex<double>;

// Drives a filter: D fresh input samples per firing, I outputs collected.
template <class T, int Flag>
struct Driver {
  Driver(std::vector<T> taps, int32_t d = 1, int32_t phase = 0, int32_t i = 1)
      : taps(std::move(taps)), in(size_t(d)), out(size_t(i)) {
    fir.Taps = this->taps.data();
    fir.NumTaps = int32_t(this->taps.size());
    fir.Decimation = d;
    fir.DecimationPhase = phase;
    fir.Interpolation = i;
  }
  bool Start() {
    if (!fir.Setup()) return false;
    AttachPin(fir.Input, in);
    AttachPin(fir.Output, out);
    return fir.Initialize();
  }
  // Feeds `x` (a multiple of D samples) and returns every output.
  std::vector<T> Feed(const std::vector<T>& x) {
    std::vector<T> y;
    for (size_t n = 0; n + in.size() <= x.size(); n += in.size()) {
      std::copy(x.begin() + long(n), x.begin() + long(n + in.size()), in.begin());
      EXPECT_TRUE(fir.Run());
      y.insert(y.end(), out.begin(), out.end());
    }
    return y;
  }
  FIR<T, Flag> fir;
  std::vector<T> taps, in, out;
};

// Output m = sum over k < N of taps[k] * u[phase + m*D - k], u the input
// up-sampled by I, summed for k ascending from +0.0.
template <class T>
std::vector<T> Reference(const std::vector<T>& taps, const std::vector<T>& x, int d, int phase, int interp) {
  const long outputs = long(x.size()) / d * interp;
  std::vector<T> y;
  for (long m = 0; m < outputs; ++m) {
    T acc = T(0.0);
    for (long k = 0; k < long(taps.size()); ++k) {
      const long idx = phase + m * d - k;
      if (idx >= 0 && idx % interp == 0) acc = acc + taps[size_t(k)] * x[size_t(idx / interp)];
    }
    y.push_back(acc);
  }
  return y;
}

std::vector<double> RandomSamples(size_t n, unsigned seed) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<double> dist(-1.0, 1.0);
  std::vector<double> v(n);
  for (auto& e : v) e = dist(gen);
  return v;
}

}  // namespace

TEST(FIR, SingleRateConvolutionStartsFromSilence) {
  Driver<double, 0> f({0.5, 0.25, 2.0});
  ASSERT_TRUE(f.Start());
  EXPECT_EQ(f.Feed({1.0, 2.0, 3.0, 4.0}), (std::vector<double>{0.5, 1.25, 4.0, 6.75}));
}

TEST(FIR, UnitTapPassesInputWithoutDelay) {
  Driver<double, 1> f({1.0});
  ASSERT_TRUE(f.Start());
  EXPECT_EQ(f.Feed({3.0, -1.5, 0.25}), (std::vector<double>{3.0, -1.5, 0.25}));
}

TEST(FIR, DecimationTwoPicksThePhase) {
  // Phase 0: h0 * older new sample + h1 * newest sample of the previous firing.
  Driver<double, 0> p0({10.0, 1.0}, 2, 0);
  ASSERT_TRUE(p0.Start());
  EXPECT_EQ(p0.Feed({1.0, 2.0, 3.0, 4.0}), (std::vector<double>{10.0, 32.0}));
  // Phase 1: h0 * newer new sample + h1 * older new sample.
  Driver<double, 0> p1({10.0, 1.0}, 2, 1);
  ASSERT_TRUE(p1.Start());
  EXPECT_EQ(p1.Feed({1.0, 2.0, 3.0, 4.0}), (std::vector<double>{21.0, 43.0}));
}

TEST(FIR, InterpolationTwoSplitsTheTapsIntoBranches) {
  // Offset 0 = h0 x[n] + h2 x[n-1]; offset 1 = h1 x[n] + h3 x[n-1].
  Driver<double, 0> f({1.0, 10.0, 100.0, 1000.0}, 1, 0, 2);
  ASSERT_TRUE(f.Start());
  EXPECT_EQ(f.fir.tapsPerPhase, 2);
  EXPECT_EQ(f.Feed({1.0, 2.0}), (std::vector<double>{1.0, 10.0, 102.0, 1020.0}));
}

TEST(FIR, ShortBranchSkipsTapsBeyondTheEnd) {
  // N = 3, I = 2: branch 1 has only tap 1.
  Driver<double, 0> f({1.0, 10.0, 100.0}, 1, 0, 2);
  ASSERT_TRUE(f.Start());
  EXPECT_EQ(f.fir.tapsPerPhase, 2);
  EXPECT_EQ(f.Feed({1.0, 2.0}), (std::vector<double>{1.0, 10.0, 102.0, 20.0}));
}

TEST(FIR, RationalRatesMatchTheUpsampledConvolutionBitForBit) {
  const std::vector<double> taps = RandomSamples(23, 1);
  const std::vector<double> x = RandomSamples(60, 2);
  for (int d = 1; d <= 3; ++d)
    for (int interp = 1; interp <= 3; ++interp)
      for (int phase = 0; phase < d; ++phase) {
        Driver<double, 0> f(taps, d, phase, interp);
        ASSERT_TRUE(f.Start());
        EXPECT_EQ(f.Feed(x), Reference(taps, x, d, phase, interp))
            << "D " << d << " I " << interp << " phase " << phase;
      }
}

TEST(FIR, LongFilterWrapsItsHistory) {
  const std::vector<double> taps = RandomSamples(147, 3);
  const std::vector<double> x = RandomSamples(500, 4);
  Driver<double, 0> f(taps);
  ASSERT_TRUE(f.Start());
  EXPECT_EQ(f.Feed(x), Reference(taps, x, 1, 0, 1));
}

TEST(FIR, PinsAreAddressedFromTheirPositions) {
  Driver<double, 0> f({1.0, 0.5}, 2, 1);
  ASSERT_TRUE(f.fir.Setup());
  std::vector<double> in{0.0, 0.0, 0.0}, out{0.0, 0.0};
  AttachPin(f.fir.Input, in, 2);
  AttachPin(f.fir.Output, out, 1);
  ASSERT_TRUE(f.fir.Initialize());
  in[2] = 4.0;  // offset 0
  in[0] = 6.0;  // offset 1 wraps
  EXPECT_TRUE(f.fir.Run());
  EXPECT_EQ(out, (std::vector<double>{0.0, 8.0}));
}

TEST(FIR, SecondInitializeClearsTheHistory) {
  const std::vector<double> taps{0.3, -0.7, 1.1};
  Driver<double, 0> f(taps);
  ASSERT_TRUE(f.Start());
  f.Feed({5.0, 6.0, 7.0});
  ASSERT_TRUE(f.fir.Initialize());
  Driver<double, 0> fresh(taps);
  ASSERT_TRUE(fresh.Start());
  EXPECT_EQ(f.Feed({1.0, 2.0, 3.0}), fresh.Feed({1.0, 2.0, 3.0}));
}

TEST(FIR, ComplexTapsUseFullProducts) {
  Driver<Complex, 0> f({Complex(0.0, 1.0)});
  ASSERT_TRUE(f.Start());
  EXPECT_EQ(f.Feed({Complex(1.0, 0.0), Complex(0.0, 1.0)}),
            (std::vector<Complex>{Complex(0.0, 1.0), Complex(-1.0, 0.0)}));

  // Real and imaginary parts are summed separately, products as
  // (tr xr - ti xi, tr xi + ti xr).
  const std::vector<Complex> taps{{0.5, -0.25}, {1.5, 2.0}, {-0.75, 0.125}};
  const std::vector<Complex> x{{1.0, 2.0}, {-3.0, 0.5}, {0.25, -1.0}, {2.0, 2.0}};
  std::vector<Complex> expected;
  for (size_t n = 0; n < x.size(); ++n) {
    double re = 0.0, im = 0.0;
    for (size_t k = 0; k < taps.size() && k <= n; ++k) {
      const Complex t = taps[k], s = x[n - k];
      re = re + (t.real() * s.real() - t.imag() * s.imag());
      im = im + (t.real() * s.imag() + t.imag() * s.real());
    }
    expected.emplace_back(re, im);
  }
  Driver<Complex, 0> g(taps);
  ASSERT_TRUE(g.Start());
  EXPECT_EQ(g.Feed(x), expected);
}

TEST(FIR, SetupReportsEveryFailedCheck) {
  FIR<double, 0> fir;
  fir.NumTaps = 0;
  fir.Decimation = 0;
  fir.DecimationPhase = 0;
  fir.Interpolation = 0;
  testing::internal::CaptureStderr();
  EXPECT_FALSE(fir.Setup());
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "There must be at least one Tap\n"
            "Decimation must be > 0\n"
            "DecimationPhase must be < Decimation ratio\n"
            "Interpolation must be > 0\n");
  EXPECT_EQ(fir.Input.maxBlockSize, 1u);
  EXPECT_EQ(fir.Output.maxBlockSize, 1u);
}

TEST(FIR, SetupRejectsPhaseOutsideTheDecimation) {
  double tap = 1.0;
  FIR<double, 1> fir;
  fir.Taps = &tap;
  fir.NumTaps = 1;
  fir.Decimation = 2;
  fir.DecimationPhase = 2;
  testing::internal::CaptureStderr();
  EXPECT_FALSE(fir.Setup());
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "DecimationPhase must be < Decimation ratio\n");
  fir.DecimationPhase = -1;
  testing::internal::CaptureStderr();
  EXPECT_FALSE(fir.Setup());
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "DecimationPhase must be >= 0\n");
}

TEST(FIR, SetupRejectsMissingTaps) {
  FIR<double, 0> fir;
  fir.NumTaps = 3;
  testing::internal::CaptureStderr();
  EXPECT_FALSE(fir.Setup());
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Taps must point at NumTaps coefficients\n");
}

TEST(FIR, SetupDeclaresBlockSizes) {
  Driver<double, 0> f(std::vector<double>(7, 1.0), 3, 2, 2);
  ASSERT_TRUE(f.fir.Setup());
  EXPECT_EQ(f.fir.Input.blockSize, 3u);
  EXPECT_EQ(f.fir.Output.blockSize, 2u);
  EXPECT_EQ(f.fir.tapsPerPhase, 4);
}

TEST(FIR, RunOutsideTheLifecycleTouchesNothing) {
  const std::string refused =
      "FIR fired without a history for its configuration: Initialize "
      "must follow Setup, and pins need storage\n";
  Driver<double, 0> f({1.0, 2.0});
  std::vector<double> in{1.0}, out{-3.0};
  AttachPin(f.fir.Input, in);
  AttachPin(f.fir.Output, out);
  EXPECT_EQ(StderrOf([&] { EXPECT_FALSE(f.fir.Run()); }), refused);  // never set up
  ASSERT_TRUE(f.fir.Setup());
  EXPECT_EQ(StderrOf([&] { EXPECT_FALSE(f.fir.Run()); }), refused);  // no history yet
  ASSERT_TRUE(f.fir.Initialize());
  EXPECT_TRUE(f.fir.Run());
  EXPECT_EQ(out[0], 1.0);
  // A longer filter set up without a new Initialize does not reach past
  // the old history.
  f.taps.assign(50, 1.0);
  f.fir.Taps = f.taps.data();
  f.fir.NumTaps = 50;
  ASSERT_TRUE(f.fir.Setup());
  EXPECT_EQ(StderrOf([&] { EXPECT_FALSE(f.fir.Run()); }), refused);
  EXPECT_TRUE(f.fir.Finalize());
  EXPECT_EQ(StderrOf([&] { EXPECT_FALSE(f.fir.Run()); }), refused);
  EXPECT_EQ(out[0], 1.0);
  EXPECT_TRUE(f.fir.Finalize());
  f.fir.Initialize();
  f.fir.Output.data = nullptr;
  EXPECT_EQ(StderrOf([&] { EXPECT_FALSE(f.fir.Run()); }), refused);
}

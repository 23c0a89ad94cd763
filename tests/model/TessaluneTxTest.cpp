#include "model/tessalune_tx.h"

#include "model/ResponseTables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using OrvennModelBuilder::TimeResponseFIR;

namespace {

// The network with its three ports wired to local samples, as the entry
// points wire them.
struct Network {
  tessalune_tx model;
  double in = 0.0, out = 0.0, eq = 0.0;

  explicit Network(double vreg = 2.0, double corner = 2.0, double emphasis = 0.0, double spb = 32.0,
                   double bitTime = 1e-10) {
    model.Vreg = vreg;
    model.corner = corner;
    model.emphasis = emphasis;
    model.SamplesPerBit = spb;
    model.BitTime = bitTime;
    model.InputBuffer.Attach(&in, 1, 1, 0);
    model.OutputBuffer.Attach(&out, 1, 1, 0);
    model.EqualizerOutputBuffer.Attach(&eq, 1, 1, 0);
  }

  void Start() {
    ASSERT_TRUE(model.Setup());
    ASSERT_TRUE(model.Initialize());
  }

  // Runs the input through; returns (output, equaliser output) sequences.
  void Feed(const std::vector<double>& x, std::vector<double>& y, std::vector<double>& e) {
    for (double v : x) {
      in = v;
      ASSERT_TRUE(model.Run());
      y.push_back(out);
      e.push_back(eq);
    }
  }
};

// Response filter k on its own, fed x.
std::vector<double> ResponseFilter(int k, double sampleRate, const std::vector<double>& x) {
  std::vector<double> values(ResponseTableValues(k), ResponseTableValues(k) + kResponseTableSize);
  std::vector<double> stamps(ResponseTableTimeStamps(k), ResponseTableTimeStamps(k) + kResponseTableSize);
  TimeResponseFIR f;
  double in = 0.0, out = 0.0;
  f.ResponseType = TimeResponseFIR::ImpulseResponse;
  f.Response = values.data();
  f.ResponseSize = kResponseTableSize;
  f.ResponseTimeStamps = stamps.data();
  f.ResponseTimeStampsSize = kResponseTableSize;
  f.SampleRate = sampleRate;
  EXPECT_TRUE(f.Setup());
  f.Input.Attach(&in, 1, 1, 0);
  f.Output.Attach(&out, 1, 1, 0);
  EXPECT_TRUE(f.Initialize());
  std::vector<double> y;
  for (double v : x) {
    in = v;
    f.Run();
    y.push_back(out);
  }
  f.Finalize();
  return y;
}

// A +-1 bit pattern, n samples per bit, with some in-bit wiggle.
std::vector<double> Pattern(int n, int bits) {
  std::vector<double> x;
  unsigned lfsr = 0x2Du;
  for (int b = 0; b < bits; ++b) {
    const unsigned bit = ((lfsr >> 6) ^ (lfsr >> 5)) & 1u;
    lfsr = ((lfsr << 1) | bit) & 0x7Fu;
    for (int i = 0; i < n; ++i) x.push_back((bit ? 1.0 : -1.0) + 0.01 * std::sin(0.3 * (b * n + i)));
  }
  return x;
}

}  // namespace

TEST(TessaluneTx, ParametersSelectResponseThreeTimesVregPlusCorner) {
  struct Case {
    double vreg, corner;
    int k;
  } cases[] = {{2.0, 2.0, 8},
               {0.0, 0.0, 0},
               {1.0, 2.0, 5},
               {0.0, 1.0, 1},
               {0.0, 2.0, 2},
               {1.0, 0.0, 3},
               {1.0, 1.0, 4},
               {2.0, 0.0, 6},
               {2.0, 1.0, 7},
               // rounding to the nearest index, halves away from zero
               {1.5, -0.4, 6},
               {-0.4, 1.4999, 1},
               {0.5, 0.49, 3}};
  const std::vector<double> x = Pattern(32, 12);
  for (const Case& c : cases) {
    SCOPED_TRACE("Vreg " + std::to_string(c.vreg) + " corner " + std::to_string(c.corner));
    Network net(c.vreg, c.corner, 4.0);
    net.Start();
    std::vector<double> y, e;
    net.Feed(x, y, e);
    // The selected filter sees the emphasis output (the equaliser port).
    EXPECT_EQ(y, ResponseFilter(c.k, 32.0 / 1e-10, e));
  }
}

TEST(TessaluneTx, EqualiserOutputIsTheSummedEmphasisPaths) {
  // 2.9 truncates to level 2; -0.5 truncates to level 0.
  for (double emphasis : {2.9, -0.5, 6.0}) {
    const double w = emphasis < 0 ? 0.0 : emphasis < 3 ? -0.1111 : -0.36665;
    for (int n : {32, 5}) {
      Network net(0.0, 1.0, emphasis, n);
      net.Start();
      const std::vector<double> x = Pattern(n, 10);
      std::vector<double> y, e;
      net.Feed(x, y, e);
      for (size_t t = 0; t < x.size(); ++t) {
        const double main = t < size_t(n) ? 0.0 : ((1.0 - std::fabs(w)) * x[t - n]) * 1.05;
        const double post = t < size_t(2 * n) ? 0.0 : (x[t - 2 * n] * w) * 1.05;
        ASSERT_EQ(e[t], main + post) << "emphasis " << emphasis << " n " << n << " t " << t;
      }
      // Both outputs start with one unit interval of zeros.
      for (int t = 0; t < n; ++t) {
        EXPECT_EQ(y[t], 0.0);
        EXPECT_EQ(e[t], 0.0);
      }
    }
  }
}

TEST(TessaluneTx, ConstantInputSettlesAtResponseGainTimesEmphasisGain) {
  struct Case {
    double vreg, corner, emphasis, area;
  } cases[] = {{2, 2, 0, 1.201}, {0, 0, 0, 0.877}, {2, 2, 3, 1.201}, {1, 1, 6, 0.864}};
  for (const Case& c : cases) {
    Network net(c.vreg, c.corner, c.emphasis);
    net.Start();
    std::vector<double> y, e;
    net.Feed(std::vector<double>(64 + 147 + 20, 1.0), y, e);
    const int k = int(3 * c.vreg + c.corner);
    const std::vector<double> impulse = ResponseFilter(k, 3.2e11, std::vector<double>(147, 1.0));
    const double taps = impulse.back();  // step response after all taps = sum of taps
    const double w = TXFIR_1pre2pst::PostWeights[int(c.emphasis)];
    const double emphasisGain = 1.05 * (1 - 2 * std::fabs(w));
    EXPECT_NEAR(e.back(), emphasisGain, 1e-14);
    EXPECT_NEAR(y.back(), taps * emphasisGain, 1e-12);
    EXPECT_NEAR(y.back(), c.area * emphasisGain, 0.01 * c.area * emphasisGain);
  }
}

TEST(TessaluneTx, ControlIndexOutsideTheBankFailsEveryRun) {
  Network net(2.0, 2.5);  // corner index 3
  net.Start();
  net.out = 7.0;
  testing::internal::CaptureStderr();
  net.in = 1.0;
  EXPECT_FALSE(net.model.Run());
  EXPECT_FALSE(net.model.Run());
  const std::string err = testing::internal::GetCapturedStderr();
  const std::string line =
      "Control input signal value is equal to 3.  There are 3 inputs connected.  "
      "The valid control input range is [0,2].\n";
  EXPECT_EQ(err, line + line);

  Network vreg(-0.6, 0.0);  // Vreg index -1: the three first-stage muxes fail
  vreg.Start();
  testing::internal::CaptureStderr();
  EXPECT_FALSE(vreg.model.Run());
  const std::string err2 = testing::internal::GetCapturedStderr();
  const std::string line2 =
      "Control input signal value is equal to -1.  There are 3 inputs connected.  "
      "The valid control input range is [0,2].\n";
  EXPECT_EQ(err2, line2 + line2 + line2);
}

TEST(TessaluneTx, SetupAndInitializeAgainRebuildAndRestart) {
  const std::vector<double> x = Pattern(32, 8);
  Network fresh(0.0, 0.0, 1.0);
  fresh.Start();
  std::vector<double> expected, e0;
  fresh.Feed(x, expected, e0);

  Network net(2.0, 2.0, 5.0);
  net.Start();
  std::vector<double> y, e;
  net.Feed(Pattern(32, 3), y, e);
  net.model.Vreg = 0.0;
  net.model.corner = 0.0;
  net.model.emphasis = 1.0;
  // Parameters take effect only through Setup.
  y.clear();
  net.Start();
  net.Start();
  y.clear();
  e.clear();
  net.Feed(x, y, e);
  EXPECT_EQ(y, expected);
  EXPECT_EQ(e, e0);
  EXPECT_TRUE(net.model.Finalize());
  EXPECT_FALSE(net.model.Run());  // nothing left to run on
  EXPECT_TRUE(net.model.Finalize());
}

TEST(TessaluneTx, TimingTheNetworkCannotHoldFailsSetup) {
  // Every block is set up even after one fails, so each one that cannot
  // take the timing says so: the nine response filters, then the emphasis
  // filter.
  std::string nineRates;
  for (int k = 0; k < tessalune_tx::ResponseCount; ++k) nineRates += "SampleRate must be > 0.0\n";
  struct Case {
    double spb, bitTime;
    std::string err;
  } cases[] = {
      {0.0, 1e-10, nineRates + "SamplesPerBit is 0; it must be between 1 and 128\n"},
      {129.0, 1e-10, "SamplesPerBit is 129; it must be between 1 and 128\n"},
      {1e12, 1e-10,
       "SampleRate 1e+22 exceeds the largest the response filters are built for, 1e+15\n"
       "SamplesPerBit is -2147483648; it must be between 1 and 128\n"},
      {32.0, 1e-20, "SampleRate 3.2e+21 exceeds the largest the response filters are built for, 1e+15\n"},
      {32.0, 0.0, "SampleRate inf exceeds the largest the response filters are built for, 1e+15\n"},
      {32.0, -1e-10, nineRates},
  };
  for (const Case& c : cases) {
    Network net(2.0, 2.0, 0.0, c.spb, c.bitTime);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(net.model.Setup());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), c.err) << "spb " << c.spb << " bit time " << c.bitTime;
    // Run is refused before Initialize; Finalize is safe.
    EXPECT_FALSE(net.model.Run());
    EXPECT_TRUE(net.model.Finalize());
  }
}

TEST(TessaluneTx, InitializeAfterAFailedSetupDoesNotRunOutOfBounds) {
  for (double bitTime : {1e-10, 1e-20}) {  // the emphasis filter, then the response filters refuse
    Network net(2.0, 2.0, 0.0, 500.0, bitTime);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(net.model.Setup());
    EXPECT_FALSE(net.model.Initialize());
    net.in = 1.0;
    EXPECT_FALSE(net.model.Run());
    testing::internal::GetCapturedStderr();
  }
}

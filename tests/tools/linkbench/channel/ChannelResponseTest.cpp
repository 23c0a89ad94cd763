#include "tools/linkbench/channel/ChannelResponse.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numeric>

namespace {

constexpr double kPi = 3.14159265358979323846;

using Transfer = std::function<std::complex<double>(double)>;

// A 2-port with S21 = S12 = H(f) at first, first + step, ... up to last.
TouchstoneNetwork TwoPort(const Transfer& h, double first, double step, double last) {
  TouchstoneNetwork n;
  n.ports = 2;
  n.reference.assign(2, 50.0);
  for (double f = first; f <= last * (1 + 1e-12); f += step) {
    n.frequency.push_back(f);
    const std::complex<double> v = h(f);
    n.s.insert(n.s.end(), {0.0, v, v, 0.0});
  }
  return n;
}

// A 4-port of two lines, each S21 = H, with crosstalk X between them; the
// p line runs from port `order[0]` to `order[1]`, the n line from
// `order[2]` to `order[3]`.
TouchstoneNetwork FourPort(const Transfer& h, const Transfer& x, const int order[4], double step, double last) {
  TouchstoneNetwork n;
  n.ports = 4;
  n.reference.assign(4, 50.0);
  for (double f = 0.0; f <= last; f += step) {
    n.frequency.push_back(f);
    std::complex<double> m[16] = {};
    auto set = [&](int a, int b, std::complex<double> v) {
      m[(order[a] - 1) * 4 + order[b] - 1] = v;
      m[(order[b] - 1) * 4 + order[a] - 1] = v;
    };
    set(1, 0, h(f));  // p out <- p in
    set(3, 2, h(f));  // n out <- n in
    set(1, 2, x(f));  // p out <- n in
    set(3, 0, x(f));  // n out <- p in
    n.s.insert(n.s.end(), m, m + 16);
  }
  return n;
}

ChannelResponse Built(const TouchstoneNetwork& network, double dt, const std::string& ports = "1,2,3,4") {
  ChannelResponse channel;
  ChannelResponse::Ports p;
  std::string error;
  EXPECT_TRUE(ChannelResponse::ParsePorts(ports, p, error)) << error;
  EXPECT_TRUE(channel.SetNetwork(network, p, error)) << error;
  EXPECT_TRUE(channel.Build(dt, error)) << error;
  return channel;
}

Transfer Delay(double gain, double tau) {
  return [=](double f) { return std::polar(gain, -2.0 * kPi * f * tau); };
}

}  // namespace

TEST(ChannelResponse, ADelayLineBecomesAPulseAtItsDelayWithItsGain) {
  const double dt = 5e-12, tau = 1e-9;
  ChannelResponse c = Built(TwoPort(Delay(0.8, tau), 0.0, 50e6, 20e9), dt);
  EXPECT_EQ(c.Name(), "S21");
  const std::vector<double>& h = c.Impulse();
  ASSERT_FALSE(h.empty());
  EXPECT_DOUBLE_EQ(c.DcGain(), 0.8);
  EXPECT_NEAR(std::accumulate(h.begin(), h.end(), 0.0), 0.8, 1e-6);
  const size_t peak = static_cast<size_t>(std::max_element(h.begin(), h.end()) - h.begin());
  EXPECT_EQ(peak, static_cast<size_t>(tau / dt));
  EXPECT_NEAR(c.Delay(), tau, dt);
  EXPECT_LT(c.PreT0Energy(), 1e-9);
  EXPECT_EQ(c.FftSize() % 2, 0u);
  EXPECT_GE(static_cast<double>(c.FftSize()) * dt, 4.0 / 50e6 - dt);  // four times the file's period
  const std::vector<double> step = c.Step();
  EXPECT_NEAR(step.back(), std::accumulate(h.begin(), h.end(), 0.0), 1e-12);
  // Rolled off to nothing at the grid's Nyquist frequency, untouched below the data's end.
  EXPECT_EQ(std::abs(c.At(0.5 / dt)), 0.0);
  EXPECT_NEAR(std::abs(c.At(10e9)), 0.8, 1e-12);
}

TEST(ChannelResponse, AFirstOrderLowPassStepsAsTheFormulaSays) {
  // H = exp(-j w tau) / (1 + j f / fc): the step response is
  // 1 - exp(-(t - tau) / tc) after the delay, tc = 1 / (2 pi fc).
  const double fc = 1e9, tau = 0.5e-9, dt = 2e-12, tc = 1.0 / (2.0 * kPi * fc);
  auto h = [&](double f) { return std::polar(1.0, -2.0 * kPi * f * tau) / std::complex<double>(1.0, f / fc); };
  ChannelResponse c = Built(TwoPort(h, 0.0, 10e6, 50e9), dt);
  const std::vector<double> step = c.Step();
  // Step()[i] is the response at (i + 1/2) dt: the sum of the impulse's samples up to i.
  for (double k : {1.0, 2.0, 4.0}) {
    const size_t i = static_cast<size_t>(std::lround((tau + k * tc) / dt - 0.5));
    ASSERT_LT(i, step.size());
    const double t = (static_cast<double>(i) + 0.5) * dt;
    EXPECT_NEAR(step[i], 1.0 - std::exp(-(t - tau) / tc), 1e-3) << k;
  }
  EXPECT_NEAR(c.Delay(), tau + std::log(2.0) * tc, 2 * dt);
  EXPECT_LT(c.PreT0Energy(), 1e-6);
}

TEST(ChannelResponse, DcComesFromALineLossFitWhenTheFileStartsAboveIt) {
  // Loss in dB of a + b sqrt(f) + c f, as a line has (DC, skin, dielectric).
  const double a = 0.4, b = 2.0, c = 0.8;
  auto line = [&](double f) {
    const double x = f / 1e9;
    return std::polar(std::pow(10.0, -(a + b * std::sqrt(x) + c * x) / 20.0), -2.0 * kPi * f * 1e-9);
  };
  ChannelResponse channel = Built(TwoPort(line, 100e6, 100e6, 20e9), 5e-12);
  EXPECT_NEAR(channel.DcGain(), std::pow(10.0, -a / 20.0), 1e-9);
  EXPECT_NE(std::find(channel.Notes().begin(), channel.Notes().end(), "DC gain extrapolated from 100 MHz"),
            channel.Notes().end());
  // The same line with its wires crossed at one end: the DC gain is negative.
  ChannelResponse inverted = Built(TwoPort([&](double f) { return -line(f); }, 100e6, 100e6, 20e9), 5e-12);
  EXPECT_NEAR(inverted.DcGain(), -std::pow(10.0, -a / 20.0), 1e-9);
  EXPECT_DOUBLE_EQ(inverted.Delay(), channel.Delay());
}

TEST(ChannelResponse, Sdd21FollowsThePortOrderAndSaysWhenAnotherFitsBetter) {
  const Transfer through = Delay(0.9, 0.7e-9), crosstalk = Delay(0.05, 0.7e-9);
  const int oddEven[4] = {1, 2, 3, 4}, leftRight[4] = {1, 3, 2, 4};
  const TouchstoneNetwork a = FourPort(through, crosstalk, oddEven, 100e6, 20e9);
  const TouchstoneNetwork b = FourPort(through, crosstalk, leftRight, 100e6, 20e9);
  const ChannelResponse byDefault = Built(a, 5e-12);
  const ChannelResponse reordered = Built(b, 5e-12, "1,3,2,4");
  EXPECT_EQ(byDefault.Name(), "SDD21 (p 1->2, n 3->4)");
  EXPECT_EQ(reordered.Name(), "SDD21 (p 1->3, n 2->4)");
  EXPECT_NEAR(byDefault.DcGain(), 0.9 - 0.05, 1e-12);  // SDD21 = H - X
  EXPECT_EQ(byDefault.Impulse(), reordered.Impulse());
  EXPECT_TRUE(byDefault.Notes().empty());
  const ChannelResponse wrong = Built(b, 5e-12);
  ASSERT_EQ(wrong.Notes().size(), 1u);
  EXPECT_NE(wrong.Notes()[0].find("try --ports 1,3,2,4"), std::string::npos) << wrong.Notes()[0];
  // p and n swapped at one end only: the differential signal comes out inverted.
  EXPECT_NEAR(Built(a, 5e-12, "1,4,3,2").DcGain(), -(0.9 - 0.05), 1e-12);
}

TEST(ChannelResponse, RefusesWhatItCannotUse) {
  ChannelResponse::Ports ports;
  std::string error;
  for (const char* bad : {"1,2,3", "1,1,2,3", "0,1,2,3", "1,2,3,4,5", "a,b,c,d", "", "1,2,3,4,", "12,3,4"}) {
    EXPECT_FALSE(ChannelResponse::ParsePorts(bad, ports, error)) << bad;
  }
  EXPECT_NE(error.find("--ports needs four different ports from 1 to 4"), std::string::npos);
  ASSERT_TRUE(ChannelResponse::ParsePorts("4,3,2,1", ports, error));
  EXPECT_EQ(ports.pIn, 4);
  EXPECT_EQ(ports.nOut, 1);

  ChannelResponse channel;
  TouchstoneNetwork three;
  three.ports = 3;
  three.frequency = {1e9};
  three.s.assign(9, 0.0);
  EXPECT_FALSE(channel.SetNetwork(three, ports, error));
  EXPECT_EQ(error, "a 3-port network cannot be used as a channel: a 2-port (S21) or a 4-port (differential SDD21)");
  EXPECT_FALSE(channel.Build(1e-12, error));  // nothing set

  ASSERT_TRUE(channel.SetNetwork(TwoPort(Delay(1.0, 1e-9), 10e9, 1e9, 60e9), ports, error));
  EXPECT_FALSE(channel.Build(0.0, error));
  EXPECT_FALSE(channel.Build(1e-12, error, 1001));
  EXPECT_FALSE(channel.Build(50e-12, error));  // starts at 10 GHz, the grid's Nyquist frequency
  EXPECT_NE(error.find("too close to the grid's Nyquist frequency 10 GHz"), std::string::npos) << error;
  // Data above the grid's band are rolled off, with a note.
  ASSERT_TRUE(channel.Build(10e-12, error)) << error;
  const std::string rolledOff = "data above 45 GHz rolled off to zero at the grid's Nyquist frequency 50 GHz";
  EXPECT_NE(std::find(channel.Notes().begin(), channel.Notes().end(), rolledOff), channel.Notes().end());
  EXPECT_EQ(std::abs(channel.At(50e9)), 0.0);
}

// Finite numbers in the file that make no finite channel are refused with
// the reason, never reported as "dc gain inf" or NaN figures.
TEST(ChannelResponse, AChannelThatIsNotFiniteIsRefusedWithTheReason) {
  ChannelResponse::Ports ports;
  std::string error;
  ChannelResponse channel;
  // |S21| of 1e308: its FFT overflows.
  const auto huge = [](double) { return std::complex<double>(1e308, 0.0); };
  ASSERT_TRUE(channel.SetNetwork(TwoPort(huge, 1e9, 1e9, 4e9), ports, error)) << error;
  EXPECT_FALSE(channel.Build(3.125e-12, error));
  EXPECT_EQ(error, "the impulse response is not finite: the file's values (|S21| up to 1e+308) are too large");
  // SDD21 of four such values overflows as it is formed.
  const int order[4] = {1, 2, 3, 4};
  const auto minus = [](double) { return std::complex<double>(-1e308, 0.0); };
  EXPECT_FALSE(channel.SetNetwork(FourPort(huge, minus, order, 1e9, 4e9), ports, error));
  EXPECT_EQ(error, "SDD21 (p 1->2, n 3->4) is not finite at 0 Hz: the file's values there are too large to combine");
  // Points at 0 and 1e-300 Hz: a phase step there is a group delay of 1e299 s.
  TouchstoneNetwork tiny;
  tiny.ports = 2;
  tiny.frequency = {0.0, 1e-300};
  tiny.s = {0.0, 1.0, 1.0, 0.0, 0.0, {0.5, 0.5}, {0.5, 0.5}, 0.0};
  EXPECT_FALSE(channel.SetNetwork(tiny, ports, error));
  EXPECT_EQ(error,
            "the phase of S21 from 0 Hz to 1e-300 Hz gives a group delay of -1.25e+299 s, not a channel's: points "
            "too close together for their phase step?");
  // A path that passes nothing has no finite loss.
  const auto none = [](double) { return std::complex<double>(0.0, 0.0); };
  ASSERT_TRUE(channel.SetNetwork(TwoPort(none, 0.0, 1e9, 20e9), ports, error)) << error;
  ASSERT_TRUE(channel.Build(3.125e-12, error)) << error;
  EXPECT_FALSE(channel.CheckLossAt(5e9, error));
  EXPECT_EQ(error, "the loss at 5 GHz is not finite (inf dB): S21 is zero there");
}

// Three points 1 kHz apart at 1 GHz ask for a period of milliseconds: the
// kept response stops at kMaxKeptSamples, and one run's convolution of it
// stays within its bound.
TEST(ChannelResponse, TheKeptResponseAndItsConvolutionAreBounded) {
  TouchstoneNetwork three;
  three.ports = 2;
  three.frequency = {1e9, 1.000001e9, 20e9};
  const auto db = [](double loss, double degrees) {
    return std::polar(std::pow(10.0, -loss / 20.0), degrees * kPi / 180);
  };
  for (const std::complex<double> s21 : {db(1, -30), db(1, -30.1), db(20, 170)})
    three.s.insert(three.s.end(), {0.0, s21, s21, 0.0});
  ChannelResponse channel;
  std::string error;
  ASSERT_TRUE(channel.SetNetwork(three, ChannelResponse::Ports(), error)) << error;
  ASSERT_TRUE(channel.Build(3.125e-12, error, size_t{1} << 21)) << error;
  EXPECT_EQ(channel.Impulse().size(), ChannelResponse::kMaxKeptSamples);
  EXPECT_TRUE(std::any_of(channel.Notes().begin(), channel.Notes().end(), [](const std::string& note) {
    return note.find("the kept response is cut at 524288 samples") != std::string::npos;
  }));
  EXPECT_LE(channel.ConvolutionBytes(), size_t{100} << 20);
  // The example channel's response is far shorter, its convolution small.
  ChannelResponse line = Built(TwoPort(Delay(0.5, 1e-9), 0.0, 10e6, 20e9), 3.125e-12);
  EXPECT_LT(line.Impulse().size(), size_t{20000});
  EXPECT_LE(line.ConvolutionBytes(), size_t{46} * 65536);
}

// A period shorter than the channel's delay and tail would wrap the
// response around: refused, naming the option to change.
TEST(ChannelResponse, AnFftPeriodThatCannotHoldTheChannelIsRefused) {
  ChannelResponse channel;
  std::string error;
  ASSERT_TRUE(channel.SetNetwork(TwoPort(Delay(0.5, 2.5e-9), 0.0, 10e6, 20e9), ChannelResponse::Ports(), error));
  // 0.1 ps bits at 1024 samples: the capped FFT spans 0.41 ns.
  EXPECT_FALSE(channel.Build(1e-13 / 1024, error));
  EXPECT_NE(error.find("is shorter than four times the channel's 2.5 ns delay"), std::string::npos) << error;
  EXPECT_NE(error.find("Use fewer --samples-per-bit or a longer --bit-time"), std::string::npos) << error;
  EXPECT_NE(error.find("the sample interval must be at least 0.00238 ps"), std::string::npos) << error;
  EXPECT_FALSE(channel.Build(3.125e-12, error, 2048));
  EXPECT_NE(error.find("Give a larger --fft-size, at least 3200"), std::string::npos) << error;
  EXPECT_TRUE(channel.Build(3.125e-12, error, 4096)) << error;
}

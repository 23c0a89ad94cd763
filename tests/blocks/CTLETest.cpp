#include "blocks/CTLE.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "CaptureStderr.h"
#include "PinStorage.h"

using OrvennModelBuilder::CTLE;

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRate = 320e9;  // 32 samples per UI at 10 Gb/s

double Db(double x) { return 20.0 * std::log10(x); }

// A CTLE with one-sample pins, set up and initialised.
struct Rig {
  CTLE ctle;
  std::vector<double> in = std::vector<double>(1), out = std::vector<double>(1);

  bool Start() {
    if (!ctle.Setup()) return false;
    AttachPin(ctle.Input, in);
    AttachPin(ctle.Output, out);
    return ctle.Initialize();
  }
  double Fire(double x) {
    in[0] = x;
    EXPECT_TRUE(ctle.Run());
    return out[0];
  }
  // Gain of the block for a sine of frequency f (a whole number of samples
  // per period), measured by correlation over whole periods once settled.
  double MeasuredGain(double f) {
    ctle.Initialize();
    const double w = 2.0 * kPi * f / kRate;
    for (int n = 0; n < 20000; ++n) Fire(std::sin(w * n));
    double c = 0.0, s = 0.0;
    const int span = 6400;  // whole periods of every frequency used
    for (int n = 20000; n < 20000 + span; ++n) {
      const double y = Fire(std::sin(w * n));
      c += y * std::cos(w * n);
      s += y * std::sin(w * n);
    }
    return 2.0 * std::hypot(c, s) / span;
  }
};

}  // namespace

TEST(CTLE, PeakingFormMatchesItsClosedFormAndMeetsThePeakingAtThePeakingFrequency) {
  Rig r;
  r.ctle.SampleRate = kRate;
  r.ctle.DcGainDb = -2.0;
  r.ctle.PeakingFrequency = 5e9;
  r.ctle.PeakingDb = 9.0;
  ASSERT_TRUE(r.Start());
  EXPECT_EQ(r.ctle.SectionCount(), 1);

  const double g = std::pow(10.0, -2.0 / 20.0);
  // The closed form at the peaking frequency: 9 dB over the DC gain, and the
  // biquad realises it exactly there (prewarping) and at DC.
  EXPECT_NEAR(Db(std::abs(r.ctle.AnalogResponse(5e9)) / g), 9.0, 1e-9);
  EXPECT_NEAR(std::abs(r.ctle.DigitalResponse(5e9)), std::abs(r.ctle.AnalogResponse(5e9)), 1e-12);
  EXPECT_NEAR(std::abs(r.ctle.DigitalResponse(0.0)), g, 1e-12);

  for (double f : {1e9, 2.5e9, 5e9, 10e9, 20e9}) {
    const double analogue = std::abs(r.ctle.AnalogResponse(f));
    const double digital = std::abs(r.ctle.DigitalResponse(f));
    // The bilinear map: the digital response at f is the analogue one at
    // the warped frequency, exactly; and close to it at f itself well below
    // the Nyquist frequency of the sample rate (0.05 dB up to 10 GHz, twice
    // the data's Nyquist frequency, at 32 samples per UI).
    EXPECT_NEAR(digital, std::abs(r.ctle.AnalogResponse(r.ctle.WarpedFrequency(f))), 1e-12 * digital) << f;
    if (f <= 10e9) {
      EXPECT_NEAR(Db(digital), Db(analogue), 0.05) << f;
    }
    // The running block has that gain.
    EXPECT_NEAR(r.MeasuredGain(f), digital, 1e-6 * digital) << f;
  }
  // Above the zero and below the poles the gain rises: an equaliser.
  EXPECT_GT(std::abs(r.ctle.AnalogResponse(5e9)), std::abs(r.ctle.AnalogResponse(1e9)));
  EXPECT_GT(std::abs(r.ctle.AnalogResponse(1e9)), g);
}

TEST(CTLE, PoleZeroFormCascadesBiquadsAndKeepsTheDcGain) {
  const double poles[] = {4e9, 8e9, 30e9};
  const double zeros[] = {1e9, 50e9};
  Rig r;
  r.ctle.SampleRate = kRate;
  r.ctle.DcGainDb = 3.0;
  r.ctle.UsePolesZeros = true;
  r.ctle.Poles = poles;
  r.ctle.NumPoles = 3;
  r.ctle.Zeros = zeros;
  r.ctle.NumZeros = 2;
  ASSERT_TRUE(r.Start());
  EXPECT_EQ(r.ctle.SectionCount(), 2);
  EXPECT_NEAR(std::abs(r.ctle.DigitalResponse(0.0)), std::pow(10.0, 3.0 / 20.0), 1e-12);
  for (double f : {0.5e9, 4e9, 10e9}) {
    const double digital = std::abs(r.ctle.DigitalResponse(f));
    EXPECT_NEAR(digital, std::abs(r.ctle.AnalogResponse(r.ctle.WarpedFrequency(f))), 1e-12 * digital) << f;
    EXPECT_NEAR(Db(digital), Db(std::abs(r.ctle.AnalogResponse(f))), 0.05) << f;
    EXPECT_NEAR(r.MeasuredGain(f), digital, 1e-6 * digital) << f;
  }
  // A step settles to the DC gain.
  r.ctle.Initialize();
  double y = 0.0;
  for (int n = 0; n < 200000; ++n) y = r.Fire(1.0);
  EXPECT_NEAR(y, std::pow(10.0, 3.0 / 20.0), 1e-9);
}

TEST(CTLE, NoPolesIsAFlatGainAndZeroDbPassesTheInputBitForBit) {
  Rig r;
  r.ctle.UsePolesZeros = true;
  ASSERT_TRUE(r.Start());
  EXPECT_EQ(r.ctle.SectionCount(), 0);
  for (double x : {0.0, -0.0, 0.123456789, -3.5e-300, 1e300}) {
    const double y = r.Fire(x);
    EXPECT_EQ(std::memcmp(&x, &y, sizeof x), 0) << x;
  }
}

TEST(CTLE, InitializeRestartsTheFilterAndIdenticalInputsGiveIdenticalBits) {
  Rig a, b;
  for (Rig* r : {&a, &b}) {
    r->ctle.SampleRate = kRate;
    r->ctle.PeakingFrequency = 7e9;
    r->ctle.PeakingDb = 12.0;
    ASSERT_TRUE(r->Start());
  }
  std::vector<double> first, second, other;
  for (int n = 0; n < 3000; ++n) first.push_back(a.Fire((n / 32) % 3 == 0 ? 0.4 : -0.4));
  a.ctle.Initialize();
  for (int n = 0; n < 3000; ++n) second.push_back(a.Fire((n / 32) % 3 == 0 ? 0.4 : -0.4));
  for (int n = 0; n < 3000; ++n) other.push_back(b.Fire((n / 32) % 3 == 0 ? 0.4 : -0.4));
  EXPECT_EQ(std::memcmp(first.data(), second.data(), first.size() * sizeof(double)), 0);
  EXPECT_EQ(std::memcmp(first.data(), other.data(), first.size() * sizeof(double)), 0);
}

TEST(CTLE, SetupRefusesWhatItCannotRealise) {
  CTLE c;
  c.SampleRate = 0.0;
  c.PeakingDb = -1.0;
  EXPECT_EQ(StderrOf([&] { EXPECT_FALSE(c.Setup()); }),
            "SampleRate must be > 0.0\n"
            "PeakingFrequency must be > 0 and below half the SampleRate\n"
            "PeakingDb must be between 0 and 60\n");

  CTLE d;
  d.SampleRate = kRate;
  d.PeakingFrequency = kRate / 2.0;  // the prewarping needs it below Nyquist
  EXPECT_EQ(StderrOf([&] { EXPECT_FALSE(d.Setup()); }), "PeakingFrequency must be > 0 and below half the SampleRate\n");

  const double poles[] = {1e9, -2e9};
  CTLE e;
  e.UsePolesZeros = true;
  e.Poles = poles;
  e.NumPoles = 2;
  e.NumZeros = 3;
  EXPECT_EQ(StderrOf([&] { EXPECT_FALSE(e.Setup()); }), "NumZeros must be between 0 and NumPoles\n");
  e.NumZeros = 0;
  EXPECT_EQ(StderrOf([&] { EXPECT_FALSE(e.Setup()); }), "Pole frequencies must be > 0 and finite\n");
  e.NumPoles = 9;
  EXPECT_EQ(StderrOf([&] { EXPECT_FALSE(e.Setup()); }), "NumPoles must be between 0 and 8\n");
  e.NumPoles = 1;
  e.Poles = nullptr;
  EXPECT_EQ(StderrOf([&] { EXPECT_FALSE(e.Setup()); }),
            "Poles and Zeros must hold NumPoles and NumZeros frequencies\n");
}

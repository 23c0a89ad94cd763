#include "blocks/AlexanderCDR.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "CaptureStderr.h"
#include "PinStorage.h"

using OrvennModelBuilder::AlexanderCDR;
using OrvennModelBuilder::kDataSample;
using OrvennModelBuilder::kEdgeSample;

namespace {

// PRBS7 bits.
std::vector<bool> Prbs7(size_t n) {
  std::vector<bool> bits(n);
  unsigned lfsr = 0x7Fu;
  for (size_t i = 0; i < n; ++i) {
    lfsr = ((lfsr << 1) | (((lfsr >> 6) ^ (lfsr >> 5)) & 1u)) & 0x7Fu;
    bits[i] = (lfsr & 1u) != 0;
  }
  return bits;
}

// A clean NRZ wave of +-0.5 levels: sample n carries bit floor(n / period).
// Linear interpolation between the samples around a bit boundary crosses 0
// half a sample before it, so bit k's centre, as the recovery sees it, lies
// at (k + 1/2) period - 1/2.
std::vector<double> Nrz(const std::vector<bool>& bits, double period) {
  std::vector<double> wave(size_t(double(bits.size()) * period));
  for (size_t n = 0; n < wave.size(); ++n) wave[n] = bits[size_t(double(n) / period)] ? 0.5 : -0.5;
  return wave;
}

struct DataInstant {
  double at;  // samples from the first sample
  bool bit;
};

// Runs the recovery over `wave` and returns its data instants.
std::vector<DataInstant> Recover(AlexanderCDR& cdr, const std::vector<double>& wave) {
  std::vector<double> in(1), sample(1), offset(1);
  std::vector<int> event(1);
  EXPECT_TRUE(cdr.Setup());
  AttachPin(cdr.Input, in);
  AttachPin(cdr.Event, event);
  AttachPin(cdr.Sample, sample);
  AttachPin(cdr.Offset, offset);
  EXPECT_TRUE(cdr.Initialize());
  std::vector<DataInstant> instants;
  int edges = 0;
  for (size_t n = 0; n < wave.size(); ++n) {
    in[0] = wave[n];
    EXPECT_TRUE(cdr.Run());
    if (event[0] == kDataSample) instants.push_back({double(n) + offset[0], sample[0] >= 0.0});
    edges += event[0] == kEdgeSample;
    EXPECT_GT(offset[0], -1.0);
    EXPECT_LE(offset[0], 0.0);
  }
  EXPECT_NEAR(edges, double(instants.size()), 1.0);
  return instants;
}

// Distance of a data instant from the centre of the bit it falls in, in
// samples, and that bit's index.
double FromCentre(double at, double period, size_t& bit) {
  bit = size_t(std::floor((at + 0.5) / period));
  return at - ((double(bit) + 0.5) * period - 0.5);
}

}  // namespace

// The recovery starts 0.45 UI (14.4 samples) away from the bit centres; at
// 0.5 sample per vote and a transition every other bit it needs some 60 UI.
// Stated lock time: 100 UI, after which every data instant stays within
// UI / 16 of the centre and every decision is right.
TEST(AlexanderCDR, LocksOnACleanPrbsWithinAHundredUnitIntervals) {
  const double period = 32.0;
  const std::vector<bool> bits = Prbs7(3000);
  AlexanderCDR cdr;
  cdr.SamplesPerBit = period;
  cdr.InitialPhase = 0.05;
  const std::vector<DataInstant> instants = Recover(cdr, Nrz(bits, period));
  ASSERT_GT(instants.size(), 2900u);
  size_t lockedAt = instants.size();
  for (size_t k = instants.size(); k-- > 0;) {
    size_t bit = 0;
    if (std::fabs(FromCentre(instants[k].at, period, bit)) > period / 16.0) break;
    lockedAt = k;
  }
  EXPECT_LE(lockedAt, 100u);
  std::printf("locked after %zu UI\n", lockedAt);
  for (size_t k = lockedAt; k < instants.size(); ++k) {
    size_t bit = 0;
    FromCentre(instants[k].at, period, bit);
    ASSERT_LT(bit, bits.size());
    EXPECT_EQ(instants[k].bit, bits[bit]) << k;
  }
  EXPECT_GT(cdr.EarlyVotes(), 20u);  // it had to move later to get there
}

// A transmitter 1000 ppm slow: the bits last 32.032 samples. The recovered
// clock follows: its mean interval over the last 10,000 UI is the bit
// period to within 5 % of the offset, its frequency estimate the offset to
// within 20 %, and no bit slips.
TEST(AlexanderCDR, ClockTimesTrackAKnownFrequencyOffset) {
  for (double ppm : {1000.0, -1000.0}) {
    const double period = 32.0 * (1.0 + ppm * 1e-6);
    const std::vector<bool> bits = Prbs7(20000);
    AlexanderCDR cdr;
    cdr.SamplesPerBit = 32.0;
    const std::vector<DataInstant> instants = Recover(cdr, Nrz(bits, period));
    ASSERT_GT(instants.size(), 19000u);
    const size_t last = instants.size() - 1, first = last - 10000;
    const double mean = (instants[last].at - instants[first].at) / 10000.0;
    EXPECT_NEAR(mean, period, 0.05 * std::fabs(period - 32.0)) << ppm;
    EXPECT_NEAR(cdr.Frequency(), ppm * 1e-6, 0.2 * std::fabs(ppm) * 1e-6) << ppm;
    std::printf("%+.0f ppm: mean interval %.5f samples (bit %.5f), frequency estimate %+.0f ppm\n", ppm, mean, period,
                cdr.Frequency() * 1e6);
    for (size_t k = 2000; k < instants.size(); ++k) {
      size_t bit = 0;
      EXPECT_LT(std::fabs(FromCentre(instants[k].at, period, bit)), period / 8.0) << k;
      ASSERT_LT(bit, bits.size());
      EXPECT_EQ(instants[k].bit, bits[bit]) << k;
    }
  }
}

TEST(AlexanderCDR, SetupRefusesTooFewSamplesPerBit) {
  AlexanderCDR cdr;
  cdr.SamplesPerBit = 4.0;
  EXPECT_EQ(StderrOf([&] { EXPECT_FALSE(cdr.Setup()); }),
            "SamplesPerBit is too small: an edge instant needs two samples to the data instants around it "
            "(SamplesPerBit * ((1 - FrequencyLimit) / 2 - PhaseStep) >= 2)\n");
  cdr.SamplesPerBit = 6.0;
  EXPECT_TRUE(cdr.Setup());
  cdr.PhaseStep = 0.5;
  cdr.FrequencyStep = 0.02;
  EXPECT_EQ(StderrOf([&] { EXPECT_FALSE(cdr.Setup()); }),
            "PhaseStep must be between 0 and 0.25 UI\nFrequencyStep must be between 0 and FrequencyLimit\n");
}

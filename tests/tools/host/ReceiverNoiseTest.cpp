// Noise given at the receiver's input pins and carried to its decision point
// through the receiver's own AMI_Init response: the band's power gain of
// known responses against its closed form, small receivers (FlowTestModel)
// whose Init is a gain or a two-tap FIR, the grid not mattering, and the
// receivers whose noise stays where it is given.
#include "tools/host/ReceiverNoise.h"
#include "tools/host/SimulationRun.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace {

// sin(x) / x for x = 2 pi (delay in UI): the mean of cos(2 pi f tau) over
// 0 <= f <= the bit rate.
double BandSinc(double delayUi) {
  const double x = 2 * M_PI * delayUi;
  return delayUi == 0 ? 1.0 : std::sin(x) / x;
}

// A gain receiver's .ami file: whether its Init returns an impulse response.
AmiReservedParameters Reserved(bool returnsImpulse) {
  std::ostringstream text;
  text << "(flowgain (Reserved_Parameters (Init_Returns_Impulse (Usage Info) (Type Boolean) (Value "
       << (returnsImpulse ? "True" : "False") << ")) (GetWave_Exists (Usage Info) (Type Boolean) (Value True)))"
       << " (Model_Specific (gain (Usage In) (Type Float) (Range 1 0 10))))";
  AmiFileParams file;
  std::string error;
  EXPECT_TRUE(file.LoadText(text.str(), error)) << error;
  return file.Reserved();
}

struct Pair {
  AmiModelLoader model;
  LinkModels link;
  explicit Pair(bool returnsImpulse) {
    std::string error;
    EXPECT_TRUE(model.Open(FLOW_GAIN_GETWAVE, error)) << error;
    link.tx = &model;
    link.txReserved = Reserved(false);
    link.rx = &model;
    link.rxReserved = Reserved(returnsImpulse);
  }
};

SimSettings Noisy(double noiseMv, int samplesPerBit) {
  SimSettings s;
  s.bitCount = 1000;
  s.samplesPerBit = samplesPerBit;
  s.noiseMv = noiseMv;
  s.channelLossDb = 10;
  return s;
}

}  // namespace

TEST(ReceiverNoise, TheBandsPowerGainOfATwoTapFirIsItsClosedForm) {
  EXPECT_EQ(ReceiverNoise::BandPowerGain({}, 32), 0.0);
  EXPECT_NEAR(ReceiverNoise::BandPowerGain({2.5, 0, 0, 0}, 32), 6.25, 1e-12);
  // a + b z^-d over DC to the bit rate: a^2 + b^2 + 2ab sin(x)/x, x = 2 pi d / spb.
  for (int spb : {2, 7, 16, 64}) {
    for (int d : {1, 3, 8, 40}) {
      std::vector<double> taps(static_cast<size_t>(d + 5), 0.0);
      taps[0] = 1.2;
      taps[static_cast<size_t>(d)] = -0.7;
      const double expected = 1.2 * 1.2 + 0.7 * 0.7 - 2 * 1.2 * 0.7 * BandSinc(static_cast<double>(d) / spb);
      EXPECT_NEAR(ReceiverNoise::BandPowerGain(taps, spb), expected, 1e-12) << spb << " " << d;
    }
  }
  EXPECT_TRUE(std::isnan(ReceiverNoise::BandPowerGain({1.0, std::nan("")}, 4)));
}

TEST(ReceiverNoise, AGainReceiverMultipliesTheNoiseAndTheBerReadsIt) {
  const Pair pair(true);
  const SimSettings s = Noisy(10, 32);
  double heights[2] = {0, 0};
  for (int i = 0; i < 2; ++i) {
    const double g = i ? 3.0 : 1.0;
    const SimResult r =
        SimulationRun::Run(pair.link, s, "(flowgain)", "(flowgain (gain " + std::to_string(g) + ") (init_scales 1))");
    ASSERT_TRUE(r.Ok()) << r.error;
    EXPECT_EQ(r.noise.path, NoiseReferral::Path::kThroughResponse);
    EXPECT_EQ(r.noise.inputMv, 10.0);
    EXPECT_NEAR(r.noise.decisionMv, 10.0 * g, 1e-9);
    ASSERT_TRUE(r.ber.valid && r.ber.At(1e-12) && r.ber.At(1e-12)->open) << r.ber.problem;
    heights[i] = r.ber.At(1e-12)->heightV;
  }
  // Signal and noise grow alike: three times the gain, three times the eye.
  EXPECT_NEAR(heights[1] / heights[0], 3.0, 0.03);
}

TEST(ReceiverNoise, ATwoTapReceiverGivesTheClosedFormWhateverTheGrid) {
  const Pair pair(true);
  // 1 - 0.6 z^-(UI/4): the band's power gain 1 + 0.36 - 1.2 sin(pi/2)/(pi/2).
  const double expected = 10.0 * std::sqrt(1 + 0.36 - 1.2 * BandSinc(0.25));
  for (int spb : {16, 64}) {
    const SimResult r = SimulationRun::Run(pair.link, Noisy(10, spb), "(flowgain)",
                                           "(flowgain (gain 1) (init_scales 1) (echo -0.6) (echo_ui 0.25))");
    ASSERT_TRUE(r.Ok()) << r.error;
    EXPECT_NEAR(r.noise.decisionMv, expected, 1e-9) << spb;
  }
}

TEST(ReceiverNoise, WithoutAResponseOrWhenAskedTheNoiseIsTakenAtTheDecisionPoint) {
  const std::string rx = "(flowgain (gain 3) (init_scales 1))";
  const Pair none(false);
  SimResult r = SimulationRun::Run(none.link, Noisy(10, 32), "(flowgain)", rx);
  ASSERT_TRUE(r.Ok()) << r.error;
  EXPECT_EQ(r.noise.path, NoiseReferral::Path::kNoResponse);
  EXPECT_EQ(r.noise.decisionMv, 10.0);
  const Pair pair(true);
  SimSettings s = Noisy(10, 32);
  s.noiseAt = NoiseAt::kDecision;
  r = SimulationRun::Run(pair.link, s, "(flowgain)", rx);
  ASSERT_TRUE(r.Ok()) << r.error;
  EXPECT_EQ(r.noise.path, NoiseReferral::Path::kAtDecision);
  EXPECT_EQ(r.noise.decisionMv, 10.0);
  // Without a receiver the decision point is the input pins.
  LinkModels alone = pair.link;
  alone.rx = nullptr;
  r = SimulationRun::Run(alone, Noisy(10, 32), "(flowgain)", "");
  ASSERT_TRUE(r.Ok()) << r.error;
  EXPECT_EQ(r.noise.path, NoiseReferral::Path::kNoReceiver);
  EXPECT_EQ(r.noise.decisionMv, 10.0);
}

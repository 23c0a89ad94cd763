// The host's reference flows, driven with small gain models (FlowTestModel)
// over a delay-and-gain channel: each combination of GetWave and Init-only
// transmitter and receiver must give the eye the flow predicts, and a
// receiver's clock times must place the measurement.
#include "tools/host/LinkFlow.h"
#include "tools/host/SimulationRun.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <sstream>

#include "tests/TestFolder.h"

namespace {

constexpr double kChannelGain = 0.5;
constexpr double kTxGain = 0.8;
constexpr double kRxGain = 1.5;

// An .ami file's reserved parameters for a gain model.
AmiFileParams Reserved(bool returnsImpulse, bool getWave, long ignoreBits = 0) {
  std::ostringstream text;
  text << "(flowgain (Reserved_Parameters"
       << " (Init_Returns_Impulse (Usage Info) (Type Boolean) (Value " << (returnsImpulse ? "True" : "False") << "))"
       << " (GetWave_Exists (Usage Info) (Type Boolean) (Value " << (getWave ? "True" : "False") << "))"
       << " (Ignore_Bits (Usage Info) (Type Integer) (Value " << ignoreBits << ")))"
       << " (Model_Specific (gain (Usage In) (Type Float) (Range 1 0 10))))";
  AmiFileParams file;
  std::string error;
  EXPECT_TRUE(file.LoadText(text.str(), error)) << error;
  return file;
}

// S21 of a line that only delays (1 ns, 10 UI) and scales by kChannelGain,
// out to 200 GHz, beyond the grid's Nyquist frequency.
std::string DelayAndGainChannel(const TestFolder& folder) {
  std::ostringstream text;
  text << "! delay and gain\n# HZ S RI R 50\n";
  for (int i = 0; i <= 2000; ++i) {
    const double f = i * 100e6;
    const std::complex<double> s21 = kChannelGain * std::exp(std::complex<double>(0, -2 * M_PI * f * 1e-9));
    text.precision(12);
    text << f << " 0 0 " << s21.real() << " " << s21.imag() << " " << s21.real() << " " << s21.imag() << " 0 0\n";
  }
  return folder.Write("delay.s2p", text.str());
}

struct Loaded {
  AmiModelLoader getWave;
  AmiModelLoader initOnly;
  Loaded() {
    std::string error;
    EXPECT_TRUE(getWave.Open(FLOW_GAIN_GETWAVE, error)) << error;
    EXPECT_TRUE(initOnly.Open(FLOW_GAIN_INIT, error)) << error;
  }
};

// A pair of gain models as their files describe them: each side's library
// (`rx` may be null: no receiver), whether its Init returns an impulse
// response and whether it has a GetWave; the receiver's Ignore_Bits.
LinkModels Pair(const AmiModelLoader* tx, bool txReturns, bool txGetWave, const AmiModelLoader* rx = nullptr,
                bool rxReturns = false, bool rxGetWave = true, long rxIgnoreBits = 0) {
  LinkModels link;
  link.tx = tx;
  link.txReserved = Reserved(txReturns, txGetWave).Reserved();
  link.rx = rx;
  if (rx) link.rxReserved = Reserved(rxReturns, rxGetWave, rxIgnoreBits).Reserved();
  return link;
}

SimSettings Settings(const std::string& channel) {
  SimSettings s;
  s.bitCount = 2000;
  s.channelPath = channel;
  return s;
}

std::string Gain(double g, bool initScales) {
  return "(flowgain (gain " + std::to_string(g) + ")" + (initScales ? " (init_scales 1)" : "") + ")";
}

}  // namespace

TEST(LinkFlow, EachCombinationOfGetWaveAndInitOnlyGivesTheProductOfTheGains) {
  const TestFolder folder;
  const Loaded models;
  SimSettings s = Settings(DelayAndGainChannel(folder));
  ASSERT_EQ(SimulationRun::LoadChannel(s), "");
  const double expected = 1.0 * kChannelGain * kTxGain * kRxGain;  // NRZ swing 1 V
  const char* flows[] = {"Tx GetWave, Rx GetWave: Tx GetWave -> channel -> Rx GetWave", "Tx Init-only, Rx GetWave",
                         "Tx GetWave, Rx Init-only", "Tx Init-only, Rx Init-only"};
  double first = 0.0;
  for (int c = 0; c < 4; ++c) {
    const bool txGetWave = (c & 1) == 0;
    const bool rxGetWave = (c & 2) == 0;
    const LinkModels link = Pair(txGetWave ? &models.getWave : &models.initOnly, !txGetWave, txGetWave,
                                 rxGetWave ? &models.getWave : &models.initOnly, !rxGetWave, rxGetWave);
    // An Init-only model applies its gain to the impulse response only.
    const SimResult r = SimulationRun::Run(link, s, Gain(kTxGain, !txGetWave), Gain(kRxGain, !rxGetWave));
    ASSERT_TRUE(r.Ok()) << c << ": " << r.error;
    EXPECT_EQ(r.flow.rfind(flows[c], 0), 0u) << r.flow;
    ASSERT_TRUE(r.eye.valid) << r.eye.problem;
    EXPECT_NEAR(r.eye.heightV, expected, 0.01 * expected) << r.flow;
    // The response's ringing (the file ends short of the grid's Nyquist
    // frequency) lifts the levels at the best phase a little; the four
    // flows see the same waveform.
    EXPECT_NEAR(r.eye.highMean - r.eye.lowMean, expected, 0.03 * expected) << r.flow;
    if (c == 0) first = r.eye.heightV;
    EXPECT_NEAR(r.eye.heightV, first, 1e-9) << r.flow;
    EXPECT_EQ(r.eye.delaySamples % s.samplesPerBit, 0) << r.flow;  // the 10 UI delay
    EXPECT_FALSE(r.clock.used);
  }
}

TEST(LinkFlow, ATransmitterThatBothReturnsAnImpulseAndHasGetWaveIsNotAppliedTwice) {
  const TestFolder folder;
  const Loaded models;
  SimSettings s = Settings(DelayAndGainChannel(folder));
  ASSERT_EQ(SimulationRun::LoadChannel(s), "");
  const LinkModels link = Pair(&models.getWave, true, true, &models.initOnly, true, false);
  const SimResult r = SimulationRun::Run(link, s, Gain(kTxGain, true), Gain(kRxGain, true));
  ASSERT_TRUE(r.Ok()) << r.error;
  EXPECT_NE(r.flow.find("the Rx Init given the channel's response"), std::string::npos) << r.flow;
  const double expected = kChannelGain * kTxGain * kRxGain;
  EXPECT_NEAR(r.eye.heightV, expected, 0.01 * expected);
}

TEST(LinkFlow, WithoutAReceiverAnInitOnlyTransmitterIsConvolvedWithItsResponse) {
  const Loaded models;
  SimSettings s;
  s.bitCount = 1000;
  const LinkModels link = Pair(&models.initOnly, true, false);
  const SimResult r = SimulationRun::Run(link, s, Gain(kTxGain, true), "");
  ASSERT_TRUE(r.Ok()) << r.error;
  EXPECT_EQ(r.flow, "stimulus * Tx Init's impulse response (channel and Tx)");
  EXPECT_NEAR(r.eye.heightV, kTxGain, 1e-9);
}

TEST(LinkFlow, AFilePromisingAGetWaveTheLibraryLacksIsRefused) {
  const Loaded models;
  const LinkModels link = Pair(&models.initOnly, false, true);
  const SimResult r = SimulationRun::Run(link, SimSettings(), Gain(1, false), "");
  EXPECT_FALSE(r.Ok());
  EXPECT_FALSE(r.initOk);
  EXPECT_EQ(r.error, "the transmitter model says GetWave_Exists True but its library exports no AMI_GetWave");
}

TEST(LinkFlow, ReceiverClockTimesPlaceTheSamplingInstant) {
  const Loaded models;
  SimSettings s;
  s.bitCount = 3000;
  s.channelLossDb = 12;  // an RC line: the eye's height depends on the phase
  const LinkModels link = Pair(&models.getWave, false, true, &models.getWave, false, true, 700);
  // Without clock times: the best phase.
  const SimResult best = SimulationRun::Run(link, s, Gain(1, false), Gain(1, false));
  ASSERT_TRUE(best.Ok() && best.eye.valid) << best.error << best.eye.problem;
  EXPECT_FALSE(best.clock.used);
  EXPECT_GE(best.eye.firstBit, 700);  // Ignore_Bits left out
  const long spb = s.samplesPerBit;
  const double bestPlaceUi = static_cast<double>((best.eye.delaySamples + best.eye.bestPhase) % spb) / spb;
  // Ticks half a UI before the best place: sampled at it.
  double phase = bestPlaceUi - 0.5;
  SimResult at =
      SimulationRun::Run(link, s, Gain(1, false), Gain(1, false) + " (clock_phase " + std::to_string(phase) + ")");
  ASSERT_TRUE(at.Ok() && at.eye.valid) << at.error << at.eye.problem;
  ASSERT_TRUE(at.clock.used);
  EXPECT_NEAR(at.clock.meanPhase / s.bitTime, bestPlaceUi, 1e-6);
  EXPECT_NEAR(at.clock.jitterRms, 0.0, 1e-15);
  EXPECT_EQ(at.clock.unpaired, 0);
  EXPECT_GE(at.eye.firstBit, 700);
  EXPECT_NEAR(at.eye.heightV, best.eye.heightV, 0.02 * best.eye.heightV);
  // Ticks at the best place: sampled half a UI later, on the crossings.
  phase = bestPlaceUi;
  at = SimulationRun::Run(link, s, Gain(1, false), Gain(1, false) + " (clock_phase " + std::to_string(phase) + ")");
  ASSERT_TRUE(at.Ok() && at.clock.used) << at.error;
  ASSERT_TRUE(at.eye.valid) << at.eye.problem;
  EXPECT_LT(at.eye.heightV, 0.3 * best.eye.heightV);
}

TEST(LinkFlow, TheClocksJitterIsItsSpreadAndBitsWithoutATickAreLeftOutAndCounted) {
  const Loaded models;
  SimSettings s;
  s.bitCount = 3000;
  const LinkModels link = Pair(&models.getWave, false, true, &models.getWave, false, true, 100);
  // Ticks at 0.25 UI, alternately 0.03 UI late and early, every tenth (an
  // early one) left out: of each ten, five late and four early instants,
  // whose mean place is 0.75 + 0.03 / 9 UI into the UI and whose spread
  // about it is 0.03 sqrt(1 - 1/81) UI.
  const SimResult r = SimulationRun::Run(link, s, Gain(1, false),
                                         Gain(1, false) + " (clock_phase 0.25) (clock_jitter 0.03) (clock_skip 10)");
  ASSERT_TRUE(r.Ok() && r.eye.valid) << r.error << r.eye.problem;
  ASSERT_TRUE(r.clock.used);
  EXPECT_NEAR(r.clock.meanPhase / s.bitTime, 0.75 + 0.03 / 9, 1e-4);
  EXPECT_NEAR(r.clock.jitterRms / s.bitTime, 0.03 * std::sqrt(1 - 1.0 / 81), 1e-4);
  const long measured = r.clock.paired + r.clock.unpaired;
  EXPECT_NEAR(static_cast<double>(r.clock.unpaired), measured / 10.0, 2.0);
  EXPECT_EQ(r.clock.dropped, 0);
  // Without a channel the NRZ levels are flat: every instant reads +-0.5.
  EXPECT_NEAR(r.eye.heightV, 1.0, 1e-9);
  EXPECT_EQ(static_cast<long>(r.eye.BitsUsed()), r.eye.endBit - r.eye.firstBit);
}

// The run's figures, every number of them, are those of one thread whatever
// the threads it gathers on: the eye, the BER figures and the bathtub.
TEST(LinkFlow, OneTwoAndFourThreadsGiveTheSameFigures) {
  const Loaded models;
  SimSettings s;
  s.bitCount = 6000;
  s.channelLossDb = 12;
  s.noiseMv = 5;
  s.rjPs = 1;
  const LinkModels link = Pair(&models.getWave, false, true, &models.getWave, false, true);
  std::vector<SimResult> runs;
  for (int threads : {1, 2, 4}) {
    s.threads = threads;
    runs.push_back(SimulationRun::Run(link, s, Gain(1.2, false), Gain(0.9, false)));
    ASSERT_TRUE(runs.back().Ok() && runs.back().eye.valid && runs.back().ber.valid) << threads;
  }
  for (size_t i = 1; i < runs.size(); ++i) {
    const EyeMeasurement &a = runs[0].eye, &b = runs[i].eye;
    EXPECT_EQ(a.heightV, b.heightV);
    EXPECT_EQ(a.widthUi, b.widthUi);
    EXPECT_EQ(a.bestPhase, b.bestPhase);
    EXPECT_EQ(a.highMean, b.highMean);
    EXPECT_EQ(a.lowTransition, b.lowTransition);
    const BerResult &p = runs[0].ber, &q = runs[i].ber;
    EXPECT_EQ(p.bits, q.bits);
    EXPECT_EQ(p.minimumBer, q.minimumBer);
    EXPECT_EQ(p.decisionThreshold, q.decisionThreshold);
    EXPECT_EQ(p.centreUi, q.centreUi);
    EXPECT_EQ(p.bathtubBer, q.bathtubBer);
    ASSERT_EQ(p.targets.size(), q.targets.size());
    for (size_t t = 0; t < p.targets.size(); ++t) {
      EXPECT_EQ(p.targets[t].heightV, q.targets[t].heightV);
      EXPECT_EQ(p.targets[t].widthUi, q.targets[t].widthUi);
      EXPECT_EQ(p.targets[t].threshold, q.targets[t].threshold);
    }
  }
}

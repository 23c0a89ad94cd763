// The streaming host against the straightforward whole-waveform measurement:
// the eye measured block by block, with no more stimulus history than the
// measurement asks for, must be the eye of the whole waveform to the bit,
// whatever the block size; and the stream's stages must make, block by block,
// what they make in one piece.
#include "tests/tools/SyntheticWave.h"
#include "tools/linkbench/channel/RcChannel.h"
#include "tools/linkbench/eye/EyeMeasure.h"
#include "tools/linkbench/stream/BitHistory.h"
#include "tools/linkbench/stream/Prbs.h"
#include "tools/linkbench/stream/PrbsStimulus.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

void ExpectSameEye(const EyeMeasurement& a, const EyeMeasurement& b, long block) {
  SCOPED_TRACE("block " + std::to_string(block));
  EXPECT_EQ(a.valid, b.valid);
  EXPECT_EQ(a.problem, b.problem);
  EXPECT_EQ(a.delaySamples, b.delaySamples);
  EXPECT_EQ(a.firstBit, b.firstBit);
  EXPECT_EQ(a.endBit, b.endBit);
  EXPECT_EQ(a.bestPhase, b.bestPhase);
  // Exact equality: the same samples in the same order give the same bits.
  for (auto field :
       {&EyeMeasurement::heightV, &EyeMeasurement::widthUi, &EyeMeasurement::openFromUi, &EyeMeasurement::openToUi,
        &EyeMeasurement::threshold, &EyeMeasurement::highMean, &EyeMeasurement::lowMean, &EyeMeasurement::highSteady,
        &EyeMeasurement::highTransition, &EyeMeasurement::lowSteady, &EyeMeasurement::lowTransition,
        &EyeMeasurement::deemphasisDb, &EyeMeasurement::outMin, &EyeMeasurement::outMax})
    EXPECT_EQ(a.*field, b.*field);
}

// `output` (made by `bits`) through a streaming measurement in blocks of
// `block` samples; the bits enter the history as a stimulus would send them,
// before the block they drive.
EyeMeasurement Streamed(const std::vector<double>& output, const std::vector<uint8_t>& bits, int spb, long block) {
  const long n = static_cast<long>(output.size());
  EyeMeasure eye(EyeGeometry{spb, n, static_cast<long>(bits.size()), 32, 16L * spb}, 1e-10);
  BitHistory history(eye.BitsKept(block));
  long sent = 0;
  for (long start = 0; start < n; start += block) {
    const long count = std::min(block, n - start);
    while (sent < static_cast<long>(bits.size()) && sent * spb < start + count) history.Append(bits[sent++]);
    std::string error;
    EXPECT_TRUE(eye.Consume(WaveBlock{start, count, output.data() + start, &history}, error));
  }
  return eye.Result();
}

void ExpectStreamMatchesWhole(const std::vector<double>& output, const std::vector<uint8_t>& bits, int spb) {
  const EyeMeasurement whole = EyeMeasure::Measure(output, bits, spb, 1e-10);
  for (long block : {1L, 7L, 333L, 1024L, 65536L, static_cast<long>(output.size())})
    ExpectSameEye(Streamed(output, bits, spb, block), whole, block);
}

}  // namespace

TEST(StreamingEye, ShortRunsWhoseWholeWaveformIsTheLatencyPrefix) {
  std::vector<uint8_t> bits = Prbs(7).Bits(600);
  ExpectStreamMatchesWhole(SyntheticNrz(bits, 16, 5, 37, -0.1), bits, 16);
  std::vector<uint8_t> few = Prbs(15).Bits(45);
  ExpectStreamMatchesWhole(SyntheticNrz(few, 8, 2, 3), few, 8);
  EXPECT_TRUE(Streamed(SyntheticNrz(few, 8, 2, 3), few, 8, 5).valid);  // just measurable
  std::vector<uint8_t> tooFew = Prbs(7).Bits(20);
  ExpectStreamMatchesWhole(SyntheticNrz(tooFew, 32, 0, 0), tooFew, 32);
  EXPECT_FALSE(Streamed(SyntheticNrz(tooFew, 32, 0, 0), tooFew, 32, 100).valid);
}

// Past the latency search's prefix (4096 bits) the aligner keeps only a few
// UI; behind a channel every sample differs, so any sample or bit taken from
// the wrong place changes the figures.
TEST(StreamingEye, LongRunsBehindAChannelMatchToTheBit) {
  const int spb = 8;
  std::vector<uint8_t> bits = Prbs(23).Bits(9000);
  std::vector<double> wave = SyntheticNrz(bits, spb, 3, 21, -0.08);
  RcChannel(12.0, spb).Apply(wave);
  ExpectStreamMatchesWhole(wave, bits, spb);
  const EyeMeasurement eye = Streamed(wave, bits, spb, 1000);
  ASSERT_TRUE(eye.valid) << eye.problem;
  EXPECT_GT(eye.BitsUsed(), 8900u);  // all but the settling bits and the last few
}

TEST(StreamingEye, NoSamplesPerBitOrNoWaveformIsAProblemNotACrash) {
  EyeMeasure none(EyeGeometry{0, 100, 10, 32, 0}, 1e-10);
  EXPECT_EQ(none.Result().problem, "no samples per bit");
  EyeMeasure empty(EyeGeometry{8, 0, 0, 32, 128}, 1e-10);
  EXPECT_EQ(empty.Result().problem, "no waveform");
}

// Stimulus and channel cut into blocks of any size make the same samples as
// in one piece, and the history holds the bits that made them.
TEST(StreamingEye, StimulusAndChannelBlocksJoinSeamlessly) {
  const int spb = 5;
  const std::vector<uint8_t> bits = Prbs(31).Bits(400);
  std::vector<double> whole;
  for (uint8_t b : bits) whole.insert(whole.end(), spb, PrbsStimulus::Level(b));
  RcChannel(20.0, spb).Apply(whole);
  for (long block : {1L, 3L, 64L, 2000L}) {
    BitHistory history(512);
    PrbsStimulus stimulus(31, spb, history);
    RcChannel channel(20.0, spb);
    std::vector<double> streamed(whole.size());
    for (long start = 0; start < static_cast<long>(whole.size()); start += block) {
      const long count = std::min(block, static_cast<long>(whole.size()) - start);
      stimulus.Fill(streamed.data() + start, count);
      channel.Process(streamed.data() + start, count);
    }
    EXPECT_EQ(streamed, whole) << "block " << block;
    ASSERT_EQ(history.End(), 400);
    for (long k = 0; k < 400; ++k) ASSERT_EQ(history.At(k), bits[k]) << "bit " << k;
  }
}

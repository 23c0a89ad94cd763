#include "tools/linkbench/eye/SampleHistograms.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace {

// Windows of random samples around the eye's levels, with values the
// placing treats apart among them: NaN, infinities, both zeros, values
// below and above the bins and on a bin's edge.
struct Windows {
  int spb;
  std::vector<double> samples;
  std::vector<uint8_t> values;
  EyeAlignment alignment;

  Windows(int samplesPerBit, long bits, unsigned seed) : spb(samplesPerBit) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> level(-0.6, 0.6);
    const long span = (bits + 3) * spb;
    samples.resize(static_cast<size_t>(span));
    for (double& v : samples) v = level(random);
    const double specials[] = {std::numeric_limits<double>::quiet_NaN(),
                               std::numeric_limits<double>::infinity(),
                               -std::numeric_limits<double>::infinity(),
                               0.0,
                               -0.0,
                               -40.0,
                               40.0,
                               -1.0 + 2.0 * 2.0 / 2048 * 300};
    for (size_t i = 0; i < samples.size(); i += 97) samples[i] = specials[(i / 97) % 8];
    for (long k = 0; k < bits; ++k) values.push_back(static_cast<uint8_t>(random() & 1));
    alignment.low = -0.5;
    alignment.high = 0.5;
  }
  BitWindow At(long k) const {
    BitWindow w;
    w.bit = k;
    w.value = values[static_cast<size_t>(k)];
    w.start = samples.data() + (k + 1) * spb;
    w.end = 2 * spb + 1;
    return w;
  }
};

// Every bin of both, count and offset sum, the same to the bit.
void ExpectSameBins(const SampleHistograms& a, const SampleHistograms& b) {
  ASSERT_EQ(a.Bits(0), b.Bits(0));
  ASSERT_EQ(a.Bits(1), b.Bits(1));
  for (int bit = 0; bit < 2; ++bit) {
    for (int p = 0; p < SampleHistograms::kPhases; ++p) {
      const SampleHistograms::Bin* x = a.Row(bit, p);
      const SampleHistograms::Bin* y = b.Row(bit, p);
      for (int i = 0; i < SampleHistograms::kBins; ++i) {
        ASSERT_EQ(x[i].count, y[i].count) << bit << " " << p << " " << i;
        ASSERT_EQ(std::memcmp(&x[i].offsets, &y[i].offsets, sizeof(double)), 0) << bit << " " << p << " " << i;
      }
    }
  }
}

}  // namespace

TEST(SampleHistograms, EveryVectorLevelCountsWhatThePlainLoopCounts) {
  for (int spb : {32, 7, 2}) {
    // Not a whole number of batches: the readers count the last bits.
    const Windows windows(spb, 3001, 17u + static_cast<unsigned>(spb));
    SampleHistograms direct(spb);
    direct.Begin(windows.alignment);
    for (size_t k = 0; k < windows.values.size(); ++k) direct.AddDirect(windows.At(static_cast<long>(k)));
    for (int level = 0; level < HistogramLanes::kLevelCount; ++level) {
      SampleHistograms batched(spb);
      if (!batched.Lanes().Select(static_cast<HistogramLanes::Level>(level))) continue;
      SCOPED_TRACE(HistogramLanes::Name(batched.Lanes().Current()));
      batched.Begin(windows.alignment);
      for (size_t k = 0; k < windows.values.size(); ++k) batched.Add(windows.At(static_cast<long>(k)));
      ExpectSameBins(direct, batched);
    }
  }
}

TEST(SampleHistograms, OneTwoAndFourThreadsCountTheSame) {
  const Windows windows(32, 5000, 5u);
  SampleHistograms one(32, 1);
  one.Begin(windows.alignment);
  for (size_t k = 0; k < windows.values.size(); ++k) one.Add(windows.At(static_cast<long>(k)));
  for (int threads : {2, 4}) {
    SampleHistograms many(32, threads);
    many.Begin(windows.alignment);
    // Read halfway too: the bits in hand are counted before the reading.
    for (size_t k = 0; k < windows.values.size(); ++k) {
      many.Add(windows.At(static_cast<long>(k)));
      if (k == 2500) {
        EXPECT_EQ(many.Bits(0) + many.Bits(1), 2501u);
      }
    }
    ExpectSameBins(one, many);
  }
}

TEST(SampleHistograms, AWindowTooShortForThePhasesIsLeftOut) {
  const Windows windows(32, 4, 1u);
  SampleHistograms h(32, 2);
  h.Begin(windows.alignment);
  BitWindow w = windows.At(1);
  w.end = 48;  // the last phase reads sample 48
  h.Add(w);
  h.AddDirect(w);
  EXPECT_EQ(h.Bits(0) + h.Bits(1), 0u);
  w.end = 49;
  h.Add(w);
  EXPECT_EQ(h.Bits(0) + h.Bits(1), 1u);
  uint64_t counted = 0;
  for (int p = 0; p < SampleHistograms::kPhases; ++p)
    for (int i = 0; i < SampleHistograms::kBins; ++i) counted += h.Count(w.value, p, i);
  EXPECT_EQ(counted, static_cast<uint64_t>(SampleHistograms::kPhases));
}

#include "rxami/RxEntryPoints.h"

#include "amiparam/AmiParameters.h"
#include "rxmodel/tessalune_rx.h"
#include "tests/LibraryListing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <set>
#include <string>
#include <thread>
#include <vector>

// Counts the allocations made through operator new while counting is on.
// The replacement pair hands out and takes back malloc's blocks, which GCC
// cannot see through where it inlines them.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
namespace {
long gAllocations = 0;
bool gCounting = false;
}  // namespace

void* operator new(std::size_t size) {
  if (gCounting) ++gAllocations;
  void* p = std::malloc(size != 0 ? size : 1);
  if (p == nullptr) throw std::bad_alloc();
  return p;
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

const char* const kAllParameters =
    "(tessalune_rx (ctle_enable True) (ctle_dc_gain 0) (ctle_peak_freq 0) (ctle_peaking 6) (dfe_taps 4)"
    " (dfe_step 0.001) (dfe_adapt True) (dfe_initial_taps \"\") (cdr_phase_step 0.015625)"
    " (cdr_freq_step 0.0001220703125))";

constexpr double kBitTime = 1e-10;
constexpr double kSampleInterval = kBitTime / 32.0;

// One receiver instance, created through AMI_Init.
struct Session {
  void* handle = nullptr;
  char* msg = nullptr;
  char* out = nullptr;
  long result = 0;
  std::string err;

  explicit Session(const std::string& parameters = kAllParameters, double* impulse = nullptr, long rowSize = 0,
                   long aggressors = 0, double sampleInterval = kSampleInterval) {
    std::vector<char> text(parameters.begin(), parameters.end());
    text.push_back('\0');
    testing::internal::CaptureStderr();
    result = AMI_Init(impulse, rowSize, aggressors, sampleInterval, kBitTime, text.data(), &out, &handle, &msg);
    err = testing::internal::GetCapturedStderr();
  }
  ~Session() { AMI_Close(handle); }
  tessalune_rx& Model() { return *static_cast<tessalune_rx*>(handle); }
};

// PRBS7 at `perBit` samples per bit (sample n carries bit n / perBit), +-0.5,
// through a one-pole RC channel whose time constant is one unit interval: a
// lossy line in miniature.
std::vector<double> ReceivedWave(size_t bits, std::vector<bool>* sent = nullptr, double perBit = 32.0) {
  std::vector<bool> pattern(bits);
  unsigned lfsr = 0x7Fu;
  for (size_t k = 0; k < bits; ++k) {
    lfsr = ((lfsr << 1) | (((lfsr >> 6) ^ (lfsr >> 5)) & 1u)) & 0x7Fu;
    pattern[k] = (lfsr & 1u) != 0;
  }
  if (sent != nullptr) *sent = pattern;
  std::vector<double> wave(size_t(double(bits) * perBit));
  const double alpha = 1.0 - std::exp(-1.0 / perBit);
  double y = 0.0;
  for (size_t n = 0; n < wave.size(); ++n) {
    y += alpha * ((pattern[size_t(double(n) / perBit)] ? 0.5 : -0.5) - y);
    wave[n] = y;
  }
  return wave;
}

// First post-cursor over main cursor of the one-UI pulse response (32
// samples per UI) of an impulse response: the inter-symbol interference an
// equaliser reduces.
double PostCursorRatio(const double* h, long n) {
  std::vector<double> pulse(size_t(n), 0.0);
  for (long i = 0; i < n; ++i)
    for (long j = 0; j < 32 && j <= i; ++j) pulse[size_t(i)] += h[i - j];
  size_t peak = 0;
  for (size_t i = 0; i < pulse.size(); ++i)
    if (pulse[i] > pulse[peak]) peak = i;
  return pulse[peak + 32] / pulse[peak];
}

// Clock times from one AMI_GetWave call's array, up to the marker.
std::vector<double> ClockList(const std::vector<double>& clocks) {
  std::vector<double> list;
  for (double t : clocks) {
    if (t == -1.0) return list;
    list.push_back(t);
  }
  ADD_FAILURE() << "no end-of-list marker";
  return list;
}

// The returned wave at a time (seconds), linearly interpolated.
double WaveAt(const std::vector<double>& wave, double t, double sampleInterval = kSampleInterval) {
  const double x = t / sampleInterval;
  const size_t i = size_t(std::floor(x));
  if (i + 1 >= wave.size()) return wave.back();
  return wave[i] + (wave[i + 1] - wave[i]) * (x - double(i));
}

// The eye of a returned wave at its clock times + UI/2, from bit 1,000 on:
// the smallest |sample| and the decisions that differ from the sent bits at
// the lag (0 to 2 bits) that fits best.
struct Eye {
  double opening = 1e9;
  long wrong = 0;
};
Eye MeasureEye(const std::vector<double>& wave, const std::vector<double>& clocks, const std::vector<bool>& sent,
               double sampleInterval = kSampleInterval) {
  Eye eye;
  eye.wrong = long(clocks.size());
  for (size_t lag = 0; lag < 3; ++lag) {
    long wrong = 0;
    for (size_t k = 1000; k < clocks.size() && k - lag < sent.size(); ++k)
      wrong += (WaveAt(wave, clocks[k] + kBitTime / 2, sampleInterval) >= 0.0) != sent[k - lag];
    eye.wrong = std::min(eye.wrong, wrong);
  }
  for (size_t k = 1000; k < clocks.size(); ++k)
    eye.opening = std::min(eye.opening, std::fabs(WaveAt(wave, clocks[k] + kBitTime / 2, sampleInterval)));
  return eye;
}

// Eye of the RC channel's output through a receiver with these parameters.
Eye ReceiverEye(const std::string& parameters) {
  std::vector<bool> sent;
  std::vector<double> wave = ReceivedWave(5000, &sent);
  std::vector<double> clocks(wave.size());
  void* handle = nullptr;
  std::vector<char> text(parameters.begin(), parameters.end());
  text.push_back('\0');
  EXPECT_EQ(AMI_Init(nullptr, 0, 0, kSampleInterval, kBitTime, text.data(), nullptr, &handle, nullptr), 1);
  EXPECT_EQ(AMI_GetWave(wave.data(), long(wave.size()), clocks.data(), nullptr, handle), 1);
  AMI_Close(handle);
  return MeasureEye(wave, ClockList(clocks), sent);
}

std::string WithParameter(std::string parameters, const std::string& from, const std::string& to) {
  return parameters.replace(parameters.find(from), from.size(), to);
}

}  // namespace

TEST(RxEntryPoints, LibraryExportsExactlyTheThreeEntryPoints) {
  bool ok = false;
  const std::set<std::string> names = ExportedNames(TESSALUNE_RX_MODEL_PATH, ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(names, (std::set<std::string>{"AMI_Close", "AMI_GetWave", "AMI_Init"}));
}

#if defined(__x86_64__)
TEST(RxEntryPoints, TheLibraryHoldsNoFusedMultiplyAdd) {
  std::vector<std::vector<std::string>> groups = FusedMultiplyAddGroups();
  groups.push_back({"mulsd"});
  bool ok = false;
  const std::vector<int> counts = CountInstructions(TESSALUNE_RX_MODEL_PATH, groups, ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(FusedCount(counts), 0);
  EXPECT_GT(counts[4], 0);  // the listing was read
}
#endif

TEST(RxEntryPoints, InitFiltersEveryRowOfTheImpulseThroughTheCtle) {
  const long row = 4096;
  std::vector<double> impulse(3 * row);
  const double alpha = 1.0 - std::exp(-1.0 / 32.0);
  for (long r = 0; r < 3; ++r)
    for (long i = 0; i < row; ++i) impulse[size_t(r * row + i)] = alpha * std::pow(1.0 - alpha, double(i)) / (r + 1);
  const std::vector<double> given = impulse;
  Session s(kAllParameters, impulse.data(), row, 2);
  ASSERT_EQ(s.result, 1) << (s.msg != nullptr ? s.msg : "");
  EXPECT_EQ(s.msg, nullptr);

  // Each row is the given one through the instance's CTLE from rest.
  for (long r = 0; r < 3; ++r) {
    std::vector<double> expected(given.begin() + r * row, given.begin() + (r + 1) * row);
    s.Model().FilterThroughCtle(expected.data(), expected.size());
    EXPECT_EQ(std::memcmp(expected.data(), impulse.data() + r * row, row * sizeof(double)), 0) << r;
    // 0 dB at DC: the area is kept, while the peaking sharpens the pulse.
    double before = 0.0, after = 0.0;
    for (long i = 0; i < row; ++i) {
      before += given[size_t(r * row + i)];
      after += impulse[size_t(r * row + i)];
    }
    EXPECT_NEAR(after, before, 1e-9) << r;
    EXPECT_LT(PostCursorRatio(impulse.data() + r * row, row), 0.5 * PostCursorRatio(given.data() + r * row, row)) << r;
  }

  // The output parameters name the DFE's starting state.
  ASSERT_NE(s.out, nullptr);
  EXPECT_EQ(std::string(s.out),
            "(tessalune_rx (dfe_level 0) (dfe_tap1 0) (dfe_tap2 0) (dfe_tap3 0) (dfe_tap4 0) "
            "(cdr_frequency_ppm 0))");

  // Switched off, the CTLE gives the impulse back as it was.
  std::vector<double> flat = given;
  std::string off = kAllParameters;
  off.replace(off.find("(ctle_enable True)"), 18, "(ctle_enable False)");
  Session t(off, flat.data(), row, 2);
  ASSERT_EQ(t.result, 1);
  EXPECT_EQ(std::memcmp(flat.data(), given.data(), flat.size() * sizeof(double)), 0);
}

TEST(RxEntryPoints, GetWaveEqualisesRecoversTheClockAndAdaptsTheDfe) {
  std::vector<bool> sent;
  std::vector<double> wave = ReceivedWave(6000, &sent);
  Session s;
  ASSERT_EQ(s.result, 1);
  std::vector<double> clocks(wave.size(), 7.0);
  char* out = nullptr;
  ASSERT_EQ(AMI_GetWave(wave.data(), long(wave.size()), clocks.data(), &out, s.handle), 1);
  const std::vector<double> list = ClockList(clocks);

  // One clock per unit interval, evenly spaced once locked.
  EXPECT_NEAR(double(list.size()), 6000.0, 2.0);
  for (size_t k = 1000; k < list.size(); ++k) EXPECT_NEAR(list[k] - list[k - 1], kBitTime, kBitTime / 16.0) << k;

  // The eye at the clock times (each half a bit time before its data
  // instant): after 1,000 bits every decision is a sent bit, at one lag.
  const Eye eye = MeasureEye(wave, list, sent);
  EXPECT_EQ(eye.wrong, 0);
  EXPECT_GT(eye.opening, 0.1);

  // The DFE found the RC channel's first post-cursor, positive, and the
  // output parameters report the instance's taps.
  const tessalune_rx& m = s.Model();
  EXPECT_GT(m.Dfe.Taps()[0], 0.01);
  ASSERT_NE(out, nullptr);
  const AmiParameters reported(out);
  ASSERT_TRUE(reported.valid) << out;
  for (int i = 0; i < 4; ++i) {
    double tap = 0.0;
    ASSERT_TRUE(reported.GetDouble(tap, ("tessalune_rx.dfe_tap" + std::to_string(i + 1)).c_str())) << out;
    EXPECT_NEAR(tap, m.Dfe.Taps()[i], 1e-8 + 1e-8 * std::fabs(tap));
  }
  double level = 0.0;
  EXPECT_TRUE(reported.GetDouble(level, "tessalune_rx.dfe_level"));
  EXPECT_EQ(reported.Find("tessalune_rx.dfe_tap5"), nullptr);
}

TEST(RxEntryPoints, SplitCallsGiveTheSameBitsAndClockTimesAsOneCall) {
  const std::vector<double> wave = ReceivedWave(1500);
  Session whole, split;
  std::vector<double> a = wave, clocksA(wave.size());
  ASSERT_EQ(AMI_GetWave(a.data(), long(a.size()), clocksA.data(), nullptr, whole.handle), 1);

  // Uneven pieces, single samples among them: a one-entry array has room
  // only for the marker, so the clock times come in the following calls.
  std::vector<double> b = wave, listB;
  const long sizes[] = {1, 1, 5, 0, 17, 1000, 1, 1, 1, 3000, 50000};
  long at = 0;
  for (long n : sizes) {
    n = std::min(n, long(b.size()) - at);
    std::vector<double> clocks(size_t(n) + 1, 7.0);
    ASSERT_EQ(AMI_GetWave(b.data() + at, n, clocks.data(), nullptr, split.handle), 1);
    if (n > 0) {
      const std::vector<double> piece = ClockList(clocks);
      EXPECT_LE(piece.size() + 1, size_t(n));  // never past the wave's size
      listB.insert(listB.end(), piece.begin(), piece.end());
    }
    EXPECT_EQ(clocks[size_t(n)], 7.0);
    at += n;
  }
  ASSERT_EQ(at, long(wave.size()));
  EXPECT_EQ(std::memcmp(a.data(), b.data(), a.size() * sizeof(double)), 0);
  const std::vector<double> listA = ClockList(clocksA);
  ASSERT_EQ(listA.size(), listB.size());
  EXPECT_EQ(std::memcmp(listA.data(), listB.data(), listA.size() * sizeof(double)), 0);
}

TEST(RxEntryPoints, ParametersThatAreMissingOrUnusableAreReported) {
  Session missing("(tessalune_rx (dfe_taps 2))");
  EXPECT_EQ(missing.result, 1);
  ASSERT_NE(missing.msg, nullptr);
  EXPECT_NE(std::strstr(missing.msg, "unable to initialize the parameter ctle_enable"), nullptr);
  EXPECT_NE(std::strstr(missing.msg, "unable to initialize the parameter cdr_freq_step"), nullptr);
  EXPECT_EQ(std::strstr(missing.msg, "parameter dfe_taps"), nullptr);
  EXPECT_EQ(missing.Model().Dfe.TapCount(), 2);

  std::string many = kAllParameters;
  many.replace(many.find("(dfe_taps 4)"), 12, "(dfe_taps 9)");
  Session refused(many);
  EXPECT_EQ(refused.result, 0);
  ASSERT_NE(refused.msg, nullptr);
  EXPECT_STREQ(refused.msg, "The IBIS-AMI model, tessalune_rx, cannot use dfe_taps 9: it takes 0 to 8 taps. ");

  std::string given = kAllParameters;
  given.replace(given.find("\"\""), 2, "\"0.1 -0.05\"");
  Session start(given);
  EXPECT_EQ(start.result, 1);
  EXPECT_EQ(start.msg, nullptr);
  EXPECT_EQ(start.Model().Dfe.Taps()[0], 0.1);
  EXPECT_EQ(start.Model().Dfe.Taps()[1], -0.05);
  EXPECT_EQ(start.Model().Dfe.Taps()[2], 0.0);

  std::string wrong = kAllParameters;
  wrong.replace(wrong.find("\"\""), 2, "\"0.1 x\"");
  Session bad(wrong);
  EXPECT_EQ(bad.result, 0);
  ASSERT_NE(bad.msg, nullptr);
  EXPECT_NE(std::strstr(bad.msg, "cannot use dfe_initial_taps \"0.1 x\""), nullptr);
}

TEST(RxEntryPoints, AFailedInitHandsTheInstanceOverAndItNeverRuns) {
  Session coarse(kAllParameters, nullptr, 0, 0, kBitTime / 4.0);  // 4 samples per bit: too few for the CDR
  EXPECT_EQ(coarse.result, 0);
  ASSERT_NE(coarse.handle, nullptr);
  EXPECT_STREQ(coarse.msg, "Error occurred in tessalune_rx::Setup(). ");
  EXPECT_NE(coarse.err.find("SamplesPerBit is too small"), std::string::npos);
  double wave[3] = {1.0, 2.0, 3.0}, clocks[3] = {7.0, 7.0, 7.0};
  EXPECT_EQ(AMI_GetWave(wave, 3, clocks, nullptr, coarse.handle), 0);
  EXPECT_EQ(wave[0], 1.0);
  EXPECT_EQ(clocks[0], -1.0);
  EXPECT_EQ(AMI_GetWave(wave, -1, clocks, nullptr, coarse.handle), 0);
  EXPECT_EQ(AMI_GetWave(wave, 3, clocks, nullptr, nullptr), 0);
  EXPECT_EQ(AMI_Init(nullptr, 0, 0, kSampleInterval, kBitTime, nullptr, nullptr, nullptr, nullptr), 0);
}

TEST(RxEntryPoints, GetWaveAllocatesNothing) {
  const std::vector<double> wave = ReceivedWave(800);
  Session s;
  ASSERT_EQ(s.result, 1);
  std::vector<double> w = wave, clocks(wave.size());
  char* out = nullptr;
  gAllocations = 0;
  gCounting = true;
  // Single samples first (clock times carried over), then blocks.
  long at = 0;
  for (; at < 200; ++at) AMI_GetWave(w.data() + at, 1, clocks.data(), &out, s.handle);
  for (; at + 4096 <= long(w.size()); at += 4096) AMI_GetWave(w.data() + at, 4096, clocks.data(), &out, s.handle);
  gCounting = false;
  EXPECT_EQ(gAllocations, 0);
  EXPECT_NE(out, nullptr);
}

// The RC line (time constant one UI) closes the eye to under a fifth of the
// swing (0.091 V of 0.5 V); the CTLE alone (6 dB at 5 GHz, no DFE) opens it
// four-fold (0.367 V; asserted: three-fold), and the DFE on top further
// (0.437 V).
TEST(RxEntryPoints, TheCtleOpensTheEyeOfALossyLineAndTheDfeFurther) {
  const std::string noDfe = WithParameter(kAllParameters, "(dfe_taps 4)", "(dfe_taps 0)");
  const Eye bare = ReceiverEye(WithParameter(noDfe, "(ctle_enable True)", "(ctle_enable False)"));
  const Eye ctle = ReceiverEye(noDfe);
  const Eye both = ReceiverEye(kAllParameters);
  EXPECT_EQ(bare.wrong, 0);
  EXPECT_EQ(ctle.wrong, 0);
  EXPECT_EQ(both.wrong, 0);
  EXPECT_GT(ctle.opening, 3.0 * bare.opening) << bare.opening << " " << ctle.opening;
  EXPECT_GT(both.opening, ctle.opening);
  std::printf("eye opening (V, for +-0.5 V bits): no CTLE %.3f, CTLE %.3f, CTLE and DFE %.3f\n", bare.opening,
              ctle.opening, both.opening);
}

// Instances share nothing: eight on eight threads give the bits one gives
// alone.
TEST(RxEntryPoints, InstancesOnSeveralThreadsGiveTheSingleThreadBits) {
  const std::vector<double> wave = ReceivedWave(800);
  auto run = [&wave](std::vector<double>& out, std::vector<double>& clocks) {
    out = wave;
    clocks.assign(wave.size(), 0.0);
    void* handle = nullptr;
    std::vector<char> text(kAllParameters, kAllParameters + std::strlen(kAllParameters) + 1);
    if (AMI_Init(nullptr, 0, 0, kSampleInterval, kBitTime, text.data(), nullptr, &handle, nullptr) == 1)
      AMI_GetWave(out.data(), long(out.size()), clocks.data(), nullptr, handle);
    AMI_Close(handle);
  };
  std::vector<double> alone, aloneClocks;
  run(alone, aloneClocks);
  std::vector<std::vector<double>> outs(8), clocks(8);
  std::vector<std::thread> threads;
  for (size_t t = 0; t < outs.size(); ++t) threads.emplace_back(run, std::ref(outs[t]), std::ref(clocks[t]));
  for (std::thread& t : threads) t.join();
  for (size_t t = 0; t < outs.size(); ++t) {
    EXPECT_EQ(std::memcmp(outs[t].data(), alone.data(), alone.size() * sizeof(double)), 0) << t;
    EXPECT_EQ(std::memcmp(clocks[t].data(), aloneClocks.data(), alone.size() * sizeof(double)), 0) << t;
  }
}

// A grid that does not divide the bit time (32.4 samples per bit): the
// receiver works on the exact ratio, so its clock keeps the bit rate (no
// slip, no frequency offset to chase) and every decision is right.
TEST(RxEntryPoints, AGridThatDoesNotDivideTheBitTimeKeepsTheBitRate) {
  const double perBit = 32.4, sampleInterval = kBitTime / perBit;
  std::vector<bool> sent;
  std::vector<double> wave = ReceivedWave(5000, &sent, perBit);
  Session s(kAllParameters, nullptr, 0, 0, sampleInterval);
  ASSERT_EQ(s.result, 1);
  EXPECT_EQ(s.Model().SamplesPerBitInt, 32);
  std::vector<double> clocks(wave.size());
  ASSERT_EQ(AMI_GetWave(wave.data(), long(wave.size()), clocks.data(), nullptr, s.handle), 1);
  const std::vector<double> list = ClockList(clocks);
  ASSERT_GT(list.size(), 4990u);
  EXPECT_NEAR((list.back() - list[1000]) / double(list.size() - 1001), kBitTime, 1e-4 * kBitTime);
  EXPECT_LT(std::fabs(s.Model().Cdr.Frequency()), 5e-4);  // one or two frequency steps of dither
  const Eye eye = MeasureEye(wave, list, sent, sampleInterval);
  EXPECT_EQ(eye.wrong, 0);
  EXPECT_GT(eye.opening, 0.3);
}

// The fast path and the per-sample network give the same waveform, clock
// times and output parameters to the bit, over blocks of several sizes, with
// no DFE taps, four and eight, and with the CTLE on and off.
TEST(RxEntryPoints, TheFastPathGivesTheNetworksBits) {
  const std::string configurations[] = {
      kAllParameters,
      "(tessalune_rx (dfe_taps 8) (ctle_peaking 12))",
      "(tessalune_rx (dfe_taps 0) (ctle_enable False))",
  };
  const std::vector<double> received = ReceivedWave(3000);
  for (const std::string& parameters : configurations) {
    Session fast(parameters), reference(parameters);
    ASSERT_EQ(fast.result, 1);
    ASSERT_EQ(reference.result, 1);
    reference.Model().UseBlockPath = false;
    std::vector<double> a = received, b = received;
    long at = 0;
    for (long size : {1L, 1000L, 31L, 40000L, 4096L, 100000L}) {
      const long n = std::min<long>(size, long(a.size()) - at);
      std::vector<double> clocksA(size_t(n) + 1), clocksB(size_t(n) + 1);
      char *outA = nullptr, *outB = nullptr;
      ASSERT_EQ(AMI_GetWave(a.data() + at, n, clocksA.data(), &outA, fast.handle), 1);
      ASSERT_EQ(AMI_GetWave(b.data() + at, n, clocksB.data(), &outB, reference.handle), 1);
      EXPECT_EQ(std::memcmp(clocksA.data(), clocksB.data(), clocksA.size() * sizeof(double)), 0) << parameters;
      EXPECT_STREQ(outA, outB);
      at += n;
    }
    EXPECT_EQ(std::memcmp(a.data(), b.data(), a.size() * sizeof(double)), 0) << parameters;
  }
}

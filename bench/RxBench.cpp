// Throughput of the reference receiver as a simulator drives it:
// AMI_GetWave (CTLE, DFE, clock recovery, clock times) at 32 samples per
// UI and 100 ps bit time, on blocks of 1,024 and 65,536 samples, with 0, 4
// and 8 DFE taps. The input is PRBS7 at +-0.5 through a one-pole RC channel
// (time constant one UI), so that the DFE adapts and the clock recovery
// votes as on a real line. Counter Msamples_per_s: millions of samples per
// second of processor time (target: 20 on one core).
#include "rxami/RxEntryPoints.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <string>
#include <vector>

namespace {

constexpr long kSamplesPerBit = 32;

// Two blocks of received wave, alternately copied in.
std::vector<double> ReceivedWave(size_t samples) {
  std::vector<double> wave(samples);
  unsigned lfsr = 0x7Fu;
  const double alpha = 1.0 - std::exp(-1.0 / double(kSamplesPerBit));
  double y = 0.0, level = 0.5;
  for (size_t i = 0; i < samples; ++i) {
    if (i % kSamplesPerBit == 0) {
      lfsr = ((lfsr << 1) | (((lfsr >> 6) ^ (lfsr >> 5)) & 1u)) & 0x7Fu;
      level = (lfsr & 1u) ? 0.5 : -0.5;
    }
    y += alpha * (level - y);
    wave[i] = y;
  }
  return wave;
}

void BM_ReceiverGetWave(benchmark::State& state) {
  const long block = long(state.range(0)), taps = long(state.range(1));
  std::string parameters =
      "(tessalune_rx (ctle_enable True) (ctle_dc_gain 0) (ctle_peak_freq 0) (ctle_peaking 6)"
      " (dfe_taps " +
      std::to_string(taps) +
      ") (dfe_step 0.001) (dfe_adapt True) (dfe_initial_taps \"\")"
      " (cdr_phase_step 0.015625) (cdr_freq_step 0.0001220703125))";
  void* handle = nullptr;
  char* msg = nullptr;
  char* out = nullptr;
  if (AMI_Init(nullptr, 0, 0, 1e-10 / double(kSamplesPerBit), 1e-10, &parameters[0], &out, &handle, &msg) != 1) {
    state.SkipWithError("AMI_Init failed");
    AMI_Close(handle);
    return;
  }
  const size_t n = size_t(block);
  const std::vector<double> pattern = ReceivedWave(2 * n);
  std::vector<double> wave(n), clocks(n);
  size_t which = 0;
  const std::clock_t start = std::clock();
  for (auto _ : state) {
    std::copy(pattern.begin() + long(which * n), pattern.begin() + long((which + 1) * n), wave.begin());
    which ^= 1;
    benchmark::DoNotOptimize(AMI_GetWave(wave.data(), block, clocks.data(), &out, handle));
    benchmark::ClobberMemory();
  }
  const double seconds = double(std::clock() - start) / CLOCKS_PER_SEC;
  state.SetItemsProcessed(state.iterations() * block);
  if (seconds > 0.0) state.counters["Msamples_per_s"] = double(state.iterations()) * double(block) / seconds / 1e6;
  AMI_Close(handle);
}

}  // namespace

BENCHMARK(BM_ReceiverGetWave)->ArgsProduct({{1024, 65536}, {0, 4, 8}})->ArgNames({"block", "taps"});

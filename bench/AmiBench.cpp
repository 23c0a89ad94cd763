// Throughput of the model as a simulator drives it: AMI_GetWave on blocks of
// 1,024 samples at the default parameters (response 8, no de-emphasis,
// 32 samples per bit, 100 ps bit time).
#include "ami/AmiEntryPoints.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

static void BM_AmiGetWave(benchmark::State& state) {
  const long blockSize = long(state.range(0));
  char params[] = "(tessalune_tx)";
  void* handle = nullptr;
  char* msg = nullptr;
  if (AMI_Init(nullptr, 0, 0, 3.125e-12, 1e-10, params, nullptr, &handle, &msg) != 1) {
    state.SkipWithError("AMI_Init failed");
    AMI_Close(handle);
    return;
  }
  // A pseudo-random bit pattern, 32 samples per bit, 64 blocks long; each
  // block is copied in before the call (a few ns against the filtering).
  const size_t n = static_cast<size_t>(blockSize);
  std::vector<double> pattern(64 * n);
  unsigned lfsr = 0x7Fu;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (i % 32 == 0) lfsr = ((lfsr << 1) | (((lfsr >> 6) ^ (lfsr >> 5)) & 1u)) & 0x7Fu;
    pattern[i] = (lfsr & 1u) ? 0.5 : -0.5;
  }
  std::vector<double> wave(n);
  double clocks[1];
  size_t block = 0;
  for (auto _ : state) {
    std::copy(pattern.begin() + block * n, pattern.begin() + (block + 1) * n, wave.begin());
    block = (block + 1) % 64;
    benchmark::DoNotOptimize(AMI_GetWave(wave.data(), blockSize, clocks, nullptr, handle));
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * blockSize);
  AMI_Close(handle);
}
BENCHMARK(BM_AmiGetWave)->Arg(1024);

// Throughput of the model as a simulator drives it: AMI_GetWave at the
// default parameters (response 8, no de-emphasis, 100 ps bit time), at 32 and
// 128 samples per bit, on blocks of 1,024 and 65,536 samples, first through
// the per-sample network, then through the block path at each lane level.
// Each block-path figure also gives its ratio to the network's figure for the
// same samples per bit and block size (counter vs_network), and the
// response's tap count.
#include "ami/AmiEntryPoints.h"
#include "blocks/FIRLanes.h"
#include "model/tessalune_tx.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <map>
#include <utility>
#include <vector>

namespace {

using OrvennModelBuilder::FIRLanes;

// Samples per second of the network, by samples per bit and block size.
std::map<std::pair<long, long>, double>& NetworkRates() {
  static std::map<std::pair<long, long>, double> rates;
  return rates;
}

// Drives one instance with a PRBS7 pattern of +-0.5 levels; `level` < 0
// runs the per-sample network. Returns samples per second, or 0 when the
// instance cannot run as asked.
double Drive(benchmark::State& state, int level, long samplesPerBit, long blockSize) {
  char params[] = "(tessalune_tx)";
  void* handle = nullptr;
  char* msg = nullptr;
  if (AMI_Init(nullptr, 0, 0, 1e-10 / double(samplesPerBit), 1e-10, params, nullptr, &handle, &msg) != 1) {
    state.SkipWithError("AMI_Init failed");
    AMI_Close(handle);
    return 0.0;
  }
  tessalune_tx& model = *static_cast<tessalune_tx*>(handle);
  if (level < 0) {
    model.BlockPath.UseNetwork();
    state.SetLabel("network");
  } else if (!model.BlockPath.SelectLevel(FIRLanes::Level(level))) {
    state.SkipWithError("lane level not available here");
    AMI_Close(handle);
    return 0.0;
  } else {
    state.SetLabel(FIRLanes::Name(FIRLanes::Level(level)));
  }
  state.counters["taps"] = model.Bank.R[8].NumTaps;

  // Two blocks of pattern; each call gets one copied in (a small cost
  // against the filtering, and what a host does anyway).
  const size_t n = size_t(blockSize);
  std::vector<double> pattern(2 * n);
  unsigned lfsr = 0x7Fu;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (i % size_t(samplesPerBit) == 0) lfsr = ((lfsr << 1) | (((lfsr >> 6) ^ (lfsr >> 5)) & 1u)) & 0x7Fu;
    pattern[i] = (lfsr & 1u) ? 0.5 : -0.5;
  }
  std::vector<double> wave(n);
  double clocks[1];
  size_t block = 0;
  // Processor time, as the benchmark's own figures: the machine is shared.
  const std::clock_t start = std::clock();
  for (auto _ : state) {
    std::copy(pattern.begin() + block * n, pattern.begin() + (block + 1) * n, wave.begin());
    block ^= 1;
    benchmark::DoNotOptimize(AMI_GetWave(wave.data(), blockSize, clocks, nullptr, handle));
    benchmark::ClobberMemory();
  }
  const double seconds = double(std::clock() - start) / CLOCKS_PER_SEC;
  state.SetItemsProcessed(state.iterations() * blockSize);
  AMI_Close(handle);
  return seconds > 0.0 ? double(state.iterations()) * double(blockSize) / seconds : 0.0;
}

void BM_Network(benchmark::State& state) {
  const long spb = long(state.range(0)), block = long(state.range(1));
  const double rate = Drive(state, -1, spb, block);
  if (rate > 0.0) NetworkRates()[{spb, block}] = rate;
}

void BM_BlockPath(benchmark::State& state) {
  const long spb = long(state.range(1)), block = long(state.range(2));
  const double rate = Drive(state, int(state.range(0)), spb, block);
  const auto network = NetworkRates().find({spb, block});
  if (rate > 0.0 && network != NetworkRates().end()) state.counters["vs_network"] = rate / network->second;
}

}  // namespace

// The network first: the block path's ratios refer to its figures.
BENCHMARK(BM_Network)->ArgsProduct({{32, 128}, {1024, 65536}})->ArgNames({"spb", "block"});
BENCHMARK(BM_BlockPath)
    ->ArgsProduct({{int(FIRLanes::Level::Scalar), int(FIRLanes::Level::Sse2), int(FIRLanes::Level::Avx2),
                    int(FIRLanes::Level::Avx512)},
                   {32, 128},
                   {1024, 65536}})
    ->ArgNames({"level", "spb", "block"});

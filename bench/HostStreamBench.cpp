// The simulation host's own work around AMI_GetWave, per sample: stimulus,
// channel, eye measurement and, when asked, the eye density of the picture,
// in blocks of 1,024 samples at 32 samples per bit (the model itself is left
// out: its output is the stimulus). Arguments: RC channel (0/1), density (0/1),
// the BER distributions (0/1). BM_BerMap: the BER map computed from the
// distributions of 10^5 bits, with noise (mV) and jitter (ps) as arguments.
#include "tools/linkbench/channel/RcChannel.h"
#include "tools/linkbench/eye/BerMap.h"
#include "tools/linkbench/eye/EyeDensity.h"
#include "tools/linkbench/eye/EyeMeasure.h"
#include "tools/linkbench/stream/BitHistory.h"
#include "tools/linkbench/stream/PrbsStimulus.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

static void BM_HostStream(benchmark::State& state) {
  const int spb = 32;
  const long block = 1024;
  // A run longer than any benchmark: the measurement never reaches its end.
  EyeMeasure eye(EyeGeometry{spb, 1L << 45, 1L << 40, 32, 16L * spb}, 1e-10);
  EyeDensity density(spb, 800, 450);
  if (state.range(1)) eye.AddWindowSink(&density);
  if (state.range(2)) eye.GatherHistograms();
  BitHistory history(eye.BitsKept(block));
  PrbsStimulus stimulus(31, spb, history);
  RcChannel channel(state.range(0) ? 10.0 : 0.0, spb);
  std::vector<double> samples(block);
  std::string error;
  long start = 0;
  for (auto _ : state) {
    stimulus.Fill(samples.data(), block);
    channel.Process(samples.data(), block);
    benchmark::DoNotOptimize(eye.Consume(WaveBlock{start, block, samples.data(), &history}, error));
    start += block;
  }
  state.SetItemsProcessed(state.iterations() * block);
}
BENCHMARK(BM_HostStream)->Args({0, 0, 0})->Args({1, 0, 0})->Args({1, 1, 0})->Args({1, 0, 1});

static void BM_BerMap(benchmark::State& state) {
  const int spb = 32;
  const long block = 1024, bits = 100000;
  EyeMeasure eye(EyeGeometry{spb, bits * spb, bits, 32, 16L * spb}, 1e-10);
  eye.GatherHistograms();
  BitHistory history(eye.BitsKept(block));
  PrbsStimulus stimulus(31, spb, history);
  RcChannel channel(10.0, spb);
  std::vector<double> samples(block);
  std::string error;
  for (long start = 0; start < bits * spb; start += block) {
    stimulus.Fill(samples.data(), block);
    channel.Process(samples.data(), block);
    eye.Consume(WaveBlock{start, block, samples.data(), &history}, error);
  }
  for (auto _ : state) {
    const BerMap map(*eye.Histograms(), state.range(0) * 1e-3, state.range(1) * 1e-2);
    benchmark::DoNotOptimize(map.At(128, 1024));
  }
}
BENCHMARK(BM_BerMap)->Args({0, 0})->Args({10, 1})->Args({50, 5})->Unit(benchmark::kMillisecond);

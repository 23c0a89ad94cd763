// The simulation host's own work around AMI_GetWave, per sample: stimulus,
// channel, eye measurement and, when asked, the eye density of the picture,
// in blocks of 1,024 samples at 32 samples per bit (the model itself is left
// out: its output is the stimulus). Arguments: RC channel (0/1), density (0/1).
#include "tools/BitHistory.h"
#include "tools/EyeDensity.h"
#include "tools/EyeMeasure.h"
#include "tools/PrbsStimulus.h"
#include "tools/RcChannel.h"

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
BENCHMARK(BM_HostStream)->Args({0, 0})->Args({1, 0})->Args({1, 1});

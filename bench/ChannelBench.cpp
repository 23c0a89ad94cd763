#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "bench/RandomSamples.h"
#include "tools/ChannelResponse.h"
#include "tools/OverlapSaveConvolver.h"
#include "tools/Touchstone.h"

namespace {

// Samples per second through an overlap-save convolver of range(0) taps,
// pushed in blocks of range(1) samples.
void OverlapSave(benchmark::State& state) {
  const size_t taps = static_cast<size_t>(state.range(0)), block = static_cast<size_t>(state.range(1));
  OverlapSaveConvolver convolver(RandomSamples(taps, 1));
  const std::vector<double> input = RandomSamples(1 << 20, 2);
  std::vector<double> output(block);
  size_t at = 0;
  for (auto _ : state) {
    if (at + block > input.size()) at = 0;
    convolver.Push(input.data() + at, block, output.data());
    at += block;
    benchmark::DoNotOptimize(output.data());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(block));
  state.counters["fft"] = static_cast<double>(convolver.FftSize());
}
BENCHMARK(OverlapSave)
    ->Args({512, 4096})
    ->Args({4096, 4096})
    ->Args({16384, 4096})
    ->Args({53010, 4096})
    ->Args({53010, 1 << 16});

// The plain sum, for comparison at a small response length.
void DirectConvolution(benchmark::State& state) {
  const size_t taps = static_cast<size_t>(state.range(0));
  const std::vector<double> h = RandomSamples(taps, 1), x = RandomSamples(16384, 2);
  for (auto _ : state) benchmark::DoNotOptimize(OverlapSaveConvolver::ConvolveDirect(h, x).data());
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(x.size()));
}
BENCHMARK(DirectConvolution)->Arg(512)->Arg(4096);

// Reading the generated example channel and building its impulse response
// at 32 samples per 100 ps bit.
void ExampleChannelBuild(benchmark::State& state) {
  TouchstoneNetwork network;
  std::string error;
  if (!ReadTouchstoneFile(std::string(TESSALUNE_SOURCE_DIR) + "/examples/lossy_line_15dB.s4p", network, error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  for (auto _ : state) {
    ChannelResponse channel;
    channel.SetNetwork(network, ChannelResponse::Ports(), error);
    channel.Build(1e-10 / 32, error);
    benchmark::DoNotOptimize(channel.Impulse().data());
  }
}
BENCHMARK(ExampleChannelBuild)->Unit(benchmark::kMillisecond);

}  // namespace

#include <benchmark/benchmark.h>

#include <complex>
#include <random>
#include <string>
#include <vector>

#include "bench/RandomSamples.h"
#include "tools/linkbench/channel/ChannelResponse.h"
#include "tools/linkbench/channel/OverlapSaveConvolver.h"
#include "tools/linkbench/channel/Touchstone.h"

namespace {

// Samples per second through an overlap-save convolver of range(0) taps,
// pushed in blocks of range(1) samples, with an FFT of range(2) points (0:
// the convolver's own choice).
void OverlapSave(benchmark::State& state) {
  const size_t taps = static_cast<size_t>(state.range(0)), block = static_cast<size_t>(state.range(1));
  OverlapSaveConvolver convolver(RandomSamples(taps, 1), static_cast<size_t>(state.range(2)));
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
    ->Args({512, 4096, 0})
    ->Args({4096, 4096, 0})
    ->Args({16384, 4096, 0})
    ->Args({53010, 4096, 0})
    ->Args({53010, 1 << 16, 0})
    // The FFT length for the example channels' responses (53010 and 66944
    // samples): from twice to sixteen times the response. Near twice (131072
    // points) runs about a third faster than the four times the convolver
    // takes, but its other rounding moves the channel's output in the last
    // bits, which the receiver's bang-bang clock recovery turns into other
    // figures: the convolver keeps four times.
    ->Args({53010, 1024, 98304})
    ->Args({53010, 1024, 1 << 17})
    ->Args({53010, 1024, 163840})
    ->Args({53010, 1024, 196608})
    ->Args({53010, 1024, 1 << 18})
    ->Args({53010, 1024, 1 << 19})
    ->Args({53010, 1024, 1 << 20})
    ->Args({66944, 1024, 1 << 17})
    ->Args({66944, 1024, 1 << 18})
    ->Args({66944, 1024, 1 << 19})
    ->Args({66944, 1024, 1 << 20})
    // A response of 4096 and 16384 samples.
    ->Args({4096, 1024, 1 << 13})
    ->Args({4096, 1024, 1 << 14})
    ->Args({4096, 1024, 1 << 15})
    ->Args({4096, 1024, 1 << 16})
    ->Args({16384, 1024, 1 << 16})
    ->Args({16384, 1024, 1 << 17})
    ->Args({16384, 1024, 1 << 18});

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

// Reading a Touchstone text as the stream reader does: bytes per second for
// range(0) frequency points of a 4-port file, one matrix row per line.
void TouchstoneReading(benchmark::State& state) {
  std::string text = "# GHz S RI R 50\n";
  for (int64_t k = 1; k <= state.range(0); ++k) {
    text += std::to_string(0.01 * static_cast<double>(k));
    for (int row = 0; row < 4; ++row) {
      for (int column = 0; column < 4; ++column) text += " 0.123456789 -0.987654321";
      text += "\n";
    }
  }
  TouchstoneNetwork network;
  std::string error;
  for (auto _ : state) {
    if (!ReadTouchstone(text, "bench.s4p", network, error)) state.SkipWithError(error.c_str());
    benchmark::DoNotOptimize(network.s.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(TouchstoneReading)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);

// Building the response of a file whose points 1 kHz apart ask for a period
// of milliseconds: the FFT stops at its cap and the kept response at its
// bound, so the time and memory of one build stay bounded too.
void BoundedChannelBuild(benchmark::State& state) {
  TouchstoneNetwork network;
  network.ports = 2;
  network.frequency = {1e9, 1.000001e9, 20e9};
  for (const std::complex<double> s21 : {std::polar(0.89, -0.52), std::polar(0.89, -0.53), std::polar(0.1, 2.97)})
    network.s.insert(network.s.end(), {0.0, s21, s21, 0.0});
  std::string error;
  for (auto _ : state) {
    ChannelResponse channel;
    if (!channel.SetNetwork(network, ChannelResponse::Ports(), error) || !channel.Build(1e-10 / 32, error))
      state.SkipWithError(error.c_str());
    benchmark::DoNotOptimize(channel.Impulse().data());
    state.counters["kept"] = static_cast<double>(channel.Impulse().size());
    state.counters["fft"] = static_cast<double>(channel.FftSize());
  }
}
BENCHMARK(BoundedChannelBuild)->Unit(benchmark::kMillisecond);

}  // namespace

#include "blocks/FIR.h"
#include "blocks/TimeResponseFIR.h"

#include <benchmark/benchmark.h>

#include "bench/RandomSamples.h"

#include <cmath>
#include <random>
#include <vector>

using namespace OrvennModelBuilder;

namespace {

// One firing of a 147-tap single-rate filter, the size of the model's
// response filters.
void FirFiring147(benchmark::State& state) {
  std::vector<double> taps = RandomSamples(147, 1);
  const std::vector<double> input = RandomSamples(4096, 2);
  double in = 0.0, out = 0.0;
  FIR<double, 0> fir;
  fir.Taps = taps.data();
  fir.NumTaps = 147;
  fir.Setup();
  fir.Input.Attach(&in, 1, fir.Input.blockSize, 0);
  fir.Output.Attach(&out, 1, fir.Output.blockSize, 0);
  fir.Initialize();
  size_t n = 0;
  for (auto _ : state) {
    in = input[n++ & 4095];
    fir.Run();
    benchmark::DoNotOptimize(out);
  }
  fir.Finalize();
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(FirFiring147);

// The same firing written step by step: every ring slot and output element
// addressed through the buffers' wrapped offsets, every tap index checked,
// the running sum kept in the output element. Same bits as the block.
void FirFiring147ThroughOutputMemory(benchmark::State& state) {
  const std::vector<double> taps = RandomSamples(147, 1);
  const std::vector<double> input = RandomSamples(4096, 2);
  const uint32_t N = 147, L = N + 2, P = N;
  std::vector<double> ringStorage(L, 0.0);
  double in = 0.0, out = 0.0;
  CircularBuffer<double> ring, inPin, outPin;
  ring.Attach(ringStorage.data(), L, 1, 0);
  inPin.Attach(&in, 1, 1, 0);
  outPin.Attach(&out, 1, 1, 0);
  size_t n = 0;
  for (auto _ : state) {
    in = input[n++ & 4095];
    *ring.ElementAt(L - 1) = *inPin.ElementAt(0);
    *outPin.ElementAt(0) = 0.0;
    for (uint32_t j = 0; j < P; ++j)
      if (j < N) *outPin.ElementAt(0) = *outPin.ElementAt(0) + *ring.ElementAt(L - 1 - j) * taps[j];
    ring.Advance();
    benchmark::DoNotOptimize(out);
  }
}
BENCHMARK(FirFiring147ThroughOutputMemory);

// Taps of a response filter from an 80-point impulse response spanning 146
// sample intervals at the tap grid, on uneven time stamps.
void TimeResponseSetup80(benchmark::State& state) {
  const double rate = 1e12;
  std::vector<double> stamps(80), values(80);
  for (int i = 0; i < 80; ++i) {
    const double u = i / 79.0;
    stamps[i] = (u + 0.05 * std::sin(6.0 * u)) * 146e-12 / (1.0 + 0.05 * std::sin(6.0));
    values[i] = std::exp(-8.0 * u) * std::cos(20.0 * u) * 1e10;
  }
  TimeResponseFIR fir;
  fir.Response = values.data();
  fir.ResponseTimeStamps = stamps.data();
  fir.ResponseSize = 80;
  fir.ResponseTimeStampsSize = 80;
  fir.ResponseType = TimeResponseFIR::ImpulseResponse;
  fir.SampleRate = rate;
  for (auto _ : state) {
    bool ok = fir.Setup();
    benchmark::DoNotOptimize(ok);
  }
  state.counters["taps"] = fir.NumTaps;
}
BENCHMARK(TimeResponseSetup80);

}  // namespace

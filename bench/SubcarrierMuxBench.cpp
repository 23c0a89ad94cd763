#include "blocks/DF_OFDM_SubcarrierMux.h"

#include <benchmark/benchmark.h>

#include <complex>
#include <cstdint>
#include <vector>

using namespace OrvennModelBuilder;
using C = std::complex<double>;

namespace {

// One firing of a 1024-point, two-symbol frame: four branches of 200
// sub-carriers per symbol each (interleaved over -400 .. 399), the union
// reference on EVMRef, uncentred layout, so 448 of 2048 positions are
// cleared every firing.
void SubcarrierMuxFiring1024(benchmark::State& state) {
  DF_OFDM_SubcarrierMux mux;
  mux.DFTSize = 1024;
  mux.NumInput = 4;
  mux.Input.Resize(4);
  mux.CenteredSymbol = 0;
  std::vector<int32_t> carriers(2, 200), index[4];
  for (int b = 0; b < 4; ++b) {
    for (int s = 0; s < 2; ++s)
      for (int32_t k = -400 + b; k < 400; k += 4) index[b].push_back(k);
    mux.CarriersPerSym[b] = carriers.data();
    mux.CarriersPerSymSize[b] = 2;
    mux.CarrierIndex[b] = index[b].data();
    mux.CarrierIndexSize[b] = int32_t(index[b].size());
  }
  if (!mux.Setup()) {
    state.SkipWithError("Setup failed");
    return;
  }
  std::vector<C> in[4], out(mux.Output.maxBlockSize), ref(mux.EVMRef.maxBlockSize);
  for (uint32_t b = 0; b < 4; ++b) {
    auto& pin = *mux.Input.At(b);
    in[b].assign(pin.maxBlockSize, C(b, 1.0));
    pin.Attach(in[b].data(), pin.maxBlockSize, pin.blockSize, 0);
  }
  mux.Output.Attach(out.data(), uint32_t(out.size()), mux.Output.blockSize, 0);
  mux.EVMRef.Attach(ref.data(), uint32_t(ref.size()), mux.EVMRef.blockSize, 0);
  mux.Initialize();
  for (auto _ : state) {
    mux.Run();
    benchmark::DoNotOptimize(ref.data());
  }
  state.SetItemsProcessed(state.iterations() * int64_t(out.size()));
}
BENCHMARK(SubcarrierMuxFiring1024);

}  // namespace

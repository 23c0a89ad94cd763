// One whole `sim` run as the host streams it, 10^6 bits of PRBS7 at 32
// samples per UI through the transmitter, a first-order channel of 10 dB at
// Nyquist and, with the argument 1, the reference receiver (its AMI_GetWave,
// the clock times and the eye at them) and the BER distributions.
// Arguments: receiver (0/1), BER distributions (0/1). Items are samples.
#include "tools/host/AmiFileParams.h"
#include "tools/host/SimulationRun.h"

#include <benchmark/benchmark.h>

#include <string>

static void BM_LinkRun(benchmark::State& state) {
  AmiFileParams txAmi, rxAmi;
  AmiModelLoader tx, rx;
  std::string error, txParameters, rxParameters;
  if (!txAmi.Load(TESSALUNE_SOURCE_DIR "/ibis/tessalune_tx.ami", error) ||
      !rxAmi.Load(TESSALUNE_SOURCE_DIR "/ibis/tessalune_rx.ami", error) || !tx.Open(TESSALUNE_TX_LIBRARY, error) ||
      !rx.Open(TESSALUNE_RX_LIBRARY, error) || !txAmi.BuildParameterString({}, txParameters, error) ||
      !rxAmi.BuildParameterString({}, rxParameters, error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  LinkModels link;
  link.tx = &tx;
  link.txReserved = txAmi.Reserved();
  if (state.range(0)) {
    link.rx = &rx;
    link.rxReserved = rxAmi.Reserved();
  }
  SimSettings s;
  s.bitCount = 1'000'000;
  s.channelLossDb = 10;
  s.berAsked = state.range(1) != 0;
  double model = 0.0, receiver = 0.0;
  for (auto _ : state) {
    const SimResult r = SimulationRun::Run(link, s, txParameters, rxParameters);
    if (!r.Ok() || !r.eye.valid) state.SkipWithError((r.error + r.eye.problem).c_str());
    model += r.getWaveSeconds - r.rxGetWaveSeconds;
    receiver += r.rxGetWaveSeconds;
  }
  state.SetItemsProcessed(state.iterations() * s.SampleCount());
  state.counters["tx_s"] = model / static_cast<double>(state.iterations());
  state.counters["rx_s"] = receiver / static_cast<double>(state.iterations());
}
BENCHMARK(BM_LinkRun)->Args({0, 0})->Args({1, 0})->Args({1, 1})->Iterations(1)->Unit(benchmark::kSecond);

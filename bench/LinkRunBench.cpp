// Whole link runs as the host streams them, 10^6 bits of PRBS7 at 32
// samples per UI through the transmitter:
//   BM_LinkRun: a first-order channel of 10 dB at Nyquist and, with the
//     argument 1, the reference receiver (its AMI_GetWave, the clock times
//     and the eye at them) and the BER distributions. Arguments: receiver
//     (0/1), BER distributions (0/1).
//   BM_LinkFile: what `sim --channel examples/lossy_line_15dB.s4p --noise 5
//     --rj 1` runs (receiver 0), or the same behind a generated 25 dB line
//     with the receiver (receiver 1), on `threads` threads (sim takes one
//     per core). Targets on a 2-core machine: 0.75 s and 1.0 s of wall time.
//   BM_Sweep: the 63 emphasis, Vreg and corner settings x 10^5 bits behind
//     the 15 dB line with BER, as `sweep` runs them (two jobs, each run the
//     threads SimulationRun::ThreadsPerRun leaves it).
// Counters: run_Msps, the run's samples per second of wall time beside
// model_Msps, the transmitter's own inside its AMI_GetWave (rx_Msps, the
// receiver's), so that the host's share shows; peak_MiB, the process's
// peak resident memory so far (getrusage: it only grows from one benchmark
// to the next, so run one filter at a time for a run's own peak).
#include "tools/host/AmiFileParams.h"
#include "tools/host/SimulationRun.h"
#include "tools/linkbench/channel/LossyLine.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Models {
  AmiFileParams txAmi, rxAmi;
  AmiModelLoader tx, rx;
  std::string txParameters, rxParameters, error;
  bool Load() {
    return txAmi.Load(TESSALUNE_SOURCE_DIR "/ibis/tessalune_tx.ami", error) &&
           rxAmi.Load(TESSALUNE_SOURCE_DIR "/ibis/tessalune_rx.ami", error) && tx.Open(TESSALUNE_TX_LIBRARY, error) &&
           rx.Open(TESSALUNE_RX_LIBRARY, error) && txAmi.BuildParameterString({}, txParameters, error) &&
           rxAmi.BuildParameterString({}, rxParameters, error);
  }
  LinkModels Link(bool receiver) const {
    LinkModels link;
    link.tx = &tx;
    link.txReserved = txAmi.Reserved();
    if (receiver) {
      link.rx = &rx;
      link.rxReserved = rxAmi.Reserved();
    }
    return link;
  }
};

// The 25 dB line as `make-channel --loss 25` writes it, in the temporary folder.
std::string Line25dB() {
  const std::string path = std::string(P_tmpdir) + "/bench_link_lossy_line_25dB.s4p";
  LossyLine line;
  line.length = line.LengthForLoss(25, 5e9);
  std::ofstream(path) << line.Touchstone(LossyLine::Frequencies(20e6, 30e9), "bench_link: 25 dB at 5 GHz");
  return path;
}

double PeakMiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void Report(benchmark::State& state, long samples, double tx, double rx) {
  const double runs = static_cast<double>(state.iterations());
  state.SetItemsProcessed(state.iterations() * samples);
  state.counters["run_Msps"] =
      benchmark::Counter(static_cast<double>(samples) * runs * 1e-6, benchmark::Counter::kIsRate);
  state.counters["model_Msps"] = tx > 0 ? static_cast<double>(samples) * runs * 1e-6 / tx : 0.0;
  if (rx > 0) state.counters["rx_Msps"] = static_cast<double>(samples) * runs * 1e-6 / rx;
  state.counters["peak_MiB"] = PeakMiB();
}

void BM_LinkRun(benchmark::State& state) {
  Models m;
  if (!m.Load()) {
    state.SkipWithError(m.error.c_str());
    return;
  }
  const LinkModels link = m.Link(state.range(0) != 0);
  SimSettings s;
  s.bitCount = 1'000'000;
  s.channelLossDb = 10;
  s.berAsked = state.range(1) != 0;
  double model = 0.0, receiver = 0.0;
  for (auto _ : state) {
    const SimResult r = SimulationRun::Run(link, s, m.txParameters, m.rxParameters);
    if (!r.Ok() || !r.eye.valid) state.SkipWithError((r.error + r.eye.problem).c_str());
    model += r.getWaveSeconds - r.rxGetWaveSeconds;
    receiver += r.rxGetWaveSeconds;
  }
  Report(state, s.SampleCount(), model, receiver);
}
BENCHMARK(BM_LinkRun)->Args({0, 0})->Args({1, 0})->Args({1, 1})->Iterations(1)->Unit(benchmark::kSecond);

void BM_LinkFile(benchmark::State& state) {
  Models m;
  if (!m.Load()) {
    state.SkipWithError(m.error.c_str());
    return;
  }
  const bool receiver = state.range(0) != 0;
  SimSettings s;
  s.bitCount = 1'000'000;
  s.channelPath = receiver ? Line25dB() : TESSALUNE_SOURCE_DIR "/examples/lossy_line_15dB.s4p";
  s.noiseMv = 5;
  s.rjPs = 1;
  s.threads = static_cast<int>(state.range(1));
  const std::string error = SimulationRun::LoadChannel(s);
  if (!error.empty()) {
    state.SkipWithError(error.c_str());
    return;
  }
  const LinkModels link = m.Link(receiver);
  double model = 0.0, rx = 0.0;
  for (auto _ : state) {
    const SimResult r = SimulationRun::Run(link, s, m.txParameters, m.rxParameters);
    if (!r.Ok() || !r.eye.valid) state.SkipWithError((r.error + r.eye.problem).c_str());
    model += r.getWaveSeconds - r.rxGetWaveSeconds;
    rx += r.rxGetWaveSeconds;
  }
  Report(state, s.SampleCount(), model, rx);
}
BENCHMARK(BM_LinkFile)
    ->ArgNames({"rx", "threads"})
    ->Args({0, 1})
    ->Args({0, 2})
    ->Args({1, 1})
    ->Args({1, 2})
    ->Iterations(3)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

void BM_Sweep(benchmark::State& state) {
  Models m;
  if (!m.Load()) {
    state.SkipWithError(m.error.c_str());
    return;
  }
  SimSettings s;
  s.bitCount = 100'000;
  s.channelPath = TESSALUNE_SOURCE_DIR "/examples/lossy_line_15dB.s4p";
  s.noiseMv = 10;
  s.rjPs = 1;
  const unsigned jobs = 2;
  s.threads = SimulationRun::ThreadsPerRun(jobs);
  const std::string error = SimulationRun::LoadChannel(s);
  if (!error.empty()) {
    state.SkipWithError(error.c_str());
    return;
  }
  const LinkModels link = m.Link(false);
  std::atomic<double> model{0.0};
  std::atomic<bool> failed{false};
  for (auto _ : state) {
    std::atomic<int> next{0};
    auto work = [&] {
      for (int i = next++; i < 63; i = next++) {
        const std::string parameters = "(tessalune_tx (emphasis " + std::to_string(i / 9) + ") (Vreg " +
                                       std::to_string(i / 3 % 3) + ") (corner " + std::to_string(i % 3) + "))";
        const SimResult r = SimulationRun::Run(link, s, parameters, std::string());
        if (!r.Ok()) failed = true;
        double seen = model.load();
        while (!model.compare_exchange_weak(seen, seen + r.getWaveSeconds)) {
        }
      }
    };
    std::vector<std::thread> threads;
    for (unsigned t = 0; t < jobs; ++t) threads.emplace_back(work);
    for (std::thread& t : threads) t.join();
  }
  if (failed) state.SkipWithError("a run failed");
  Report(state, 63 * s.SampleCount(), model.load(), 0.0);
}
BENCHMARK(BM_Sweep)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

}  // namespace

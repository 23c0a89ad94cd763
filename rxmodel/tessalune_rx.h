#pragma once

#include "blocks/AlexanderCDR.h"
#include "blocks/CTLE.h"
#include "blocks/DFE.h"
#include "dataflow/CircularBuffer.h"
#include "dataflow/DFModel.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

// The reference receiver network: a CTLE, a DFE and a bang-bang clock
// recovery, fired once per input sample in that order.
//
//   input -> CTLE -> DFE -> output (the equalised waveform)
//                     ^  \-> clock recovery -> clock event and instant
//                     |_________________________/ (data and edge samples,
//                                                  one firing later)
//
// Every block and buffer is a member; Setup configures the blocks from the
// parameters, Initialize connects the pins through storages owned by the
// model (one sample each; a producer's pin and its consumers' pins share
// one), Run fires the blocks. The DFE fires before the clock recovery and so
// reads the samples the clock recovery took in the previous firing.
//
// The instance is also the AMI memory handle: it carries the message text,
// the output parameter text, the clock times that did not fit the last
// AMI_GetWave's array and the sample count that places each clock time.
class tessalune_rx : public OrvennModelBuilder::DFModel {
 public:
  template <class T>
  using Buffer = OrvennModelBuilder::CircularBuffer<T>;

  static constexpr int32_t MaxDfeTaps = 8;
  static constexpr int32_t ConnectionCount = 6;
  static constexpr size_t PendingClockCapacity = 64;

  tessalune_rx() = default;
  tessalune_rx(const tessalune_rx&) = delete;
  tessalune_rx& operator=(const tessalune_rx&) = delete;
  ~tessalune_rx() override;

  bool Setup() override;
  bool Initialize() override;
  bool Run() override;
  bool Finalize() override;

  // The fast path of AMI_GetWave: per sample the CTLE's filter (inline,
  // without its pins), then the DFE and the clock recovery as Run fires
  // them; `afterSample(i)` runs after sample i as after Run. The same bits
  // as Run on each sample in turn: the same operations in the same order.
  // The CTLE's recursion stays interleaved with the DFE and the clock
  // recovery sample by sample (a whole block of CTLE first is slower: its
  // recursion's latency then has nothing to overlap with). A failing Run
  // stops it, the rest of the wave left as it was. No allocation.
  template <class AfterSample>
  bool RunBlock(double* wave, long count, AfterSample afterSample);
  // Whether AMI_GetWave takes the fast path (the per-sample network
  // otherwise: the reference, which tests compare it with).
  bool UseBlockPath = true;

  // Filters `samples` in place through the CTLE from rest, as AMI_Init does
  // with each row of the impulse matrix; the CTLE starts from rest again
  // afterwards. Only after a successful Setup.
  void FilterThroughCtle(double* samples, size_t count);

  // The peaking frequency Setup gives the CTLE: CtlePeakFrequency, or half
  // the bit rate when that is 0.
  double EffectivePeakFrequency() const;

  // Model ports; their one-sample storage is supplied by the entry points.
  Buffer<double> InputBuffer;
  Buffer<double> OutputBuffer;

  // Timing, set by AMI_Init before Setup.
  double SamplesPerBit = 32.0;        // bit time / sample interval, not rounded
  double BitTime = 1e-10;             // seconds
  double SampleInterval = 3.125e-12;  // seconds

  // Parameters (AMI names in rxami/RxParameterIntake.h), read by Setup.
  bool CtleEnable = true;
  double CtleDcGain = 0.0;         // dB
  double CtlePeakFrequency = 0.0;  // Hz; 0: half the bit rate
  double CtlePeaking = 6.0;        // dB
  int32_t DfeTaps = 4;
  double DfeStep = 1e-3;  // volts
  bool DfeAdapt = true;
  double DfeInitialTaps[MaxDfeTaps] = {};
  int32_t DfeInitialCount = 0;
  double CdrPhaseStep = 1.0 / 64.0;        // UI
  double CdrFrequencyStep = 1.0 / 8192.0;  // UI per UI

  OrvennModelBuilder::CTLE Ctle;
  OrvennModelBuilder::DFE Dfe;
  OrvennModelBuilder::AlexanderCDR Cdr;

  // Boundary buffers: the network's input (to the CTLE), its output (the
  // DFE's output) and the clock recovery's event and instant, which the
  // entry points read after each firing.
  Buffer<double> NetworkInput;
  Buffer<double> NetworkOutput;
  Buffer<int> ClockEvent;
  Buffer<double> ClockOffset;
  void* ConnectionStorage[ConnectionCount] = {};

  // Entry-point state.
  std::string MessageText;                          // sentences for the simulator, each ending ". "
  std::vector<char> OutputParameters;               // the output parameter string, rewritten in place
  double PendingClocks[PendingClockCapacity] = {};  // clock times not yet handed over
  size_t PendingCount = 0;
  int64_t SampleCount = 0;       // samples processed before the current AMI_GetWave
  int32_t SamplesPerBitInt = 0;  // samples per bit as computed by AMI_Init
  bool Ready = false;            // Setup and Initialize both succeeded

 private:
  template <class T>
  void Connect(void*& slot, std::initializer_list<Buffer<T>*> pins);
  void ReleaseConnections();
};

template <class AfterSample>
bool tessalune_rx::RunBlock(double* wave, long count, AfterSample afterSample) {
  double* dfeIn = Dfe.Input.data + Dfe.Input.position;
  const double* out = NetworkOutput.data + NetworkOutput.position;
  for (long i = 0; i < count; ++i) {
    *dfeIn = Ctle.Filter(wave[i]);
    bool ok = Dfe.Run();
    ok &= Cdr.Run();
    if (!ok) return false;
    wave[i] = *out;
    afterSample(i);
  }
  return true;
}

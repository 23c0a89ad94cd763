#pragma once

#include "blocks/Add.h"
#include "blocks/ConstUnTimed.h"
#include "blocks/Fork.h"
#include "blocks/Mux.h"
#include "blocks/ScalarToScalar.h"
#include "blocks/TimeResponseFIR.h"
#include "blocks/TypeConverterRound.h"
#include "dataflow/CircularBuffer.h"
#include "dataflow/DFModel.h"
#include "model/TXFIR_1pre2pst.h"
#include "model/TxBlockPath.h"

#include <cstdint>
#include <string>
#include <vector>

// The transmitter network: emphasis filter, emphasis adder and signal fork,
// then a bank of nine response filters (one per Vreg index and corner index)
// of which two stages of multiplexers pass on response 3 x Vreg index +
// corner index. Every block and buffer is a member; Setup configures them,
// Initialize connects them through one-sample storages owned by the model,
// Run fires them once per input sample in a fixed order.
//
// The instance is also the AMI memory handle: it carries the message text
// handed to the simulator, the clock-times list and the integer samples per
// bit used by the entry points, and the block path that serves AMI_GetWave
// in the network's stead where it gives the same samples.
class tessalune_tx : public OrvennModelBuilder::DFModel {
 public:
  template <class T>
  using Buffer = OrvennModelBuilder::CircularBuffer<T>;
  using DoubleToInt =
      OrvennModelBuilder::ScalarToScalar<Buffer<double>, Buffer<int>, OrvennModelBuilder::TypeConverterRound>;

  static constexpr int IndexCount = 3;  // Vreg indices 0..2, and corner indices 0..2
  static constexpr int ResponseCount = IndexCount * IndexCount;
  static constexpr int ConnectionCount = 35;
  // Highest tap-grid rate the response filters are built for (samples per
  // second); beyond it their tap arrays would run to gigabytes.
  static constexpr double MaxSampleRate = 1e15;

  tessalune_tx() = default;
  tessalune_tx(const tessalune_tx&) = delete;
  tessalune_tx& operator=(const tessalune_tx&) = delete;
  ~tessalune_tx() override;

  bool Setup() override;
  bool Initialize() override;
  bool Run() override;
  bool Finalize() override;

  // The index 0..2 that a Vreg or corner value selects, rounded as the
  // network's converters round it; -1 when it selects none.
  static int32_t SelectionIndex(double value);
  // Response 3 x Vreg index + corner index, or -1 when either selects none.
  int32_t SelectedResponse() const;
  // The response filter the multiplexers pass on, from the values the
  // network's sources hold (what Run fires with); null when they select none.
  const OrvennModelBuilder::TimeResponseFIR* RoutedResponse() const;
  // Gives a response filter table k (copied into `values` and `stamps`,
  // kResponseTableSize each, which the caller owns) and the tap-grid rate,
  // as Setup gives every filter of the bank.
  static void LoadResponse(OrvennModelBuilder::TimeResponseFIR& filter, int k, double* values, double* stamps,
                           double sampleRate);

  // Model ports; their one-sample storage is supplied by the entry points.
  Buffer<double> InputBuffer;
  Buffer<double> OutputBuffer;
  Buffer<double> EqualizerOutputBuffer;

  // Parameters and timing, read by Setup.
  double SamplesPerBit = 32.0;
  double emphasis = 0.0;
  double Vreg = 2.0;
  double corner = 2.0;
  double BitTime = 1e-10;  // seconds
  // Tap grid of the response filters, samples per second; unless positive,
  // the unit-interval grid SamplesPerBit / BitTime. The entry points give
  // the simulator's own grid, 1 / sample interval, where the bit time is not
  // a whole number of sample intervals, so the response keeps its time scale.
  double SampleRate = 0.0;

  struct ResponseBank {
    OrvennModelBuilder::TimeResponseFIR R[ResponseCount];
    DoubleToInt CornerConverter;
    DoubleToInt VregConverter;
    OrvennModelBuilder::Mux<Buffer<double>> VregMux0;
    Buffer<int> VregMux0Control;
    OrvennModelBuilder::Mux<Buffer<double>> VregMux1;
    Buffer<int> VregMux1Control;
    OrvennModelBuilder::Mux<Buffer<double>> VregMux2;
    Buffer<int> VregMux2Control;
    OrvennModelBuilder::Mux<Buffer<double>> CornerMux;
    Buffer<int> CornerMuxControl;
    OrvennModelBuilder::ConstUnTimed<double> VregSource;
    OrvennModelBuilder::Fork<Buffer<int>> ControlFork;
    OrvennModelBuilder::ConstUnTimed<double> CornerSource;
    OrvennModelBuilder::Fork<Buffer<double>> ResponseFork;
    double Vreg = 2.0;
    double corner = 2.0;
    double SamplesPerBit = 32.0;
    double BitTime = 1e-10;
    double SampleRate = 3.2e11;  // the tap grid the filters were built on
  };
  ResponseBank Bank;

  TXFIR_1pre2pst EmphasisFilter;
  Buffer<double> EmphasisInputPort;
  Buffer<double> EmphasisMainPort;
  Buffer<double> EmphasisPostPort;

  OrvennModelBuilder::Add<double> EmphasisAdder;
  OrvennModelBuilder::Fork<Buffer<double>> SignalFork;

  Buffer<double> NetworkInput;
  void* NetworkInputStorage = nullptr;
  Buffer<double> NetworkOutput;
  void* NetworkOutputStorage = nullptr;
  Buffer<double> EqualizerOutput;
  void* EqualizerOutputStorage = nullptr;

  void* ConnectionStorage[ConnectionCount - 3] = {};

  // Entry-point state.
  std::string MessageText;         // sentences for the simulator, each ending ". "
  std::vector<double> ClockTimes;  // clock times of the last AMI_GetWave (none: marker only)
  int32_t SamplesPerBitInt = 0;    // samples per bit as computed by AMI_Init
  bool Ready = false;              // Setup and Initialize both succeeded
  TxBlockPath BlockPath;           // serves AMI_GetWave when active, else the network does

 private:
  template <class T>
  void Connect(void*& slot, Buffer<T>& from, Buffer<T>& to);
  void ReleaseConnections();
  void ReleaseResponseTables();
  void ShapeBuses();
  bool SetupResponseBank();
  bool SampleRateFitsFilters() const;
  bool VisitBlocks(bool (OrvennModelBuilder::DFModel::*operation)());
};

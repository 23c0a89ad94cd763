#include "model/tessalune_tx.h"

#include "blocks/TypeConverterRound.h"
#include "dataflow/ReportError.h"
#include "model/ResponseTables.h"

#include <cmath>
#include <cstdint>
#include <new>
#include <sstream>

using OrvennModelBuilder::DFModel;
using OrvennModelBuilder::ReportError;
using OrvennModelBuilder::TimeResponseFIR;

namespace {

// Truncation toward zero to 32 bits; NaN and values outside the range give
// -2^31 (which no level or delay line accepts) instead of undefined behaviour.
int32_t TruncateToInt32(double x) {
  if (!(x > -2147483649.0 && x < 2147483648.0)) return INT32_MIN;
  return int32_t(x);
}

// Copies the control value at the position of a control buffer into a mux.
template <class Mux>
bool FireMux(Mux& mux, const OrvennModelBuilder::CircularBuffer<int>& control) {
  mux.Control = control.data[control.position];
  return mux.Run();
}

}  // namespace

int32_t tessalune_tx::SelectionIndex(double value) {
  const int32_t index = OrvennModelBuilder::TypeConverterRound::ToInt32(value);
  return index >= 0 && index < IndexCount ? index : -1;
}

int32_t tessalune_tx::SelectedResponse() const {
  const int32_t vreg = SelectionIndex(Vreg), cornerIndex = SelectionIndex(corner);
  return vreg < 0 || cornerIndex < 0 ? -1 : IndexCount * vreg + cornerIndex;
}

const TimeResponseFIR* tessalune_tx::RoutedResponse() const {
  // Vreg multiplexer c passes R[3 v + c] on branch v; the corner
  // multiplexer passes multiplexer c.
  const int32_t vreg = OrvennModelBuilder::TypeConverterRound::ToInt32(Bank.VregSource.Value);
  const int32_t cornerIndex = OrvennModelBuilder::TypeConverterRound::ToInt32(Bank.CornerSource.Value);
  if (vreg < 0 || uint32_t(vreg) >= Bank.VregMux0.Input.count || cornerIndex < 0 ||
      uint32_t(cornerIndex) >= Bank.CornerMux.Input.count)
    return nullptr;
  const int32_t k = IndexCount * vreg + cornerIndex;
  return k < ResponseCount ? &Bank.R[k] : nullptr;
}

void tessalune_tx::LoadResponse(TimeResponseFIR& filter, int k, double* values, double* stamps, double sampleRate) {
  for (int i = 0; i < kResponseTableSize; ++i) {
    values[i] = ResponseTableValues(k)[i];
    stamps[i] = ResponseTableTimeStamps(k)[i];
  }
  filter.ResponseType = TimeResponseFIR::ImpulseResponse;
  filter.Response = values;
  filter.ResponseTimeStamps = stamps;
  filter.ResponseSize = kResponseTableSize;
  filter.ResponseTimeStampsSize = kResponseTableSize;
  filter.SampleRate = sampleRate;
}

tessalune_tx::~tessalune_tx() {
  ReleaseConnections();
  ReleaseResponseTables();
}

// One sample of storage shared by a producing and a consuming pin. Every
// slot holds room for a double, which also fits an int.
template <class T>
void tessalune_tx::Connect(void*& slot, Buffer<T>& from, Buffer<T>& to) {
  static_assert(sizeof(T) <= sizeof(double), "connection storage holds one double");
  void* raw = ::operator new(sizeof(double));
  T* element = new (raw) T();
  slot = raw;
  from.Attach(element, 1, 1, 0);
  to.Attach(element, 1, 1, 0);
}

void tessalune_tx::ReleaseConnections() {
  for (void** slot : {&NetworkInputStorage, &NetworkOutputStorage, &EqualizerOutputStorage}) {
    ::operator delete(*slot);
    *slot = nullptr;
  }
  for (void*& slot : ConnectionStorage) {
    ::operator delete(slot);
    slot = nullptr;
  }
}

void tessalune_tx::ReleaseResponseTables() {
  for (TimeResponseFIR& r : Bank.R) {
    delete[] r.Response;
    r.Response = nullptr;
    delete[] r.ResponseTimeStamps;
    r.ResponseTimeStamps = nullptr;
  }
}

// The response filters' tap arrays grow with the sample rate; beyond
// MaxSampleRate they are not built at all. Rates that are not positive are
// left to the filters, which refuse them themselves.
bool tessalune_tx::SampleRateFitsFilters() const {
  const double rate = Bank.SampleRate;
  if (rate > MaxSampleRate) {
    std::ostringstream text;
    text << "SampleRate " << rate << " exceeds the largest the response filters are built for, " << MaxSampleRate;
    ReportError(this, text.str());
    return false;
  }
  return true;
}

// Bus widths are fixed by the network. Resizing to the same width changes
// nothing, so this runs before every Setup and Initialize; the wiring can
// then never meet an empty bus, even after a Setup that stopped early.
void tessalune_tx::ShapeBuses() {
  for (auto* mux : {&Bank.VregMux0, &Bank.VregMux1, &Bank.VregMux2, &Bank.CornerMux}) mux->Input.Resize(3);
  Bank.ControlFork.Output.Resize(3);
  Bank.ResponseFork.Output.Resize(ResponseCount);
  EmphasisAdder.Input.Resize(2);
  SignalFork.Output.Resize(2);
}

bool tessalune_tx::SetupResponseBank() {
  ResponseBank& b = Bank;
  // Every block is still configured and set up when the rate is too high,
  // except the response filters, whose taps would not fit in memory.
  const bool filtersFit = SampleRateFitsFilters();
  bool ok = filtersFit;
  for (int k = 0; k < ResponseCount; ++k) {
    TimeResponseFIR& r = b.R[k];
    r.Response = new double[kResponseTableSize];
    r.ResponseTimeStamps = new double[kResponseTableSize];
    LoadResponse(r, k, r.Response, r.ResponseTimeStamps, b.SampleRate);
    if (filtersFit) ok &= r.Setup();
  }
  ok &= b.CornerConverter.Setup();
  ok &= b.VregConverter.Setup();
  for (auto* mux : {&b.VregMux0, &b.VregMux1, &b.VregMux2, &b.CornerMux}) {
    mux->BlockSize = 1;
    ok &= mux->Setup();
  }
  b.VregSource.InitialDelay = 0;
  b.VregSource.Value = b.Vreg;
  ok &= b.VregSource.Setup();
  ok &= b.ControlFork.Setup();
  b.CornerSource.InitialDelay = 0;
  b.CornerSource.Value = b.corner;
  ok &= b.CornerSource.Setup();
  ok &= b.ResponseFork.Setup();
  return ok;
}

bool tessalune_tx::Setup() {
  ReleaseResponseTables();
  Bank.Vreg = Vreg;
  Bank.corner = corner;
  Bank.SamplesPerBit = SamplesPerBit;
  Bank.BitTime = BitTime;
  Bank.SampleRate = SampleRate > 0.0 ? SampleRate : SamplesPerBit / BitTime;
  ShapeBuses();

  bool ok = SetupResponseBank();

  EmphasisFilter.Setting = TruncateToInt32(emphasis);
  EmphasisFilter.SamplesPerBit = TruncateToInt32(SamplesPerBit);
  ok &= EmphasisFilter.Setup();

  ok &= EmphasisAdder.Setup();
  ok &= SignalFork.Setup();

  InputBuffer.SetBlockSize(1);
  OutputBuffer.SetBlockSize(1);
  EqualizerOutputBuffer.SetBlockSize(1);
  return ok;
}

bool tessalune_tx::Initialize() {
  ReleaseConnections();
  ShapeBuses();
  ResponseBank& b = Bank;
  void** slot = ConnectionStorage;

  Connect(NetworkInputStorage, NetworkInput, EmphasisInputPort);
  Connect(NetworkOutputStorage, b.CornerMux.Output, NetworkOutput);
  Connect(EqualizerOutputStorage, *SignalFork.Output.At(0), EqualizerOutput);
  OrvennModelBuilder::Mux<Buffer<double>>* vregMux[3] = {&b.VregMux0, &b.VregMux1, &b.VregMux2};
  for (int k = 0; k < ResponseCount; ++k) Connect(*slot++, b.R[k].Output, *vregMux[k % 3]->Input.At(k / 3));
  Connect(*slot++, b.CornerConverter.Output, b.CornerMuxControl);
  Connect(*slot++, b.VregConverter.Output, b.ControlFork.Input);
  for (int i = 0; i < 3; ++i) Connect(*slot++, vregMux[i]->Output, *b.CornerMux.Input.At(i));
  Connect(*slot++, b.VregSource.Output, b.VregConverter.Input);
  Buffer<int>* controls[3] = {&b.VregMux0Control, &b.VregMux1Control, &b.VregMux2Control};
  for (int i = 0; i < 3; ++i) Connect(*slot++, *b.ControlFork.Output.At(i), *controls[i]);
  Connect(*slot++, b.CornerSource.Output, b.CornerConverter.Input);
  for (int k = 0; k < ResponseCount; ++k) Connect(*slot++, *b.ResponseFork.Output.At(k), b.R[k].Input);
  Connect(*slot++, EmphasisMainPort, *EmphasisAdder.Input.At(1));
  Connect(*slot++, EmphasisPostPort, *EmphasisAdder.Input.At(0));
  Connect(*slot++, EmphasisAdder.Output, SignalFork.Input);
  Connect(*slot++, *SignalFork.Output.At(1), b.ResponseFork.Input);

  return VisitBlocks(&DFModel::Initialize);
}

bool tessalune_tx::Run() {
  if (NetworkInputStorage == nullptr) return false;  // not connected: no Initialize yet, or Finalize ran
  ResponseBank& b = Bank;
  bool ok = true;
  InputBuffer.CopyTo(0, NetworkInput, 0, 1);

  EmphasisFilter.Input = EmphasisInputPort.data[EmphasisInputPort.position];
  ok &= EmphasisFilter.Run();
  EmphasisMainPort.data[EmphasisMainPort.position] = EmphasisFilter.MainOutput;
  EmphasisPostPort.data[EmphasisPostPort.position] = EmphasisFilter.PostOutput;
  ok &= EmphasisAdder.Run();
  ok &= SignalFork.Run();
  ok &= b.ResponseFork.Run();

  ok &= b.VregSource.Run();
  ok &= b.VregConverter.Run();
  ok &= b.ControlFork.Run();
  for (int k = ResponseCount - 1; k >= 2; --k) ok &= b.R[k].Run();
  ok &= FireMux(b.VregMux2, b.VregMux2Control);
  ok &= b.R[1].Run();
  ok &= FireMux(b.VregMux1, b.VregMux1Control);
  ok &= b.R[0].Run();
  ok &= FireMux(b.VregMux0, b.VregMux0Control);

  ok &= b.CornerSource.Run();
  ok &= b.CornerConverter.Run();
  ok &= FireMux(b.CornerMux, b.CornerMuxControl);

  NetworkOutput.CopyTo(0, OutputBuffer, 0, 1);
  EqualizerOutput.CopyTo(0, EqualizerOutputBuffer, 0, 1);
  return ok;
}

bool tessalune_tx::Finalize() {
  const bool ok = VisitBlocks(&DFModel::Finalize);
  ReleaseConnections();
  ReleaseResponseTables();
  return ok;
}

// Applies a lifecycle operation to every block in declaration order and
// returns the conjunction, without stopping at a failure.
bool tessalune_tx::VisitBlocks(bool (DFModel::*operation)()) {
  ResponseBank& b = Bank;
  DFModel* const blocks[] = {
      &b.R[0],          &b.R[1],        &b.R[2],         &b.R[3],         &b.R[4],
      &b.R[5],          &b.R[6],        &b.R[7],         &b.R[8],         &b.CornerConverter,
      &b.VregConverter, &b.VregMux0,    &b.VregMux1,     &b.VregMux2,     &b.CornerMux,
      &b.VregSource,    &b.ControlFork, &b.CornerSource, &b.ResponseFork, &EmphasisFilter,
      &EmphasisAdder,   &SignalFork,
  };
  bool ok = true;
  for (DFModel* block : blocks) ok &= (block->*operation)();
  return ok;
}

#include "rxmodel/tessalune_rx.h"

#include <new>

using OrvennModelBuilder::DFModel;

tessalune_rx::~tessalune_rx() { ReleaseConnections(); }

double tessalune_rx::EffectivePeakFrequency() const {
  return CtlePeakFrequency > 0.0 ? CtlePeakFrequency : 0.5 / BitTime;
}

bool tessalune_rx::Setup() {
  const double sampleRate = SamplesPerBit / BitTime;
  Ctle.SampleRate = sampleRate;
  Ctle.DcGainDb = CtleEnable ? CtleDcGain : 0.0;
  // Off: the pole-zero form with neither, a gain of 0 dB.
  Ctle.UsePolesZeros = !CtleEnable;
  Ctle.NumPoles = 0;
  Ctle.NumZeros = 0;
  Ctle.PeakingFrequency = EffectivePeakFrequency();
  Ctle.PeakingDb = CtlePeaking;

  Dfe.NumTaps = DfeTaps;
  Dfe.InitialTaps = DfeInitialTaps;
  Dfe.NumInitialTaps = DfeInitialCount;
  Dfe.Step = DfeStep;
  Dfe.Adapt = DfeAdapt;

  Cdr.SamplesPerBit = SamplesPerBit;
  Cdr.PhaseStep = CdrPhaseStep;
  Cdr.FrequencyStep = CdrFrequencyStep;

  bool ok = Ctle.Setup();
  ok &= Dfe.Setup();
  ok &= Cdr.Setup();
  for (auto* port : {&InputBuffer, &OutputBuffer}) port->SetBlockSize(1);
  return ok;
}

// One sample of storage shared by a producing pin and its consumers. Every
// slot holds room for a double, which also fits an int.
template <class T>
void tessalune_rx::Connect(void*& slot, std::initializer_list<Buffer<T>*> pins) {
  static_assert(sizeof(T) <= sizeof(double), "connection storage holds one double");
  void* raw = ::operator new(sizeof(double));
  T* element = new (raw) T();
  slot = raw;
  for (Buffer<T>* pin : pins) pin->Attach(element, 1, 1, 0);
}

void tessalune_rx::ReleaseConnections() {
  for (void*& slot : ConnectionStorage) {
    ::operator delete(slot);
    slot = nullptr;
  }
}

bool tessalune_rx::Initialize() {
  ReleaseConnections();
  Connect<double>(ConnectionStorage[0], {&NetworkInput, &Ctle.Input});
  Connect<double>(ConnectionStorage[1], {&Ctle.Output, &Dfe.Input});
  Connect<double>(ConnectionStorage[2], {&Dfe.Output, &Cdr.Input, &NetworkOutput});
  Connect<int>(ConnectionStorage[3], {&Cdr.Event, &Dfe.Event, &ClockEvent});
  Connect<double>(ConnectionStorage[4], {&Cdr.Sample, &Dfe.Sample});
  Connect<double>(ConnectionStorage[5], {&Cdr.Offset, &ClockOffset});
  bool ok = Ctle.Initialize();
  ok &= Dfe.Initialize();
  ok &= Cdr.Initialize();
  return ok;
}

bool tessalune_rx::Run() {
  *NetworkInput.ElementAt(0) = *InputBuffer.ElementAt(0);
  bool ok = Ctle.Run();
  ok &= Dfe.Run();
  ok &= Cdr.Run();
  *OutputBuffer.ElementAt(0) = *NetworkOutput.ElementAt(0);
  return ok;
}

bool tessalune_rx::Finalize() {
  bool ok = Ctle.Finalize();
  ok &= Dfe.Finalize();
  ok &= Cdr.Finalize();
  ReleaseConnections();
  return ok;
}

void tessalune_rx::FilterThroughCtle(double* samples, size_t count) {
  Ctle.Initialize();
  for (size_t i = 0; i < count; ++i) samples[i] = Ctle.Filter(samples[i]);
  Ctle.Initialize();
}

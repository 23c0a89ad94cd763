#include "Network.h"

bool Network::Setup() {
  if (!(SampleInterval > 0.0) || !(BitTime > SampleInterval)) return false;
  Ctle.SampleRate = 1.0 / SampleInterval;
  Ctle.DcGainDb = CtleDcGain;
  Ctle.PeakingFrequency = 0.5 / BitTime;
  Ctle.PeakingDb = CtlePeaking;
  Slicer.SamplesPerBit = BitTime / SampleInterval;
  Slicer.PhaseStep = CdrPhaseStep;
  InputBuffer.SetBlockSize(1);
  OutputBuffer.SetBlockSize(1);
  bool ok = Ctle.Setup();
  ok &= Slicer.Setup();
  return ok;
}

bool Network::Initialize() {
  // The CTLE reads the input port and writes the output port, which the
  // slicer reads; the slicer's own pins point at members.
  Ctle.Input.Attach(InputBuffer.data, 1, 1, 0);
  Ctle.Output.Attach(OutputBuffer.data, 1, 1, 0);
  Slicer.Input.Attach(OutputBuffer.data, 1, 1, 0);
  Slicer.Event.Attach(&ClockEvent, 1, 1, 0);
  Slicer.Sample.Attach(&SlicedSample, 1, 1, 0);
  Slicer.Offset.Attach(&ClockOffset, 1, 1, 0);
  bool ok = Ctle.Initialize();
  ok &= Slicer.Initialize();
  return ok;
}

bool Network::Run() {
  bool ok = Ctle.Run();
  ok &= Slicer.Run();
  return ok;
}

bool Network::Finalize() {
  bool ok = Ctle.Finalize();
  ok &= Slicer.Finalize();
  return ok;
}

void Network::FilterFromRest(double* samples, size_t count) {
  Ctle.Initialize();
  for (size_t i = 0; i < count; ++i) samples[i] = Ctle.Filter(samples[i]);
  Ctle.Initialize();
}

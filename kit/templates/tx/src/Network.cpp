#include "Network.h"

bool Network::Setup() {
  if (SamplesPerBit < 1) return false;
  FfeTaps.assign(size_t(2 * SamplesPerBit + 1), 0.0);
  FfeTaps[0] = TapPre;  // Taps[0] weighs the newest sample
  FfeTaps[size_t(SamplesPerBit)] = TapMain;
  FfeTaps[size_t(2 * SamplesPerBit)] = TapPost;
  Ffe.Taps = FfeTaps.data();
  Ffe.NumTaps = int32_t(FfeTaps.size());
  InputBuffer.SetBlockSize(1);
  OutputBuffer.SetBlockSize(1);
  return Ffe.Setup();
}

bool Network::Initialize() {
  // The FFE reads the input port's sample and writes the output port's.
  Ffe.Input.Attach(InputBuffer.data, 1, 1, 0);
  Ffe.Output.Attach(OutputBuffer.data, 1, 1, 0);
  return Ffe.Initialize();
}

bool Network::Run() { return Ffe.Run(); }

bool Network::Finalize() { return Ffe.Finalize(); }

void Network::FilterFromRest(double* samples, size_t count) {
  Ffe.Initialize();
  for (size_t i = 0; i < count; ++i) {
    *InputBuffer.data = samples[i];
    Ffe.Run();
    samples[i] = *OutputBuffer.data;
  }
  Ffe.Initialize();
}

#pragma once

#include "dataflow/CircularBuffer.h"
#include "dataflow/DFModel.h"

#include <cstdint>
#include <cstring>
#include <string>

// The entry-point frame every model of the kit shares: how AMI_Init hands an
// instance over whatever happens, how the message text grows, how the
// per-sample network is driven over a wave, and how AMI_Close tears an
// instance down. A model supplies the instance class and what is its own
// (parameters, paths that bypass the network, clock times).
//
// The instance class (the AMI memory handle) is a DFModel with the members
//   std::string MessageText;  // sentences for the simulator, each ending ". "
//   bool Ready;               // Setup and Initialize both succeeded
namespace AmiFrame {

// The sentences a model adds to its message text when one of its lifecycle
// operations fails, e.g. "Error occurred in tessalune_tx::Setup(). ".
struct LifecycleSentences {
  const char* setup;
  const char* initialize;
  const char* run;
  const char* finalize;
};

// Samples per unit interval: bit time / sample interval, rounded to the
// nearest integer. Timing that gives no such 32-bit count (zero, negative,
// NaN or infinite arguments, or a ratio beyond 32 bits) is reported through
// ReportError on behalf of `reporter` and gives 0, which a network refuses in
// Setup.
int32_t SamplesPerBit(const OrvennModelBuilder::DFModel* reporter, double sampleInterval, double bitTime);

// Adds a sentence to the message text without moving it: the simulator may
// still hold the pointer AMI_Init handed out, so the text only grows into the
// room reserved for it, and a sentence that no longer fits is dropped.
void AppendInPlace(std::string& text, const char* sentence);

// Gives a model port storage for one sample (0.0); ReleasePort frees it.
void AttachPortStorage(OrvennModelBuilder::CircularBuffer<double>& port);
void ReleasePort(OrvennModelBuilder::CircularBuffer<double>& port);

// Setup, then Initialize unless Setup failed; the sentence of the operation
// that failed goes to `text`. True when both succeeded.
bool SetUpNetwork(OrvennModelBuilder::DFModel& model, std::string& text, const LifecycleSentences& sentences);

// AMI_Init: creates the instance and stores it in *handle before anything
// can fail, so that the host can always close it; `configure(model)` does
// the model's own work and returns whether the instance is ready to run.
// Room for the Run sentence is reserved, so that the text handed out in
// *msg (when there is any) never moves. Out of memory leaves the instance
// handed over, never running, with the Setup sentence.
template <class Model, class Configure>
long Init(void** handle, char** msg, const LifecycleSentences& sentences, Configure configure) {
  if (handle == nullptr) return 0;  // nowhere to hand the instance over: it could never be closed
  *handle = nullptr;
  Model* model = nullptr;
  try {
    model = new Model();
    *handle = model;
    model->Ready = configure(*model);
    model->MessageText.reserve(model->MessageText.size() + std::strlen(sentences.run));
  } catch (...) {
    if (model == nullptr) return 0;
    model->Ready = false;
    try {
      model->MessageText += sentences.setup;
    } catch (...) {
    }
  }
  if (msg != nullptr && !model->MessageText.empty()) *msg = const_cast<char*>(model->MessageText.c_str());
  return model->Ready ? 1 : 0;
}

// The instance behind an AMI_GetWave handle when the wave arguments can be
// used (a handle, a count that is not negative, samples when there are
// some); null otherwise.
template <class Model>
Model* WaveInstance(void* memory, const double* wave, long waveSize) {
  auto* model = static_cast<Model*>(memory);
  if (model == nullptr || waveSize < 0 || (waveSize > 0 && wave == nullptr)) return nullptr;
  return model;
}

// The per-sample network over a wave, in place: each sample is written into
// the input port, the network fires once, the output port's sample replaces
// it, and `afterSample(i)` runs. A failing Run appends the Run sentence (in
// place), stops the loop and leaves the rest of the wave as it was.
template <class Model, class AfterSample>
bool RunNetwork(Model& model, double* wave, long waveSize, const LifecycleSentences& sentences,
                AfterSample afterSample) {
  double* in = model.InputBuffer.data + model.InputBuffer.position;
  const double* out = model.OutputBuffer.data + model.OutputBuffer.position;
  for (long i = 0; i < waveSize; ++i) {
    *in = wave[i];
    if (!model.Run()) {
      AppendInPlace(model.MessageText, sentences.run);
      return false;
    }
    wave[i] = *out;
    afterSample(i);
  }
  return true;
}

// AMI_Close: Finalize (its sentence goes with the instance, unseen),
// `releasePorts(model)`, then the instance is destroyed.
template <class Model, class ReleasePorts>
long Close(void* memory, const LifecycleSentences& sentences, ReleasePorts releasePorts) {
  auto* model = static_cast<Model*>(memory);
  if (model == nullptr) return 0;
  bool ok = false;
  try {
    ok = model->Finalize();
    if (!ok) model->MessageText += sentences.finalize;
  } catch (...) {
    ok = false;
  }
  releasePorts(*model);
  delete model;
  return ok ? 1 : 0;
}

}  // namespace AmiFrame

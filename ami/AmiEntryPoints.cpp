#include "ami/AmiEntryPoints.h"

#include "ami/ParameterIntake.h"
#include "ami/SampleIntervalCheck.h"
#include "amiparam/AmiParameters.h"
#include "dataflow/ReportError.h"
#include "model/tessalune_tx.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <sstream>

namespace {

const char* const kSetupFailed = "Error occurred in tessalune_tx::Setup(). ";
const char* const kInitializeFailed = "Error occurred in tessalune_tx::Initialize(). ";
const char* const kRunFailed = "Error occurred in tessalune_tx::Run(). ";
const char* const kFinalizeFailed = "Error occurred in tessalune_tx::Finalize(). ";

// Samples per unit interval: bit time / sample interval, rounded to the
// nearest integer. Timing that gives no such 32-bit count (zero, negative,
// NaN or infinite arguments, or a ratio beyond 32 bits) is reported and
// gives 0, which the network refuses in Setup.
int32_t SamplesPerBit(const tessalune_tx& model, double sampleInterval, double bitTime) {
  const double ratio = bitTime / sampleInterval + 0.5;
  if (sampleInterval > 0.0 && std::isfinite(sampleInterval) && bitTime > 0.0 && std::isfinite(bitTime) &&
      ratio < 2147483648.0)
    return int32_t(ratio);
  std::ostringstream text;
  text << "Sample interval " << sampleInterval << " s and bit time " << bitTime
       << " s must be positive and finite, with at most 2147483647 samples per bit";
  OrvennModelBuilder::ReportError(&model, text.str());
  return 0;
}

// Adds a sentence to the message text without moving it: the simulator may
// still hold the pointer AMI_Init handed out, so the text only grows into the
// room reserved for it, and a sentence that no longer fits is dropped.
void AppendInPlace(std::string& text, const char* sentence) {
  const size_t length = std::strlen(sentence);
  if (text.size() + length <= text.capacity()) text.append(sentence, length);
}

// Gives a model port storage for one sample.
void AttachPortStorage(OrvennModelBuilder::CircularBuffer<double>& port) {
  port.Free(nullptr);
  port.Attach(static_cast<double*>(port.Allocate(1)), 1, 1, 0);
  port.data[0] = 0.0;
}

// Everything that can fail in AMI_Init after the instance exists. Returns
// true when the network is ready to run.
bool Configure(tessalune_tx& model, double sampleInterval, double bitTime, const char* parametersIn) {
  const AmiParameters parameters(parametersIn != nullptr ? parametersIn : "");
  model.SamplesPerBitInt = SamplesPerBit(model, sampleInterval, bitTime);
  model.SamplesPerBit = double(model.SamplesPerBitInt);
  ReadModelParameters(parameters, model);
  // A selection without a response is refused; the network is still set up,
  // so that whatever else is wrong is reported as well.
  const bool selected = CheckResponseSelection(model);
  model.BitTime = bitTime;
  // The response filters on the simulator's grid; the emphasis delays in
  // whole samples, with a word when that is far from one and two UI.
  model.SampleRate = ResponseSampleRate(sampleInterval, bitTime, model.SamplesPerBitInt);
  NoteEmphasisTiming(model, sampleInterval, bitTime, model.SamplesPerBitInt);
  AttachPortStorage(model.InputBuffer);
  AttachPortStorage(model.OutputBuffer);
  AttachPortStorage(model.EqualizerOutputBuffer);
  model.ClockTimes.assign(1, 0.0);

  if (!model.Setup()) {
    model.MessageText += kSetupFailed;
    return false;
  }
  if (!model.Initialize()) {
    model.MessageText += kInitializeFailed;
    return false;
  }
  // The selected response's taps must keep its area on this grid.
  return selected && CheckSampleInterval(model, sampleInterval);
}

}  // namespace

extern "C" TESSALUNE_AMI_EXPORT long AMI_Init(double* /*impulse_matrix*/, long /*row_size*/, long /*aggressors*/,
                                              double sample_interval, double bit_time, char* AMI_parameters_in,
                                              char** /*AMI_parameters_out*/, void** AMI_memory_handle, char** msg) {
  if (AMI_memory_handle == nullptr) return 0;  // nowhere to hand the instance over: it could never be closed
  *AMI_memory_handle = nullptr;
  tessalune_tx* model = nullptr;
  try {
    model = new tessalune_tx();
    *AMI_memory_handle = model;
    model->Ready = Configure(*model, sample_interval, bit_time, AMI_parameters_in);
    // The whole-wave path where it gives the network's samples; the
    // per-sample network otherwise.
    if (model->Ready) model->BlockPath.Prepare(*model);
    // Room for the sentence a failing AMI_GetWave adds, so that the text
    // handed out below never moves.
    model->MessageText.reserve(model->MessageText.size() + std::strlen(kRunFailed));
  } catch (...) {
    // Out of memory: the instance (if any) is handed over as it is and
    // never runs; AMI_Close releases it.
    if (model == nullptr) return 0;
    model->Ready = false;
    try {
      model->MessageText += kSetupFailed;
    } catch (...) {
    }
  }
  if (msg != nullptr && !model->MessageText.empty()) *msg = const_cast<char*>(model->MessageText.c_str());
  return model->Ready ? 1 : 0;
}

extern "C" TESSALUNE_AMI_EXPORT long AMI_GetWave(double* wave, long wave_size, double* clock_times,
                                                 char** /*AMI_parameters_out*/, void* AMI_memory) {
  auto* model = static_cast<tessalune_tx*>(AMI_memory);
  if (model == nullptr || wave_size < 0 || (wave_size > 0 && wave == nullptr)) return 0;
  bool ok = model->Ready;
  try {
    if (ok && model->BlockPath.Active()) {
      model->BlockPath.Process(wave, size_t(wave_size));
    } else if (ok) {
      double* in = model->InputBuffer.data + model->InputBuffer.position;
      const double* out = model->OutputBuffer.data + model->OutputBuffer.position;
      for (long i = 0; i < wave_size; ++i) {
        *in = wave[i];
        if (!model->Run()) {
          ok = false;
          AppendInPlace(model->MessageText, kRunFailed);
          break;
        }
        wave[i] = *out;
      }
    }
  } catch (...) {
    ok = false;  // out of memory on an error path
  }
  // The model reports no clock times: only the end-of-list marker. The
  // list holds just that entry, so no call ever allocates.
  if (!model->ClockTimes.empty()) model->ClockTimes[0] = -1.0;
  if (wave_size >= 1 && clock_times != nullptr) clock_times[0] = -1.0;
  return ok ? 1 : 0;
}

extern "C" TESSALUNE_AMI_EXPORT long AMI_Close(void* AMI_memory) {
  auto* model = static_cast<tessalune_tx*>(AMI_memory);
  if (model == nullptr) return 0;
  bool ok = false;
  try {
    ok = model->Finalize();
    if (!ok) model->MessageText += kFinalizeFailed;  // goes with the instance, unseen
  } catch (...) {
    ok = false;
  }
  model->InputBuffer.Free(nullptr);
  model->OutputBuffer.Free(nullptr);
  model->EqualizerOutputBuffer.Free(nullptr);
  delete model;
  return ok ? 1 : 0;
}

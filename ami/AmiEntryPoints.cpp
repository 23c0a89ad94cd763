#include "ami/AmiEntryPoints.h"

#include "ami/ParameterIntake.h"
#include "ami/SampleIntervalCheck.h"
#include "amiframe/AmiFrame.h"
#include "amiparam/AmiParameters.h"
#include "model/tessalune_tx.h"

namespace {

const AmiFrame::LifecycleSentences kSentences = {
    "Error occurred in tessalune_tx::Setup(). ",
    "Error occurred in tessalune_tx::Initialize(). ",
    "Error occurred in tessalune_tx::Run(). ",
    "Error occurred in tessalune_tx::Finalize(). ",
};

// Everything that can fail in AMI_Init after the instance exists. Returns
// true when the network is ready to run.
bool Configure(tessalune_tx& model, double sampleInterval, double bitTime, const char* parametersIn) {
  const AmiParameters parameters(parametersIn != nullptr ? parametersIn : "");
  model.SamplesPerBitInt = AmiFrame::SamplesPerBit(&model, sampleInterval, bitTime);
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
  AmiFrame::AttachPortStorage(model.InputBuffer);
  AmiFrame::AttachPortStorage(model.OutputBuffer);
  AmiFrame::AttachPortStorage(model.EqualizerOutputBuffer);
  model.ClockTimes.assign(1, 0.0);

  if (!AmiFrame::SetUpNetwork(model, model.MessageText, kSentences)) return false;
  // The selected response's taps must keep its area on this grid.
  return selected && CheckSampleInterval(model, sampleInterval);
}

}  // namespace

extern "C" TESSALUNE_AMI_EXPORT long AMI_Init(double* /*impulse_matrix*/, long /*row_size*/, long /*aggressors*/,
                                              double sample_interval, double bit_time, char* AMI_parameters_in,
                                              char** /*AMI_parameters_out*/, void** AMI_memory_handle, char** msg) {
  return AmiFrame::Init<tessalune_tx>(AMI_memory_handle, msg, kSentences, [&](tessalune_tx& model) {
    model.Ready = Configure(model, sample_interval, bit_time, AMI_parameters_in);
    // The whole-wave path where it gives the network's samples; the
    // per-sample network otherwise. Prepare reads Ready.
    if (model.Ready) model.BlockPath.Prepare(model);
    return model.Ready;
  });
}

extern "C" TESSALUNE_AMI_EXPORT long AMI_GetWave(double* wave, long wave_size, double* clock_times,
                                                 char** /*AMI_parameters_out*/, void* AMI_memory) {
  auto* model = AmiFrame::WaveInstance<tessalune_tx>(AMI_memory, wave, wave_size);
  if (model == nullptr) return 0;
  bool ok = model->Ready;
  try {
    if (ok && model->BlockPath.Active()) {
      model->BlockPath.Process(wave, size_t(wave_size));
    } else if (ok) {
      ok = AmiFrame::RunNetwork(*model, wave, wave_size, kSentences, [](long) {});
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
  return AmiFrame::Close<tessalune_tx>(AMI_memory, kSentences, [](tessalune_tx& model) {
    AmiFrame::ReleasePort(model.InputBuffer);
    AmiFrame::ReleasePort(model.OutputBuffer);
    AmiFrame::ReleasePort(model.EqualizerOutputBuffer);
  });
}

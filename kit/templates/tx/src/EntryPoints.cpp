// The three functions a simulator calls, on the kit's entry-point frame:
// AMI_Init reads the parameters, sets the network up and returns the
// impulse response through the FFE; AMI_GetWave runs the network over the
// waveform in place; AMI_Close destroys the instance.
#include "Network.h"
#include "amiframe/AmiExports.h"
#include "amiframe/AmiFrame.h"
#include "amiparam/AmiParameters.h"

#include <string>

namespace {

const AmiFrame::LifecycleSentences kSentences = {
    "Error occurred in @NAME@ Setup(). ",
    "Error occurred in @NAME@ Initialize(). ",
    "Error occurred in @NAME@ Run(). ",
    "Error occurred in @NAME@ Finalize(). ",
};

// Reads one Float parameter; a missing one keeps its default, with a
// sentence for the simulator.
void ReadTap(const AmiParameters& parameters, const char* name, double& value, std::string& text) {
  if (!parameters.GetDouble(value, (std::string("@NAME@.") + name).c_str()))
    text += std::string("@NAME@ uses the default of ") + name + ". ";
}

bool Configure(Network& model, double sampleInterval, double bitTime, const char* parametersIn) {
  const AmiParameters parameters(parametersIn != nullptr ? parametersIn : "");
  ReadTap(parameters, "tap_pre", model.TapPre, model.MessageText);
  ReadTap(parameters, "tap_main", model.TapMain, model.MessageText);
  ReadTap(parameters, "tap_post", model.TapPost, model.MessageText);
  model.SamplesPerBit = AmiFrame::SamplesPerBit(&model, sampleInterval, bitTime);
  AmiFrame::AttachPortStorage(model.InputBuffer);
  AmiFrame::AttachPortStorage(model.OutputBuffer);
  return AmiFrame::SetUpNetwork(model, model.MessageText, kSentences);
}

}  // namespace

extern "C" TESSALUNE_AMI_EXPORT long AMI_Init(double* impulse_matrix, long row_size, long aggressors,
                                              double sample_interval, double bit_time, char* AMI_parameters_in,
                                              char** AMI_parameters_out, void** AMI_memory_handle, char** msg) {
  if (AMI_parameters_out != nullptr) *AMI_parameters_out = nullptr;
  return AmiFrame::Init<Network>(AMI_memory_handle, msg, kSentences, [&](Network& model) {
    const bool ready = Configure(model, sample_interval, bit_time, AMI_parameters_in);
    // Each row of the impulse matrix (the channel and its aggressors)
    // through the FFE: Init_Returns_Impulse is True.
    if (ready && impulse_matrix != nullptr && row_size > 0)
      for (long r = 0; r <= (aggressors > 0 ? aggressors : 0); ++r)
        model.FilterFromRest(impulse_matrix + size_t(r) * size_t(row_size), size_t(row_size));
    return ready;
  });
}

extern "C" TESSALUNE_AMI_EXPORT long AMI_GetWave(double* wave, long wave_size, double* clock_times,
                                                 char** AMI_parameters_out, void* AMI_memory) {
  // A transmitter returns no clock times: the list is empty, its -1 end
  // marker first, so that a simulator that reads it finds its end.
  if (clock_times != nullptr && wave_size >= 1) clock_times[0] = -1.0;
  if (AMI_parameters_out != nullptr) *AMI_parameters_out = nullptr;
  Network* model = AmiFrame::WaveInstance<Network>(AMI_memory, wave, wave_size);
  if (model == nullptr || !model->Ready) return 0;
  return AmiFrame::RunNetwork(*model, wave, wave_size, kSentences, [](long) {}) ? 1 : 0;
}

extern "C" TESSALUNE_AMI_EXPORT long AMI_Close(void* AMI_memory) {
  return AmiFrame::Close<Network>(AMI_memory, kSentences, [](Network& model) {
    AmiFrame::ReleasePort(model.InputBuffer);
    AmiFrame::ReleasePort(model.OutputBuffer);
  });
}

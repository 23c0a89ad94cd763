// The three functions a simulator calls, on the kit's entry-point frame:
// AMI_Init reads the parameters, sets the network up and returns the
// impulse response through the CTLE; AMI_GetWave equalises the waveform in
// place and returns the slicer's clock times; AMI_Close destroys the
// instance.
#include "Network.h"
#include "amiframe/AmiExports.h"
#include "amiframe/AmiFrame.h"
#include "amiparam/AmiParameters.h"
#include "blocks/SamplingEvent.h"

#include <cstring>
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
void ReadFloat(const AmiParameters& parameters, const char* name, double& value, std::string& text) {
  if (!parameters.GetDouble(value, (std::string("@NAME@.") + name).c_str()))
    text += std::string("@NAME@ uses the default of ") + name + ". ";
}

bool Configure(Network& model, double sampleInterval, double bitTime, const char* parametersIn) {
  const AmiParameters parameters(parametersIn != nullptr ? parametersIn : "");
  ReadFloat(parameters, "ctle_dc_gain", model.CtleDcGain, model.MessageText);
  ReadFloat(parameters, "ctle_peaking", model.CtlePeaking, model.MessageText);
  ReadFloat(parameters, "cdr_phase_step", model.CdrPhaseStep, model.MessageText);
  // The frame's check of the timing: a message and no network for a bit
  // time and sample interval it cannot use.
  if (AmiFrame::SamplesPerBit(&model, sampleInterval, bitTime) == 0) return false;
  model.BitTime = bitTime;
  model.SampleInterval = sampleInterval;
  AmiFrame::AttachPortStorage(model.InputBuffer);
  AmiFrame::AttachPortStorage(model.OutputBuffer);
  return AmiFrame::SetUpNetwork(model, model.MessageText, kSentences);
}

// Clock times carried over from the previous call first; returns how many.
long TakePending(Network& model, double* clockTimes, long room) {
  const size_t carried = model.PendingCount < size_t(room) ? model.PendingCount : size_t(room);
  if (carried == 0) return 0;
  std::memcpy(clockTimes, model.PendingClocks, carried * sizeof(double));
  std::memmove(model.PendingClocks, model.PendingClocks + carried, (model.PendingCount - carried) * sizeof(double));
  model.PendingCount -= carried;
  return long(carried);
}

}  // namespace

extern "C" TESSALUNE_AMI_EXPORT long AMI_Init(double* impulse_matrix, long row_size, long aggressors,
                                              double sample_interval, double bit_time, char* AMI_parameters_in,
                                              char** AMI_parameters_out, void** AMI_memory_handle, char** msg) {
  if (AMI_parameters_out != nullptr) *AMI_parameters_out = nullptr;
  return AmiFrame::Init<Network>(AMI_memory_handle, msg, kSentences, [&](Network& model) {
    const bool ready = Configure(model, sample_interval, bit_time, AMI_parameters_in);
    if (ready && impulse_matrix != nullptr && row_size > 0)
      for (long r = 0; r <= (aggressors > 0 ? aggressors : 0); ++r)
        model.FilterFromRest(impulse_matrix + size_t(r) * size_t(row_size), size_t(row_size));
    return ready;
  });
}

extern "C" TESSALUNE_AMI_EXPORT long AMI_GetWave(double* wave, long wave_size, double* clock_times,
                                                 char** AMI_parameters_out, void* AMI_memory) {
  if (AMI_parameters_out != nullptr) *AMI_parameters_out = nullptr;
  Network* model = AmiFrame::WaveInstance<Network>(AMI_memory, wave, wave_size);
  if (model == nullptr) return 0;
  // The clock times array has wave_size entries; the last may be needed
  // for the end marker -1.
  const long room = clock_times != nullptr && wave_size > 0 ? wave_size - 1 : 0;
  long written = TakePending(*model, clock_times, room);
  bool ok = model->Ready;
  if (ok) {
    const int64_t first = model->SampleCount;
    ok = AmiFrame::RunNetwork(*model, wave, wave_size, kSentences, [&](long i) {
      if (model->ClockEvent != OrvennModelBuilder::kDataSample || clock_times == nullptr) return;
      // A clock time is half a bit time before the data instant.
      const double t = (double(first + i) + model->ClockOffset) * model->SampleInterval - model->BitTime / 2.0;
      if (written < room)
        clock_times[written++] = t;
      else if (model->PendingCount < Network::PendingClockCapacity)
        model->PendingClocks[model->PendingCount++] = t;
    });
    model->SampleCount += wave_size;
  }
  if (wave_size >= 1 && clock_times != nullptr) clock_times[written] = -1.0;
  return ok ? 1 : 0;
}

extern "C" TESSALUNE_AMI_EXPORT long AMI_Close(void* AMI_memory) {
  return AmiFrame::Close<Network>(AMI_memory, kSentences, [](Network& model) {
    AmiFrame::ReleasePort(model.InputBuffer);
    AmiFrame::ReleasePort(model.OutputBuffer);
  });
}

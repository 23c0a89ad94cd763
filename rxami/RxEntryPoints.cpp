#include "rxami/RxEntryPoints.h"

#include "amiframe/AmiFrame.h"
#include "amiparam/AmiParameters.h"
#include "blocks/SamplingEvent.h"
#include "rxami/RxParameterIntake.h"
#include "rxmodel/tessalune_rx.h"

#include <cstdio>
#include <cstring>

namespace {

const AmiFrame::LifecycleSentences kSentences = {
    "Error occurred in tessalune_rx::Setup(). ",
    "Error occurred in tessalune_rx::Initialize(). ",
    "Error occurred in tessalune_rx::Run(). ",
    "Error occurred in tessalune_rx::Finalize(). ",
};

// Room for the output parameter string: the root, the level, up to
// MaxDfeTaps taps and the frequency offset, each number at most 16
// characters in %.9g.
constexpr size_t kOutputCapacity = 1024;

// Everything that can fail in AMI_Init after the instance exists. Returns
// true when the network is ready to run.
bool Configure(tessalune_rx& model, double sampleInterval, double bitTime, const char* parametersIn) {
  const AmiParameters parameters(parametersIn != nullptr ? parametersIn : "");
  model.SamplesPerBitInt = AmiFrame::SamplesPerBit(&model, sampleInterval, bitTime);
  // The network works on the exact ratio, so that a grid which does not
  // divide the bit time still gives the CTLE its true sample rate and the
  // clock recovery the true bit period (with the rounded count it would
  // chase a frequency offset of up to 1.5 %, beyond its range). Timing the
  // frame refuses gives 0, which the blocks refuse in Setup.
  model.SamplesPerBit = model.SamplesPerBitInt > 0 ? bitTime / sampleInterval : 0.0;
  model.BitTime = bitTime;
  model.SampleInterval = sampleInterval;
  const bool accepted = ReadRxParameters(parameters, model);
  AmiFrame::AttachPortStorage(model.InputBuffer);
  AmiFrame::AttachPortStorage(model.OutputBuffer);
  return AmiFrame::SetUpNetwork(model, model.MessageText, kSentences) && accepted;
}

// Each row of the impulse matrix through the CTLE, from rest.
void FilterImpulse(tessalune_rx& model, double* impulse, long rowSize, long aggressors) {
  if (impulse == nullptr || rowSize <= 0) return;
  const long rows = aggressors > 0 ? aggressors + 1 : 1;
  for (long r = 0; r < rows; ++r) model.FilterThroughCtle(impulse + size_t(r) * size_t(rowSize), size_t(rowSize));
}

// Rewrites the output parameter string in its storage: no allocation.
void WriteOutputParameters(tessalune_rx& model) {
  if (model.OutputParameters.size() < kOutputCapacity) return;
  char* out = model.OutputParameters.data();
  size_t used = 0;
  auto put = [&](const char* format, double value) {
    if (used >= kOutputCapacity) return;
    const int n = std::snprintf(out + used, kOutputCapacity - used, format, value);
    if (n > 0) used += size_t(n);
  };
  put("(tessalune_rx (dfe_level %.9g)", model.Dfe.Level());
  const int32_t taps = model.Dfe.TapCount();
  for (int32_t i = 0; i < taps && i < tessalune_rx::MaxDfeTaps; ++i) {
    char format[40];
    std::snprintf(format, sizeof format, " (dfe_tap%d %%.9g)", int(i + 1));
    put(format, model.Dfe.Taps()[i]);
  }
  put(" (cdr_frequency_ppm %.9g))", model.Cdr.Frequency() * 1e6);
  out[kOutputCapacity - 1] = '\0';
}

}  // namespace

extern "C" TESSALUNE_AMI_EXPORT long AMI_Init(double* impulse_matrix, long row_size, long aggressors,
                                              double sample_interval, double bit_time, char* AMI_parameters_in,
                                              char** AMI_parameters_out, void** AMI_memory_handle, char** msg) {
  return AmiFrame::Init<tessalune_rx>(AMI_memory_handle, msg, kSentences, [&](tessalune_rx& model) {
    model.OutputParameters.assign(kOutputCapacity, '\0');
    model.Ready = Configure(model, sample_interval, bit_time, AMI_parameters_in);
    if (model.Ready) FilterImpulse(model, impulse_matrix, row_size, aggressors);
    WriteOutputParameters(model);
    if (AMI_parameters_out != nullptr) *AMI_parameters_out = model.OutputParameters.data();
    return model.Ready;
  });
}

extern "C" TESSALUNE_AMI_EXPORT long AMI_GetWave(double* wave, long wave_size, double* clock_times,
                                                 char** AMI_parameters_out, void* AMI_memory) {
  auto* model = AmiFrame::WaveInstance<tessalune_rx>(AMI_memory, wave, wave_size);
  if (model == nullptr) return 0;
  // Room for clock times: the array has wave_size entries, the last of
  // which may be needed for the marker.
  const long room = clock_times != nullptr && wave_size > 0 ? wave_size - 1 : 0;
  long written = 0;
  // Clock times left over from the previous call come first.
  const size_t carried = model->PendingCount < size_t(room) ? model->PendingCount : size_t(room);
  if (carried > 0) {
    std::memcpy(clock_times, model->PendingClocks, carried * sizeof(double));
    std::memmove(model->PendingClocks, model->PendingClocks + carried,
                 (model->PendingCount - carried) * sizeof(double));
    model->PendingCount -= carried;
    written = long(carried);
  }
  bool ok = model->Ready;
  if (ok) {
    const int64_t first = model->SampleCount;
    const double halfBit = model->BitTime / 2.0;
    auto clockTime = [&](long i) {
      if (*model->ClockEvent.ElementAt(0) != OrvennModelBuilder::kDataSample || clock_times == nullptr) return;
      const double t = (double(first + i) + *model->ClockOffset.ElementAt(0)) * model->SampleInterval - halfBit;
      if (written < room) {
        clock_times[written++] = t;
      } else if (model->PendingCount < tessalune_rx::PendingClockCapacity) {
        model->PendingClocks[model->PendingCount++] = t;
      }
    };
    if (model->UseBlockPath) {
      ok = model->RunBlock(wave, wave_size, clockTime);
      if (!ok) AmiFrame::AppendInPlace(model->MessageText, kSentences.run);
    } else {
      ok = AmiFrame::RunNetwork(*model, wave, wave_size, kSentences, clockTime);
    }
    model->SampleCount += wave_size;
    WriteOutputParameters(*model);
  }
  if (wave_size >= 1 && clock_times != nullptr) clock_times[written] = -1.0;
  if (AMI_parameters_out != nullptr && !model->OutputParameters.empty())
    *AMI_parameters_out = model->OutputParameters.data();
  return ok ? 1 : 0;
}

extern "C" TESSALUNE_AMI_EXPORT long AMI_Close(void* AMI_memory) {
  return AmiFrame::Close<tessalune_rx>(AMI_memory, kSentences, [](tessalune_rx& model) {
    AmiFrame::ReleasePort(model.InputBuffer);
    AmiFrame::ReleasePort(model.OutputBuffer);
  });
}

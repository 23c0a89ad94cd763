// The probes that look at AMI_GetWave: block sizes, finite output, clock
// times, and the step response against AMI_Init's.
#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/host/ProbePlatform.h"
#include "tools/host/QualifyProbes.h"

namespace {

double SamplesPerBit(const InitSetting& setting) { return setting.bitTime / setting.sampleInterval; }

std::string Hex(const void* address) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%" PRIxPTR, reinterpret_cast<uintptr_t>(address));
  return text;
}

// A clock-times array of `entries` doubles whose end touches a page that
// may be neither read nor written: a model that writes past the array dies
// of SIGSEGV at the first entry beyond it.
class GuardedArray {
 public:
  explicit GuardedArray(size_t entries) : entries_(entries) {
    const size_t bytes = entries * sizeof(double);
    base_ = ProbePlatform::MapGuarded(bytes, mapped_);
    if (base_)
      data_ = reinterpret_cast<double*>(static_cast<char*>(base_) + mapped_ - ProbePlatform::PageSize() - bytes);
  }
  ~GuardedArray() {
    if (base_) ProbePlatform::Unmap(base_, mapped_);
  }
  GuardedArray(const GuardedArray&) = delete;
  GuardedArray& operator=(const GuardedArray&) = delete;
  double* Data() const { return data_; }
  size_t Entries() const { return entries_; }

 private:
  size_t entries_;
  size_t mapped_ = 0;
  void* base_ = nullptr;
  double* data_ = nullptr;
};

// Clock times collected over a run: how many, how many go backwards, the
// mean spacing.
struct ClockTally {
  std::vector<double> times;
  long backwards = 0;
  long missingMarker = 0;
  // The entries up to the -1 marker; the array was filled with NaN, so an
  // entry the model never wrote before a marker counts the marker missing.
  void Take(const double* clocks, size_t room) {
    for (size_t i = 0; i < room; ++i) {
      if (clocks[i] == -1.0) return;
      if (std::isnan(clocks[i])) break;
      if (!times.empty() && !(clocks[i] > times.back())) ++backwards;
      times.push_back(clocks[i]);
    }
    ++missingMarker;
  }
};

}  // namespace

void QualifyProbes::BlockSizes(const ProbeModel& model, const ProbeRequest& request, const ProbeReport& report) {
  const InitSetting& setting = request.inits[0];
  const std::vector<double> stimulus = ProbeWave::Stimulus(request.samples, SamplesPerBit(setting), 1);
  report.Start("AMI_GetWave on the whole wave in one call");
  const std::vector<double> whole = model.Run(setting, stimulus, 0);
  if (whole.empty()) {
    report.Line("error", "AMI_Init failed at " + setting.label);
    return;
  }
  // The first samples, each of them: a picture of every n-th sample of a
  // fast wave shows its aliases.
  report.Values("figure-output",
                std::vector<double>(whole.begin(), whole.begin() + std::min<size_t>(whole.size(), 1200)));
  for (long block : {1L, 7L, 64L, 1024L}) {
    report.Start("AMI_GetWave in blocks of " + std::to_string(block));
    long first = -1;
    const double worst = ProbeWave::MaxDifference(whole, model.Run(setting, stimulus, block), first);
    report.Fields("block", {std::to_string(block), ProbeReport::Exact(worst), std::to_string(first),
                            first >= 0 ? ProbeReport::Exact(whole[static_cast<size_t>(first)]) : "0"});
  }
}

void QualifyProbes::Finite(const ProbeModel& model, const ProbeRequest& request, const ProbeReport& report) {
  const InitSetting& setting = request.inits[0];
  report.Start("AMI_GetWave in blocks of 1024");
  const std::vector<double> output =
      model.Run(setting, ProbeWave::Stimulus(request.samples, SamplesPerBit(setting), 3), 1024);
  if (output.empty()) {
    report.Line("error", "AMI_Init failed at " + setting.label);
    return;
  }
  long bad = 0;
  long first = -1;
  for (size_t i = 0; i < output.size(); ++i) {
    if (std::isfinite(output[i]) && std::fabs(output[i]) < 1e12) continue;
    if (bad++ == 0) first = static_cast<long>(i);
  }
  report.Fields("finite", {std::to_string(output.size()), std::to_string(bad), std::to_string(first),
                           first >= 0 ? ProbeReport::Exact(output[static_cast<size_t>(first)]) : "0"});
}

void QualifyProbes::ClockTimes(const ProbeModel& model, const ProbeRequest& request, const ProbeReport& report) {
  const InitSetting& setting = request.inits[0];
  ProbeInstance instance;
  report.Start("AMI_Init at " + setting.label);
  model.Init(setting, instance);
  if (!ProbeWave::Succeeded(instance.initResult) || !instance.memory) {
    report.Line("error", "AMI_Init failed at " + setting.label);
    return;
  }
  const long block = 1024;
  const long samples = static_cast<long>(std::ceil(4096 * SamplesPerBit(setting) / block)) * block;
  std::vector<double> wave = ProbeWave::Stimulus(samples, SamplesPerBit(setting), 5);
  GuardedArray clocks(static_cast<size_t>(block) + 1);  // wave size + 1 entries, as the standard sizes it
  report.Fields("clock-array", {Hex(clocks.Data()), Hex(clocks.Data() + clocks.Entries())});
  ClockTally tally;
  for (long at = 0; at < samples; at += block) {
    for (size_t i = 0; i < clocks.Entries(); ++i) clocks.Data()[i] = std::nan("");
    report.Start("AMI_GetWave on samples " + std::to_string(at) + " to " + std::to_string(at + block - 1));
    model.GetWave(instance, wave.data() + at, block, clocks.Data());
    tally.Take(clocks.Data(), clocks.Entries());
  }
  const double span = tally.times.size() > 1 ? tally.times.back() - tally.times.front() : 0.0;
  const double mean = tally.times.size() > 1 ? span / static_cast<double>(tally.times.size() - 1) : 0.0;
  report.Fields("clocks", {std::to_string(tally.times.size()), ProbeReport::Exact(samples / SamplesPerBit(setting)),
                           std::to_string(tally.backwards), ProbeReport::Exact(mean),
                           ProbeReport::Exact(setting.bitTime), std::to_string(tally.missingMarker)});
  report.Start("AMI_Close");
  model.Close(instance);
}

void QualifyProbes::Consistency(const ProbeModel& model, const ProbeRequest& request, const ProbeReport& report) {
  const InitSetting& setting = request.inits[0];
  const size_t length = static_cast<size_t>(setting.rowSize);
  // AMI_Init filters a unit-area impulse; its running sum is the step
  // response the statistical flow sees.
  std::vector<double> impulse(length, 0.0);
  impulse[0] = 1.0 / setting.sampleInterval;
  ProbeInstance instance;
  report.Start("AMI_Init with a unit impulse at " + setting.label);
  InitSetting column = setting;
  column.aggressors = 0;
  model.Init(column, impulse, instance);
  if (!ProbeWave::Succeeded(instance.initResult) || !instance.memory) {
    report.Line("error", "AMI_Init failed at " + setting.label);
    if (instance.memory) model.Close(instance);
    return;
  }
  std::vector<double> fromInit(length);
  double sum = 0.0;
  for (size_t i = 0; i < length; ++i) fromInit[i] = sum += instance.impulse[i] * setting.sampleInterval;
  report.Start("AMI_Close");
  model.Close(instance);
  // One call: the block sizes are getwave.block-sizes' matter.
  report.Start("AMI_GetWave on a unit step");
  const std::vector<double> fromGetWave = model.Run(column, std::vector<double>(length, 1.0), 0);
  long first = -1;
  const double worst = ProbeWave::MaxDifference(fromInit, fromGetWave, first);
  double peak = 0.0;
  for (double v : fromInit) peak = std::max(peak, std::fabs(v));
  std::vector<double> difference(fromGetWave.size() == length ? length : 0);
  for (size_t i = 0; i < difference.size(); ++i) difference[i] = fromGetWave[i] - fromInit[i];
  report.Values("step-init", fromInit);
  report.Values("step-getwave", fromGetWave);
  report.Values("step-difference", difference);
  report.Fields("consistency", {ProbeReport::Exact(worst), ProbeReport::Exact(peak), std::to_string(first)});
}

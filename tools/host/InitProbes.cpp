// The probes that look at loading and AMI_Init: exports, the Init sweep,
// the output parameter string, the speed.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <string>
#include <vector>

#include "tools/host/LibraryNeeds.h"
#include "tools/host/PeImage.h"
#include "tools/host/ProbePlatform.h"
#include "tools/host/QualifyProbes.h"

namespace {

// The first value of the matrix that is not a finite number, and how many
// there are. (Its scale is the model's: a unit-area impulse is 1 / sample
// interval high.)
long NonFinite(const std::vector<double>& values, double& first) {
  long count = 0;
  for (double v : values) {
    if (std::isfinite(v)) continue;
    if (count++ == 0) first = v;
  }
  return count;
}

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

#ifdef _WIN32
// A DLL's import and export tables: every DLL it imports, a delay-loaded
// one marked so, and every name it exports.
void ReportNeeds(const std::string& path, const ProbeReport& report) {
  constexpr size_t kMaxLibrary = size_t{1} << 29;  // 512 MiB: no model library is larger
  std::string bytes;
  std::string error;
  PeTables tables;
  if (!ProbePlatform::ReadFile(path, kMaxLibrary, bytes, error) || !PeImage::Read(bytes, tables, error)) {
    report.Line("needs-error", error);
    return;
  }
  for (const std::string& name : tables.imports)
    report.Line(PeImage::IsWindowsSystem(name) ? "needs" : "needs-other", name);
  for (const std::string& name : tables.delayImports)
    report.Line(PeImage::IsWindowsSystem(name) ? "needs" : "needs-other", name + " (delay-loaded)");
  for (const std::string& name : tables.exports) report.Line("exported", name);
}
#else
// A shared object's needed libraries (DT_NEEDED).
void ReportNeeds(const std::string& path, const ProbeReport& report) {
  std::vector<std::string> needed;
  std::string error;
  if (LibraryNeeds::Read(path, needed, error)) {
    for (const std::string& name : needed)
      report.Line(LibraryNeeds::IsPlainSystem(name) ? "needs" : "needs-other", name);
  } else {
    report.Line("needs-error", error);
  }
}
#endif

}  // namespace

void QualifyProbes::Exports(const ProbeRequest& request, const ProbeReport& report) {
  report.Start("reading the library's needed libraries");
  ReportNeeds(request.library, report);
  report.Start(ProbePlatform::LoadCall());
  std::string error;
  void* handle = ProbePlatform::OpenLibrary(request.library, error);
  if (!handle) {
    report.Line("load-error", error);
    return;
  }
  for (const char* name : {"AMI_Init", "AMI_GetWave", "AMI_Close"}) {
    report.Fields("export", {name, ProbePlatform::Symbol(handle, name) ? "1" : "0"});
  }
}

void QualifyProbes::Init(const ProbeModel& model, const ProbeRequest& request, const ProbeReport& report) {
  for (const InitSetting& setting : request.inits) {
    ProbeInstance instance;
    report.Start("AMI_Init at " + setting.label);
    model.Init(setting, instance);
    double first = 0.0;
    const long bad = NonFinite(instance.impulse, first);
    report.Fields("init",
                  {setting.label, std::to_string(static_cast<int>(ProbeWave::Succeeded(instance.initResult))),
                   instance.memory ? "1" : "0", std::to_string(bad), ProbeReport::Exact(first), instance.message});
    report.Start("AMI_Close at " + setting.label);
    if (instance.memory) model.Close(instance);
  }
}

void QualifyProbes::OutputParameters(const ProbeModel& model, const ProbeRequest& request, const ProbeReport& report) {
  ProbeInstance instance;
  report.Start("AMI_Init at " + request.inits[0].label);
  model.Init(request.inits[0], instance);
  report.Line(instance.parametersOutSet ? "out-init" : "out-init-none", instance.parametersOut);
  if (instance.memory && model.HasGetWave()) {
    std::vector<double> wave =
        ProbeWave::Stimulus(request.samples, request.inits[0].bitTime / request.inits[0].sampleInterval, 1);
    report.Start("AMI_GetWave");
    instance.parametersOutPointer = nullptr;
    model.GetWave(instance, wave.data(), static_cast<long>(wave.size()));
    if (instance.parametersOutPointer) report.Line("out-getwave", instance.parametersOutPointer);
  }
  report.Start("AMI_Close");
  if (instance.memory) model.Close(instance);
}

void QualifyProbes::Speed(const ProbeModel& model, const ProbeRequest& request, const ProbeReport& report) {
  const InitSetting& setting = request.inits[0];
  std::vector<double> initTimes;
  ProbeInstance instance;
  for (int k = 0; k < 5; ++k) {
    report.Start("AMI_Init");
    const auto start = std::chrono::steady_clock::now();
    model.Init(setting, instance);
    initTimes.push_back(Seconds(start));
    if (k < 4 && instance.memory) model.Close(instance);
  }
  std::sort(initTimes.begin(), initTimes.end());
  double rate = 0.0;
  if (instance.memory && model.HasGetWave()) {
    const std::vector<double> stimulus = ProbeWave::Stimulus(1024, setting.bitTime / setting.sampleInterval, 1);
    std::vector<double> wave(stimulus.size());
    report.Start("AMI_GetWave in blocks of 1024");
    long samples = 0;
    const auto start = std::chrono::steady_clock::now();
    do {
      for (int k = 0; k < 16; ++k) {
        std::copy(stimulus.begin(), stimulus.end(), wave.begin());
        model.GetWave(instance, wave.data(), 1024);
      }
      samples += 16 * 1024;
    } while (Seconds(start) < 0.25);
    rate = static_cast<double>(samples) / Seconds(start);
  }
  report.Fields("speed", {ProbeReport::Exact(rate), ProbeReport::Exact(initTimes[2])});
  if (instance.memory) model.Close(instance);
}

// The probes that look at instances: two interleaved, several on threads,
// a second life after AMI_Close, and a thousand lives for the memory.
#include <algorithm>
#include <cstdio>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "tools/host/ProbePlatform.h"
#include "tools/host/QualifyProbes.h"

namespace {

constexpr long kBlock = 1024;

double SamplesPerBit(const InitSetting& setting) { return setting.bitTime / setting.sampleInterval; }

#ifndef _WIN32
// The sanitizers' count of live heap bytes (weak: absent from a normal build).
extern "C" size_t __sanitizer_get_current_allocated_bytes() __attribute__((weak));
#endif

// What the cycles probe measures: the resident size, or in a sanitizer
// build, whose quarantine of freed memory grows the resident size of any
// model, the allocator's live bytes.
double MemoryInUse(std::string& what) {
#ifndef _WIN32
  if (QualifyProbes::kSanitized && __sanitizer_get_current_allocated_bytes) {
    what = "live heap";
    return static_cast<double>(__sanitizer_get_current_allocated_bytes());
  }
#endif
  what = ProbePlatform::ResidentWords();
  return ProbePlatform::ResidentBytes();
}

}  // namespace

void QualifyProbes::Interleaved(const ProbeModel& model, const ProbeRequest& request, const ProbeReport& report) {
  const InitSetting& a = request.inits[0];
  const InitSetting& b = request.inits.size() > 1 ? request.inits[1] : request.inits[0];
  const std::vector<double> waveA = ProbeWave::Stimulus(request.samples, SamplesPerBit(a), 1);
  const std::vector<double> waveB = ProbeWave::Stimulus(request.samples, SamplesPerBit(b), 2);
  report.Start("each instance alone");
  const std::vector<double> aloneA = model.Run(a, waveA, kBlock);
  const std::vector<double> aloneB = model.Run(b, waveB, kBlock);
  ProbeInstance instanceA;
  ProbeInstance instanceB;
  report.Start("AMI_Init of both instances");
  model.Init(a, instanceA);
  model.Init(b, instanceB);
  std::vector<double> bothA = waveA;
  std::vector<double> bothB = waveB;
  const long size = static_cast<long>(waveA.size());
  report.Start("AMI_GetWave of the two instances in turn");
  for (long at = 0; at < size; at += kBlock) {
    const long n = std::min(kBlock, size - at);
    if (instanceA.memory) model.GetWave(instanceA, bothA.data() + at, n);
    if (instanceB.memory) model.GetWave(instanceB, bothB.data() + at, n);
  }
  report.Start("AMI_Close of both instances");
  if (instanceA.memory) model.Close(instanceA);
  if (instanceB.memory) model.Close(instanceB);
  long firstA = -1;
  long firstB = -1;
  const double worstA = ProbeWave::MaxDifference(aloneA, bothA, firstA);
  const double worstB = ProbeWave::MaxDifference(aloneB, bothB, firstB);
  report.Fields("interleave", {ProbeReport::Exact(worstA), std::to_string(firstA), ProbeReport::Exact(worstB),
                               std::to_string(firstB), b.label});
}

void QualifyProbes::Threads(const ProbeModel& model, const ProbeRequest& request, const ProbeReport& report) {
  const InitSetting& setting = request.inits[0];
  const std::vector<double> wave = ProbeWave::Stimulus(request.samples, SamplesPerBit(setting), 1);
  report.Start("one instance alone");
  const std::vector<double> alone = model.Run(setting, wave, kBlock);
  const size_t count = static_cast<size_t>(request.threads > 0 ? request.threads : 1);
  std::vector<ProbeInstance> instances(count);
  std::vector<std::vector<double>> outputs(count, wave);
  // AMI_Init and AMI_Close one at a time, as a simulator that keeps its
  // lifecycle calls in one thread does; AMI_GetWave on all threads at once.
  report.Start("AMI_Init of " + std::to_string(count) + " instances");
  for (ProbeInstance& instance : instances) model.Init(setting, instance);
  report.Start("AMI_GetWave on " + std::to_string(count) + " threads at once");
  std::vector<std::thread> threads;
  for (size_t t = 0; t < count; ++t) {
    threads.emplace_back([&, t] {
      if (!instances[t].memory) return;
      const long size = static_cast<long>(outputs[t].size());
      for (long at = 0; at < size; at += kBlock)
        model.GetWave(instances[t], outputs[t].data() + at, std::min(kBlock, size - at));
    });
  }
  for (std::thread& thread : threads) thread.join();
  report.Start("AMI_Close of the instances");
  double worst = 0.0;
  long first = -1;
  size_t which = 0;
  for (size_t t = 0; t < count; ++t) {
    if (instances[t].memory) model.Close(instances[t]);
    long at = -1;
    const double d = ProbeWave::MaxDifference(alone, outputs[t], at);
    if (at >= 0 && (first < 0 || d > worst)) std::tie(worst, first, which) = std::make_tuple(d, at, t);
  }
  report.Fields("threads",
                {std::to_string(count), ProbeReport::Exact(worst), std::to_string(first), std::to_string(which)});
}

void QualifyProbes::Reinit(const ProbeModel& model, const ProbeRequest& request, const ProbeReport& report) {
  const InitSetting& setting = request.inits[0];
  const std::vector<double> wave = ProbeWave::Stimulus(request.samples, SamplesPerBit(setting), 1);
  report.Start("the first instance");
  const std::vector<double> first = model.Run(setting, wave, kBlock);
  report.Start("a second instance after AMI_Close of the first");
  const std::vector<double> second = model.Run(setting, wave, kBlock);
  long at = -1;
  const double worst = ProbeWave::MaxDifference(first, second, at);
  report.Fields("reinit", {ProbeReport::Exact(worst), std::to_string(at), first.empty() ? "0" : "1"});
}

void QualifyProbes::Cycles(const ProbeModel& model, const ProbeRequest& request, const ProbeReport& report) {
  const InitSetting& setting = request.inits[0];
  const std::vector<double> stimulus = ProbeWave::Stimulus(256, SamplesPerBit(setting), 1);
  std::vector<double> wave(stimulus.size());
  long failures = 0;
  auto cycle = [&] {
    ProbeInstance instance;
    model.Init(setting, instance);
    if (!ProbeWave::Succeeded(instance.initResult)) ++failures;
    if (!instance.memory) return;
    wave = stimulus;
    model.GetWave(instance, wave.data(), static_cast<long>(wave.size()));
    model.Close(instance);
  };
  // A few lives first, so that the allocator's and the model's one-time
  // growth are behind.
  report.Start("the first 20 AMI_Init/AMI_Close cycles");
  for (int k = 0; k < 20; ++k) cycle();
  std::string what;
  const double before = MemoryInUse(what);
  report.Start(std::to_string(request.cycles) + " AMI_Init/AMI_Close cycles");
  for (long k = 0; k < request.cycles; ++k) cycle();
  const double after = MemoryInUse(what);
  report.Fields("cycles", {std::to_string(request.cycles), ProbeReport::Exact(before), ProbeReport::Exact(after),
                           std::to_string(failures), what});
}

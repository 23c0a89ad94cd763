#include "tools/host/QualifyProbes.h"

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <exception>
#include <map>
#include <new>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define TESSALUNE_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define TESSALUNE_SANITIZED 1
#endif
#endif

namespace {

// The address space capped, so that a model that allocates without end
// fails in its child instead of taking the machine.
void LimitMemory(long memoryMiB) {
#ifdef TESSALUNE_SANITIZED
  (void)memoryMiB;
#else
  if (memoryMiB > 0) {
    const rlim_t bytes = static_cast<rlim_t>(memoryMiB) << 20;
    rlimit limit{bytes, bytes};
    setrlimit(RLIMIT_AS, &limit);
  }
#endif
}

}  // namespace

bool QualifyProbes::RunProbe(const ProbeRequest& request, const ProbeReport& report) {
  if (request.probe == "exports") {
    Exports(request, report);
    return true;
  }
  using Probe = void (*)(const ProbeModel&, const ProbeRequest&, const ProbeReport&);
  static const std::map<std::string, Probe> probes = {{"init", Init},
                                                      {"outparams", OutputParameters},
                                                      {"speed", Speed},
                                                      {"blocks", BlockSizes},
                                                      {"finite", Finite},
                                                      {"clocks", ClockTimes},
                                                      {"consistency", Consistency},
                                                      {"interleave", Interleaved},
                                                      {"threads", Threads},
                                                      {"reinit", Reinit},
                                                      {"cycles", Cycles}};
  auto probe = probes.find(request.probe);
  if (probe == probes.end()) {
    report.Line("error", "no probe named " + request.probe);
    return false;
  }
  if (request.inits.empty()) {
    report.Line("error", "no AMI_Init setting given");
    return false;
  }
  ProbeModel model;
  std::string error;
  report.Start("loading the library");
  if (!model.Open(request.library, error)) {
    report.Line("error", error);
    return false;
  }
  try {
    probe->second(model, request, report);
  } catch (const std::bad_alloc&) {
    report.Line("error", "out of memory (std::bad_alloc left the model) during " + report.Started());
  } catch (const std::exception& e) {
    report.Line("error", std::string("an exception left the model (") + e.what() + ") during " + report.Started());
  } catch (...) {
    report.Line("error", "an exception left the model during " + report.Started());
  }
  return true;
}

int QualifyProbes::RunInChild(const ProbeRequest& request, const std::string& reportPath, long memoryMiB) {
  ProbeReport report;
  if (!report.Open(reportPath)) {
    std::fprintf(stderr, "cannot write the probe's report %s\n", reportPath.c_str());
    return 2;
  }
  ProbeReport::InstallCrashReporter(report.Fd());
  LimitMemory(memoryMiB);
  const bool ran = RunProbe(request, report);
  report.Line("done", "");
  std::fflush(stdout);
  std::fflush(stderr);
  _exit(ran ? 0 : 3);
}

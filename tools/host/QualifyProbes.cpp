#include "tools/host/QualifyProbes.h"

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

#include <cstdio>
#include <exception>
#include <map>
#include <new>

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

#ifndef _WIN32
std::string QualifyProbes::RunInChild(const ProbeRequest& request, const std::string& reportPath,
                                      const std::string& outputPath) {
  std::fflush(nullptr);
  const int output = open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (output >= 0) {
    dup2(output, 1);
    dup2(output, 2);
    close(output);
  }
  ProbeReport report;
  if (!report.Open(reportPath)) return "";
  RunProbe(request, report);
  report.Line("done", "");
  return "";
}
#endif

// The probes of `tessalune qualify`, each run inside a child process that
// loads the model library (the parent never does): RunProbe loads the
// library, runs the probe the request names and writes what it measured to
// the report. Judging is the parent's (tools/commands/QualifyChecks).
#pragma once

#include "tools/host/ProbeModel.h"
#include "tools/host/ProbeReport.h"
#include "tools/host/ProbeRequest.h"

namespace QualifyProbes {

// Runs the request's probe; false with "error TEXT" in the report when the
// library does not load or the probe is unknown.
bool RunProbe(const ProbeRequest& request, const ProbeReport& report);

// The whole life of a child that runs one probe: opens the report file at
// `reportPath`, installs the crash reporter, caps the address space at
// `memoryMiB` (not under a sanitizer, whose shadow memory needs terabytes of
// it), runs the probe, writes "done" and ends the process at once (no static
// destructors of the model, no leak report about what the model kept).
// Returns only when the report file cannot be opened (status 2).
int RunInChild(const ProbeRequest& request, const std::string& reportPath, long memoryMiB);

// The probes, by name (InitProbes.cpp, WaveProbes.cpp, InstanceProbes.cpp).
void Exports(const ProbeRequest& request, const ProbeReport& report);
void Init(const ProbeModel& model, const ProbeRequest& request, const ProbeReport& report);
void OutputParameters(const ProbeModel& model, const ProbeRequest& request, const ProbeReport& report);
void Speed(const ProbeModel& model, const ProbeRequest& request, const ProbeReport& report);
void BlockSizes(const ProbeModel& model, const ProbeRequest& request, const ProbeReport& report);
void Finite(const ProbeModel& model, const ProbeRequest& request, const ProbeReport& report);
void ClockTimes(const ProbeModel& model, const ProbeRequest& request, const ProbeReport& report);
void Consistency(const ProbeModel& model, const ProbeRequest& request, const ProbeReport& report);
void Interleaved(const ProbeModel& model, const ProbeRequest& request, const ProbeReport& report);
void Threads(const ProbeModel& model, const ProbeRequest& request, const ProbeReport& report);
void Reinit(const ProbeModel& model, const ProbeRequest& request, const ProbeReport& report);
void Cycles(const ProbeModel& model, const ProbeRequest& request, const ProbeReport& report);

}  // namespace QualifyProbes

// The probes of `tessalune qualify`, each run inside a child process that
// loads the model library (the parent never does): RunProbe loads the
// library, runs the probe the request names and writes what it measured to
// the report. Judging is the parent's (tools/commands/QualifyChecks).
#pragma once

#include <string>

#include "tools/host/ProbeModel.h"
#include "tools/host/ProbeReport.h"
#include "tools/host/ProbeRequest.h"

namespace QualifyProbes {

// Runs the request's probe; false with "error TEXT" in the report when the
// library does not load or the probe is unknown.
bool RunProbe(const ProbeRequest& request, const ProbeReport& report);

// In the child process (IsolatedRun, Linux) that runs one probe: the model's own
// printing goes to `outputPath` (not into the parent's report or JSON), the
// report to `reportPath`. Returns nothing: what the probe found is in the
// report, written line by line so that a crash, a hang or an exit() leaves
// what came before it.
std::string RunInChild(const ProbeRequest& request, const std::string& reportPath, const std::string& outputPath);

// A sanitizer build: no address-space limit (the sanitizer's shadow memory
// needs terabytes of it), and the cycles probe counts the allocator's live
// bytes instead of the resident size, which its quarantine of freed memory
// grows for any model.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

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

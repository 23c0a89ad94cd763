// How `tessalune qualify` judges what a probe reported: one function per
// check, each turning the child's report (tools/host/ProbeReport) and the
// way the child ended into a verdict and its evidence.
#pragma once

#include "tools/commands/QualifyChecks.h"
#include "tools/host/IsolatedRun.h"
#include "tools/host/ProbeReport.h"

// One probe as the parent saw it.
struct ProbeRun {
  IsolatedOutcome outcome;  // under Wine: how the probe's process ended, in its bytes (WineProbe::Ended)
  IsolationLimits limits;
  ProbeReport::Lines lines;
  bool windows = false;     // the probe ran under Wine
  std::string reportError;  // the report could not be read
  std::string output;       // under Wine: the start of what the probe's process printed
};

namespace QualifyJudges {

// A FAIL when the child crashed (the signal, the faulting address, the call
// it was in; under Wine the exception), hung past the time limit, ended
// inside the model (exit()), or reported an error; false (and `result`
// untouched) when it finished.
bool Death(const ProbeRun& run, CheckResult& result);

// The .ibs read as text in the parent: no model code runs.
void IbsExecutable(const QualifySettings& settings, const ProbeRun& run, CheckResult& result);
void Exports(const QualifySettings& settings, const ProbeRun& run, CheckResult& result);
void InitSweep(const QualifySettings& settings, const ProbeRun& run, CheckResult& result);
void OutputParameters(const QualifySettings& settings, const ProbeRun& run, CheckResult& result);
void BlockSizes(const QualifySettings& settings, const ProbeRun& run, CheckResult& result);
void Finite(const QualifySettings& settings, const ProbeRun& run, CheckResult& result);
void ClockTimes(const QualifySettings& settings, const ProbeRun& run, CheckResult& result);
void Interleaved(const QualifySettings& settings, const ProbeRun& run, CheckResult& result);
void Threads(const QualifySettings& settings, const ProbeRun& run, CheckResult& result);
void Reinit(const QualifySettings& settings, const ProbeRun& run, CheckResult& result);
void Cycles(const QualifySettings& settings, const ProbeRun& run, CheckResult& result);
void Consistency(const QualifySettings& settings, const ProbeRun& run, CheckResult& result);
void Speed(const QualifySettings& settings, const ProbeRun& run, CheckResult& result);

}  // namespace QualifyJudges

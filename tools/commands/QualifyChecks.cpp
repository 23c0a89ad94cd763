#include "tools/commands/QualifyChecks.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "tools/commands/QualifyJudges.h"
#include "tools/host/ProbePlatform.h"
#include "tools/host/QualifyProbes.h"

namespace {

// Samples per unit interval of the sample-interval sweep: both ends of 8 to
// 128, whole and non-integer ratios.
const double kSweepSamplesPerBit[] = {8.0, 10.6, 16.0, 25.3, 32.0, 64.0, 100.5, 128.0};
const long kRowSizes[] = {64, 2048, 16384};
constexpr double kSamplesPerBit = 32.0;
constexpr long kRowSize = 2048;

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

// A setting at `samplesPerBit` with the parameter string of the defaults
// and `overrides`; false (and the reason in `error`) when the string cannot
// be built.
bool MakeSetting(const QualifySettings& settings, const std::vector<std::string>& overrides, double samplesPerBit,
                 const std::string& label, InitSetting& setting, std::string& error) {
  std::vector<std::string> all = settings.params;
  all.insert(all.end(), overrides.begin(), overrides.end());
  setting.label = label;
  setting.bitTime = settings.bitTime;
  setting.sampleInterval = settings.bitTime / samplesPerBit;
  setting.rowSize = kRowSize;
  return settings.ami.BuildParameterString(all, setting.parameters, error);
}

InitSetting Defaults(const QualifySettings& settings) {
  InitSetting setting;
  std::string error;
  MakeSetting(settings, {}, kSamplesPerBit, "the defaults at 32 samples/UI", setting, error);
  return setting;
}

// Each value a parameter's format names: every List entry, a Range's (or
// Corner's, Increment's, Steps') typical, minimum and maximum, True and
// False for a Boolean.
std::vector<std::string> CornerValues(const AmiParameterDefinition& def) {
  const std::vector<std::string>& v = def.formatValues;
  if (def.format == "List") return v;
  if ((def.format == "Range" || def.format == "Increment" || def.format == "Steps") && v.size() >= 3)
    return {v[0], v[1], v[2]};
  if (def.format == "Corner" && v.size() >= 3) return {v[0], v[1], v[2]};
  if (def.type == "Boolean") return {"True", "False"};
  const std::string value = def.EffectiveDefault();
  return value.empty() ? std::vector<std::string>{} : std::vector<std::string>{value};
}

std::vector<InitSetting> CornerSettings(const QualifySettings& settings) {
  std::vector<InitSetting> all;
  for (const AmiParameterDefinition& def : settings.ami.Parameters()) {
    if (!def.IsInput()) continue;
    for (const std::string& value : CornerValues(def)) {
      InitSetting setting;
      std::string error;
      const std::string pair = def.path + "=" + value;
      if (MakeSetting(settings, {pair}, kSamplesPerBit, pair, setting, error)) all.push_back(setting);
    }
  }
  if (all.empty()) all.push_back(Defaults(settings));
  return all;
}

// The first corner of an input parameter that differs from its default: a
// second instance that should behave otherwise.
InitSetting SecondInstance(const QualifySettings& settings) {
  for (const AmiParameterDefinition& def : settings.ami.Parameters()) {
    if (!def.IsInput()) continue;
    for (const std::string& value : CornerValues(def)) {
      if (value == def.EffectiveDefault()) continue;
      InitSetting setting;
      std::string error;
      const std::string pair = def.path + "=" + value;
      if (MakeSetting(settings, {pair}, kSamplesPerBit, pair, setting, error)) return setting;
    }
  }
  return Defaults(settings);
}

std::vector<InitSetting> IntervalSettings(const QualifySettings& settings) {
  std::vector<InitSetting> all;
  for (double perBit : kSweepSamplesPerBit) {
    InitSetting setting;
    std::string error;
    MakeSetting(settings, {}, perBit, Number(perBit) + " samples/UI", setting, error);
    all.push_back(setting);
  }
  return all;
}

std::vector<InitSetting> ShapeSettings(const QualifySettings& settings) {
  std::vector<InitSetting> all;
  for (long rows : kRowSizes) {
    for (long aggressors = 0; aggressors <= 2; ++aggressors) {
      InitSetting setting = Defaults(settings);
      setting.rowSize = rows;
      setting.aggressors = aggressors;
      setting.label = "row size " + std::to_string(rows) + ", " + std::to_string(aggressors) + " aggressor(s)";
      all.push_back(setting);
    }
  }
  return all;
}

ProbeRequest Request(const QualifySettings& settings, const std::string& probe, std::vector<InitSetting> inits) {
  ProbeRequest request;
  request.probe = probe;
  request.library = settings.library;
  request.inits = std::move(inits);
  request.threads = settings.threads;
  request.cycles = settings.cycles;
  request.getWaveExpected = settings.ami.Reserved().getWaveExists;
  return request;
}

}  // namespace

const char* VerdictWord(Verdict verdict) {
  switch (verdict) {
    case Verdict::Pass:
      return "PASS";
    case Verdict::Warn:
      return "WARN";
    case Verdict::Fail:
      return "FAIL";
    case Verdict::Skip:
      break;
  }
  return "SKIP";
}

const std::vector<CheckDescription>& QualifyCheckList() {
  static const std::vector<CheckDescription> checks = {
      {"files.ibs-executable",
       "With --ibs: an Executable line of the .ibs's [Algorithmic Model] names the library's file and the .ami's, as "
       "simulators find them through it (IBIS 7.2 [Algorithmic Model]); skipped without --ibs"},
      {"exports",
       "The library exports AMI_Init and AMI_Close, and AMI_GetWave exactly when its .ami says GetWave_Exists True; it "
       "loads with every symbol bound and needs no library beyond the C and C++ runtimes a plain system has (IBIS 7.2 "
       "§10; a simulator loads it on the user's machine, not the maker's)"},
      {"init.sample-intervals",
       "AMI_Init returns at every sample interval from 8 to 128 samples per UI, whole or not: success, or failure with "
       "a message that says why; a readable message; a finite impulse response; a memory handle whenever it says "
       "success (IBIS 7.2 §10: the simulator picks the sample interval)"},
      {"init.rows-aggressors",
       "AMI_Init takes any row size and 0 to 2 aggressor columns in the impulse matrix and returns as above (IBIS 7.2 "
       "§10: the matrix is row_size × (aggressors + 1))"},
      {"init.parameter-corners",
       "AMI_Init returns as above at every corner of each Model_Specific input parameter: each List value, each "
       "Range's typical, minimum and maximum, True and False (IBIS 7.2 §10: every value the .ami allows is one a "
       "user may choose)"},
      {"init.output-parameters",
       "The output parameter string, when AMI_Init or AMI_GetWave sets one, parses as an AMI parameter tree under the "
       "model's name whose leaves are the .ami's Out and InOut parameters (IBIS 7.2 §10)"},
      {"getwave.block-sizes",
       "AMI_GetWave gives the same output whether the simulator hands it the wave in blocks of 1, 7, 64 or 1024 "
       "samples or in one call (IBIS 7.2 §10: the block size is the simulator's choice)"},
      {"getwave.finite",
       "AMI_GetWave gives finite samples (no NaN, no infinity, nothing beyond 1e12) on a finite input"},
      {"getwave.clock-times",
       "Clock times, when the model returns them, stay within the clock_times array the standard sizes (wave_size + 1 "
       "entries; guard page after it), end with -1, increase, one per bit, a UI apart on average (IBIS 7.2 §10)"},
      {"instances.interleaved",
       "Two instances used in turn give what each gives alone: all state lives in the memory handle (IBIS 7.2 "
       "§10; simulators run several models of one library at once)"},
      {"instances.threads",
       "Instances on several threads at once (AMI_GetWave in parallel, AMI_Init and AMI_Close one at a time) give "
       "what one instance gives alone"},
      {"instances.reinit",
       "AMI_Close and a new AMI_Init give the first run's output again: nothing survives AMI_Close"},
      {"instances.init-close-cycles",
       "1,000 AMI_Init/AMI_Close cycles (each with a short AMI_GetWave) do not grow the process: AMI_Close frees what "
       "AMI_Init took (resident size measured; a sweep of a simulator runs thousands)"},
      {"consistency.step-response",
       "With Init_Returns_Impulse and GetWave_Exists True and a linear setting (--linear, or the defaults), the step "
       "response through AMI_GetWave matches the one AMI_Init's impulse response gives, within -40 dB (IBIS 7.2 "
       "§10: statistical and time-domain flows must agree)"},
      {"speed", "AMI_GetWave's samples per second and AMI_Init's time, for the record"},
  };
  return checks;
}

namespace {

// The most of a probe's report the parent reads: a real one is well under
// a megabyte; more means something else wrote into it.
constexpr size_t kMaxReport = size_t{64} << 20;

// The probe's report and, from a probe under Wine, the start of its
// output (shown when its report is not one of ours).
void ReadBack(const std::string& reportPath, const std::string& outputPath, ProbeRun& run) {
  std::string text;
  std::string error;
  if (ProbePlatform::ReadFile(reportPath, kMaxReport, text, error)) {
    run.lines = ProbeReport::Parse(text);
  } else if (error.find(" is larger than ") != std::string::npos) {
    run.reportError = "its report is larger than " + std::to_string(kMaxReport >> 20) + " MiB: not read";
  }
  if (run.windows) {
    std::string output;
    if (!ProbePlatform::ReadFile(outputPath, kMaxReport, output, error)) output.clear();
    run.output = output.substr(0, 2048);
  }
}

// Runs one probe in a child process (IsolatedRun: forked, with the time and
// memory limits); reads its report back. A Windows DLL's probe runs in the
// probe program under Wine, started by that child.
ProbeRun RunProbe(const QualifySettings& settings, ProbeRequest request) {
  ProbeRun run;
  char folder[] = "/tmp/tessalune-qualify-XXXXXX";
  const char* made = mkdtemp(folder);
  if (!made) {
    run.outcome.bytes = "cannot make a temporary folder";
    return run;
  }
  const std::string reportPath = std::string(made) + "/report";
  const std::string outputPath = std::string(made) + "/output";
  const size_t memory = QualifyProbes::kSanitized ? 0 : static_cast<size_t>(settings.memoryMiB) << 20;
  run.limits.seconds = settings.timeout;
  run.windows = settings.windows;
  if (settings.windows) {
    // Wine reserves much of the address space as it starts: the limit is on
    // what is written to.
    run.limits.dataBytes = memory;
    request.library = WineProbe::WindowsPath(request.library);
    run.outcome = IsolatedRun::Run(
        [&] { return WineProbe::RunInChild(settings.wine, request, made, reportPath, outputPath); }, run.limits);
  } else {
    run.limits.memoryBytes = memory;
    run.outcome =
        IsolatedRun::Run([&] { return QualifyProbes::RunInChild(request, reportPath, outputPath); }, run.limits);
  }
  ReadBack(reportPath, outputPath, run);
  for (const char* name : {"/report", "/output", "/request"}) std::remove((std::string(made) + name).c_str());
  rmdir(made);
  return run;
}

using Judge = void (*)(const QualifySettings&, const ProbeRun&, CheckResult&);
using Settings = std::vector<InitSetting> (*)(const QualifySettings&);

struct Plan {
  const char* id;
  const char* probe;
  Settings settings;
  Judge judge;
  bool everySetting = false;  // after a death, the settings after the one it died at run too
};

std::vector<InitSetting> DefaultOnly(const QualifySettings& settings) { return {Defaults(settings)}; }
std::vector<InitSetting> TwoInstances(const QualifySettings& settings) {
  return {Defaults(settings), SecondInstance(settings)};
}
std::vector<InitSetting> Linear(const QualifySettings& settings) {
  InitSetting setting;
  std::string error;
  MakeSetting(settings, settings.linear, kSamplesPerBit, "the linear setting at 32 samples/UI", setting, error);
  return {setting};
}

const Plan kPlans[] = {
    {"files.ibs-executable", "", nullptr, QualifyJudges::IbsExecutable},
    {"exports", "exports", DefaultOnly, QualifyJudges::Exports},
    {"init.sample-intervals", "init", IntervalSettings, QualifyJudges::InitSweep},
    {"init.rows-aggressors", "init", ShapeSettings, QualifyJudges::InitSweep},
    {"init.parameter-corners", "init", CornerSettings, QualifyJudges::InitSweep, true},
    {"init.output-parameters", "outparams", DefaultOnly, QualifyJudges::OutputParameters},
    {"getwave.block-sizes", "blocks", DefaultOnly, QualifyJudges::BlockSizes},
    {"getwave.finite", "finite", DefaultOnly, QualifyJudges::Finite},
    {"getwave.clock-times", "clocks", DefaultOnly, QualifyJudges::ClockTimes},
    {"instances.interleaved", "interleave", TwoInstances, QualifyJudges::Interleaved},
    {"instances.threads", "threads", DefaultOnly, QualifyJudges::Threads},
    {"instances.reinit", "reinit", DefaultOnly, QualifyJudges::Reinit},
    {"instances.init-close-cycles", "cycles", DefaultOnly, QualifyJudges::Cycles},
    {"consistency.step-response", "consistency", Linear, QualifyJudges::Consistency},
    {"speed", "speed", DefaultOnly, QualifyJudges::Speed},
};

// Why a check does not apply to this model ("" when it does).
std::string NotApplicable(const QualifySettings& settings, const std::string& probe) {
  const AmiReservedParameters& reserved = settings.ami.Reserved();
  if (probe.empty() && settings.ibsPath.empty()) return "no --ibs given";
  const bool waveProbe = probe == "blocks" || probe == "finite" || probe == "clocks" || probe == "interleave" ||
                         probe == "threads" || probe == "reinit";
  if (waveProbe && !reserved.getWaveExists) return "the .ami says GetWave_Exists False";
  if (probe == "consistency" && !(reserved.initReturnsImpulse && reserved.getWaveExists))
    return std::string("the .ami says ") + (reserved.initReturnsImpulse ? "GetWave_Exists" : "Init_Returns_Impulse") +
           " False: one flow only, nothing to compare";
  return "";
}

// The index of the setting a probe died at, from its last `start` line
// ("AMI_Init at LABEL", "AMI_Close at LABEL"); npos when it died elsewhere.
size_t DiedAt(const ProbeRun& run, const std::vector<InitSetting>& inits, size_t from) {
  for (const char* call : {"AMI_Init at ", "AMI_Close at "}) {
    if (run.lines.lastStart.rfind(call, 0) != 0) continue;
    const std::string label = run.lines.lastStart.substr(std::string(call).size());
    for (size_t i = from; i < inits.size(); ++i)
      if (inits[i].label == label) return i;
  }
  return std::string::npos;
}

// A sweep of AMI_Init settings, each one tried: after a death at one, a new
// child takes the settings after it. The FAIL names every setting that
// ended its process (with how), and the judge reads the rest.
void RunEverySetting(const QualifySettings& settings, const Plan& plan, CheckResult& result) {
  const std::vector<InitSetting> inits = plan.settings(settings);
  ProbeRun merged;
  std::vector<std::string> deaths;
  for (size_t from = 0; from < inits.size();) {
    const ProbeRun run = RunProbe(settings, Request(settings, plan.probe, {inits.begin() + from, inits.end()}));
    for (const std::string& line : run.lines.All("init")) merged.lines.values.emplace("init", line);
    CheckResult death;
    if (!QualifyJudges::Death(run, death)) break;
    deaths.push_back(death.evidence);
    const size_t at = DiedAt(run, inits, from);
    if (at == std::string::npos) break;  // not at a setting: the others would die alike
    from = at + 1;
  }
  merged.lines.done = true;
  plan.judge(settings, merged, result);
  if (deaths.empty()) return;
  std::string evidence =
      deaths.size() == 1 ? deaths[0]
                         : std::to_string(deaths.size()) + " of " + std::to_string(inits.size()) + " settings fail: ";
  for (size_t i = 0; deaths.size() > 1 && i < deaths.size(); ++i) evidence += (i ? "; " : "") + deaths[i];
  if (result.verdict == Verdict::Fail) evidence += "; and " + result.evidence;
  result.verdict = Verdict::Fail;
  result.evidence = evidence;
}

void RunCheck(const QualifySettings& settings, const Plan& plan, CheckResult& result) {
  const std::string skip = NotApplicable(settings, plan.probe);
  if (!skip.empty()) {
    result.verdict = Verdict::Skip;
    result.evidence = "does not apply: " + skip;
  } else if (plan.settings == nullptr) {
    // Read from files in this process; no model code runs.
    plan.judge(settings, ProbeRun{}, result);
  } else if (plan.everySetting) {
    const auto start = IsolatedRun::Now();
    RunEverySetting(settings, plan, result);
    result.seconds = IsolatedRun::Now() - start;
  } else {
    const auto start = IsolatedRun::Now();
    const ProbeRun run = RunProbe(settings, Request(settings, plan.probe, plan.settings(settings)));
    result.seconds = IsolatedRun::Now() - start;
    if (!QualifyJudges::Death(run, result)) plan.judge(settings, run, result);
  }
}

}  // namespace

std::vector<CheckResult> RunQualifyBattery(const QualifySettings& settings, void (*progress)(const CheckResult&)) {
  std::vector<CheckResult> results;
  for (const Plan& plan : kPlans) {
    CheckResult result;
    result.id = plan.id;
    for (const CheckDescription& description : QualifyCheckList())
      if (result.id == description.id) result.expects = description.expects;
    RunCheck(settings, plan, result);
    if (progress) progress(result);
    results.push_back(std::move(result));
  }
  return results;
}

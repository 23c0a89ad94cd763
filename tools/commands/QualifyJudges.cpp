#include "tools/commands/QualifyJudges.h"

#include <cctype>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "amiparam/AmiTree.h"
#include "amiparam/AmiTreeWalk.h"
#include "tools/common/ParameterFileText.h"
#include "tools/host/WineProbe.h"

namespace {

std::string Format(const char* format, double a, double b = 0.0, double c = 0.0) {
  char text[256];
  std::snprintf(text, sizeof text, format, a, b, c);
  return text;
}

double ToDouble(const std::string& text) { return std::strtod(text.c_str(), nullptr); }
long ToLong(const std::string& text) { return std::strtol(text.c_str(), nullptr, 10); }

void Set(CheckResult& result, Verdict verdict, const std::string& evidence) {
  result.verdict = verdict;
  result.evidence = evidence;
}

// Where a faulting address lies relative to the guarded clock-times array.
std::string AddressNote(const ProbeRun& run, bool faulted, unsigned long long address) {
  const std::vector<std::string> array = ProbeReport::Split(run.lines.First("clock-array"));
  if (!faulted || array.size() < 2) return "";
  const unsigned long long begin = std::strtoull(array[0].c_str(), nullptr, 16);
  const unsigned long long end = std::strtoull(array[1].c_str(), nullptr, 16);
  if (address < end || address - end >= 65536) return "";
  return " = entry " + std::to_string((address - begin) / sizeof(double)) + " of the clock-times array of " +
         std::to_string((end - begin) / sizeof(double)) + " entries (written past its end)";
}

// Printable text, blanks and line breaks; bytes from 0x80 up (UTF-8) pass.
bool Readable(const std::string& text, std::string& why) {
  for (unsigned char c : text) {
    if (c < 0x20 && c != '\n' && c != '\r' && c != '\t') {
      why = Format("a control character 0x%02x", c);
      return false;
    }
  }
  if (text.size() > 65536) {
    why = std::to_string(text.size()) + " bytes";
    return false;
  }
  return true;
}

std::string BaseName(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

std::string Quoted(const std::string& text) {
  const std::string shown = ProbeReport::Escape(text, 120);
  return "'" + shown + "'";
}

}  // namespace

namespace {

const char* ExceptionName(unsigned long code) {
  const std::pair<unsigned long, const char*> names[] = {{0xc0000005, "access violation"},
                                                         {0xc00000fd, "stack overflow"},
                                                         {0xc0000094, "integer division by zero"},
                                                         {0xc0000095, "integer overflow"},
                                                         {0xc000001d, "illegal instruction"},
                                                         {0xc0000096, "privileged instruction"},
                                                         {0xc000008e, "floating-point division by zero"},
                                                         {0xc0000409, "stack buffer overrun"},
                                                         {0xc0000374, "heap corruption"},
                                                         {0x80000003, "breakpoint"},
                                                         {0xc0000006, "in-page error"},
                                                         {0xe06d7363, "a Visual C++ exception left the model"},
                                                         {0x20474343, "a C++ exception left the model"}};
  for (const auto& n : names)
    if (n.first == code) return n.second;
  return "an exception";
}

// The end of a probe under Wine (after the limits): an exception no one
// handled, an abort, a report that is none of ours, an end inside the
// model. False when none of these.
bool WindowsEnd(const ProbeRun& run, const std::string& during, CheckResult& result) {
  const WineProbe::Ending ending = WineProbe::Ended(run.outcome.bytes);
  const std::vector<std::string> f = ProbeReport::Split(run.lines.First("exception"));
  if (!ending.started) {
    Set(result, Verdict::Fail, "the check could not run: " + ending.error);
  } else if (f.size() >= 4) {
    const unsigned long code = std::strtoul(f[0].c_str(), nullptr, 16);
    const unsigned long long touched = std::strtoull(f[3].c_str(), nullptr, 16);
    std::string what = "the model crashed: it raised exception 0x" + f[0] + " (" + ExceptionName(code) + ")";
    if (!f[2].empty()) what += " " + f[2] + " address 0x" + f[3] + AddressNote(run, true, touched);
    Set(result, Verdict::Fail, what + " at instruction 0x" + f[1] + during);
  } else if (run.lines.values.count("abort")) {
    Set(result, Verdict::Fail,
        "the model crashed: it called abort() (an exception left the model, or an assertion)" + during);
  } else if (run.lines.First("probe").rfind("tessalune-probe ", 0) != 0) {
    Set(result, Verdict::Fail,
        "the probe program wrote no report of tessalune-probe (is --probe tessalune-probe.exe of this version?); " +
            std::string(ending.signal ? "Wine was killed by signal " + std::to_string(ending.signal)
                                      : "Wine exited with status " + std::to_string(ending.exitStatus)) +
            (run.output.empty() ? "" : ", printing " + Quoted(run.output)));
  } else if (!run.lines.done && ending.signal) {
    Set(result, Verdict::Fail,
        "the probe's process (Wine) was killed by signal " + std::to_string(ending.signal) + " (" +
            strsignal(ending.signal) + ")" + during);
  } else if (!run.lines.done) {
    Set(result, Verdict::Fail,
        "the process ended inside the model, which called exit(" + std::to_string(ending.exitStatus) + ")" + during +
            " (a model that calls exit() ends the simulator with it)");
  } else {
    return false;
  }
  return true;
}

}  // namespace

bool QualifyJudges::Death(const ProbeRun& run, CheckResult& result) {
  using End = IsolatedOutcome::End;
  const IsolatedOutcome& outcome = run.outcome;
  const std::string during = run.lines.lastStart.empty() ? "" : " during " + run.lines.lastStart;
  const std::string how = outcome.How(run.limits);
  if (outcome.end == End::kNotStarted) {
    Set(result, Verdict::Fail, "the check could not run: " + outcome.bytes);
  } else if (outcome.end == End::kTimeLimit || outcome.end == End::kCallTimeLimit) {
    Set(result, Verdict::Fail, "the model " + how + during + " (a hang; --timeout sets the limit)");
  } else if (!run.reportError.empty()) {
    Set(result, Verdict::Fail, "the probe's report could not be used: " + run.reportError);
  } else if (run.windows && outcome.end == End::kReturned) {
    if (WindowsEnd(run, during, result)) return true;
    if (run.lines.First("error").empty()) return false;
    Set(result, Verdict::Fail, run.lines.First("error"));
  } else if (outcome.end == End::kSignal) {
    std::string what = "the model crashed: it " + how + AddressNote(run, outcome.faulted, outcome.faultAddress);
    if (outcome.signal == SIGABRT) what += " (an abort: an exception left the model, or an assertion)";
    Set(result, Verdict::Fail, what + during);
  } else if (outcome.end == End::kExited || !run.lines.done) {
    Set(result, Verdict::Fail,
        "the process ended inside the model, which " + how + during +
            " (a model that calls exit() ends the simulator with it)");
  } else if (!run.lines.First("error").empty()) {
    Set(result, Verdict::Fail, run.lines.First("error"));
  } else {
    return false;
  }
  return true;
}

void QualifyJudges::IbsExecutable(const QualifySettings& settings, const ProbeRun&, CheckResult& result) {
  // An .ibs file of a large component runs to tens of megabytes.
  constexpr size_t kIbsMax = size_t{256} << 20;
  std::string text;
  const ParameterFileRead read = ReadParameterFile(settings.ibsPath, text, kIbsMax);
  if (read != ParameterFileRead::kOk)
    return Set(result, Verdict::Fail, ParameterFileError(read, settings.ibsPath, kIbsMax));
  const std::string library = BaseName(settings.library);
  const std::string ami = BaseName(settings.amiPath);
  std::istringstream lines(text);
  std::string line;
  std::string named;
  while (std::getline(lines, line)) {
    std::istringstream words(line);
    std::string keyword, platform, file, parameters;
    if (!(words >> keyword >> platform >> file >> parameters) || !EqualsIgnoringCase(keyword, "Executable")) continue;
    if (file == library && parameters == ami)
      return Set(result, Verdict::Pass, "Executable " + platform + " " + file + " " + parameters);
    named += (named.empty() ? "" : "; ") + file + " " + parameters;
  }
  Set(result, Verdict::Fail,
      "no Executable line of " + BaseName(settings.ibsPath) + " names " + library + " with " + ami +
          (named.empty() ? " (it has none)" : " (it names " + named + ")"));
}

void QualifyJudges::Exports(const QualifySettings& settings, const ProbeRun& run, CheckResult& result) {
  const ProbeReport::Lines& lines = run.lines;
  if (!lines.First("load-error").empty()) {
    return Set(result, Verdict::Fail,
               "the library does not load with every symbol bound: " + lines.First("load-error"));
  }
  const std::vector<std::string> others = lines.All("needs-other");
  if (!others.empty()) {
    std::string names;
    for (const std::string& name : others) names += (names.empty() ? "" : ", ") + name;
    return Set(result, Verdict::Fail, "needs " + names + ", not on a plain system (link it in statically)");
  }
  std::string exported;
  bool getWave = false;
  for (const std::string& line : lines.All("export")) {
    const std::vector<std::string> f = ProbeReport::Split(line);
    if (f.size() < 2) continue;
    if (f[1] == "1") exported += (exported.empty() ? "" : ", ") + f[0];
    if (f[0] == "AMI_GetWave") getWave = f[1] == "1";
    if (f[1] != "1" && f[0] != "AMI_GetWave") return Set(result, Verdict::Fail, f[0] + " is not exported");
  }
  const AmiReservedParameters& reserved = settings.ami.Reserved();
  if (reserved.getWaveGiven && reserved.getWaveExists != getWave) {
    return Set(result, Verdict::Fail,
               std::string("the .ami says GetWave_Exists ") + (reserved.getWaveExists ? "True" : "False") +
                   " but AMI_GetWave is " + (getWave ? "" : "not ") + "exported");
  }
  std::string needs;
  for (const std::string& name : lines.All("needs")) needs += (needs.empty() ? "" : ", ") + name;
  const std::string needError = lines.First("needs-error");
  // A DLL's export table (read under Wine): the three entry points alone.
  std::string extra;
  for (const std::string& name : lines.All("exported"))
    if (name != "AMI_Init" && name != "AMI_GetWave" && name != "AMI_Close") extra += (extra.empty() ? "" : ", ") + name;
  Set(result, needError.empty() && extra.empty() ? Verdict::Pass : Verdict::Warn,
      "exports " + exported + "; " + (needError.empty() ? "needs " + (needs.empty() ? "nothing" : needs) : needError) +
          (extra.empty() ? ""
                         : "; its export table also names " + ProbeReport::Escape(extra, 400) +
                               " (a model's DLL exports its entry points alone)"));
}

void QualifyJudges::InitSweep(const QualifySettings&, const ProbeRun& run, CheckResult& result) {
  const std::vector<std::string> lines = run.lines.All("init");
  std::string refused;
  long refusals = 0;
  for (const std::string& line : lines) {
    const std::vector<std::string> f = ProbeReport::Split(line);
    if (f.size() < 6) continue;
    const std::string& label = f[0];
    const bool success = f[1] == "1";
    std::string why;
    if (success && f[2] != "1")
      return Set(result, Verdict::Fail, "AMI_Init at " + label + " returned success with a NULL memory handle");
    if (ToLong(f[3]) > 0)
      return Set(result, Verdict::Fail,
                 "AMI_Init at " + label + " returned an impulse response with " + f[3] +
                     " values that are no finite numbers (first " + f[4] + ")");
    if (!Readable(f[5], why))
      return Set(result, Verdict::Fail, "AMI_Init at " + label + " gave a message that is not readable text: " + why);
    if (success) continue;
    if (f[5].empty())
      return Set(result, Verdict::Warn, "AMI_Init at " + label + " failed without a message: the user cannot tell why");
    if (refusals++ < 2) refused += "; refuses " + label + ": " + Quoted(f[5]);
  }
  Set(result, Verdict::Pass,
      std::to_string(lines.size()) + " settings, each returned" +
          (refusals > 0 ? ", " + std::to_string(refusals) + " refused with a message" + refused
                        : ", every one accepted"));
}

namespace {

// The leaves of an output parameter string under its root, as dotted
// paths; false with the reason when the text does not parse.
bool OutputLeaves(const std::string& text, std::string& root, std::set<std::string>& leaves, std::string& why) {
  AMITREE* tree = nullptr;
  const int32_t code = AMITREE_Parse(text.c_str(), &tree);
  if (code == AMITREE_NAME_ONLY) {
    // "(name)": a root with no parameters in it.
    const size_t open = text.find('(');
    const size_t close = text.find(')');
    root = text.substr(open + 1, close - open - 1);
    while (!root.empty() && std::isspace(static_cast<unsigned char>(root.back()))) root.pop_back();
    while (!root.empty() && std::isspace(static_cast<unsigned char>(root.front()))) root.erase(0, 1);
    return true;
  }
  if (code != AMITREE_OK) {
    why = "it does not parse as an AMI parameter tree (parser result " + std::to_string(code) + ")";
    return false;
  }
  const AMIBRANCH* top = static_cast<const AMIBRANCH*>(tree->nodes[0].body);
  root = top && top->name ? top->name : "";
  AMITREE_Walk(top, std::string(),
               [&](const AMINODE& child, int32_t, const AMIBRANCH*, const std::string& prefix, std::string& childPath) {
                 if (!child.body) return AmiWalkStep::kNext;
                 if (child.kind == AMINODE_LEAF) {
                   const AMILEAF* leaf = static_cast<const AMILEAF*>(child.body);
                   leaves.insert(prefix + (leaf->name ? leaf->name : ""));
                   return AmiWalkStep::kNext;
                 }
                 const AMIBRANCH* branch = static_cast<const AMIBRANCH*>(child.body);
                 childPath = prefix + (branch->name ? branch->name : "") + ".";
                 return AmiWalkStep::kEnter;
               });
  AMITREE_Free(&tree);
  return true;
}

// One output string against the .ami: "" when it fits, else the fault.
std::string OutputFault(const QualifySettings& settings, const std::string& where, const std::string& text,
                        std::set<std::string>& seen) {
  std::string root;
  std::set<std::string> leaves;
  std::string why;
  if (!OutputLeaves(text, root, leaves, why))
    return "the output parameters of " + where + " " + Quoted(text) + ": " + why;
  if (root != settings.ami.RootName())
    return "the output parameters of " + where + " stand under '" + root + "', not the model's name '" +
           settings.ami.RootName() + "'";
  for (const std::string& name : leaves) {
    const AmiParameterDefinition* def = settings.ami.Find(name);
    if (!def || (def->usage != "Out" && def->usage != "InOut"))
      return "the output parameters of " + where + " name '" + name +
             "', which is no Out or InOut parameter of the .ami";
    seen.insert(name);
  }
  return "";
}

}  // namespace

void QualifyJudges::OutputParameters(const QualifySettings& settings, const ProbeRun& run, CheckResult& result) {
  std::set<std::string> seen;
  std::string given;
  for (const char* key : {"out-init", "out-getwave"}) {
    if (run.lines.values.count(key) == 0) continue;
    const std::string where = std::string(key) == "out-init" ? "AMI_Init" : "AMI_GetWave";
    const std::string text = ProbeReport::Unescape(run.lines.First(key));
    const std::string fault = OutputFault(settings, where, text, seen);
    if (!fault.empty()) return Set(result, Verdict::Fail, fault);
    given += (given.empty() ? "" : " and ") + where;
  }
  std::string missing;
  for (const AmiParameterDefinition& def : settings.ami.Parameters()) {
    if (def.usage == "Out" && seen.count(def.path) == 0) missing += (missing.empty() ? "" : ", ") + def.path;
  }
  if (given.empty()) {
    return Set(result, missing.empty() ? Verdict::Pass : Verdict::Warn,
               missing.empty() ? "no output parameters, and the .ami declares none"
                               : "the .ami declares Out parameters (" + missing + ") but no call returns them");
  }
  // A model returns the Out parameters that apply at its setting (a DFE of
  // four taps, its four taps).
  Set(result, Verdict::Pass,
      "the output parameters of " + given + " parse; " + std::to_string(seen.size()) +
          (seen.size() == 1 ? " name, an" : " names, each an") + " Out or InOut parameter of the .ami" +
          (missing.empty() ? "" : " (not returned at the defaults: " + missing + ")"));
}

namespace {

constexpr double kSamplesPerBit = 32.0;

double SampleInterval(const QualifySettings& settings) { return settings.bitTime / kSamplesPerBit; }

QualifyCurve Curve(const std::string& name, const ProbeRun& run, const std::string& key, size_t& stride) {
  return QualifyCurve{name, ProbeReport::Numbers(run.lines.First(key), &stride)};
}

// "differs at sample 812 by 0.0123 V".
std::string DiffersAt(long first, double worst) {
  return "differs from sample " + std::to_string(first) + " on, by up to " + Format("%.3g", worst);
}

}  // namespace

void QualifyJudges::BlockSizes(const QualifySettings& settings, const ProbeRun& run, CheckResult& result) {
  size_t stride = 1;
  QualifyFigure figure{"AMI_GetWave output, the whole wave in one call",
                       "time (ns)",
                       "output",
                       0.0,
                       {Curve("output", run, "figure-output", stride)}};
  figure.xStep = static_cast<double>(stride) * SampleInterval(settings) * 1e9;
  result.figures.push_back(figure);
  double peak = 0.0;
  for (double v : figure.curves[0].values) peak = std::max(peak, std::fabs(v));
  std::string sizes;
  bool exact = true;
  for (const std::string& line : run.lines.All("block")) {
    const std::vector<std::string> f = ProbeReport::Split(line);
    if (f.size() < 3) continue;
    const double worst = ToDouble(f[1]);
    if (ToLong(f[2]) >= 0 && !(worst <= 1e-9 * peak))
      return Set(result, Verdict::Fail,
                 "in blocks of " + f[0] + (f[0] == "1" ? " sample" : " samples") + " the output " +
                     DiffersAt(ToLong(f[2]), worst) + " from the output of one call over the whole wave");
    sizes += (sizes.empty() ? "" : ", ") + f[0];
    exact = exact && ToLong(f[2]) < 0;
  }
  Set(result, Verdict::Pass,
      "blocks of " + sizes + " samples give the output of one call over the whole wave" +
          (exact ? ", bit for bit" : ", within 1e-9 of its peak"));
}

void QualifyJudges::Finite(const QualifySettings&, const ProbeRun& run, CheckResult& result) {
  const std::vector<std::string> f = ProbeReport::Split(run.lines.First("finite"));
  if (f.size() < 4) return Set(result, Verdict::Fail, "the probe gave no result");
  if (ToLong(f[1]) > 0)
    return Set(result, Verdict::Fail,
               f[1] + " of " + f[0] + " output samples are no finite numbers below 1e12 (first: sample " + f[2] + ", " +
                   f[3] + ")");
  Set(result, Verdict::Pass, "all " + f[0] + " output samples finite");
}

void QualifyJudges::ClockTimes(const QualifySettings&, const ProbeRun& run, CheckResult& result) {
  const std::vector<std::string> f = ProbeReport::Split(run.lines.First("clocks"));
  if (f.size() < 6) return Set(result, Verdict::Fail, "the probe gave no result");
  const long count = ToLong(f[0]);
  const double bits = ToDouble(f[1]);
  const double mean = ToDouble(f[3]);
  const double bitTime = ToDouble(f[4]);
  if (count == 0 && ToLong(f[5]) == 0)
    return Set(result, Verdict::Pass, "no clock times returned (-1 first in every call), within the array");
  if (ToLong(f[5]) > 0)
    return Set(result, Verdict::Fail, f[5] + " calls left the clock-times list without its -1 end marker");
  if (ToLong(f[2]) > 0)
    return Set(result, Verdict::Fail, f[2] + " of " + f[0] + " clock times are not later than the one before");
  if (std::fabs(static_cast<double>(count) - bits) > 0.02 * bits + 2)
    return Set(result, Verdict::Fail, f[0] + " clock times over " + Format("%.0f", bits) + " bits: not one per bit");
  if (std::fabs(mean / bitTime - 1.0) > 0.01)
    return Set(result, Verdict::Fail,
               "clock times " + Format("%.4g UI", mean / bitTime) + " apart on average, not 1 UI");
  Set(result, Verdict::Pass,
      f[0] + " clock times over " + Format("%.0f bits, increasing, %.5f UI apart on average", bits, mean / bitTime) +
          ", none past the array of wave_size + 1 entries");
}

void QualifyJudges::Interleaved(const QualifySettings&, const ProbeRun& run, CheckResult& result) {
  const std::vector<std::string> f = ProbeReport::Split(run.lines.First("interleave"));
  if (f.size() < 5) return Set(result, Verdict::Fail, "the probe gave no result");
  if (ToLong(f[1]) >= 0)
    return Set(result, Verdict::Fail,
               "instance A (the defaults) used in turn with instance B (" + f[4] + ") " +
                   DiffersAt(ToLong(f[1]), ToDouble(f[0])) + " from A alone: state shared between instances");
  if (ToLong(f[3]) >= 0)
    return Set(result, Verdict::Fail,
               "instance B (" + f[4] + ") used in turn with instance A (the defaults) " +
                   DiffersAt(ToLong(f[3]), ToDouble(f[2])) + " from B alone: state shared between instances");
  Set(result, Verdict::Pass,
      "instances A (the defaults) and B (" + f[4] +
          "), used in turn block by block, give what each gives alone, bit for bit");
}

void QualifyJudges::Threads(const QualifySettings&, const ProbeRun& run, CheckResult& result) {
  const std::vector<std::string> f = ProbeReport::Split(run.lines.First("threads"));
  if (f.size() < 4) return Set(result, Verdict::Fail, "the probe gave no result");
  if (ToLong(f[2]) >= 0)
    return Set(result, Verdict::Fail,
               "with " + f[0] + " instances on " + f[0] + " threads, thread " + f[3] + "'s output " +
                   DiffersAt(ToLong(f[2]), ToDouble(f[1])) + " from one instance alone");
  Set(result, Verdict::Pass,
      f[0] + " instances on " + f[0] + " threads at once give one instance's output, bit for bit");
}

void QualifyJudges::Reinit(const QualifySettings&, const ProbeRun& run, CheckResult& result) {
  const std::vector<std::string> f = ProbeReport::Split(run.lines.First("reinit"));
  if (f.size() < 3) return Set(result, Verdict::Fail, "the probe gave no result");
  if (f[2] != "1") return Set(result, Verdict::Fail, "AMI_Init at the defaults failed");
  if (ToLong(f[1]) >= 0)
    return Set(result, Verdict::Fail,
               "after AMI_Close, a new instance's output " + DiffersAt(ToLong(f[1]), ToDouble(f[0])) +
                   " from the first instance's: something outlives AMI_Close");
  Set(result, Verdict::Pass, "a new instance after AMI_Close gives the first one's output, bit for bit");
}

void QualifyJudges::Cycles(const QualifySettings&, const ProbeRun& run, CheckResult& result) {
  const std::vector<std::string> f = ProbeReport::Split(run.lines.First("cycles"));
  if (f.size() < 5) return Set(result, Verdict::Fail, "the probe gave no result");
  const double cycles = ToDouble(f[0]);
  const double before = ToDouble(f[1]);
  const double after = ToDouble(f[2]);
  const double growth = after - before;
  const std::string evidence =
      f[4] + Format(" %.1f MB before and %.1f MB after %.0f cycles", before / 1e6, after / 1e6, cycles) +
      Format(" (%+.1f kB per cycle)", growth / cycles / 1e3);
  if (ToLong(f[3]) > 0) return Set(result, Verdict::Fail, f[3] + " of the AMI_Init calls failed; " + evidence);
  if (growth > 8e6) return Set(result, Verdict::Fail, evidence + ": AMI_Close does not free what AMI_Init took");
  if (growth > 1e6) return Set(result, Verdict::Warn, evidence);
  Set(result, Verdict::Pass, evidence);
}

void QualifyJudges::Consistency(const QualifySettings& settings, const ProbeRun& run, CheckResult& result) {
  const std::vector<std::string> f = ProbeReport::Split(run.lines.First("consistency"));
  if (f.size() < 3) return Set(result, Verdict::Fail, "the probe gave no result");
  size_t stride = 1;
  QualifyFigure steps{"Step response: from AMI_Init's impulse response and through AMI_GetWave",
                      "time (ns)",
                      "step",
                      0.0,
                      {Curve("AMI_Init", run, "step-init", stride), Curve("AMI_GetWave", run, "step-getwave", stride)}};
  steps.xStep = static_cast<double>(stride) * SampleInterval(settings) * 1e9;
  QualifyFigure difference{"Difference, AMI_GetWave minus AMI_Init",
                           "time (ns)",
                           "difference",
                           steps.xStep,
                           {Curve("difference", run, "step-difference", stride)}};
  result.figures = {steps, difference};
  const double worst = ToDouble(f[0]);
  const double peak = ToDouble(f[1]);
  const double dB = worst > 0 && peak > 0 ? 20.0 * std::log10(worst / peak) : -400.0;
  const std::string how = settings.linear.empty() ? "at the defaults (no --linear given)" : "at the --linear setting";
  if (!std::isfinite(worst)) return Set(result, Verdict::Fail, "AMI_GetWave gave no step response to compare " + how);
  if (worst == 0)
    return Set(result, Verdict::Pass, Format("the step responses agree bit for bit (peak %.3g) ", peak) + how);
  const std::string evidence =
      Format("the step responses differ by at most %.3g (%.1f dB of the peak %.3g) ", worst, dB, peak) + how;
  Set(result, dB <= -40.0 ? Verdict::Pass : Verdict::Fail,
      dB <= -40.0 ? evidence : evidence + "; from sample " + f[2] + " on");
}

void QualifyJudges::Speed(const QualifySettings&, const ProbeRun& run, CheckResult& result) {
  const std::vector<std::string> f = ProbeReport::Split(run.lines.First("speed"));
  if (f.size() < 2) return Set(result, Verdict::Fail, "the probe gave no result");
  const double rate = ToDouble(f[0]);
  Set(result, Verdict::Pass,
      (rate > 0 ? Format("AMI_GetWave %.3g samples/s (blocks of 1024); ", rate) : std::string()) +
          Format("AMI_Init %.3g ms (median of 5)", ToDouble(f[1]) * 1e3));
}

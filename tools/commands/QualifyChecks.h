// The battery of `tessalune qualify`: what each check runs (one probe in a
// child process, tools/host/QualifyProbes) and how its report is judged.
// The results are plain data; QualifyReport prints them as text, JSON or an
// HTML page.
#pragma once

#include <string>
#include <vector>

#include "tools/host/AmiFileParams.h"
#include "tools/host/ProbeReport.h"
#include "tools/host/ProbeRequest.h"
#include "tools/host/WineProbe.h"
#include "tools/plots/LinePlot.h"

enum class Verdict { Pass, Warn, Fail, Skip };

const char* VerdictWord(Verdict verdict);

// A picture of a check: curves over a common axis.
using QualifyCurve = LineCurve;
using QualifyFigure = LinePlotData;

struct CheckResult {
  std::string id;       // "getwave.block-sizes"
  std::string expects;  // what the standard or practice expects
  Verdict verdict = Verdict::Pass;
  std::string evidence;  // the numbers, the call, the setting
  double seconds = 0.0;
  std::vector<QualifyFigure> figures;
};

// What `qualify` was asked: the library, its .ami (read), the options.
struct QualifySettings {
  std::string library;
  std::string amiPath;
  std::string ibsPath;  // optional: the .ibs that names the library
  AmiFileParams ami;
  std::vector<std::string> params;  // NAME=VALUE for every run
  std::vector<std::string> linear;  // NAME=VALUE that make the model linear (consistency)
  double bitTime = 1e-10;
  double timeout = 10.0;  // seconds per check
  long memoryMiB = 2048;
  int threads = 4;
  long cycles = 1000;
  bool windows = false;  // the library is a Windows DLL: its probes run in `wine` (tools/host/WineProbe)
  WineProgram wine;
};

// A check as the battery lists it (for --list-checks and the docs).
struct CheckDescription {
  const char* id;
  const char* expects;
};
const std::vector<CheckDescription>& QualifyCheckList();

// Runs every check in order; `progress` (may be null) hears each result as
// it comes.
std::vector<CheckResult> RunQualifyBattery(const QualifySettings& settings,
                                           void (*progress)(const CheckResult&) = nullptr);

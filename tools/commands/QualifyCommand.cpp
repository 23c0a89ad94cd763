#include "tools/commands/QualifyCommand.h"

#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "tools/commands/FiniteRange.h"
#include "tools/commands/QualifyChecks.h"
#include "tools/commands/QualifyReport.h"
#include "tools/common/AtomicFile.h"
#include "tools/host/WineProbe.h"
#include "tools/plots/EyePlot.h"

namespace {

struct QualifyOptions {
  QualifySettings settings;
  std::string report;
  bool json = false;
  bool listChecks = false;
};

int ListChecks() {
  std::printf("| check | what the standard or practice expects |\n|---|---|\n");
  for (const CheckDescription& check : QualifyCheckList()) std::printf("| `%s` | %s |\n", check.id, check.expects);
  return 0;
}

// A Windows DLL: its probes run in tessalune-probe.exe under Wine, both of
// which must be there.
bool PrepareWindows(QualifySettings& s, std::string& error) {
  s.windows = WineProbe::IsWindowsLibrary(s.library);
  if (!s.windows) return true;
  const std::string lead =
      s.library + " is a Windows DLL, whose checks run in " + WineProbe::kProbeName + " under Wine: ";
  if (s.wine.probe.empty()) s.wine.probe = WineProbe::DefaultProbe();
  if (s.wine.probe.empty()) {
    error = lead + "there is no " + WineProbe::kProbeName +
            " beside tessalune; give it with --probe FILE (the windows preset builds "
            "build/windows/tools/probe/" +
            WineProbe::kProbeName + ")";
    return false;
  }
  struct stat info {};
  if (stat(s.wine.probe.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || !WineProbe::IsWindowsLibrary(s.wine.probe)) {
    error = lead + "the probe " + s.wine.probe + " is no Windows program";
    return false;
  }
  if (s.wine.wine.empty()) s.wine.wine = WineProbe::FindWine();
  if (s.wine.wine.empty()) {
    error = lead + "Wine is not installed (Debian: wine64); give its loader with --wine PROGRAM";
    return false;
  }
  return true;
}

// The inputs checked before any child starts: the library is a regular
// file, the .ami reads, the parameter settings fit it.
bool Prepare(QualifyOptions& o, std::string& error) {
  struct stat info {};
  if (stat(o.settings.library.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
    error = "the model library " + o.settings.library + " is not a readable file";
    return false;
  }
  if (!o.settings.ami.Load(o.settings.amiPath, error)) return false;
  if (!PrepareWindows(o.settings, error)) return false;
  std::string text;
  if (!o.settings.ami.BuildParameterString(o.settings.params, text, error)) return false;
  std::vector<std::string> linear = o.settings.params;
  linear.insert(linear.end(), o.settings.linear.begin(), o.settings.linear.end());
  if (!o.settings.ami.BuildParameterString(linear, text, error)) {
    error = "--linear: " + error;
    return false;
  }
  return true;
}

void PrintLine(const CheckResult& result) {
  std::printf("%s\n", QualifyReport::Line(result).c_str());
  std::fflush(stdout);
}

int RunQualify(QualifyOptions& o) {
  if (o.listChecks) return ListChecks();
  std::string error;
  AtomicFile page(o.report);
  if (!Prepare(o, error) || (!o.report.empty() && !page.Open(error))) {
    std::fprintf(stderr, "tessalune qualify: %s\n", error.c_str());
    return 2;
  }
  QualifyRun run{o.settings.library, o.settings.amiPath, 0.0, {}};
  if (!o.json) {
    std::printf("Qualifying %s with %s%s\n", o.settings.library.c_str(), o.settings.amiPath.c_str(),
                o.settings.windows ? " (a Windows DLL: each check in tessalune-probe.exe under Wine)" : "");
  }
  const auto start = std::chrono::steady_clock::now();
  run.results = RunQualifyBattery(o.settings, o.json ? nullptr : PrintLine);
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (o.json) {
    std::printf("%s", QualifyReport::Json(run).c_str());
  } else {
    std::printf("%s\n", QualifyReport::Summary(run).c_str());
  }
  if (!o.report.empty()) {
    const std::string html = QualifyReport::Html(run);
    EyePlot::ReleaseFontCaches();  // the pictures are drawn: a clean exit for leak checkers
    if (!page.Write(html.data(), html.size(), error) || !page.Commit(error)) {
      std::fprintf(stderr, "tessalune qualify: %s\n", error.c_str());
      return 2;
    }
  }
  return QualifyReport::AnyFailed(run) ? 1 : 0;
}

}  // namespace

void AddQualifyCommand(CLI::App& app, std::function<int()>& action) {
  auto o = std::make_shared<QualifyOptions>();
  QualifySettings& s = o->settings;
  CLI::App* cmd = app.add_subcommand("qualify", "Test an IBIS-AMI model library the way simulators use it");
  cmd->add_option("library", s.library,
                  "The model library (.so; or a Windows .dll, whose checks run in tessalune-probe.exe under Wine)");
  cmd->add_option("--ami", s.amiPath, "The model's .ami parameter file")->check(CLI::ExistingFile);
  cmd->add_option("--ibs", s.ibsPath, "The model's .ibs file: its Executable lines must name the library and the .ami")
      ->check(CLI::ExistingFile);
  cmd->add_option("--param", s.params, "NAME=VALUE: a Model_Specific parameter's value in every run (repeatable)");
  cmd->add_option("--linear", s.linear,
                  "NAME=VALUE that makes the model linear, for the consistency check (repeatable; without it the "
                  "defaults are taken as linear)");
  cmd->add_flag("--json", o->json, "Print one JSON document instead of the lines");
  cmd->add_option("--report", o->report, "Write a self-contained HTML page with the figures to FILE");
  cmd->add_option("--timeout", s.timeout, "Seconds each check may take (default 10)")->check(FiniteRange(0.1, 3600));
  cmd->add_option(
         "--memory", s.memoryMiB,
         "Address space of each check's process (for a DLL under Wine: the data it writes), in MiB (default 2048)")
      ->check(CLI::Range(64L, 1L << 20));
  cmd->add_option("--threads", s.threads, "Instances on threads at once in instances.threads (default 4)")
      ->check(CLI::Range(2, 64));
  cmd->add_option("--cycles", s.cycles, "AMI_Init/AMI_Close cycles of instances.init-close-cycles (default 1000)")
      ->check(CLI::Range(10L, 1000000L));
  cmd->add_option("--bit-time", s.bitTime, "Unit interval in seconds (default 1e-10)")->check(FiniteRange(1e-13, 1e-6));
  cmd->add_option("--probe", s.wine.probe,
                  "For a Windows DLL: the probe program tessalune-probe.exe (default: the one beside tessalune; the "
                  "windows preset builds it)");
  cmd->add_option("--wine", s.wine.wine, "For a Windows DLL: Wine's loader (default: wine64 or wine on the PATH)");
  cmd->add_flag("--list-checks", o->listChecks, "Print the table of the checks and exit");
  cmd->callback([&action, o, cmd] {
    action = [o, cmd] {
      if (!o->listChecks && (o->settings.library.empty() || o->settings.amiPath.empty())) {
        std::fprintf(stderr, "tessalune qualify: give the library and --ami FILE\n%s", cmd->help().c_str());
        return 2;
      }
      return RunQualify(*o);
    };
  });
}

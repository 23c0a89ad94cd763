#include "tools/commands/CheckCommand.h"

#include <cstdio>
#include <memory>
#include <vector>

#include "IbisParser/IbisCheck.h"
#include "IbisParser/Parse.h"
#include "IbisParser/ami/AlgMod.h"
#include "IbisParser/rules/CheckRules.h"
#include "IbisParser/rules/MsgSummary.h"
#include "IbisParser/rules/RuleBook.h"
#include "tools/commands/CheckReport.h"

namespace {

struct CheckOptions {
  std::vector<std::string> files;
  bool quiet = false;
  bool json = false;
  bool listChecks = false;
};

// Checks one file; returns 1 when it was read to its end.
int CheckOne(const std::string& file, int mode) {
  // An .ami file on its own is read, parsed and its tree checked.
  if (mode == PARSE_MODE_AMI) return ALGMOD_CheckAmiFile(file.c_str());
  return PARSE_CheckFile(file.c_str(), mode);
}

int RunCheck(const CheckOptions& options) {
  if (options.listChecks) {
    std::fputs(RULES_Page().c_str(), stdout);
    return 0;
  }
  if (options.files.empty()) {
    std::fprintf(stderr, "check: no file given\n");
    return 2;
  }
  std::vector<int> modes;
  for (const std::string& file : options.files) {
    int mode = CheckModeOf(file);
    if (mode == 0) {
      std::fprintf(stderr, "check: %s: not a file the checker reads (.ibs, .pkg, .ebd, .ami)\n", file.c_str());
      return 2;
    }
    modes.push_back(mode);
  }
  if (options.json) {
    gbParseQuiet = 1;
    nlohmann::json document;
    {
      CheckReport report;
      for (size_t i = 0; i < options.files.size(); ++i) {
        report.BeginFile(options.files[i], modes[i]);
        report.EndFile(CheckOne(options.files[i], modes[i]) == 1);
      }
      document = report.Document();
    }
    gbParseQuiet = 0;
    std::printf("%s\n", document.dump(2).c_str());
    std::fflush(stdout);
    return document["passed"].get<bool>() ? 0 : 1;
  }
  gbParseQuiet = options.quiet ? 1 : 0;
  for (size_t i = 0; i < options.files.size(); ++i) CheckOne(options.files[i], modes[i]);
  MSG_Summary();
  std::fflush(stdout);
  return MSG_Passed() ? 0 : 1;
}

}  // namespace

int CheckModeOf(const std::string& path) { return IBIS_FileKind(path.c_str()); }

void AddCheckCommand(CLI::App& app, std::function<int()>& action) {
  auto options = std::make_shared<CheckOptions>();
  CLI::App* cmd = app.add_subcommand("check", "Check IBIS files (.ibs, .pkg, .ebd) and AMI parameter files (.ami)");
  cmd->add_option("files", options->files, "Files to check");
  cmd->add_flag("-q,--quiet", options->quiet, "Do not print the \"Checking\" line of each file");
  cmd->add_flag("--json", options->json,
                "Print one JSON document: per file the description the checker built and every diagnostic");
  cmd->add_flag("--list-checks", options->listChecks,
                "Print the table of the component checks (the text of docs/CHECKS.md) and exit");
  cmd->callback([&action, options] { action = [options] { return RunCheck(*options); }; });
}

// The model checks on the real files of ../shared/ibis-corpus: no model
// error anywhere, and exactly the consistency warnings each file earns (the
// faults they name are in the files: [Ramp] figures that disagree with the
// waveforms, tables that collapse).
// Skipped when the folder is absent.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <string>

#include "tests/IbisParser/CheckerFiles.h"

namespace fs = std::filesystem;

namespace {

struct Counts {
  int errors = 0, warnings = 0;
};

void CountModelMessages(int level, int code, unsigned long, const char*, void* context) {
  if (code < 5100 || code >= 5400) return;
  Counts* counts = static_cast<Counts*>(context);
  if (level == MSG_LEVEL_ERROR || level == MSG_LEVEL_ERROR_LINE) ++counts->errors;
  if (level == MSG_LEVEL_WARNING || level == MSG_LEVEL_WARNING_LINE) ++counts->warnings;
}

using ModelCorpus = CheckerFiles;

}  // namespace

TEST_F(ModelCorpus, OnlyTheFaultsOfTheFilesAreReported) {
  const fs::path root = TESSALUNE_CORPUS_DIR;
  std::error_code ec;
  if (!fs::is_directory(root, ec)) GTEST_SKIP() << "no corpus at " << root;
  // Model warnings per file; every other file gets none, and no file an error.
  const std::map<std::string, int> warnings = {
      {"snu-quiqcl__RFSoC_FrontEnd__sn65mlvd040.ibs", 4},       // 5302: pull-down and pull-up tables collapse
      {"snu-quiqcl__RFSoC_FrontEnd__SN74LXC8T245-Q1.ibs", 20},  // 5301: [Ramp] off the waveforms by 30 % to 14x
  };
  int files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(root, ec)) {
    if (entry.path().extension() != ".ibs") continue;
    // Checked under its own [File Name], as the corpus says.
    const std::string text = ReadFile(entry.path().string());
    std::smatch name;
    std::regex fileName(R"(\[File\s*Name\]\s*(\S+))", std::regex::icase);
    const std::string as = std::regex_search(text, name, fileName) ? name[1].str() : "t.ibs";
    Counts counts;
    MSG_SetListener(CountModelMessages, &counts);
    Check(text, as);
    MSG_SetListener(nullptr, nullptr);
    const std::string file = entry.path().filename().string();
    auto expected = warnings.find(file);
    EXPECT_EQ(counts.errors, 0) << file;
    EXPECT_EQ(counts.warnings, expected == warnings.end() ? 0 : expected->second) << file;
    ++files;
  }
  EXPECT_GT(files, 10);
}

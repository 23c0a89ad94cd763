// Real IBIS and AMI files from several sources: every one is read to its end
// without a crash (run under the sanitizers, this also catches leaks and
// out-of-bounds access). Skipped when the folder is absent.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "IbisParser/Parse.h"
#include "IbisParser/ami/AlgMod.h"
#include "IbisParser/ami/ParseAmi.h"
#include "IbisParser/base/CmnWords.h"
#include "IbisParser/base/ParseContext.h"
#include "amiparam/Cmn.h"
#include "amiparam/Msg.h"
#include "tests/amiparam/MsgCapture.h"

namespace fs = std::filesystem;

namespace {

int ModeOf(const fs::path& path) {
  std::string ext = path.extension().string();
  if (CMN_EqualNoCase(ext.c_str(), ".ibs")) return PARSE_MODE_IBS;
  if (CMN_EqualNoCase(ext.c_str(), ".pkg")) return PARSE_MODE_PKG;
  if (CMN_EqualNoCase(ext.c_str(), ".ebd")) return PARSE_MODE_EBD;
  if (CMN_EqualNoCase(ext.c_str(), ".ami")) return PARSE_MODE_AMI;
  return 0;
}

}  // namespace

TEST(Corpus, EveryFileIsReadToItsEnd) {
  PARSE_CONTEXT ctx;
  fs::path root = TESSALUNE_CORPUS_DIR;
  std::error_code ec;
  if (!fs::is_directory(root, ec)) GTEST_SKIP() << "no corpus at " << root;
  std::vector<fs::path> files;
  for (const auto& entry : fs::recursive_directory_iterator(root, ec))
    if (entry.is_regular_file() && ModeOf(entry.path())) files.push_back(entry.path());
  ASSERT_FALSE(files.empty());

  gbParseQuiet = 1;
  int checked = 0;
  for (const fs::path& file : files) {
    int mode = ModeOf(file);
    std::string path = file.string();
    MsgCapture capture;
    int result = PARSE_CheckFile(path.c_str(), mode);
    if (mode == PARSE_MODE_AMI) {
      EXPECT_EQ(result, 1) << path;
      if (ctx.gpszAmiText) CMN_Free(&ctx.gpszAmiText);
    } else {
      // Every file of the corpus declares a version the checker knows (3.2 to 7.1): it is read whole.
      EXPECT_EQ(result, 1) << path << "\n" << capture.Text();
      if (result) {
        EXPECT_GT(gulLineNumber, 10u) << path;
      }
    }
    ++checked;
  }
  gbParseQuiet = 0;
  EXPECT_EQ(checked, static_cast<int>(files.size()));
}

// The IBIS-AMI packages of the corpus (sets/NAME: an .ibs file and the .ami
// files it names), each checked against its own version (5.1 and 7.1; their
// .ami files declare AMI_Version 5.1). The only faults left are real ones:
// the executables that the [Algorithmic Model] blocks name are not in the
// corpus, so each Executable line's code file is reported missing (IBIS 5.1
// §10: the files an Executable line names must be there). The .ami files on
// their own are clean.
TEST(Corpus, AmiPackagesPassAgainstTheirOwnVersions) {
  fs::path sets = fs::path(TESSALUNE_CORPUS_DIR) / "sets";
  std::error_code ec;
  if (!fs::is_directory(sets, ec)) GTEST_SKIP() << "no corpus at " << sets;
  gbParseQuiet = 1;
  int packages = 0;
  for (const auto& dir : fs::directory_iterator(sets, ec)) {
    for (const auto& entry : fs::directory_iterator(dir.path(), ec)) {
      const fs::path& file = entry.path();
      const int mode = ModeOf(file);
      if (mode == PARSE_MODE_AMI) {
        MsgCapture capture;
        EXPECT_EQ(ALGMOD_CheckAmiFile(file.string().c_str()), 1);
        EXPECT_EQ(capture.Text(), "") << file;
        continue;
      }
      if (mode != PARSE_MODE_IBS) continue;
      ++packages;
      MsgCapture capture;
      EXPECT_EQ(PARSE_CheckFile(file.string().c_str(), mode), 1) << file;
      const std::string out = capture.Text();
      int executables = 0, missing = 0, other = 0;
      std::ifstream in(file);
      for (std::string line; std::getline(in, line);) executables += line.rfind("Executable", 0) == 0 ? 1 : 0;
      std::istringstream lines(out);
      for (std::string line; std::getline(lines, line);) {
        if (line.rfind("ERROR - Code file ", 0) == 0 && line.find(" not found.") != std::string::npos)
          ++missing;
        else if (line.rfind("ERROR", 0) == 0 || line.rfind("WARNING", 0) == 0)
          ++other;
      }
      EXPECT_EQ(missing, executables) << file << "\n" << out;
      EXPECT_EQ(other, 0) << file << "\n" << out;
    }
  }
  gbParseQuiet = 0;
  EXPECT_EQ(packages, 6);
}

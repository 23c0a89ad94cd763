// Real .ami files from several sources go all the way through: read, parsed
// and checked, without a crash or leak (under the sanitizers). The .ibs files
// of the corpus reach their .ami files through their [Algorithmic Model]
// blocks in the corpus test of the file driver. Skipped without the folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "IbisParser/Parse.h"
#include "IbisParser/ami/AlgMod.h"
#include "IbisParser/ami/ParseAmi.h"
#include "IbisParser/base/CmnWords.h"
#include "IbisParser/base/ParseContext.h"
#include "amiparam/Msg.h"
#include "tests/amiparam/MsgCapture.h"

namespace fs = std::filesystem;

TEST(AlgModCorpus, EveryAmiFileIsReadParsedAndChecked) {
  PARSE_CONTEXT ctx;
  fs::path root = TESSALUNE_CORPUS_DIR;
  std::error_code ec;
  if (!fs::is_directory(root, ec)) GTEST_SKIP() << "no corpus at " << root;
  gbParseQuiet = 1;
  int checked = 0;
  for (const auto& entry : fs::recursive_directory_iterator(root, ec)) {
    if (!entry.is_regular_file() || !CMN_EqualNoCase(entry.path().extension().string().c_str(), ".ami")) continue;
    MsgCapture capture;
    EXPECT_EQ(ALGMOD_CheckAmiFile(entry.path().string().c_str()), 1) << entry.path();
    EXPECT_EQ(ctx.gpszAmiText, nullptr);
    std::string out = capture.Text();
    EXPECT_EQ(out.find("PROGRAM BUG"), std::string::npos) << entry.path() << "\n" << out;
    ++checked;
  }
  gbParseQuiet = 0;
  EXPECT_GT(checked, 0);
}

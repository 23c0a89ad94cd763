// The vendors' package model files of the corpus (two FPGA .pkg files with
// Banded and Sparse matrices) and the DDR memory file with two package
// models and the [Package Model] keywords that name them: each copied
// under its own [File Name] and checked, they give no finding of the package
// model, board, external or interconnect checks. Skipped
// when the corpus is absent.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/IbisParser/CheckerFiles.h"

namespace fs = std::filesystem;

namespace {

using PackageCorpus = CheckerFiles;

// The value of the file's [File Name] line, or its own name.
std::string DeclaredName(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("[File Name]", 0) != 0) continue;
    std::istringstream words(line.substr(11));
    std::string name;
    words >> name;
    return name;
  }
  return file.filename().string();
}

}  // namespace

TEST_F(PackageCorpus, VendorPackageModelsPass) {
  const fs::path root = TESSALUNE_CORPUS_DIR;
  std::error_code ec;
  if (!fs::is_directory(root / "vendor", ec)) GTEST_SKIP() << "no corpus at " << root;
  const fs::path files[] = {root / "vendor" / "alexist2623__PMOD2BNC__xa7s6_cpga196.pkg",
                            root / "vendor" / "alexist2623__PMOD2BNC__xc7s25_csga324.pkg",
                            root / "oversize" / "joshbrew__PunyPi__MT40A512M16LY.ibs"};
  for (const fs::path& file : files) {
    if (!fs::is_regular_file(file, ec)) continue;
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    const std::string name = DeclaredName(file);
    const int mode = file.extension() == ".pkg" ? PARSE_MODE_PKG : PARSE_MODE_IBS;
    int result = 0;
    if (mode == PARSE_MODE_PKG) {
      EXPECT_EQ(Check(text.str(), name, mode, &result), "") << file;
    } else {
      // The package model findings of the .ibs file (its models are checked by their own rules).
      RangeFindings findings(5400, 5700);
      Check(text.str(), name, mode, &result);
      EXPECT_EQ(findings.list, "") << file << "\n" << findings.texts;
    }
    EXPECT_EQ(result, 1) << file;
  }
}

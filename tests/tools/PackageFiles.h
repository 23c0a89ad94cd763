// Reading the model package's IBIS file and finding the Windows build, for
// the tests of the package.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/tools/CliRun.h"

// The words of every Executable line of an IBIS file, in file order:
// {"Executable", PLATFORM_COMPILER_BITS, LIBRARY, AMI_FILE}.
inline std::vector<std::vector<std::string>> ExecutableLines(const std::string& ibsPath) {
  std::vector<std::vector<std::string>> executables;
  std::ifstream ibs(ibsPath);
  for (std::string line; std::getline(ibs, line);) {
    std::istringstream words(line);
    std::vector<std::string> w;
    for (std::string word; words >> word;) w.push_back(word);
    if (!w.empty() && w[0] == "Executable") executables.push_back(w);
  }
  return executables;
}

// The Windows DLL of the cross build (preset windows), or empty when it is
// not built. CI sets TESSALUNE_REQUIRE_WINDOWS=1, which makes a missing DLL
// a failure instead of a reason to skip.
inline std::string WindowsDll() {
  const std::string dll = std::string(TESSALUNE_WINDOWS_BUILD_DIR) + "/ami/tessalune_tx.dll";
  if (std::ifstream(dll).good()) return dll;
  const char* required = std::getenv("TESSALUNE_REQUIRE_WINDOWS");
  EXPECT_FALSE(required != nullptr && std::string(required) == "1") << dll << " is missing";
  return std::string();
}

// The checker's verdict on a file that must pass without any finding.
inline void ExpectPassedClean(const CliResult& r) {
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_NE(r.output.find("Errors  : 0\n"), std::string::npos) << r.output;
  EXPECT_EQ(r.output.find("WARNING"), std::string::npos) << r.output;
  EXPECT_EQ(r.output.find("Warnings:"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("\nFile Passed\n"), std::string::npos) << r.output;
}

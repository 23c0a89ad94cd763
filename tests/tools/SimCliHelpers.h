// What the simulation host's command-line tests share: a .ami file for the
// stand-in model, the command line that runs it, and reading figures out of
// reports and files.
#pragma once

#include "tests/TestFolder.h"

#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include <unistd.h>

namespace {

const std::string kBin = TESSALUNE_BINARY_DIR;

// A .ami file for the stand-in model, one per test process (CTest runs the
// tests of this file in parallel processes), removed when the process ends.
struct FakeAmiFile {
  std::string path = kBin + "/fake_model_" + std::to_string(getpid()) + ".ami";
  FakeAmiFile() {
    std::ofstream(path) << "(fake\n  (Reserved_Parameters\n    (GetWave_Exists (Usage Info) (Type Boolean)"
                           " (Default True) (Description \"yes\")))\n  (Model_Specific\n"
                           "    (mode (Usage In) (Type Integer) (Format List 0 1 2) (Default 0)"
                           " (Description \"behaviour\"))))\n";
  }
  ~FakeAmiFile() { std::remove(path.c_str()); }
};

[[maybe_unused]] const std::string& FakeAmi() {
  static const FakeAmiFile file;
  return file.path;
}

[[maybe_unused]] std::string FakeSim(const std::string& args) {
  return "sim --model '" FAKE_AMI_MODEL "' --ami '" + FakeAmi() + "' " + args;
}

double Number(const std::string& text, const std::string& pattern) {
  std::smatch m;
  if (!std::regex_search(text, m, std::regex(pattern))) return -1e9;
  return std::stod(m[1]);
}

[[maybe_unused]] std::string Read(const std::string& path) { return ReadFile(path); }

}  // namespace

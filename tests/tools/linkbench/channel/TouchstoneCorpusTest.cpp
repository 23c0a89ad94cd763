// Touchstone files written by others: the instrument, field-solver and
// circuit-simulator files that Debian's python3-scikit-rf package ships in
// its data and test folders (1 to 9 ports, versions 1.x and 2.0). They are
// read where they are installed, never copied. The tests skip when the
// package is not installed.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tests/TestFolder.h"
#include "tools/linkbench/channel/Touchstone.h"

namespace {

const char* const kPackageFolder = "/usr/lib/python3/dist-packages/skrf";

std::vector<std::string> PackageFiles() {
  std::vector<std::string> files;
  std::error_code ec;
  if (!std::filesystem::is_directory(kPackageFolder, ec)) return files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(kPackageFolder, ec)) {
    if (entry.is_regular_file() && TouchstonePortsFromName(entry.path().filename().string()) > 0) {
      files.push_back(entry.path().string());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

// Runs COMMAND through the shell; returns its exit status and output.
int RunShell(const std::string& command, std::string& output) {
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return -1;
  std::array<char, 4096> chunk{};
  size_t n = 0;
  while ((n = fread(chunk.data(), 1, chunk.size(), pipe)) > 0) output.append(chunk.data(), n);
  const int raw = pclose(pipe);
  return raw != -1 && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

}  // namespace

TEST(TouchstoneCorpus, EveryFileTheScikitRfPackageShipsReadsToItsEnd) {
  const std::vector<std::string> files = PackageFiles();
  if (files.empty()) GTEST_SKIP() << "python3-scikit-rf is not installed (" << kPackageFolder << ")";
  std::map<int, int> byPorts;
  for (const std::string& path : files) {
    TouchstoneNetwork network;
    std::string error;
    ASSERT_TRUE(ReadTouchstoneFile(path, network, error)) << error;
    const size_t n = static_cast<size_t>(network.ports);
    EXPECT_EQ(network.ports, TouchstonePortsFromName(path)) << path;
    EXPECT_GT(network.Points(), 0u) << path;
    EXPECT_EQ(network.s.size(), network.Points() * n * n) << path;
    for (const std::complex<double>& v : network.s) {
      ASSERT_TRUE(std::isfinite(v.real()) && std::isfinite(v.imag())) << path;
    }
    ++byPorts[network.ports];
  }
  std::string summary;
  for (const auto& [ports, count] : byPorts) summary += " " + std::to_string(count) + "x" + std::to_string(ports);
  std::printf("read %zu files (count x ports:%s)\n", files.size(), summary.c_str());
  EXPECT_GE(files.size(), 40u);
  EXPECT_EQ(byPorts.size(), 9u) << "1- to 9-port files";
}

TEST(TouchstoneCorpus, TwoAndFourPortReadingsMatchScikitRfsOwn) {
  const std::vector<std::string> files = PackageFiles();
  if (files.empty()) GTEST_SKIP() << "python3-scikit-rf is not installed (" << kPackageFolder << ")";
  TestFolder folder("touchstone_vs_skrf");
  size_t written = 0;
  for (const std::string& path : files) {
    TouchstoneNetwork network;
    std::string error;
    ASSERT_TRUE(ReadTouchstoneFile(path, network, error)) << error;
    if (network.ports != 2 && network.ports != 4) continue;
    std::vector<double> re, im;
    for (const std::complex<double>& v : network.s) re.push_back(v.real()), im.push_back(v.imag());
    nlohmann::json reference = nlohmann::json::array();
    for (const std::complex<double>& r : network.reference) reference.push_back({r.real(), r.imag()});
    const nlohmann::json reading = {{"path", path}, {"ports", network.ports}, {"f", network.frequency}, {"re", re},
                                    {"im", im},     {"z0", reference}};
    std::ofstream(folder.path / (std::to_string(written++) + ".json")) << reading.dump();
  }
  std::string output;
  const int status =
      RunShell(std::string("/usr/bin/python3 '") + TESSALUNE_SOURCE_DIR +
                   "/tests/tools/linkbench/channel/touchstone_vs_skrf.py' '" + folder.path.string() + "'",
               output);
  if (status == 3) GTEST_SKIP() << output;
  EXPECT_EQ(status, 0) << output;
  const std::string closing = "compared " + std::to_string(written) + " files with scikit-rf";
  EXPECT_NE(output.find(closing), std::string::npos) << output;
  EXPECT_NE(output.find(", 0 differ"), std::string::npos) << output;
  std::printf("%s", output.substr(output.rfind("compared ")).c_str());
}

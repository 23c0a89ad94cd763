// The model's own IBIS-AMI files pass the checker: the .ami file on its own,
// and the .ibs file laid out as the model package (libraries, .ibs and .ami
// side by side), which reaches the .ami file through its [Algorithmic Model]
// block and finds the libraries next to it. The package's .ibs is written by
// the install's own step, which keeps the Executable lines of the libraries
// that are there.
#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/tools/CliRun.h"
#include "tests/tools/PackageFiles.h"
#include "tools/host/ModelPaths.h"

namespace fs = std::filesystem;

namespace {

const fs::path kIbisDir = fs::path(TESSALUNE_SOURCE_DIR) / "ibis";
const std::vector<std::string> kLinuxLine = {"Executable", "Linux_gcc_64", "libtessalune_tx.so", "tessalune_tx.ami"};
const std::vector<std::string> kWindowsLine = {"Executable", "Windows_gcc_64", "tessalune_tx.dll", "tessalune_tx.ami"};

// A fresh folder per test process, removed at the end of the test.
struct PackageFolder {
  fs::path dir = fs::temp_directory_path() / ("tessalune_package_" + std::to_string(::getpid()));
  PackageFolder() {
    std::error_code ec;
    fs::remove_all(dir, ec);
    fs::create_directories(dir);
  }
  ~PackageFolder() {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
  fs::path Ibs() const { return dir / "tessalune_tx.ibs"; }
  // Writes the package's .ibs as the install does.
  int WriteIbs() const {
    const std::string command = std::string("'") + TESSALUNE_CMAKE + "' -DIBS_FILE='" +
                                (kIbisDir / "tessalune_tx.ibs").string() + "' -DPACKAGE_DIR='" + dir.string() +
                                "' -P '" + TESSALUNE_SOURCE_DIR + "/cmake/PackageIbis.cmake'";
    return std::system(command.c_str());
  }
};

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(CheckModelFiles, AmiFilePassesOnItsOwn) {
  CliResult r = RunCli("check '" + (kIbisDir / "tessalune_tx.ami").string() + "'");
  ExpectPassedClean(r);
  // On its own the file is checked for the AMI_Version it names, and its banner says so.
  EXPECT_NE(r.output.find("tessalune_tx.ami for IBIS 7.2 Compatibility"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("NOTE - Reserved parameters checked for AMI_Version 7.2"), std::string::npos) << r.output;
}

// The project's .ibs names the Linux library and the Windows DLL, each on its
// own Executable line, with the same parameter file.
TEST(CheckModelFiles, IbsFileNamesTheLinuxLibraryAndTheWindowsDll) {
  const std::vector<std::vector<std::string>> executables = ExecutableLines((kIbisDir / "tessalune_tx.ibs").string());
  ASSERT_EQ(executables.size(), 2u);
  EXPECT_EQ(executables[0], kLinuxLine);
  EXPECT_EQ(executables[1], kWindowsLine);
}

TEST(CheckModelFiles, IbsFilePassesBesideItsLibrariesAndAmiFile) {
  std::string library = DefaultModelPath();
  if (library.empty() || !fs::exists(library)) GTEST_SKIP() << "the model library is not built";
  PackageFolder package;
  fs::copy_file(kIbisDir / "tessalune_tx.ami", package.dir / "tessalune_tx.ami");
  fs::copy_file(library, package.dir / "libtessalune_tx.so");
  const std::string dll = WindowsDll();
  if (!dll.empty()) fs::copy_file(dll, package.dir / "tessalune_tx.dll");
  ASSERT_EQ(package.WriteIbs(), 0);

  CliResult r = RunCli("check '" + package.Ibs().string() + "'");
  ExpectPassedClean(r);
  // Both files declare 7.2; the .ami file named in the block was read and checked too.
  EXPECT_NE(r.output.find("tessalune_tx.ibs for IBIS 7.2 Compatibility"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("tessalune_tx.ami for IBIS 7.2 Compatibility"), std::string::npos) << r.output;
  EXPECT_EQ(r.output.find("NOTE"), std::string::npos) << r.output;
  const std::vector<std::vector<std::string>> executables = ExecutableLines(package.Ibs().string());
  ASSERT_EQ(executables.size(), dll.empty() ? 1u : 2u);
  EXPECT_EQ(executables[0], kLinuxLine);
  if (!dll.empty()) {
    EXPECT_EQ(executables[1], kWindowsLine);
  }
}

// The package's .ibs drops exactly the Executable lines of the libraries that
// are not in the folder, and nothing else. What the libraries hold does not
// matter here, so empty files stand in for them.
TEST(CheckModelFiles, PackageIbsNamesOnlyTheLibrariesThatAreThere) {
  const std::string source = ReadFile(kIbisDir / "tessalune_tx.ibs");
  const std::string linuxLine = "Executable Linux_gcc_64 libtessalune_tx.so tessalune_tx.ami\n";
  const std::string windowsLine = "Executable Windows_gcc_64 tessalune_tx.dll tessalune_tx.ami\n";
  ASSERT_NE(source.find(linuxLine), std::string::npos);
  ASSERT_NE(source.find(windowsLine), std::string::npos);
  auto without = [&](const std::string& line) {
    std::string text = source;
    text.erase(text.find(line), line.size());
    return text;
  };
  struct Case {
    std::vector<const char*> libraries;
    std::string expected;
  };
  const Case cases[] = {
      {{"libtessalune_tx.so", "tessalune_tx.dll"}, source},
      {{"libtessalune_tx.so"}, without(windowsLine)},
      {{"tessalune_tx.dll"}, without(linuxLine)},
  };
  for (const Case& c : cases) {
    PackageFolder package;
    for (const char* name : c.libraries) std::ofstream(package.dir / name);
    ASSERT_EQ(package.WriteIbs(), 0);
    EXPECT_EQ(ReadFile(package.Ibs()), c.expected) << c.libraries.size() << " libraries, first " << c.libraries[0];
  }
}

}  // namespace

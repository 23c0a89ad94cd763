// The installed model package: `cmake --install` into a fresh folder, then
// check that what a simulator needs is there and hangs together.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/tools/CliRun.h"
#include "tests/tools/PackageFiles.h"

namespace {

// One folder per test process: CTest runs these tests in parallel processes.
const std::string kPrefix = std::string(TESSALUNE_BINARY_DIR) + "/install-test-" + std::to_string(getpid());
const std::string kPackage = kPrefix + "/tessalune_tx";

bool IsFile(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// Runs a shell command; returns its exit status and output (with stderr).
CliResult Shell(const std::string& command) {
  CliResult result;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return result;
  char chunk[4096];
  size_t n = 0;
  while ((n = fread(chunk, 1, sizeof chunk, pipe)) > 0) result.output.append(chunk, n);
  const int raw = pclose(pipe);
  if (raw != -1 && WIFEXITED(raw)) result.status = WEXITSTATUS(raw);
  return result;
}

class InstalledPackage : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    Shell("rm -rf '" + kPrefix + "'");
    install_ = Shell(std::string("'") + TESSALUNE_CMAKE + "' --install '" + TESSALUNE_BINARY_DIR + "' --prefix '" +
                     kPrefix + "'");
  }
  static void TearDownTestSuite() { Shell("rm -rf '" + kPrefix + "'"); }
  static CliResult install_;
};

CliResult InstalledPackage::install_;

}  // namespace

TEST_F(InstalledPackage, HoldsTheLibraryItsIbisAndAmiFilesSideBySideAndTheProgram) {
  ASSERT_EQ(install_.status, 0) << install_.output;
  EXPECT_TRUE(IsFile(kPackage + "/libtessalune_tx.so"));
  EXPECT_TRUE(IsFile(kPackage + "/tessalune_tx.ibs"));
  EXPECT_TRUE(IsFile(kPackage + "/tessalune_tx.ami"));
  EXPECT_TRUE(IsFile(kPrefix + "/bin/tessalune"));
}

// The .ibs names its executable model and parameter file by file name; both
// must be in the .ibs file's own folder.
TEST_F(InstalledPackage, TheIbisFileNamesTheLibraryAndAmiFileThatAreThere) {
  ASSERT_EQ(install_.status, 0) << install_.output;
  ASSERT_TRUE(IsFile(kPackage + "/tessalune_tx.ibs"));
  const std::vector<std::vector<std::string>> executables = ExecutableLines(kPackage + "/tessalune_tx.ibs");
  ASSERT_EQ(executables.size(), 1u);
  ASSERT_EQ(executables[0].size(), 4u);
  EXPECT_EQ(executables[0][1], "Linux_gcc_64");
  EXPECT_TRUE(IsFile(kPackage + "/" + executables[0][2])) << executables[0][2];
  EXPECT_TRUE(IsFile(kPackage + "/" + executables[0][3])) << executables[0][3];
}

TEST_F(InstalledPackage, TheInstalledProgramSimulatesTheInstalledModel) {
  ASSERT_EQ(install_.status, 0) << install_.output;
  CliResult r = Shell("'" + kPrefix + "/bin/tessalune' sim --bits 200");
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_NE(r.output.find("model       " + kPrefix + "/bin/../tessalune_tx/libtessalune_tx.so"), std::string::npos)
      << r.output;
  EXPECT_NE(r.output.find("parameters  (tessalune_tx (emphasis 0) (Vreg 2) (corner 2))"), std::string::npos);
}

TEST_F(InstalledPackage, TheInstalledIbisFilePassesTheChecker) {
  ASSERT_EQ(install_.status, 0) << install_.output;
  if (Shell("'" + kPrefix + "/bin/tessalune' check --help").status != 0) GTEST_SKIP() << "no check subcommand";
  CliResult r = Shell("cd '" + kPackage + "' && '" + kPrefix + "/bin/tessalune' check tessalune_tx.ibs");
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_NE(r.output.find("File Passed"), std::string::npos) << r.output;
}

// The two-platform package: the Windows build installed first, then the Linux
// build into the same prefix (scripts/package.sh uses the other order). Both
// libraries end up side by side under an IBIS file that names both, and the
// checker passes it clean.
TEST(TwoPlatformPackage, NamesBothLibrariesAndPassesTheCheckerClean) {
  if (WindowsDll().empty()) GTEST_SKIP() << "the Windows DLL is not built (cmake --workflow --preset windows)";
  const std::string prefix = kPrefix + "-both";
  const std::string package = prefix + "/tessalune_tx";
  Shell("rm -rf '" + prefix + "'");
  for (const std::string build : {TESSALUNE_WINDOWS_BUILD_DIR, TESSALUNE_BINARY_DIR}) {
    const CliResult r =
        Shell(std::string("'") + TESSALUNE_CMAKE + "' --install '" + build + "' --prefix '" + prefix + "'");
    ASSERT_EQ(r.status, 0) << r.output;
  }
  for (const char* name : {"libtessalune_tx.so", "tessalune_tx.dll", "tessalune_tx.ibs", "tessalune_tx.ami"})
    EXPECT_TRUE(IsFile(package + "/" + name)) << name;
  const std::vector<std::vector<std::string>> executables = ExecutableLines(package + "/tessalune_tx.ibs");
  ASSERT_EQ(executables.size(), 2u);
  EXPECT_EQ(executables[0],
            (std::vector<std::string>{"Executable", "Linux_gcc_64", "libtessalune_tx.so", "tessalune_tx.ami"}));
  EXPECT_EQ(executables[1],
            (std::vector<std::string>{"Executable", "Windows_gcc_64", "tessalune_tx.dll", "tessalune_tx.ami"}));
  ExpectPassedClean(Shell("'" + prefix + "/bin/tessalune' check '" + package + "/tessalune_tx.ibs'"));
  Shell("rm -rf '" + prefix + "'");
}

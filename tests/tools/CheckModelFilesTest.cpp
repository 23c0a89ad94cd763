// The model's own IBIS-AMI files pass the checker: the .ami file on its own,
// and the .ibs file laid out as the model package (library, .ibs and .ami
// side by side), which reaches the .ami file through its [Algorithmic Model]
// block and finds the library next to it.
#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <string>

#include "CliRun.h"
#include "ModelPaths.h"

namespace fs = std::filesystem;

namespace {

const fs::path kIbisDir = fs::path(TESSALUNE_SOURCE_DIR) / "ibis";

void ExpectPassedClean(const CliResult& r) {
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_NE(r.output.find("Errors  : 0\n"), std::string::npos) << r.output;
  EXPECT_EQ(r.output.find("WARNING"), std::string::npos) << r.output;
  EXPECT_EQ(r.output.find("Warnings:"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("\nFile Passed\n"), std::string::npos) << r.output;
}

TEST(CheckModelFiles, AmiFilePassesOnItsOwn) {
  CliResult r = RunCli("check '" + (kIbisDir / "tessalune_tx.ami").string() + "'");
  ExpectPassedClean(r);
  EXPECT_NE(r.output.find("tessalune_tx.ami for IBIS 5.0 Compatibility"), std::string::npos) << r.output;
}

TEST(CheckModelFiles, IbsFilePassesBesideItsLibraryAndAmiFile) {
  std::string library = DefaultModelPath();
  if (library.empty() || !fs::exists(library)) GTEST_SKIP() << "the model library is not built";
  fs::path dir = fs::temp_directory_path() / ("tessalune_package_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  for (const char* name : {"tessalune_tx.ibs", "tessalune_tx.ami"})
    fs::copy_file(kIbisDir / name, dir / name, fs::copy_options::overwrite_existing);
  fs::copy_file(library, dir / "libtessalune_tx.so", fs::copy_options::overwrite_existing);

  CliResult r = RunCli("check '" + (dir / "tessalune_tx.ibs").string() + "'");
  ExpectPassedClean(r);
  // The .ami file named in the block was read and checked too.
  EXPECT_NE(r.output.find("tessalune_tx.ami for IBIS 5.0 Compatibility"), std::string::npos) << r.output;

  std::error_code ec;
  fs::remove_all(dir, ec);
}

}  // namespace

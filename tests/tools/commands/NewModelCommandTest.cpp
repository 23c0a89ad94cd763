#include "tools/commands/NewModelCommand.h"

#include "IbisParser/IbisCheck.h"
#include "tests/TestFolder.h"
#include "tests/tools/CliRun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>
#include <utility>

namespace {

std::set<std::string> Paths(const std::vector<NewModelFile>& files) {
  std::set<std::string> paths;
  for (const NewModelFile& file : files) paths.insert(file.path);
  return paths;
}

}  // namespace

TEST(NewModelFiles, EachDirectionGetsItsSourcesAndTheSharedFilesWithEveryPlaceholderFilled) {
  const std::set<std::string> common = {"CMakeLists.txt", "README.md",       "test/LoadModel.h",   "test/ModelTest.cpp",
                                        "src/Network.h",  "src/Network.cpp", "src/EntryPoints.cpp"};
  for (const char* direction : {"tx", "rx"}) {
    const auto files = NewModelFiles("serdes_1", direction, "December 7, 2026");
    std::set<std::string> expected = common;
    expected.insert({"ibis/serdes_1.ibs", "ibis/serdes_1.ami"});
    EXPECT_EQ(Paths(files), expected) << direction;
    for (const NewModelFile& file : files) {
      EXPECT_FALSE(std::regex_search(file.text, std::regex("@[A-Z_]+@"))) << direction << " " << file.path;
      if (file.path == "CMakeLists.txt") {
        EXPECT_NE(file.text.find("tessalune_add_ami_model(serdes_1 "), std::string::npos);
      }
    }
  }
  // Each direction's own network.
  for (const auto& [direction, member] : {std::pair{"tx", "FfeTaps"}, std::pair{"rx", "Slicer"}}) {
    for (const NewModelFile& file : NewModelFiles("m", direction, "d")) {
      if (file.path == "src/Network.cpp") {
        EXPECT_NE(file.text.find(member), std::string::npos) << direction;
      }
    }
  }
}

// The generated .ibs and .ami pass the checker with no error and no
// warning, with a library file beside them for each Executable line.
TEST(NewModelFiles, IbisAndAmiFilesPassTheCheckerClean) {
  for (const char* direction : {"tx", "rx"}) {
    TestFolder folder;
    const std::string name = std::string("kit") + direction;
    for (const NewModelFile& file : NewModelFiles(name, direction, "December 7, 2026"))
      if (file.path.rfind("ibis/", 0) == 0) folder.Write(file.path.substr(5), file.text);
    folder.Write("lib" + name + ".so", "stand-in");
    folder.Write(name + ".dll", "stand-in");
    const IBIS_CHECK_COUNTS counts = IBIS_CheckFile((folder.path / (name + ".ibs")).c_str(), 1);
    EXPECT_EQ(counts.read, 1) << direction;
    EXPECT_EQ(counts.bugs + counts.errors + counts.warnings, 0) << direction;
  }
}

TEST(NewModelFiles, NamesThatMakeBadFileNamesOrLongLinesAreRefused) {
  for (const char* good : {"a", "my_tx2", "abcdefghijklmnopqrst"}) EXPECT_EQ(NewModelNameProblem(good), "") << good;
  for (const char* bad : {"", "MyTx", "2tx", "my-tx", "my tx", "abcdefghijklmnopqrstu", "../x"})
    EXPECT_NE(NewModelNameProblem(bad), "") << bad;
}

TEST(NewModelCli, WritesTheProjectAndRefusesAFolderThatIsNotEmpty) {
  TestFolder folder;
  const std::string dir = (folder.path / "proj").string();
  CliResult made = RunCli("new-model '" + dir + "' --name kitrx --direction rx");
  EXPECT_EQ(made.status, 0) << made.output;
  EXPECT_TRUE(std::filesystem::exists(folder.path / "proj" / "ibis" / "kitrx.ami"));
  const std::string readme = ReadFile((folder.path / "proj" / "README.md").string());
  EXPECT_NE(readme.find("tessalune sim --rx build/libkitrx.so"), std::string::npos);

  CliResult again = RunCli("new-model '" + dir + "' --name kitrx --direction rx", true);
  EXPECT_EQ(again.status, 1);
  EXPECT_NE(again.output.find("is not an empty folder: nothing written"), std::string::npos) << again.output;
  CliResult badName = RunCli("new-model '" + (folder.path / "other").string() + "' --name Bad --direction tx", true);
  EXPECT_EQ(badName.status, 2);
  EXPECT_FALSE(std::filesystem::exists(folder.path / "other"));
  EXPECT_NE(RunCli("new-model x --name ok --direction up").status, 0);
}

// A project that cannot be written whole leaves nothing behind.
TEST(NewModelCli, AFolderThatCannotBeMadeLeavesNothing) {
  TestFolder folder;
  folder.Write("plain", "a file, not a folder");
  CliResult r = RunCli("new-model '" + (folder.path / "plain" / "proj").string() + "' --name m --direction tx", true);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.output.find("nothing written"), std::string::npos) << r.output;
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"plain"});
}

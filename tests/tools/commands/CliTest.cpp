#include "tests/tools/CliRun.h"

#include <gtest/gtest.h>

TEST(Cli, UsageErrorsExitWithTwoAndHelpWithZero) {
  EXPECT_EQ(RunCli("").status, 2);
  EXPECT_EQ(RunCli("no-such-command").status, 2);
  CliResult help = RunCli("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.output.find("version"), std::string::npos);
}

TEST(Cli, VersionPrintsTheProjectVersion) {
  CliResult r = RunCli("version");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.output.rfind("tessalune ", 0), 0u);
}

// Inputs that would take memory or time without bound: merge caps its lines
// and reads only regular files and pipes; a model's long texts are kept as a
// bounded prefix with their length; a shard loads its own channels only.
#include "tests/TestFolder.h"
#include "tests/tools/CliRun.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The misbehaving model's .ami file, two points per channel (emphasis 0, 1).
const char* kAmi =
    "(misbehaving\n (Reserved_Parameters\n  (Init_Returns_Impulse (Usage Info) (Type Boolean) (Value False))\n"
    "  (GetWave_Exists (Usage Info) (Type Boolean) (Value True)))\n"
    " (Model_Specific\n  (mode (Usage In) (Type Integer) (Range 0 0 13))\n"
    "  (emphasis (Usage In) (Type Integer) (Format List 0 1) (Default 0))\n"
    "  (Vreg (Usage In) (Type Integer) (Format List 0) (Default 0))\n"
    "  (corner (Usage In) (Type Integer) (Format List 0) (Default 0))))\n";

std::string Quoted(const TestFolder& folder, const std::string& name) {
  return "'" + (folder.path / name).string() + "'";
}

}  // namespace

TEST(BoundedInputCli, MergeRefusesFoldersAndDevicesAndCapsItsLines) {
  TestFolder folder;
  const CliResult dir = RunCli("merge '" + folder.path.string() + "'", true);
  EXPECT_EQ(dir.status, 1);
  EXPECT_NE(dir.output.find(folder.path.string() + " is a folder, not a results file"), std::string::npos)
      << dir.output;
  const CliResult zero = RunCli("merge /dev/zero", true);
  EXPECT_EQ(zero.status, 1);
  EXPECT_NE(zero.output.find("/dev/zero is neither a regular file nor a pipe"), std::string::npos) << zero.output;
  // A line past the cap is passed over, not held.
  folder.Write("long.jsonl", std::string((64u << 20) + 10, 'x') + "\n{}\n");
  const CliResult longLine = RunCli("merge " + Quoted(folder, "long.jsonl"), true);
  EXPECT_EQ(longLine.status, 1);
  EXPECT_NE(longLine.output.find("long.jsonl line 1 is longer than 64 MiB, no record of a sweep; ignored"),
            std::string::npos)
      << longLine.output.substr(0, 300);
  EXPECT_NE(longLine.output.find("long.jsonl line 2 is not a whole record"), std::string::npos);
  EXPECT_NE(RunCli("merge --help").output.find("a line longer than 64 MiB is ignored"), std::string::npos);
}

// 20 MiB of output parameters, and a 20 MiB message, are kept as a prefix
// with their length; control characters come out escaped.
TEST(BoundedInputCli, AModelsLongTextsAreKeptAsAPrefixWithTheirLength) {
  TestFolder folder;
  const std::string ami = folder.Write("m.ami", kAmi);
  const std::string model = " --model '" MISBEHAVING_MODEL "' --ami '" + ami + "' --bits 200 ";
  const CliResult out = RunCli("sim" + model + "--rx '" MISBEHAVING_MODEL "' --rx-ami '" + ami + "' --rx-param mode=9");
  EXPECT_EQ(out.status, 0) << out.output.substr(0, 2000);
  EXPECT_NE(out.output.find("pppp ... (20971520 bytes in all)\n"), std::string::npos) << out.output.substr(0, 2000);
  EXPECT_LT(out.output.size(), 20000u);
  const CliResult message = RunCli("sim" + model + "--param mode=10");
  EXPECT_NE(message.output.find("message     mmmm"), std::string::npos) << message.output.substr(0, 2000);
  EXPECT_NE(message.output.find("mmmm ... (20971520 bytes in all)\n"), std::string::npos);
  EXPECT_LT(message.output.size(), 20000u);
  const CliResult escapes = RunCli("sim" + model + "--param mode=12", true);
  EXPECT_EQ(escapes.status, 1);
  EXPECT_NE(escapes.output.find("refused \\x1b[2J\\x1b[31mred\\x1b[0m\\x07 on purpose"), std::string::npos)
      << escapes.output;
  EXPECT_EQ(escapes.output.find('\x1b'), std::string::npos);
}

// Three channels of two points in four shards: each shard loads the
// channels of its own points (a broken file among the others does not stop
// it), and the shards' headers together describe every channel, so that
// merge prints the single-machine tables.
TEST(BoundedInputCli, AShardLoadsTheChannelsOfItsOwnPoints) {
  TestFolder folder;
  for (const char* lane : {"a.s4p", "b.s4p", "c.s4p"})
    ASSERT_EQ(RunCli("make-channel " + Quoted(folder, lane) + " --loss 6").status, 0);
  const std::string ami = folder.Write("m.ami", kAmi);
  const std::string sweep = "sweep --model '" MISBEHAVING_MODEL "' --ami '" + ami + "' --bits 200 --channels ";
  const std::string list = Quoted(folder, "lanes.txt");
  folder.Write("lanes.txt", "a.s4p\nb.s4p\nc.s4p\n");
  const CliResult single = RunCli(sweep + list + " --tables-only");
  ASSERT_EQ(single.status, 0) << single.output;
  std::string files;
  for (int shard = 0; shard < 4; ++shard) {
    const std::string results = Quoted(folder, "s" + std::to_string(shard) + ".jsonl");
    const CliResult r = RunCli(sweep + list + " --shard " + std::to_string(shard) + "/4 --results " + results, true);
    ASSERT_EQ(r.status, 0) << r.output;
    files += " " + results;
  }
  const CliResult merged = RunCli("merge" + files);
  EXPECT_EQ(merged.status, 0);
  EXPECT_EQ(merged.output, single.output);

  folder.Write("broken.s4p", "no Touchstone file\n");
  folder.Write("broken.txt", "a.s4p\nb.s4p\nbroken.s4p\n");
  const CliResult own =
      RunCli(sweep + Quoted(folder, "broken.txt") + " --shard 2/4 --results " + Quoted(folder, "own.jsonl"), true);
  EXPECT_EQ(own.status, 0) << own.output;
  EXPECT_NE(own.output.find("shard 2/4: 1 of the sweep's 6 points"), std::string::npos) << own.output;
}

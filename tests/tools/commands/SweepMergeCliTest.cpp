// Sweeps over several channels split into shards and merged: the merged
// tables are the single-machine ones byte for byte, however the points were
// split, run twice or cut short; results of different sweeps are refused;
// missing points name the shards to rerun.
#include "tests/TestFolder.h"
#include "tests/tools/CliRun.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#ifdef TESSALUNE_MODEL_BUILT

namespace {

// Two generated lines in a list (one with its own port order, a comment),
// and the sweep options the tests share.
struct TwoLanes {
  TestFolder folder;
  std::string list;
  std::string Sweep(const std::string& more) const {
    return "sweep --bits 300 --seed 7 --channels '" + list + "' " + more;
  }
  std::string Path(const std::string& name) const { return "'" + (folder.path / name).string() + "'"; }
  // What merge --grid needs named: the library and .ami file the sweep ran.
  static std::string ModelFiles() {
    return std::string(" --model '") + TESSALUNE_TX_LIBRARY + "' --ami '" + TESSALUNE_SOURCE_DIR +
           "/ibis/tessalune_tx.ami' ";
  }
  TwoLanes() {
    EXPECT_EQ(RunCli("make-channel " + Path("short.s4p") + " --loss 6").status, 0);
    EXPECT_EQ(RunCli("make-channel " + Path("long.s4p") + " --loss 18").status, 0);
    list = folder.Write("lanes.txt", "# lanes of the backplane\nshort.s4p\n\nlong.s4p --ports 1,2,3,4  # far lane\n");
  }
};

}  // namespace

TEST(SweepMergeCli, ShardsMergeIntoTheSingleMachineTables) {
  TwoLanes lanes;
  const CliResult single = RunCli(lanes.Sweep("--tables-only"));
  ASSERT_EQ(single.status, 0) << single.output;
  EXPECT_EQ(single.output.find("channel 1 of 2: short.s4p\n"), 0u) << single.output;
  EXPECT_NE(single.output.find("\nchannel 2 of 2: long.s4p\n"), std::string::npos);
  EXPECT_NE(single.output.find("\nacross the 2 channels, per setting at BER 1e-12"), std::string::npos);
  EXPECT_NE(single.output.find("\nthe setting whose worst channel is best at BER 1e-12"), std::string::npos);
  EXPECT_EQ(single.output.find("wall time"), std::string::npos);

  // Shards 0 and 1 into one file, shard 1 twice (a task run again), shard 2
  // alone.
  for (const char* shard : {"0/3", "1/3", "1/3"})
    ASSERT_EQ(RunCli(lanes.Sweep(std::string("--shard ") + shard + " --results " + lanes.Path("a.jsonl"))).status, 0);
  const CliResult last = RunCli(lanes.Sweep("--shard 2/3 --results " + lanes.Path("b.jsonl")));
  ASSERT_EQ(last.status, 0) << last.output;
  EXPECT_NE(last.output.find("shard 2/3: 42 of the sweep's 126 points, recorded in"), std::string::npos) << last.output;
  const CliResult merged = RunCli("merge " + lanes.Path("b.jsonl") + " " + lanes.Path("a.jsonl"));
  EXPECT_EQ(merged.status, 0);
  EXPECT_EQ(merged.output, single.output);
  const CliResult notes = RunCli("merge " + lanes.Path("a.jsonl") + " " + lanes.Path("b.jsonl") + " --missing", true);
  EXPECT_EQ(notes.output, "tessalune merge: 42 records of points already read (a shard run twice) counted once\n\n");

  // A line cut short is ignored with a note, its point listed as missing.
  const std::string b = ReadFile((lanes.folder.path / "b.jsonl").string());
  lanes.folder.Write("cut.jsonl", b.substr(0, b.size() - 20));
  const CliResult cut = RunCli("merge " + lanes.Path("a.jsonl") + " " + lanes.Path("cut.jsonl"), true);
  EXPECT_EQ(cut.status, 1);
  EXPECT_NE(cut.output.find("cut.jsonl: its last line is cut short (a shard stopped while writing it); ignored"),
            std::string::npos)
      << cut.output;
  // Points finish in any order on several threads: the lost one is some
  // point of shard 2.
  EXPECT_NE(cut.output.find("1 of the sweep's 126 points missing; rerun shards 2 of 3 (sbatch --array=2)\n"
                            "  point "),
            std::string::npos)
      << cut.output;
}

TEST(SweepMergeCli, MergeRefusesAnotherSweepAndNamesMissingShards) {
  TwoLanes lanes;
  ASSERT_EQ(RunCli(lanes.Sweep("--shard 0/4 --results " + lanes.Path("a.jsonl"))).status, 0);
  ASSERT_EQ(RunCli(lanes.Sweep("--shard 1/4 --results " + lanes.Path("b.jsonl"))).status, 0);
  const CliResult missing = RunCli("merge --missing " + lanes.Path("a.jsonl") + " " + lanes.Path("b.jsonl"));
  EXPECT_EQ(missing.status, 0);
  EXPECT_EQ(missing.output, "2-3\n");
  // A record whose channel is not the one its index falls on is not taken.
  std::string a = ReadFile((lanes.folder.path / "a.jsonl").string());
  const std::string shortLane = "\"channel\":\"short.s4p\"";
  const size_t first = a.find(shortLane);
  ASSERT_NE(first, std::string::npos);
  lanes.folder.Write("edited.jsonl", a.replace(first, shortLane.size(), "\"channel\":\"long.s4p\""));
  const CliResult edited = RunCli("merge --missing " + lanes.Path("edited.jsonl") + " " + lanes.Path("b.jsonl"), true);
  EXPECT_NE(edited.output.find("edited.jsonl line 2 is not a whole record of a sweep; ignored"), std::string::npos)
      << edited.output;
  EXPECT_NE(edited.output.find("\n0,2-3\n"), std::string::npos) << edited.output;

  const CliResult partial = RunCli("merge " + lanes.Path("a.jsonl"), true);
  EXPECT_EQ(partial.status, 1);
  EXPECT_NE(partial.output.find("94 of the sweep's 126 points missing; rerun shards 1-3 of 4"), std::string::npos)
      << partial.output;

  // Another --seed is another sweep.
  ASSERT_EQ(
      RunCli("sweep --bits 300 --seed 8 --channels '" + lanes.list + "' --shard 2/4 --results " + lanes.Path("c.jsonl"))
          .status,
      0);
  const CliResult mixed = RunCli("merge " + lanes.Path("a.jsonl") + " " + lanes.Path("c.jsonl"), true);
  EXPECT_EQ(mixed.status, 1);
  EXPECT_NE(mixed.output.find("results of different sweeps (other options, channels or model) do not merge"),
            std::string::npos)
      << mixed.output;
}

// merge --grid runs the picture's points again with the sweep's files: the
// picture of one channel is the one a sweep of that channel alone draws; a
// channel file changed since the sweep is refused.
TEST(SweepMergeCli, MergeDrawsTheGridOfOneChannel) {
  TwoLanes lanes;
  for (const char* shard : {"0/2", "1/2"})
    ASSERT_EQ(RunCli(lanes.Sweep(std::string("--shard ") + shard + " --results " + lanes.Path("a.jsonl"))).status, 0);
  const CliResult merged = RunCli("merge " + lanes.Path("a.jsonl") + TwoLanes::ModelFiles() + " --grid " +
                                      lanes.Path("merged.png") + " --grid-channel 2",
                                  true);
  ASSERT_EQ(merged.status, 0) << merged.output;
  const std::string alone = lanes.folder.Write("long.txt", "long.s4p --ports 1,2,3,4\n");
  ASSERT_EQ(RunCli("sweep --bits 300 --seed 7 --channels '" + alone + "' --grid " + lanes.Path("alone.png")).status, 0);
  const std::string picture = ReadFile((lanes.folder.path / "merged.png").string());
  EXPECT_EQ(picture.substr(1, 3), "PNG");
  EXPECT_EQ(picture, ReadFile((lanes.folder.path / "alone.png").string()));

  std::ofstream((lanes.folder.path / "long.s4p").string(), std::ios::app) << "! edited\n";
  const CliResult changed =
      RunCli("merge " + lanes.Path("a.jsonl") + TwoLanes::ModelFiles() + "--grid " + lanes.Path("changed.png"), true);
  EXPECT_EQ(changed.status, 1);
  EXPECT_NE(changed.output.find("--grid: the model, .ami or channel files are not those of sweep"), std::string::npos)
      << changed.output;
}

// With a receiver and its swept parameter (the innermost axis), shards
// merge into the single-machine tables too; each record names the value.
TEST(SweepMergeCli, AReceiversAxisShardsAndMerges) {
  TwoLanes lanes;
  const std::string ami = lanes.folder.Write(
      "rx.ami",
      "(flowgain\n (Reserved_Parameters\n  (Init_Returns_Impulse (Usage Info) (Type Boolean) (Value False))\n"
      "  (GetWave_Exists (Usage Info) (Type Boolean) (Value True)))\n"
      " (Model_Specific\n  (gain (Usage In) (Type Float) (Range 1 0 10))))\n");
  const std::string rx = "--noise 20 --rx '" FLOW_GAIN_GETWAVE "' --rx-ami '" + ami + "' --rx-sweep gain=1,3 ";
  const CliResult single = RunCli(lanes.Sweep(rx + "--tables-only"));
  ASSERT_EQ(single.status, 0) << single.output;
  EXPECT_NE(single.output.find("\nbest pair at BER 1e-12: emphasis "), std::string::npos) << single.output;
  EXPECT_NE(single.output.find("emphasis  Vreg  corner   rx value   worst height"), std::string::npos);
  for (const char* shard : {"0/2", "1/2"})
    ASSERT_EQ(RunCli(lanes.Sweep(rx + "--shard " + shard + " --results " + lanes.Path("a.jsonl"))).status, 0);
  EXPECT_EQ(RunCli("merge " + lanes.Path("a.jsonl")).output, single.output);
  EXPECT_NE(ReadFile((lanes.folder.path / "a.jsonl").string()).find("\"rx:gain\":\"3\""), std::string::npos);
}

// Without --shard, a Slurm array task writing results runs its own shard.
TEST(SweepMergeCli, ASlurmArrayTaskRunsItsShard) {
  TwoLanes lanes;
  setenv("SLURM_ARRAY_TASK_ID", "11", 1);
  setenv("SLURM_ARRAY_TASK_COUNT", "2", 1);
  setenv("SLURM_ARRAY_TASK_MIN", "10", 1);
  const CliResult task = RunCli(lanes.Sweep("--results " + lanes.Path("a.jsonl")));
  const CliResult rerun = RunCli(lanes.Sweep("--shards 20 --results " + lanes.Path("b.jsonl")));
  unsetenv("SLURM_ARRAY_TASK_ID");
  unsetenv("SLURM_ARRAY_TASK_COUNT");
  unsetenv("SLURM_ARRAY_TASK_MIN");
  EXPECT_NE(task.output.find("shard 1/2: 63 of the sweep's 126 points"), std::string::npos) << task.output;
  EXPECT_NE(rerun.output.find("shard 11/20: 6 of the sweep's 126 points"), std::string::npos) << rerun.output;
  EXPECT_EQ(RunCli(lanes.Sweep("--shard 1/2")).status, 2);  // a shard records its points
}

TEST(SweepMergeCli, AChannelListIsReadStrictly) {
  TestFolder folder;
  const std::string list = folder.Write("lanes.txt", "a.s4p\nb.s4p --ports\n");
  const CliResult r = RunCli("sweep --bits 300 --channels '" + list + "'", true);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.output.find("lanes.txt line 2: not a Touchstone path with an optional --ports ORDER"), std::string::npos)
      << r.output;
  const CliResult endless = RunCli("sweep --bits 300 --channels /dev/zero", true);
  EXPECT_EQ(endless.status, 1);
  EXPECT_NE(endless.output.find("the channel list: /dev/zero holds more than 16 MiB"), std::string::npos)
      << endless.output;
}

TEST(SweepMergeCli, TheGridTakesOneChannel) {
  TwoLanes lanes;
  const CliResult grid = RunCli(lanes.Sweep("--grid " + lanes.Path("g.png")), true);
  EXPECT_EQ(grid.status, 2);
  EXPECT_NE(grid.output.find("--grid draws the eyes of one channel in one process"), std::string::npos) << grid.output;
}

#endif

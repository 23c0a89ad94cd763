// Shards of a sweep: "I/N" read strictly, a Slurm array task's shard from
// its environment, and the job-array list of shards to rerun.
#include "tools/commands/SweepShard.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Sets the array task's variables for one test and clears them after.
struct ArrayTask {
  ArrayTask(const char* id, const char* count, const char* low) {
    setenv("SLURM_ARRAY_TASK_ID", id, 1);
    if (count) setenv("SLURM_ARRAY_TASK_COUNT", count, 1);
    if (low) setenv("SLURM_ARRAY_TASK_MIN", low, 1);
  }
  ~ArrayTask() {
    unsetenv("SLURM_ARRAY_TASK_ID");
    unsetenv("SLURM_ARRAY_TASK_COUNT");
    unsetenv("SLURM_ARRAY_TASK_MIN");
  }
};

}  // namespace

TEST(SweepShard, ReadsIOfNAndRefusesAnythingElse) {
  SweepShard s;
  std::string error;
  ASSERT_TRUE(SweepShard::Parse("2/5", s, error));
  EXPECT_EQ(s.index, 2u);
  EXPECT_EQ(s.count, 5u);
  EXPECT_EQ(s.Text(), "2/5");
  for (const char* bad : {"5/5", "1/0", "-1/4", "1/", "/4", "1 /4", "1/4x", "a/b", "", "99999999999999999999/1"}) {
    error.clear();
    EXPECT_FALSE(SweepShard::Parse(bad, s, error)) << bad;
    EXPECT_NE(error.find("is not I/N"), std::string::npos) << bad;
  }
}

// Every point belongs to exactly one shard, whatever N.
TEST(SweepShard, ShardsCoverEveryPointOnce) {
  for (size_t n : {1u, 2u, 3u, 7u}) {
    for (size_t point = 0; point < 50; ++point) {
      int holders = 0;
      for (size_t i = 0; i < n; ++i) holders += SweepShard{i, n, true}.Holds(point) ? 1 : 0;
      EXPECT_EQ(holders, 1) << point << " of " << n;
    }
  }
}

TEST(SweepShard, TakesTheShardOfASlurmArrayTask) {
  SweepShard s;
  std::string error;
  unsetenv("SLURM_ARRAY_TASK_ID");
  EXPECT_FALSE(SweepShard::FromSlurm(0, s, error));
  {
    ArrayTask task("7", "4", "5");  // --array=5-8
    ASSERT_TRUE(SweepShard::FromSlurm(0, s, error));
    EXPECT_EQ(error, "");
    EXPECT_EQ(s.Text(), "2/4");
    // A rerun of some shards: the task id is the shard, of --shards.
    ASSERT_TRUE(SweepShard::FromSlurm(10, s, error));
    EXPECT_EQ(s.Text(), "7/10");
    EXPECT_TRUE(SweepShard::FromSlurm(6, s, error));
    EXPECT_EQ(error, "array task 7 is no shard of 6");
  }
  {
    ArrayTask task("3", nullptr, nullptr);
    error.clear();
    EXPECT_TRUE(SweepShard::FromSlurm(0, s, error));
    EXPECT_NE(error.find("do not make a shard"), std::string::npos);
  }
}

TEST(SweepShard, ArrayListJoinsRuns) {
  EXPECT_EQ(ArrayList({}), "");
  EXPECT_EQ(ArrayList({3}), "3");
  EXPECT_EQ(ArrayList({8, 0, 1, 2, 3, 5, 7, 3, 1}), "0-3,5,7-8");
}

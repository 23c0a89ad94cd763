#include "tools/common/WorkerTeam.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

TEST(WorkerTeam, EachWorkerRunsItsPartOfEveryJobInTurn) {
  for (int workers : {0, 1, 3}) {
    WorkerTeam team(workers);
    ASSERT_EQ(team.Parts(), workers == 0 ? 1 : workers);
    std::vector<std::atomic<long>> sums(static_cast<size_t>(team.Parts()));
    long expected = 0;
    for (long job = 1; job <= 200; ++job) {
      team.Start([&sums, job](int part) { sums[static_cast<size_t>(part)] += job; });
      expected += job;
    }
    team.Wait();
    for (const std::atomic<long>& s : sums) EXPECT_EQ(s.load(), expected);
  }
}

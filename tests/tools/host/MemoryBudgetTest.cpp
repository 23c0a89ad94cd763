#include "tools/host/MemoryBudget.h"

#include <gtest/gtest.h>

TEST(MemoryBudget, ThreadsFitTheMemoryAvailableAndAtLeastOneRuns) {
  const size_t mib = size_t{1} << 20;
  EXPECT_EQ(MemoryBudget::FitThreads(8, 100 * mib, 1000 * mib), 8u);
  EXPECT_EQ(MemoryBudget::FitThreads(8, 300 * mib, 1000 * mib), 3u);
  EXPECT_EQ(MemoryBudget::FitThreads(8, 3000 * mib, 1000 * mib), 1u);
  EXPECT_EQ(MemoryBudget::FitThreads(0, 100 * mib, 1000 * mib), 1u);
  EXPECT_EQ(MemoryBudget::FitThreads(4, 100 * mib, 0), 4u);  // unknown: no limit
  EXPECT_EQ(MemoryBudget::Mebibytes(300 * mib), "300 MiB");
  // This system's figure is read (Linux gives MemAvailable).
  EXPECT_GT(MemoryBudget::AvailableBytes(), 0u);
}

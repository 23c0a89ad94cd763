#include "tools/host/BlockPipe.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

// Pushes blocks 0 .. count-1 of `size` samples (sample i of block b: b * size
// + i) with one clock time each; false from the first refused push.
bool PushBlocks(BlockPipe& pipe, long count, long size) {
  std::vector<double> samples(static_cast<size_t>(size));
  for (long b = 0; b < count; ++b) {
    for (long i = 0; i < size; ++i) samples[static_cast<size_t>(i)] = static_cast<double>(b * size + i);
    const double time = static_cast<double>(b);
    // The caller's buffer is reused at once: the pipe keeps its own copy.
    if (!pipe.Push(PipeBlock{b * size, size, samples.data(), &time, 1})) return false;
  }
  return true;
}

}  // namespace

TEST(BlockPipe, EveryBlockArrivesWholeAndInOrderWithOrWithoutAThread) {
  for (bool threaded : {false, true}) {
    std::vector<double> seen, times;
    BlockPipe pipe(threaded, 4, 100, 1, [&](const PipeBlock& b) {
      EXPECT_EQ(b.start, static_cast<long>(seen.size()));
      seen.insert(seen.end(), b.samples, b.samples + b.count);
      times.insert(times.end(), b.times, b.times + b.timeCount);
      return true;
    });
    EXPECT_TRUE(PushBlocks(pipe, 250, 100));
    EXPECT_TRUE(pipe.Finish());
    ASSERT_EQ(seen.size(), 25'000u);
    for (size_t i = 0; i < seen.size(); ++i) ASSERT_EQ(seen[i], static_cast<double>(i));
    ASSERT_EQ(times.size(), 250u);
    EXPECT_EQ(times.back(), 249.0);
  }
}

TEST(BlockPipe, AConsumerThatStopsOrThrowsStopsTheRun) {
  for (bool threaded : {false, true}) {
    long consumed = 0;
    BlockPipe stopping(threaded, 4, 10, 1, [&](const PipeBlock&) { return ++consumed < 5; });
    EXPECT_FALSE(PushBlocks(stopping, 1000, 10));
    EXPECT_FALSE(stopping.Finish());
    EXPECT_EQ(consumed, 5);
  }
  BlockPipe throwing(true, 4, 10, 1, [](const PipeBlock& b) -> bool {
    if (b.start >= 30) throw std::runtime_error("sink failed");
    return true;
  });
  EXPECT_FALSE(PushBlocks(throwing, 1000, 10));
  EXPECT_THROW(throwing.Finish(), std::runtime_error);
}

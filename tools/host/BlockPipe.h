// The hand-over between the two halves of a run on two threads: the caller
// makes the blocks (stimulus, models, channel) and pushes them, the pipe's
// own thread hands them, in order, to the consumer (the eye, the BER
// gathering, the files). A bounded ring of `depth` blocks lies between the
// two, so memory stays the same whatever the number of bits: Push waits
// while the ring is full. Each block carries its samples and the clock
// times the receiver gave with them. Each side, once it waits, sleeps until
// half the ring is there for it (filled, or free), so that the two threads
// wake each other a few times per ring, not once per block.
//
// Without a thread (threaded false), Push calls the consumer there and then
// on the caller's own samples: the same blocks in the same order, so the
// consumer's results are the same either way.
//
// The consumer returns false to stop the run (its reason is its own to
// keep); a consumer that throws stops it too, and Finish throws it again on
// the caller's thread, as the consumer would have without a thread. Once
// stopped, Push refuses further blocks.
#pragma once

#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

struct PipeBlock {
  long start = 0;  // the run's sample number of samples[0]
  long count = 0;
  const double* samples = nullptr;
  const double* times = nullptr;  // clock times, `timeCount` of them
  long timeCount = 0;
  double earliest = 0, latest = 0;  // the span the clock times may fall in
};

class BlockPipe {
 public:
  using Consumer = std::function<bool(const PipeBlock&)>;

  // Blocks of at most `blockSamples` samples and `blockTimes` clock times.
  BlockPipe(bool threaded, int depth, long blockSamples, long blockTimes, Consumer consumer);
  ~BlockPipe();
  BlockPipe(const BlockPipe&) = delete;
  BlockPipe& operator=(const BlockPipe&) = delete;

  // Hands the block on (its data copied when threaded); false when the
  // consumer has stopped the run.
  bool Push(const PipeBlock& block);
  // Waits until every block pushed is consumed and ends the thread; false
  // when the consumer stopped the run; what it threw, thrown again.
  bool Finish();
  // Whether the pipe has a thread of its own (one could be made).
  bool Threaded() const { return thread_.joinable(); }

 private:
  struct Slot {
    std::vector<double> samples;
    std::vector<double> times;
    PipeBlock block;
  };
  void Consume();
  void Join();
  size_t Half() const { return (ring_.size() + 1) / 2; }

  Consumer consumer_;
  std::vector<Slot> ring_;
  size_t first_ = 0;  // the oldest block waiting
  size_t held_ = 0;   // blocks waiting
  bool closing_ = false;
  bool producerWaits_ = false;
  bool consumerWaits_ = false;
  bool failed_ = false;
  std::exception_ptr thrown_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::thread thread_;
};

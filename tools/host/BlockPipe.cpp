#include "tools/host/BlockPipe.h"

#include <algorithm>
#include <system_error>
#include <utility>

BlockPipe::BlockPipe(bool threaded, int depth, long blockSamples, long blockTimes, Consumer consumer)
    : consumer_(std::move(consumer)) {
  if (!threaded) return;
  ring_.resize(static_cast<size_t>(std::max(1, depth)));
  for (Slot& slot : ring_) {
    slot.samples.resize(static_cast<size_t>(std::max(1L, blockSamples)));
    slot.times.resize(static_cast<size_t>(std::max(0L, blockTimes)));
  }
  try {
    thread_ = std::thread([this] { Consume(); });
  } catch (const std::system_error&) {
    ring_.clear();  // no thread to be had: the caller consumes
  }
}

BlockPipe::~BlockPipe() { Join(); }

bool BlockPipe::Push(const PipeBlock& block) {
  if (!thread_.joinable()) {
    if (!failed_) failed_ = !consumer_(block);
    return !failed_;
  }
  std::unique_lock<std::mutex> lock(mutex_);
  if (held_ == ring_.size()) {
    producerWaits_ = true;
    changed_.wait(lock, [this] { return failed_ || held_ <= ring_.size() / 2; });
    producerWaits_ = false;
  }
  if (failed_) return false;
  Slot& slot = ring_[(first_ + held_) % ring_.size()];
  lock.unlock();
  // The slot is the producer's until it is counted as held.
  std::copy(block.samples, block.samples + block.count, slot.samples.begin());
  std::copy(block.times, block.times + block.timeCount, slot.times.begin());
  slot.block = block;
  slot.block.samples = slot.samples.data();
  slot.block.times = slot.times.data();
  lock.lock();
  ++held_;
  if (consumerWaits_ && held_ >= Half()) changed_.notify_all();
  return true;
}

bool BlockPipe::Finish() {
  Join();
  if (thrown_) std::rethrow_exception(std::exchange(thrown_, nullptr));
  return !failed_;
}

void BlockPipe::Join() {
  if (!thread_.joinable()) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    closing_ = true;
  }
  changed_.notify_all();
  thread_.join();
  std::vector<Slot>().swap(ring_);
}

void BlockPipe::Consume() {
  for (;;) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (held_ == 0) {
      consumerWaits_ = true;
      changed_.wait(lock, [this] { return held_ >= Half() || closing_ || failed_; });
      consumerWaits_ = false;
    }
    if (failed_ || held_ == 0) return;  // stopped, or closing with nothing left
    const PipeBlock block = ring_[first_].block;
    lock.unlock();
    bool ok = false;
    try {
      ok = consumer_(block);
    } catch (...) {
      thrown_ = std::current_exception();
    }
    lock.lock();
    first_ = (first_ + 1) % ring_.size();
    --held_;
    failed_ = !ok;
    if (failed_ || (producerWaits_ && held_ <= ring_.size() / 2)) changed_.notify_all();
  }
}

#include "tools/common/WorkerTeam.h"

#include <system_error>
#include <utility>

WorkerTeam::WorkerTeam(int workers) {
  for (int i = 0; i < workers; ++i) {
    try {
      threads_.emplace_back([this, i] { Work(i); });
    } catch (const std::system_error&) {
      break;  // the threads made so far do the work
    }
  }
}

WorkerTeam::~WorkerTeam() {
  {
    std::unique_lock<std::mutex> lock(mutex_);
    finished_.wait(lock, [this] { return busy_ == 0; });
    stop_ = true;
  }
  started_.notify_all();
  for (std::thread& t : threads_) t.join();
}

void WorkerTeam::Start(std::function<void(int)> job) {
  if (threads_.empty()) {
    job(0);
    return;
  }
  {
    std::unique_lock<std::mutex> lock(mutex_);
    finished_.wait(lock, [this] { return busy_ == 0; });
    job_ = std::move(job);
    busy_ = static_cast<int>(threads_.size());
    ++generation_;
  }
  started_.notify_all();
}

void WorkerTeam::Wait() {
  std::unique_lock<std::mutex> lock(mutex_);
  finished_.wait(lock, [this] { return busy_ == 0; });
}

void WorkerTeam::Work(int part) {
  long seen = 0;
  for (;;) {
    std::function<void(int)>* job = nullptr;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      started_.wait(lock, [&] { return stop_ || generation_ != seen; });
      if (stop_) return;
      seen = generation_;
      job = &job_;
    }
    (*job)(part);
    std::unique_lock<std::mutex> lock(mutex_);
    if (--busy_ == 0) finished_.notify_all();
  }
}

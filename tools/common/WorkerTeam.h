// A fixed team of threads that each run their own part of a job while the
// caller goes on with the next: the host's way of using more than one core
// inside one run. Start(job) waits for the previous job to finish, then
// has worker i run job(i), i = 0 .. Size() - 1, and returns at once; Wait()
// returns when they are done. A team of no workers runs job(0) in Start, on
// the caller's thread, so code written for a team runs the same without one.
//
// The job must not throw. The team ends its threads when it is destroyed,
// after the job in hand.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class WorkerTeam {
 public:
  // `workers` threads (0: none). A system that gives fewer threads than
  // asked leaves a smaller team: Size() says how many there are.
  explicit WorkerTeam(int workers);
  ~WorkerTeam();
  WorkerTeam(const WorkerTeam&) = delete;
  WorkerTeam& operator=(const WorkerTeam&) = delete;

  // The number of parts a job is split into: the workers, or 1 without any.
  int Parts() const { return threads_.empty() ? 1 : static_cast<int>(threads_.size()); }
  void Start(std::function<void(int)> job);
  void Wait();

 private:
  void Work(int part);

  std::vector<std::thread> threads_;
  std::mutex mutex_;
  std::condition_variable started_;
  std::condition_variable finished_;
  std::function<void(int)> job_;
  long generation_ = 0;  // jobs started
  int busy_ = 0;         // workers still on the current job
  bool stop_ = false;
};

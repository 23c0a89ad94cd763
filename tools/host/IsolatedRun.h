// Runs a piece of work in a child process, so that whatever it calls (a
// model library of a third party) cannot take the caller down with it: a
// crash, a call of exit() or a hang past a time limit ends the child alone,
// and the caller learns how it ended and where (the last mark the child
// set: which entry point of which library).
//
// The child is forked, runs the function, hands its result back as bytes
// through a pipe and ends with _exit. The caller's process must have no
// other threads running when it forks (a thread holding a lock at that
// moment would leave the lock held for ever in the child): the sweep forks
// its points from its one thread and watches the children with poll(),
// rather than running them on threads.
//
// While it runs, the child marks what it is doing (Enter/Leave around each
// call into a model); a call that stays entered longer than the call limit
// gets the child stopped (SIGKILL). A fault (SIGSEGV, SIGBUS, SIGFPE,
// SIGILL) is noted with its address before the child dies of it.
//
// The child leads a process group of its own, and whatever it started
// (a model that forks, Wine's processes) stays in that group: when the
// child is stopped, and when it ends, the whole group is killed, so nothing
// it started outlives it.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

struct IsolationShared;  // what parent and child share: the marks, a fault

struct IsolationLimits {
  double seconds = 0;      // the child's whole life; 0: no limit
  double callSeconds = 0;  // one marked call (Enter to Leave); 0: no limit
  size_t memoryBytes = 0;  // the child's address space (RLIMIT_AS); 0: no limit
  size_t dataBytes = 0;    // its data, heap and writable mappings (RLIMIT_DATA): for a child
                           // whose address space is mostly reserved, as Wine's is; 0: no limit
};

struct IsolatedOutcome {
  enum class End {
    kReturned,       // the function returned: `bytes` is its result
    kExited,         // the child called exit() (or _exit) itself: `exitStatus`
    kSignal,         // killed by `signal` (a fault: at `faultAddress`)
    kTimeLimit,      // alive past IsolationLimits::seconds: stopped
    kCallTimeLimit,  // in one marked call past IsolationLimits::callSeconds: stopped
    kNotStarted,     // no child could be made: `bytes` says why
  };
  End end = End::kNotStarted;
  std::string bytes;
  int exitStatus = 0;
  int signal = 0;
  bool faulted = false;  // a fault signal, with its address
  uintptr_t faultAddress = 0;
  std::string library;  // the last mark: the library, and the entry point in it
  std::string entry;    // (empty when the child set none)
  double seconds = 0;   // how long the child lived

  bool Returned() const { return end == End::kReturned; }
  // How the child ended, in words: "was killed by signal SIGSEGV
  // (Segmentation fault) at address 0x0", "called exit(3)", "did not return
  // within the time limit of 1 s and was stopped".
  std::string How(const IsolationLimits& limits) const;
  // Where and how, for a child that ran models: "the model LIB, in
  // AMI_GetWave, was killed by ...", or, outside any marked call, "the run
  // (outside the models' calls) ...".
  std::string Describe(const IsolationLimits& limits) const;
};

// One child, started and then watched until it ends; for a caller that
// watches several at once (poll() on their Fd()s).
class IsolatedChild {
 public:
  IsolatedChild() = default;
  ~IsolatedChild();
  IsolatedChild(const IsolatedChild&) = delete;
  IsolatedChild& operator=(const IsolatedChild&) = delete;

  // Forks a child that runs `work` under `limits`. False (with the reason
  // in the outcome) when no child could be made.
  bool Start(const std::function<std::string()>& work, const IsolationLimits& limits);
  // The pipe the child's result comes through (-1 once it has closed).
  int Fd() const { return fd_; }
  // Reads what the child has written, checks the limits and reaps a child
  // that has ended; true once it has ended (Outcome() then holds how).
  bool Step();
  const IsolatedOutcome& Outcome() const { return outcome_; }

 private:
  void Reap(int status);
  void Stop(IsolatedOutcome::End why);
  void ReadMarks();

  pid_t pid_ = -1;
  int fd_ = -1;
  IsolationShared* shared_ = nullptr;
  IsolationLimits limits_;
  double started_ = 0;
  bool done_ = false;
  IsolatedOutcome outcome_;
};

namespace IsolatedRun {

// Runs `work` in a child under `limits` and waits for its end.
IsolatedOutcome Run(const std::function<std::string()>& work, const IsolationLimits& limits);

// In a child: marks that `entry` of `library` is being called, until Leave.
// Outside a child they do nothing (a test of one pointer).
void Enter(const char* library, const char* entry);
void Leave();

// Whether this process is such a child.
bool InChild();

// Seconds on the monotonic clock.
double Now();

}  // namespace IsolatedRun

#include "tools/host/IsolatedRun.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

struct IsolationShared {
  std::atomic<int64_t> callStartNs{0};  // 0: in no marked call
  std::atomic<int> returned{0};         // the work returned and its bytes are written
  std::atomic<int> faulted{0};
  uintptr_t faultAddress = 0;
  const char* lastLibrary = nullptr;  // the child's own: skips copying the same name again
  char library[1024] = {};
  char entry[64] = {};
};

namespace {

// The child's shared block; null in any other process.
IsolationShared* childShared = nullptr;

int64_t NowNs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

void OnFault(int signal, siginfo_t* info, void*) {
  if (childShared) {
    childShared->faultAddress = reinterpret_cast<uintptr_t>(info->si_addr);
    childShared->faulted.store(1);
  }
  // The handler was reset to the default: a fault of the hardware happens
  // again on return and ends the child; a signal sent by someone is sent again.
  if (info->si_code <= 0) raise(signal);
}

// In the child: faults noted on a stack of their own (a stack overflow has
// none left), then the default action.
void CatchFaults() {
  constexpr size_t kStack = 64 * 1024;
  void* stack = mmap(nullptr, kStack, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (stack != MAP_FAILED) {
    stack_t alternate{};
    alternate.ss_sp = stack;
    alternate.ss_size = kStack;
    sigaltstack(&alternate, nullptr);
  }
  struct sigaction action {};
  action.sa_sigaction = OnFault;
  action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  for (int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL}) sigaction(signal, &action, nullptr);
}

bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

[[noreturn]] void RunChild(const std::function<std::string()>& work, const IsolationLimits& limits,
                           IsolationShared* shared, int fd, pid_t parent) {
  // A child outlives no parent: one stopped by a signal takes its child
  // along, which would otherwise run on (and hold the parent's output open).
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (getppid() != parent) _exit(126);
  setpgid(0, 0);
  childShared = shared;
  CatchFaults();
  if (limits.memoryBytes > 0) {
    const rlimit limit{limits.memoryBytes, limits.memoryBytes};
    setrlimit(RLIMIT_AS, &limit);
  }
  if (limits.dataBytes > 0) {
    const rlimit limit{limits.dataBytes, limits.dataBytes};
    setrlimit(RLIMIT_DATA, &limit);
  }
  std::string bytes;
  try {
    bytes = work();
  } catch (...) {
    _exit(125);  // reported as an exit the work did not ask for
  }
  std::fflush(nullptr);
  const bool written = WriteAll(fd, bytes);
  shared->returned.store(written ? 1 : 0);
  _exit(0);
}

std::string SignalName(int signal) {
  const std::pair<int, const char*> names[] = {{SIGSEGV, "SIGSEGV"}, {SIGBUS, "SIGBUS"},   {SIGFPE, "SIGFPE"},
                                               {SIGILL, "SIGILL"},   {SIGABRT, "SIGABRT"}, {SIGKILL, "SIGKILL"},
                                               {SIGTERM, "SIGTERM"}, {SIGPIPE, "SIGPIPE"}, {SIGXCPU, "SIGXCPU"}};
  for (const auto& n : names)
    if (n.first == signal) return n.second;
  return "signal " + std::to_string(signal);
}

std::string Seconds(double s) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", s);
  return text;
}

}  // namespace

std::string IsolatedOutcome::How(const IsolationLimits& limits) const {
  switch (end) {
    case End::kReturned:
      return "returned";
    case End::kExited:
      return exitStatus == 125 ? "ended by an exception" : "called exit(" + std::to_string(exitStatus) + ")";
    case End::kSignal: {
      std::string how = "was killed by signal " + SignalName(signal) + " (" + strsignal(signal) + ")";
      if (faulted) {
        char at[40];
        std::snprintf(at, sizeof at, " at address 0x%llx", static_cast<unsigned long long>(faultAddress));
        how += at;
      }
      return how;
    }
    case End::kTimeLimit:
      return "was still running after the time limit of " + Seconds(limits.seconds) + " s and was stopped";
    case End::kCallTimeLimit:
      return "did not return within the time limit of " + Seconds(limits.callSeconds) + " s and was stopped";
    case End::kNotStarted:
      break;
  }
  return "not started: " + bytes;
}

std::string IsolatedOutcome::Describe(const IsolationLimits& limits) const {
  if (entry.empty()) return "the run (outside the models' calls) " + How(limits);
  return "the model " + library + ", in " + entry + ", " + How(limits);
}

IsolatedChild::~IsolatedChild() {
  if (pid_ > 0 && !done_) {
    kill(-pid_, SIGKILL);
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  if (fd_ >= 0) close(fd_);
  if (shared_) {
    shared_->~IsolationShared();
    munmap(shared_, sizeof(IsolationShared));
  }
}

bool IsolatedChild::Start(const std::function<std::string()>& work, const IsolationLimits& limits) {
  limits_ = limits;
  void* memory = mmap(nullptr, sizeof(IsolationShared), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
  int ends[2] = {-1, -1};
  if (memory == MAP_FAILED || pipe2(ends, O_CLOEXEC) != 0) {
    outcome_.bytes = std::string("no pipe or shared memory for a child: ") + std::strerror(errno);
    if (memory != MAP_FAILED) munmap(memory, sizeof(IsolationShared));
    return false;
  }
  shared_ = new (memory) IsolationShared;
  std::fflush(nullptr);  // what is buffered is printed once, not by the child again
  started_ = IsolatedRun::Now();
  const pid_t parent = getpid();
  pid_ = fork();
  if (pid_ == 0) {
    close(ends[0]);
    RunChild(work, limits, shared_, ends[1], parent);
  }
  close(ends[1]);
  if (pid_ > 0) setpgid(pid_, pid_);  // (the child does so too: whichever runs first)
  if (pid_ < 0) {
    close(ends[0]);
    outcome_.bytes = std::string("cannot start a child process: ") + std::strerror(errno);
    done_ = true;
    return false;
  }
  fd_ = ends[0];
  fcntl(fd_, F_SETFL, fcntl(fd_, F_GETFL) | O_NONBLOCK);
  return true;
}

bool IsolatedChild::Step() {
  if (done_) return true;
  char chunk[1 << 16];
  while (fd_ >= 0) {
    const ssize_t n = read(fd_, chunk, sizeof chunk);
    if (n > 0) {
      outcome_.bytes.append(chunk, static_cast<size_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
    close(fd_);  // the end of the child's writing
    fd_ = -1;
  }
  // Ended? (Seen without reaping it: while it is not reaped, its process
  // group keeps its number, and what is left in the group can be killed.)
  siginfo_t ended{};
  if (waitid(P_PID, static_cast<id_t>(pid_), &ended, WEXITED | WNOHANG | WNOWAIT) == 0 && ended.si_pid == pid_) {
    kill(-pid_, SIGKILL);
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    Reap(status);
    return true;
  }
  const double now = IsolatedRun::Now();
  const int64_t call = shared_->callStartNs.load();
  if (limits_.seconds > 0 && now - started_ > limits_.seconds) {
    Stop(IsolatedOutcome::End::kTimeLimit);
  } else if (limits_.callSeconds > 0 && call > 0 && now - static_cast<double>(call) * 1e-9 > limits_.callSeconds) {
    Stop(IsolatedOutcome::End::kCallTimeLimit);
  }
  return done_;
}

void IsolatedChild::ReadMarks() {
  outcome_.library.assign(shared_->library, strnlen(shared_->library, sizeof shared_->library));
  outcome_.entry.assign(shared_->entry, strnlen(shared_->entry, sizeof shared_->entry));
  outcome_.seconds = IsolatedRun::Now() - started_;
}

void IsolatedChild::Reap(int status) {
  // The child is gone: whatever it wrote is in the pipe (still without
  // blocking: a process the model started may hold its end open).
  if (fd_ >= 0) {
    char chunk[1 << 16];
    for (ssize_t n; (n = read(fd_, chunk, sizeof chunk)) != 0;) {
      if (n > 0) outcome_.bytes.append(chunk, static_cast<size_t>(n));
      if (n < 0 && errno != EINTR) break;
    }
    close(fd_);
    fd_ = -1;
  }
  done_ = true;
  ReadMarks();
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0 && shared_->returned.load()) {
    outcome_.end = IsolatedOutcome::End::kReturned;
    return;
  }
  outcome_.bytes.clear();
  if (WIFSIGNALED(status)) {
    outcome_.end = IsolatedOutcome::End::kSignal;
    outcome_.signal = WTERMSIG(status);
    outcome_.faulted = shared_->faulted.load() != 0;
    outcome_.faultAddress = shared_->faultAddress;
    return;
  }
  outcome_.end = IsolatedOutcome::End::kExited;
  outcome_.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void IsolatedChild::Stop(IsolatedOutcome::End why) {
  kill(-pid_, SIGKILL);
  kill(pid_, SIGKILL);
  int status = 0;
  while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
  }
  Reap(status);
  outcome_.end = why;
  outcome_.bytes.clear();
}

namespace IsolatedRun {

IsolatedOutcome Run(const std::function<std::string()>& work, const IsolationLimits& limits) {
  IsolatedChild child;
  if (!child.Start(work, limits)) return child.Outcome();
  while (!child.Step()) {
    pollfd watch{child.Fd(), POLLIN, 0};
    // The pipe wakes us when the child writes or ends; the limits are looked
    // at every 50 ms.
    if (child.Fd() >= 0)
      poll(&watch, 1, 50);
    else
      usleep(500);  // its pipe closed: it is ending
  }
  return child.Outcome();
}

void Enter(const char* library, const char* entry) {
  IsolationShared* shared = childShared;
  if (!shared) return;
  if (shared->lastLibrary != library) {
    std::snprintf(shared->library, sizeof shared->library, "%s", library);
    shared->lastLibrary = library;
  }
  std::snprintf(shared->entry, sizeof shared->entry, "%s", entry);
  shared->callStartNs.store(NowNs());
}

void Leave() {
  IsolationShared* shared = childShared;
  if (!shared) return;
  shared->callStartNs.store(0);
  shared->entry[0] = '\0';
}

bool InChild() { return childShared != nullptr; }

double Now() { return static_cast<double>(NowNs()) * 1e-9; }

}  // namespace IsolatedRun

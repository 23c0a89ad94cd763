// A piece of work in a child process: its result comes back as bytes; a
// crash, an exit(), a hang past a limit or a memory limit ends the child
// alone, and the outcome says how and in which marked call.
#include "tools/host/IsolatedRun.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

TEST(IsolatedRun, TheResultComesBackAsBytes) {
  const std::string big(3 << 20, 'b');  // more than a pipe holds at once
  const IsolatedOutcome out = IsolatedRun::Run([&] { return big + "end"; }, {});
  ASSERT_TRUE(out.Returned()) << out.How({});
  EXPECT_EQ(out.bytes.size(), big.size() + 3);
  EXPECT_EQ(out.bytes.substr(big.size()), "end");
  EXPECT_FALSE(IsolatedRun::InChild());
}

TEST(IsolatedRun, ACrashIsNamedWithItsCallAndAddress) {
  const IsolatedOutcome out = IsolatedRun::Run(
      [] {
        IsolatedRun::Enter("libvendor.so", "AMI_GetWave");
        volatile uintptr_t address = 16;
        *reinterpret_cast<volatile int*>(address) = 1;
        return std::string("not reached");
      },
      {});
#if defined(__SANITIZE_ADDRESS__)
  // The sanitizer may report the fault itself and end the child with a status.
  EXPECT_TRUE(out.end == IsolatedOutcome::End::kSignal || out.end == IsolatedOutcome::End::kExited);
#else
  ASSERT_EQ(out.end, IsolatedOutcome::End::kSignal) << out.How({});
  EXPECT_EQ(out.signal, SIGSEGV);
  EXPECT_TRUE(out.faulted);
  EXPECT_EQ(out.faultAddress, 16u);
  EXPECT_EQ(
      out.Describe({}),
      "the model libvendor.so, in AMI_GetWave, was killed by signal SIGSEGV (Segmentation fault) at address 0x10");
#endif
  EXPECT_EQ(out.entry, "AMI_GetWave");
}

TEST(IsolatedRun, AnExitIsNotAResult) {
  for (int status : {0, 3}) {
    const IsolatedOutcome out = IsolatedRun::Run(
        [status] {
          IsolatedRun::Enter("lib.so", "AMI_Init");
          std::exit(status);
          return std::string();
        },
        {});
#if defined(__SANITIZE_ADDRESS__)
    // (The leak check at exit may abort instead.)
    EXPECT_NE(out.end, IsolatedOutcome::End::kReturned) << status;
#else
    ASSERT_EQ(out.end, IsolatedOutcome::End::kExited) << status;
    EXPECT_EQ(out.exitStatus, status);
    EXPECT_EQ(out.Describe({}), "the model lib.so, in AMI_Init, called exit(" + std::to_string(status) + ")");
#endif
  }
}

// A marked call past its limit stops the child; time outside calls does not
// count against it, the whole-life limit does.
TEST(IsolatedRun, AHangIsStoppedAtItsLimit) {
  IsolationLimits limits;
  limits.callSeconds = 0.3;
  const double start = IsolatedRun::Now();
  const IsolatedOutcome hung = IsolatedRun::Run(
      [] {
        usleep(400000);  // outside any call
        IsolatedRun::Enter("lib.so", "AMI_GetWave");
        for (;;) pause();
        return std::string();
      },
      limits);
  EXPECT_EQ(hung.end, IsolatedOutcome::End::kCallTimeLimit);
  EXPECT_GT(IsolatedRun::Now() - start, 0.65);
  EXPECT_LT(IsolatedRun::Now() - start, 5.0);
  EXPECT_EQ(hung.Describe(limits),
            "the model lib.so, in AMI_GetWave, did not return within the time limit of 0.3 s and was stopped");
  limits = IsolationLimits();
  limits.seconds = 0.2;
  const IsolatedOutcome slow = IsolatedRun::Run(
      [] {
        for (;;) pause();
        return std::string();
      },
      limits);
  EXPECT_EQ(slow.end, IsolatedOutcome::End::kTimeLimit);
  EXPECT_EQ(slow.Describe(limits),
            "the run (outside the models' calls) was still running after the time limit of 0.2 s and was stopped");
}

#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
// (The sanitizers reserve far more address space than such a limit.)
TEST(IsolatedRun, TheMemoryLimitHoldsInTheChild) {
  IsolationLimits limits;
  limits.memoryBytes = size_t{512} << 20;
  const IsolatedOutcome out = IsolatedRun::Run(
      [] {
        try {
          std::vector<char> huge(size_t{1} << 30, 1);
          return std::string("allocated");
        } catch (const std::bad_alloc&) {
          return std::string("refused");
        }
      },
      limits);
  ASSERT_TRUE(out.Returned());
  EXPECT_EQ(out.bytes, "refused");
}
#endif

// Several children watched at once, as a sweep does.
TEST(IsolatedRun, ChildrenRunSideBySide) {
  std::vector<IsolatedChild> children(4);
  for (size_t i = 0; i < children.size(); ++i)
    ASSERT_TRUE(children[i].Start([i] { return std::to_string(i * i); }, {}));
  for (size_t i = 0; i < children.size(); ++i) {
    while (!children[i].Step()) usleep(1000);
    EXPECT_EQ(children[i].Outcome().bytes, std::to_string(i * i));
  }
}

namespace {

// Whether a process is gone: no entry, or a zombie no one has reaped yet
// (a killed process of another parent waits for it).
bool Gone(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return true;
  const size_t close = line.rfind(')');
  return close != std::string::npos && close + 2 < line.size() && line[close + 2] == 'Z';
}

// A child that starts a process of its own which would sleep for a minute,
// tells its pid, then hangs (or returns).
pid_t RunForking(bool hang, IsolatedOutcome& out) {
  int ends[2];
  if (pipe(ends) != 0) return -1;
  IsolationLimits limits;
  limits.seconds = 1.0;
  out = IsolatedRun::Run(
      [&] {
        const pid_t grandchild = fork();
        if (grandchild == 0) {
          sleep(60);
          _exit(0);
        }
        if (write(ends[1], &grandchild, sizeof grandchild) < 0) return std::string();
        if (hang)
          for (;;) pause();
        return std::string("returned");
      },
      limits);
  close(ends[1]);
  pid_t grandchild = -1;
  if (read(ends[0], &grandchild, sizeof grandchild) != static_cast<ssize_t>(sizeof grandchild)) grandchild = -1;
  close(ends[0]);
  return grandchild;
}

}  // namespace

// What the child starts (a model that forks, Wine's processes) ends with
// it: stopped at the time limit or ended on its own, its process group goes.
TEST(IsolatedRun, WhatTheChildStartedEndsWithIt) {
  for (bool hang : {true, false}) {
    IsolatedOutcome out;
    const pid_t grandchild = RunForking(hang, out);
    ASSERT_GT(grandchild, 0);
    EXPECT_EQ(out.end, hang ? IsolatedOutcome::End::kTimeLimit : IsolatedOutcome::End::kReturned);
    bool gone = false;
    for (int i = 0; i < 200 && !gone; ++i) {
      gone = Gone(grandchild);
      if (!gone) usleep(10000);
    }
    EXPECT_TRUE(gone) << "process " << grandchild << " outlived its child (hang: " << hang << ")";
  }
}

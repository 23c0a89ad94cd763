// Model instances on eight threads at once give, instance for instance, what
// one thread gives: the same AMI_Init result and message, the same output
// bits. The parameter strings are normal, incomplete, malformed and refused
// ones; some runs make every parser allocation fail, others share a budget
// of allocations that runs out while the threads parse.
//
// A program of its own, run test by test: the message stream and the
// counters are still in their start state when the threads first print. The
// tsan preset runs it under ThreadSanitizer, which reports any access to
// shared state that is not synchronised.
#include "ami/AmiEntryPoints.h"
#include "amiparam/Cmn.h"
#include "amiparam/Msg.h"
#include "tests/AnySamples.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kThreads = 8;
constexpr int kRounds = 2;

struct Case {
  const char* params;
  double sampleInterval;
  double bitTime;
};

const Case kCases[] = {
    {"(tessalune_tx (emphasis 3) (Vreg 1) (corner 0))", 3.125e-12, 1e-10},
    {"(tessalune_tx (emphasis 6) (Vreg 0) (corner 2))", 1e-10 / 16, 1e-10},
    {"(tessalune_tx (Model_Specific (a (b (c 1)))) (emphasis 4) (Vreg 2) (corner 1))", 1e-11 / 3, 1e-11},
    {"(tessalune_tx (emphasis 2))", 3.125e-12, 1e-10},                              // two parameters missing
    {"(tessalune_tx (Vreg True) (corner high) (emphasis 1 2))", 3.125e-12, 1e-10},  // not numeric
    {"tessalune_tx (emphasis 3)", 3.125e-12, 1e-10},                                // no opening parenthesis
    {"(tessalune_tx (emphasis 3) (Vreg", 3.125e-12, 1e-10},                         // cut short
    {"", 3.125e-12, 1e-10},
    {"(tessalune_tx (Vreg 7) (corner 0))", 3.125e-12, 1e-10},  // no response for this Vreg
    {"(tessalune_tx (corner -0.6))", 3.125e-12, 1e-10},        // nor for this corner
    {"(tessalune_tx)", 1e-10 / 129, 1e-10},                    // more samples per bit than the model takes
    {"(tessalune_tx)", 2e-9 / 32, 2e-9},                       // too coarse for the response filters
};
constexpr int kCaseCount = int(sizeof(kCases) / sizeof(kCases[0]));

// What an instance hands back: the results of the three calls, the message
// text after AMI_Init and after AMI_GetWave (the pointer stays valid until
// AMI_Close), and the wave.
struct Outcome {
  long init = -1, getWave = -1, close = -1;
  std::string atInit, afterGetWave;
  std::vector<double> wave;

  bool operator==(const Outcome& o) const {
    return init == o.init && getWave == o.getWave && close == o.close && atInit == o.atInit &&
           afterGetWave == o.afterGetWave && FirstDifference(wave, o.wave).empty();
  }
};

std::string Describe(const Outcome& o) {
  return "init " + std::to_string(o.init) + ", get wave " + std::to_string(o.getWave) + ", close " +
         std::to_string(o.close) + ", message \"" + o.afterGetWave + "\"";
}

Outcome RunInstance(const Case& c) {
  std::vector<char> text(c.params, c.params + std::strlen(c.params) + 1);
  void* handle = nullptr;
  char* msg = nullptr;
  Outcome o;
  o.init = AMI_Init(nullptr, 0, 0, c.sampleInterval, c.bitTime, text.data(), nullptr, &handle, &msg);
  if (msg != nullptr) o.atInit = msg;
  o.wave = AnySamples(700, 3);
  double clocks[1];
  o.getWave = AMI_GetWave(o.wave.data(), long(o.wave.size()), clocks, nullptr, handle);
  if (msg != nullptr) o.afterGetWave = msg;
  o.close = AMI_Close(handle);
  return o;
}

// Every case kRounds times on each of eight threads, each thread starting
// at another case; result [thread][round * kCaseCount + case].
std::vector<std::vector<Outcome>> OnEightThreads() {
  std::vector<std::vector<Outcome>> results(kThreads, std::vector<Outcome>(kRounds * kCaseCount));
  std::atomic<int> waiting{kThreads};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      // All threads start together, so that their AMI_Inits overlap.
      --waiting;
      while (waiting.load() > 0) std::this_thread::yield();
      for (int i = 0; i < kRounds * kCaseCount; ++i) {
        const int c = (i + t) % kCaseCount;
        results[t][(i / kCaseCount) * kCaseCount + c] = RunInstance(kCases[c]);
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  return results;
}

struct Counts {
  int32_t bugs, errors;
};
Counts Now() { return {glBugCount, glErrorCount}; }

// Sends the parser's reports elsewhere while one thread runs the references;
// the threads print to the stream as the program starts with it.
class QuietReports {
 public:
  QuietReports() : saved_(gpMsgStream), sink_(std::fopen("/dev/null", "w")) {
    if (sink_ != nullptr) gpMsgStream = sink_;
  }
  ~QuietReports() {
    gpMsgStream = saved_;
    if (sink_ != nullptr) std::fclose(sink_);
  }

 private:
  FILE* saved_;
  FILE* sink_;
};

}  // namespace

TEST(AmiThreads, InstancesOnEightThreadsMatchOneThread) {
  const std::vector<std::vector<Outcome>> parallel = OnEightThreads();
  for (int c = 0; c < kCaseCount; ++c) {
    const Outcome expected = RunInstance(kCases[c]);
    for (int t = 0; t < kThreads; ++t)
      for (int r = 0; r < kRounds; ++r)
        EXPECT_TRUE(parallel[t][r * kCaseCount + c] == expected)
            << kCases[c].params << " on thread " << t << ": " << Describe(parallel[t][r * kCaseCount + c])
            << " instead of " << Describe(expected);
  }
}

TEST(AmiThreads, FailingAllocationsOnEightThreadsMatchOneThreadAndAreAllCounted) {
  // Every request of the parser fails: each instance reports it, and each
  // report is counted once.
  CMN_FailAllocationsAfter(0);
  const Counts before = Now();
  const std::vector<std::vector<Outcome>> parallel = OnEightThreads();
  const Counts afterParallel = Now();

  QuietReports quiet;
  int64_t bugs = 0, errors = 0;
  for (int c = 0; c < kCaseCount; ++c) {
    const Counts start = Now();
    const Outcome expected = RunInstance(kCases[c]);
    bugs += glBugCount - start.bugs;
    errors += glErrorCount - start.errors;
    for (int t = 0; t < kThreads; ++t)
      for (int r = 0; r < kRounds; ++r)
        EXPECT_TRUE(parallel[t][r * kCaseCount + c] == expected)
            << kCases[c].params << " on thread " << t << ": " << Describe(parallel[t][r * kCaseCount + c])
            << " instead of " << Describe(expected);
  }
  CMN_FailAllocationsAfter(-1);
  EXPECT_GT(errors, 0);
  EXPECT_EQ(afterParallel.errors - before.errors, errors * kThreads * kRounds);
  EXPECT_EQ(afterParallel.bugs - before.bugs, bugs * kThreads * kRounds);
}

TEST(AmiThreads, AllocationBudgetSharedByEightThreadsRunsOutLikeOneThreadsDoes) {
  // The threads draw on one budget of requests; once it is spent, every
  // later request fails. An instance therefore sees some number b of its
  // requests granted and the rest refused: exactly what one thread sees with
  // a budget of b.
  CMN_FailAllocationsAfter(1000);
  const std::vector<std::vector<Outcome>> parallel = OnEightThreads();

  QuietReports quiet;
  constexpr int kLargestBudget = 200;
  for (int c = 0; c < kCaseCount; ++c) {
    std::vector<Outcome> possible;
    for (int b = 0; b <= kLargestBudget; ++b) {
      CMN_FailAllocationsAfter(b);
      possible.push_back(RunInstance(kCases[c]));
    }
    CMN_FailAllocationsAfter(-1);
    // The largest budget lets the whole instance run.
    ASSERT_TRUE(possible.back() == RunInstance(kCases[c])) << kCases[c].params;
    for (int t = 0; t < kThreads; ++t) {
      for (int r = 0; r < kRounds; ++r) {
        const Outcome& got = parallel[t][r * kCaseCount + c];
        bool found = false;
        for (const Outcome& o : possible) found = found || got == o;
        EXPECT_TRUE(found) << kCases[c].params << " on thread " << t << ": " << Describe(got);
      }
    }
  }
}

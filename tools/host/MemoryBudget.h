// How many simulation runs fit in the memory the system has: `sweep` runs
// its points on several threads, each run with its own channel convolution,
// and sizes the thread count so that they fit.
#pragma once

#include <cstddef>
#include <string>

class MemoryBudget {
 public:
  // What one run takes besides its channel convolution (the stream's blocks,
  // the eye measurement, the sample distributions of the BER figures, an eye
  // density), rounded up.
  static constexpr size_t kRunBytes = size_t{64} << 20;

  // Bytes the process can still take: the system's available memory
  // (MemAvailable), or less when a control group's limit leaves less; 0 when
  // neither can be read.
  static size_t AvailableBytes();

  // Threads for runs of `perRun` bytes each: `wanted`, or fewer so that they
  // fit in `available` (0: unknown, no limit); at least 1.
  static unsigned FitThreads(unsigned wanted, size_t perRun, size_t available);

  // "123 MiB".
  static std::string Mebibytes(size_t bytes);
};

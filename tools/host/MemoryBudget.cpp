#include "tools/host/MemoryBudget.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>

namespace {

// The first number of the file at `path` ("max" and unreadable files: 0).
size_t ReadNumber(const char* path) {
  std::ifstream in(path);
  unsigned long long value = 0;
  if (!(in >> value)) return 0;
  return static_cast<size_t>(value);
}

size_t MemAvailable() {
  std::ifstream in("/proc/meminfo");
  std::string key;
  unsigned long long kib = 0;
  std::string unit;
  while (in >> key >> kib) {
    std::getline(in, unit);
    if (key == "MemAvailable:") return static_cast<size_t>(kib) * 1024;
  }
  return 0;
}

}  // namespace

size_t MemoryBudget::AvailableBytes() {
  size_t available = MemAvailable();
  // A control group (cgroup v2) with a limit: what is left below it.
  const size_t limit = ReadNumber("/sys/fs/cgroup/memory.max");
  const size_t used = ReadNumber("/sys/fs/cgroup/memory.current");
  if (limit > 0) {
    const size_t left = limit > used ? limit - used : 0;
    available = available > 0 ? std::min(available, left) : left;
  }
  return available;
}

unsigned MemoryBudget::FitThreads(unsigned wanted, size_t perRun, size_t available) {
  wanted = std::max(1u, wanted);
  if (available == 0 || perRun == 0) return wanted;
  const size_t fit = available / perRun;
  return static_cast<unsigned>(std::max<size_t>(1, std::min<size_t>(wanted, fit)));
}

std::string MemoryBudget::Mebibytes(size_t bytes) {
  char text[48];
  std::snprintf(text, sizeof text, "%.0f MiB", static_cast<double>(bytes) / (1024.0 * 1024.0));
  return text;
}

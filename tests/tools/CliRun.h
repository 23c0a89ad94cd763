// Runs the tessalune program as a user would and captures what it prints.
#pragma once

#include <sys/resource.h>
#include <sys/wait.h>
#include <array>
#include <cstdio>
#include <string>

struct CliResult {
  int status = -1;     // exit status, or -1 when the program did not exit normally
  std::string output;  // standard output (standard error too when asked)
};

// Runs `tessalune ARGS` through the shell; ARGS is passed as written.
inline CliResult RunCli(const std::string& args, bool withStderr = false) {
  std::string command = std::string("'") + TESSALUNE_CLI + "' " + args;
  command += withStderr ? " 2>&1" : " 2>/dev/null";
  CliResult result;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return result;
  std::array<char, 4096> chunk{};
  size_t n = 0;
  while ((n = fread(chunk.data(), 1, chunk.size(), pipe)) > 0) result.output.append(chunk.data(), n);
  int raw = pclose(pipe);
  if (raw != -1 && WIFEXITED(raw)) result.status = WEXITSTATUS(raw);
  return result;
}

// Lowers one of this process's resource limits, and so those of the programs
// it starts, for as long as it lives.
class ScopedLimit {
 public:
  ScopedLimit(int resource, rlim_t value) : resource_(resource) {
    getrlimit(resource_, &saved_);
    rlimit lowered = saved_;
    lowered.rlim_cur = value;
    ok_ = setrlimit(resource_, &lowered) == 0;
  }
  ~ScopedLimit() { setrlimit(resource_, &saved_); }
  bool Ok() const { return ok_; }

 private:
  int resource_;
  rlimit saved_{};
  bool ok_ = false;
};

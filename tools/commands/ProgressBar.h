// A progress bar on standard error for long runs: it appears only when
// standard error is a terminal and the run has lasted about a second, and
// it erases itself when the run ends.
#pragma once

#include <chrono>
#include <string>

class ProgressBar {
 public:
  explicit ProgressBar(std::string label);
  ~ProgressBar();
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  // `fraction` of the work is done (0..1). Cheap to call often.
  void Update(double fraction);
  // Erases the bar if it was shown.
  void Finish();

 private:
  using Clock = std::chrono::steady_clock;
  std::string label_;
  bool enabled_;
  bool shown_ = false;
  Clock::time_point start_;
  Clock::time_point lastDraw_;
};

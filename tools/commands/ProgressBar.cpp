#include "tools/commands/ProgressBar.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

namespace {

constexpr auto kDelay = std::chrono::milliseconds(1000);
constexpr auto kRedraw = std::chrono::milliseconds(100);
constexpr int kWidth = 40;

}  // namespace

ProgressBar::ProgressBar(std::string label)
    : label_(std::move(label)), enabled_(isatty(STDERR_FILENO) == 1), start_(Clock::now()) {}

ProgressBar::~ProgressBar() { Finish(); }

void ProgressBar::Update(double fraction) {
  if (!enabled_) return;
  const auto now = Clock::now();
  if (now - start_ < kDelay || (shown_ && now - lastDraw_ < kRedraw)) return;
  lastDraw_ = now;
  shown_ = true;
  fraction = std::clamp(fraction, 0.0, 1.0);
  const int filled = static_cast<int>(fraction * kWidth + 0.5);
  const double elapsed = std::chrono::duration<double>(now - start_).count();
  std::string bar(static_cast<size_t>(filled), '#');
  bar.append(static_cast<size_t>(kWidth - filled), '.');
  std::fprintf(stderr, "\r%s [%s] %3d%%  %.0f s", label_.c_str(), bar.c_str(), static_cast<int>(fraction * 100),
               elapsed);
  std::fflush(stderr);
}

void ProgressBar::Finish() {
  if (!shown_) return;
  shown_ = false;
  std::fprintf(stderr, "\r\033[K");
  std::fflush(stderr);
}

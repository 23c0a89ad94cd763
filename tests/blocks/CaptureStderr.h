#pragma once

#include <gtest/gtest.h>

#include <string>

// Calls `call` and returns what it wrote to standard error.
template <class Call>
std::string StderrOf(Call&& call) {
  testing::internal::CaptureStderr();
  call();
  return testing::internal::GetCapturedStderr();
}

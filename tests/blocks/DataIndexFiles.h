#pragma once

#include "tests/TestFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

// The folder for the data index files one test writes.
using TempDir = TestFolder;

// The bytes of a binary data index file: 32-bit little-endian integers.
inline std::string LittleEndian(const std::vector<int32_t>& values) {
  std::string bytes;
  for (int32_t v : values)
    for (int b = 0; b < 4; ++b) bytes += char((uint32_t(v) >> (8 * b)) & 0xff);
  return bytes;
}

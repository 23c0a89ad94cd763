// The timing part of the entry-point fuzz inputs: a mode byte, then either a
// samples-per-bit byte (mode even; bit time 100 ps, 1 to `maxPerBit`
// samples per bit) or two raw doubles, sample interval and bit time (mode
// odd). Returns the offset of what follows, or 0 when the input is too short.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

inline size_t ReadFuzzTiming(const uint8_t* data, size_t size, unsigned maxPerBit, double& sampleInterval,
                             double& bitTime) {
  sampleInterval = 3.125e-12;
  bitTime = 1e-10;
  if (size < 2) return 0;
  if (data[0] & 1) {
    if (size < 17) return 0;
    std::memcpy(&sampleInterval, data + 1, sizeof(double));
    std::memcpy(&bitTime, data + 9, sizeof(double));
    return 17;
  }
  sampleInterval = 1e-10 / double(1 + data[1] % maxPerBit);
  return 2;
}

// The reference receiver's entry points on arbitrary input. Input: one mode
// byte, then either a samples-per-bit byte (mode even) or two raw doubles,
// sample interval and bit time (mode odd), then one byte of aggressors and
// block sizes, then the AMI parameter string. Whatever the input, the entry
// points must neither crash nor touch memory they do not own: the impulse
// matrix holds exactly the rows named, and every clock-times array exactly
// as many entries as its wave.
#include "fuzz/FuzzTiming.h"
#include "rxami/RxEntryPoints.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  double sampleInterval = 0.0, bitTime = 0.0;
  size_t at = ReadFuzzTiming(data, size, 70, sampleInterval, bitTime);
  if (at == 0 || at >= size) return 0;
  const uint8_t mode = data[0];
  const uint8_t shape = data[at++];
  const long aggressors = shape % 3, row = 16 + 8 * ((shape >> 2) % 4);
  std::string params(reinterpret_cast<const char*>(data + at), size - at);
  std::vector<char> text(params.c_str(), params.c_str() + params.size() + 1);

  std::vector<double> impulse(size_t(row * (aggressors + 1)));
  for (size_t i = 0; i < impulse.size(); ++i) impulse[i] = 1.0 / double(1 + i % size_t(row));
  char* out = nullptr;
  char* msg = nullptr;
  void* handle = nullptr;
  const long ok = AMI_Init(impulse.data(), row, aggressors, sampleInterval, bitTime, text.data(), &out, &handle, &msg);
  if (msg != nullptr) (void)std::strlen(msg);
  if (out != nullptr) (void)std::strlen(out);

  std::vector<double> wave(400);
  for (size_t i = 0; i < wave.size(); ++i) wave[i] = ((i / 8) & 1) ? 0.5 : -0.5;
  const size_t pieces[] = {1, size_t(1 + (shape >> 4)), 0, 3, 150};
  size_t from = 0;
  bool ran = false;
  for (size_t n : pieces) {
    std::vector<double> clocks(n);  // exactly the wave's size
    ran |= AMI_GetWave(wave.data() + from, long(n), clocks.data(), &out, handle) != 0 && n > 0;
    if (out != nullptr) (void)std::strlen(out);
    from += n;
  }
  double clock = 0.0;
  if (AMI_GetWave(wave.data(), -(mode + 1L), &clock, &out, handle) != 0) __builtin_trap();
  if (!ok && ran) __builtin_trap();  // an instance that failed to initialise never runs
  AMI_Close(handle);
  return 0;
}

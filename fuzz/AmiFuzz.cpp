// Input: one mode byte, then either a samples-per-bit byte (mode even) or two
// raw doubles, sample interval and bit time (mode odd), then the AMI
// parameter string. Whatever the input, the entry points must neither crash
// nor touch memory they do not own.
#include "ami/AmiEntryPoints.h"
#include "fuzz/FuzzTiming.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  double sampleInterval = 0.0, bitTime = 0.0;
  const size_t at = ReadFuzzTiming(data, size, 140, sampleInterval, bitTime);
  if (at == 0) return 0;
  const uint8_t mode = data[0];
  std::string params(reinterpret_cast<const char*>(data + at), size - at);
  std::vector<char> text(params.c_str(), params.c_str() + params.size() + 1);

  double impulse[4] = {1, 2, 3, 4};
  char* out = nullptr;
  char* msg = nullptr;
  void* handle = nullptr;
  const long ok = AMI_Init(impulse, 4, 0, sampleInterval, bitTime, text.data(), &out, &handle, &msg);
  if (msg != nullptr) (void)std::strlen(msg);

  std::vector<double> wave(96);
  for (size_t i = 0; i < wave.size(); ++i) wave[i] = ((i / 8) & 1) ? 0.5 : -0.5;
  double clocks[2] = {0, 0};
  const long first = AMI_GetWave(wave.data(), 40, clocks, &out, handle);
  const long second = AMI_GetWave(wave.data() + 40, 56, clocks, &out, handle);
  if (AMI_GetWave(wave.data(), -(mode + 1L), clocks, &out, handle) != 0) __builtin_trap();
  if (!ok && (first || second)) __builtin_trap();  // an instance that failed to initialise never runs
  AMI_Close(handle);
  return 0;
}

// Fuzz target: arbitrary bytes as the content of a Touchstone file. The
// first byte picks the file's name (.s1p to .s4p, or .ts, which only a
// version 2.0 file can be); the rest is the text. The reader must never
// crash, hang or leak, must give a reason whenever it refuses a file, and
// whatever it reads must hang together.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "tools/linkbench/channel/Touchstone.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  static const char* const names[] = {"f.s1p", "f.s2p", "f.s3p", "f.s4p", "f.ts"};
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  TouchstoneNetwork network;
  std::string error;
  if (!ReadTouchstone(text, names[data[0] % 5], network, error)) {
    if (error.empty() || network.Points() != 0) __builtin_trap();
    return 0;
  }
  const size_t n = static_cast<size_t>(network.ports);
  if (n < 1 || n > TouchstoneNetwork::kMaxPorts || network.Points() == 0) __builtin_trap();
  if (network.s.size() != network.Points() * n * n || network.reference.size() != n) __builtin_trap();
  for (size_t k = 0; k < network.Points(); ++k) {
    if (!(network.frequency[k] >= 0.0) || !std::isfinite(network.frequency[k])) __builtin_trap();
    if (k > 0 && network.frequency[k] < network.frequency[k - 1]) __builtin_trap();
  }
  for (const auto& v : network.s) {
    if (!std::isfinite(v.real()) || !std::isfinite(v.imag())) __builtin_trap();
  }
  return 0;
}

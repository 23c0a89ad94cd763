#include "tools/linkbench/stream/Prbs.h"

namespace {

int TapFor(int order) {
  switch (order) {
    case 7:
      return 6;
    case 15:
      return 14;
    case 23:
      return 18;
    case 31:
      return 28;
    default:
      return 0;
  }
}

}  // namespace

bool Prbs::IsSupported(int order) { return TapFor(order) != 0; }

Prbs::Prbs(int order, uint32_t seed) {
  // An unsupported order falls back to PRBS7 rather than an invalid register.
  order_ = IsSupported(order) ? order : 7;
  tap_ = TapFor(order_);
  mask_ = static_cast<uint32_t>((uint64_t{1} << order_) - 1);
  state_ = seed & mask_;
  if (state_ == 0) state_ = mask_;  // the all-zero state never leaves itself
}

int Prbs::Next() {
  const uint32_t bit = ((state_ >> (order_ - 1)) ^ (state_ >> (tap_ - 1))) & 1u;
  state_ = ((state_ << 1) | bit) & mask_;
  return static_cast<int>(bit);
}

std::vector<uint8_t> Prbs::Bits(size_t count) {
  std::vector<uint8_t> bits(count);
  for (auto& b : bits) b = static_cast<uint8_t>(Next());
  return bits;
}

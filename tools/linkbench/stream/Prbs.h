// Pseudo-random binary sequences for link stimulus: PRBS7, PRBS15, PRBS23
// and PRBS31, the maximal-length generators of serial-link test practice.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A Fibonacci linear-feedback shift register of `order` bits with the
// feedback polynomial x^order + x^tap + 1:
//   PRBS7  x^7 + x^6 + 1      PRBS15 x^15 + x^14 + 1
//   PRBS23 x^23 + x^18 + 1    PRBS31 x^31 + x^28 + 1
// Each output bit is the feedback bit, so the sequence obeys
// b[k] = b[k - order] xor b[k - tap] and repeats after 2^order - 1 bits.
// Seeded with all ones, PRBS7 starts 0000001000001100001010001111...
class Prbs {
 public:
  // True for the orders this generator knows (7, 15, 23, 31).
  static bool IsSupported(int order);

  // `order` must be supported; `seed` is the initial register contents
  // (low `order` bits, must not be zero; zero is replaced by all ones).
  explicit Prbs(int order, uint32_t seed = 0xFFFFFFFFu);

  int Order() const { return order_; }
  int Tap() const { return tap_; }
  uint64_t Period() const { return (uint64_t{1} << order_) - 1; }

  // The next bit of the sequence, 0 or 1.
  int Next();

  // The next `count` bits.
  std::vector<uint8_t> Bits(size_t count);

 private:
  int order_;
  int tap_;
  uint32_t mask_;
  uint32_t state_;
};

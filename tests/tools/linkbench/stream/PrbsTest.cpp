#include "tools/linkbench/stream/Prbs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

namespace {

std::string BitString(Prbs& prbs, size_t count) {
  std::string s;
  for (size_t i = 0; i < count; ++i) s += static_cast<char>('0' + prbs.Next());
  return s;
}

}  // namespace

TEST(Prbs, Prbs7FromAllOnesGivesTheWellKnownSequence) {
  Prbs prbs(7);
  EXPECT_EQ(BitString(prbs, 127),
            "0000001000001100001010001111001000101100111010100111110100001110"
            "001001001101101011011110110001101001011101110011001010101111111");
}

// From all ones, b[k] = b[k - n] xor b[k - t] gives t zeros, then ones up to
// bit n (the seed's ones meet the first zeros).
TEST(Prbs, LongerOrdersStartWithTapZerosThenOnes) {
  EXPECT_EQ(BitString(*std::make_unique<Prbs>(15), 15), "000000000000001");
  EXPECT_EQ(BitString(*std::make_unique<Prbs>(23), 23), "00000000000000000011111");
  EXPECT_EQ(BitString(*std::make_unique<Prbs>(31), 31), "0000000000000000000000000000111");
}

// Maximal length: the register returns to its seed after exactly 2^n - 1
// bits and not before, a period holds 2^(n-1) ones, and the longest run of
// ones is n bits.
TEST(Prbs, Prbs7To23HaveMaximalPeriodAndBalance) {
  for (int order : {7, 15, 23}) {
    Prbs prbs(order);
    const uint64_t period = prbs.Period();
    ASSERT_EQ(period, (uint64_t{1} << order) - 1);
    std::vector<uint8_t> first = prbs.Bits(period);
    uint64_t ones = 0;
    int run = 0, longest = 0;
    for (uint8_t b : first) {
      ones += b;
      run = b ? run + 1 : 0;
      longest = std::max(longest, run);
    }
    EXPECT_EQ(ones, uint64_t{1} << (order - 1)) << "PRBS" << order;
    EXPECT_EQ(longest, order) << "PRBS" << order;
    // Repeats exactly...
    std::vector<uint8_t> second = prbs.Bits(period);
    EXPECT_EQ(first, second) << "PRBS" << order;
    // ...and no shorter shift of it matches (checked on a prefix for order 23).
    const size_t check = std::min<uint64_t>(period, 4096);
    for (uint64_t shift = 1; shift < period && order <= 15; ++shift) {
      bool same = true;
      for (size_t i = 0; i < check && same; ++i) same = first[i] == first[(i + shift) % period];
      ASSERT_FALSE(same) << "PRBS" << order << " repeats after " << shift;
    }
  }
}

TEST(Prbs, Prbs31ObeysItsRecurrence) {
  Prbs prbs(31);
  std::vector<uint8_t> b = prbs.Bits(200000);
  for (size_t k = 31; k < b.size(); ++k) ASSERT_EQ(b[k], b[k - 31] ^ b[k - 28]) << "bit " << k;
}

TEST(Prbs, UnsupportedOrderOrZeroSeedStillGivesAWorkingGenerator) {
  EXPECT_FALSE(Prbs::IsSupported(9));
  EXPECT_TRUE(Prbs::IsSupported(23));
  Prbs fallback(9);
  EXPECT_EQ(fallback.Order(), 7);
  Prbs zeroSeed(15, 0);
  std::vector<uint8_t> b = zeroSeed.Bits(100);
  EXPECT_NE(std::count(b.begin(), b.end(), 1), 0);
}

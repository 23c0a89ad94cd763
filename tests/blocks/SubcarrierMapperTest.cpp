#include "blocks/SubcarrierMapper.h"

#include "DataIndexFiles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

using namespace OrvennModelBuilder;
using Ints = std::vector<int32_t>;

namespace {

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

TEST(SubcarrierMapper, ReadsBinaryLittleEndianAndDecimalText) {
  TempDir dir;
  const int32_t counts[] = {3, 0, 1};
  const Ints values{-123456789, kMax, kMin, 0x01020304};
  const std::string binary = dir.Write("b", LittleEndian(values) + "tail");
  const std::string text = dir.Write("t", "-123456789\n2147483647 \t-2147483648\r\n16909060 7");
  SubcarrierMapper mapper;
  Ints out;
  EXPECT_EQ(mapper.ReadDataIndexFile(counts, 3, out, 1, binary.c_str()), SubcarrierMapper::kFileRead);
  EXPECT_EQ(out, values);
  EXPECT_EQ(mapper.ReadDataIndexFile(counts, 3, out, 0, text.c_str()), SubcarrierMapper::kFileRead);
  EXPECT_EQ(out, values);
  EXPECT_EQ(mapper.ReadDataIndexFile(counts, 0, out, 5, text.c_str()), SubcarrierMapper::kFileRead);
  EXPECT_TRUE(out.empty());
  EXPECT_FALSE(mapper.HasErrors());
}

TEST(SubcarrierMapper, ReadFailuresCollectTheirTextAndLeaveNoEntries) {
  TempDir dir;
  const int32_t two[] = {2};
  const std::string shortFile = dir.Write("short", "5");
  SubcarrierMapper mapper;
  Ints out{1, 2, 3};
  EXPECT_EQ(mapper.ReadDataIndexFile(two, 1, out, 0, shortFile.c_str()), SubcarrierMapper::kNotEnoughData);
  EXPECT_TRUE(out.empty());
  EXPECT_EQ(mapper.ReadDataIndexFile(two, 1, out, 1, (dir.path / "none").string().c_str()),
            SubcarrierMapper::kCannotOpen);
  const int32_t negative[] = {2, -1};
  const int32_t huge[] = {kMax, 1};
  EXPECT_EQ(mapper.ReadDataIndexFile(negative, 2, out, 0, shortFile.c_str()), SubcarrierMapper::kBadCarrierCounts);
  EXPECT_EQ(mapper.ReadDataIndexFile(huge, 2, out, 0, shortFile.c_str()), SubcarrierMapper::kBadCarrierCounts);
  EXPECT_EQ(mapper.ReadDataIndexFile(nullptr, 1, out, 0, shortFile.c_str()), SubcarrierMapper::kBadCarrierCounts);
  EXPECT_EQ(mapper.errorText.str(),
            "Not enough data in Data index file.\n"
            "Can't open Data index file.\n"
            "Carrier counts for Data index file are negative or too large.\n"
            "Carrier counts for Data index file are negative or too large.\n"
            "Carrier counts for Data index file are negative or too large.\n");
}

TEST(SubcarrierMapper, CarrierPositionsOfOnePattern) {
  const int32_t counts[] = {1, 2};
  const int32_t list[] = {-4, 3, 0};
  Ints out(5, 77);  // longer than needed: the tail stays
  EXPECT_EQ(SubcarrierMapper::BuildCarrierPositions(8, 2, 3, 1, counts, 0, list, 3, out),
            SubcarrierMapper::kPositionsBuilt);
  EXPECT_EQ(out, (Ints{0, 15, 12, 77, 77}));
  Ints grown;
  EXPECT_EQ(SubcarrierMapper::BuildCarrierPositions(8, 2, 3, 0, counts, 0, list, 3, grown),
            SubcarrierMapper::kPositionsBuilt);
  EXPECT_EQ(grown, (Ints{4, 11, 8}));

  // Counts that do not describe n carriers, or a list that is not there.
  const int32_t negative[] = {-1, 4};
  for (auto [L, symbols, n, carriers, lst, count] :
       {std::tuple{8, 2, 2, counts, list, 2}, std::tuple{8, 2, 3, negative, list, 3},
        std::tuple{8, 2, -1, counts, list, 3}, std::tuple{0, 2, 3, counts, list, 3},
        std::tuple{8, 2, 3, counts, (const int32_t*)nullptr, 3}, std::tuple{8, 2, 3, counts, list, -3},
        std::tuple{kMax, 2, 3, counts, list, 3}}) {
    Ints o;
    EXPECT_EQ(SubcarrierMapper::BuildCarrierPositions(L, symbols, n, 1, carriers, 0, lst, count, o),
              SubcarrierMapper::kCountMismatch);
  }
  // A range that ends at the largest number still ends.
  const int32_t ranges[] = {kMax - 1, kMax};
  const int32_t one[] = {1};
  Ints o;
  EXPECT_EQ(SubcarrierMapper::BuildCarrierPositions(8, 1, 1, 1, one, 1, ranges, 2, o),
            SubcarrierMapper::kCountMismatch);
  EXPECT_EQ(SubcarrierMapper::BuildCarrierPositions(8, 1, 2, 1, counts + 1, 1, ranges, 2, o),
            SubcarrierMapper::kOutOfRange);
}

}  // namespace

#include "model/ResponseArea.h"

#include "model/ResponseTables.h"
#include "model/tessalune_tx.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

TEST(ResponseArea, FineGridsStayBelowTheFloorAndEveryGridUpTo16PicosecondsPasses) {
  // The tolerance stands on this: up to 10 ps no table misses its area by
  // more than 1.3 %, up to 16 ps none by more than the 2 % allowed.
  for (int k = 0; k < kResponseTableCount; ++k) {
    for (double step = 0.2e-12; step <= 16.25e-12; step *= 1.07) {
      const double deviation = ResponseAreaDeviationOnGrid(k, 1, step);
      EXPECT_LE(deviation, step <= 10e-12 ? 0.013 : kResponseAreaTolerance) << "table " << k << ", " << step << " s";
    }
  }
}

TEST(ResponseArea, CoarseGridsMissTheArea) {
  // 100 ps misses every table by far more than the tolerance; 40 ps misses
  // table 8 (the defaults) by 18 %.
  for (int k = 0; k < kResponseTableCount; ++k) EXPECT_GT(ResponseAreaDeviationOnGrid(k, 1, 1e-10), 0.4) << k;
  EXPECT_NEAR(ResponseAreaDeviationOnGrid(8, 1, 4e-11), 0.18, 0.01);
}

TEST(ResponseArea, CandidateGridsAreBuiltAsTheModelBuildsItsBank) {
  const struct {
    int32_t samplesPerBit;
    double bitTime;
  } grids[] = {{3, 1e-10}, {32, 1e-10}, {4, 4e-10}, {59, 2e-9}};
  for (const auto& grid : grids) {
    tessalune_tx model;
    model.SamplesPerBit = grid.samplesPerBit;
    model.BitTime = grid.bitTime;
    ASSERT_TRUE(model.Setup());
    for (int k = 0; k < kResponseTableCount; ++k)
      EXPECT_EQ(ResponseAreaDeviation(model.Bank.R[k], k),
                ResponseAreaDeviationOnGrid(k, grid.samplesPerBit, grid.bitTime))
          << "table " << k << ", " << grid.samplesPerBit << " samples per bit of " << grid.bitTime << " s";
  }
}

TEST(ResponseArea, CoarsestGridKeepingAreaOffersOnlyGridsWhoseFinerOnesAllWork) {
  // Table 0 at 400 ps per bit keeps its area by chance at 11 to 13 and 16
  // to 20 samples per bit, but not at 14, 15 or 21.
  EXPECT_LE(ResponseAreaDeviationOnGrid(0, 11, 4e-10), kResponseAreaTolerance);
  EXPECT_GT(ResponseAreaDeviationOnGrid(0, 21, 4e-10), kResponseAreaTolerance);
  EXPECT_EQ(CoarsestGridKeepingArea(0, 4, 4e-10, 128), 22);
  EXPECT_EQ(CoarsestGridKeepingArea(0, 21, 4e-10, 128), 22);
  // Every grid above 3 samples per bit of 100 ps works for table 8.
  EXPECT_EQ(CoarsestGridKeepingArea(8, 3, 1e-10, 128), 4);
  // 1 us per bit: not even 128 samples per bit work; nothing lies above 128.
  EXPECT_EQ(CoarsestGridKeepingArea(8, 32, 1e-6, 128), 0);
  EXPECT_EQ(CoarsestGridKeepingArea(8, 128, 1e-10, 128), 0);
  // Rates the model builds no bank for work nowhere.
  EXPECT_EQ(ResponseAreaDeviationOnGrid(8, 128, 1e-13), std::numeric_limits<double>::infinity());
  EXPECT_EQ(ResponseAreaDeviationOnGrid(8, 0, 1e-10), std::numeric_limits<double>::infinity());
}

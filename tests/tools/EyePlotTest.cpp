#include "SyntheticWave.h"
#include "tools/EyePlot.h"
#include "tools/Prbs.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <numeric>

TEST(EyePlot, DensityLeavesTheEyeEmptyAndTheRailsBusy) {
  const int spb = 32;
  std::vector<uint8_t> bits = Prbs(7).Bits(500);
  std::vector<double> wave = SyntheticNrz(bits, spb, 8);
  EyeMeasurement eye = EyeMeasure::Measure(wave, bits, spb, 1e-10);
  ASSERT_TRUE(eye.valid) << eye.problem;
  EyePlot plot(wave, eye);
  const int columns = 201, rows = 101;
  const EyePlot::Range range{-1.0, 1.0};
  std::vector<unsigned> d = plot.Density(columns, rows, range);
  ASSERT_EQ(d.size(), size_t(columns) * rows);
  auto at = [&](int c, int r) { return d[size_t(r) * columns + c]; };
  // The centre column (the sampling instant) is empty between the rails and
  // busy on them: rows 25 (0.5 V) and 75 (-0.5 V).
  for (int r = 30; r <= 70; ++r) EXPECT_EQ(at(100, r), 0u) << "row " << r;
  EXPECT_GT(at(100, 25), 0u);
  EXPECT_GT(at(100, 75), 0u);
  // Nothing outside the swing.
  EXPECT_EQ(std::accumulate(d.begin(), d.begin() + 20 * columns, 0u), 0u);
  // Crossings half a UI either side of the sampling instant fill the middle row.
  EXPECT_GT(at(50, 50) + at(49, 50) + at(51, 50), 0u);
  EXPECT_GT(at(150, 50) + at(149, 50) + at(151, 50), 0u);
}

TEST(EyePlot, WritesAPngOfTheRequestedSizeAndReportsUnwritablePaths) {
  const int spb = 16;
  std::vector<uint8_t> bits = Prbs(7).Bits(300);
  std::vector<double> wave = SyntheticNrz(bits, spb, 4);
  EyeMeasurement eye = EyeMeasure::Measure(wave, bits, spb, 1e-10);
  EyePlot plot(wave, eye);
  const std::string path = std::string(TESSALUNE_BINARY_DIR) + "/eye_plot_test.png";
  std::string error;
  ASSERT_TRUE(plot.WritePng(path, 640, 400, {"title", "second line"}, error)) << error;
  cairo_surface_t* back = cairo_image_surface_create_from_png(path.c_str());
  ASSERT_EQ(cairo_surface_status(back), CAIRO_STATUS_SUCCESS);
  EXPECT_EQ(cairo_image_surface_get_width(back), 640);
  EXPECT_EQ(cairo_image_surface_get_height(back), 400);
  cairo_surface_destroy(back);
  std::remove(path.c_str());
  EXPECT_FALSE(plot.WritePng("/nonexistent-folder/eye.png", 640, 400, {}, error));
  EyePlot::ReleaseFontCaches();
  EXPECT_NE(error.find("/nonexistent-folder/eye.png"), std::string::npos);
}

TEST(EyePlot, AnUnmeasuredEyeDrawsEmpty) {
  std::vector<double> wave(100, 0.0);
  EyeMeasurement eye;  // not valid
  EyePlot plot(wave, eye);
  std::vector<unsigned> d = plot.Density(50, 40, {-1, 1});
  EXPECT_EQ(std::accumulate(d.begin(), d.end(), 0u), 0u);
  EXPECT_TRUE(plot.Density(0, 40, {-1, 1}).empty());
}

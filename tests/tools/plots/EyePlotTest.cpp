#include "tests/TestFolder.h"
#include "tests/tools/SyntheticWave.h"
#include "tools/linkbench/stream/Prbs.h"
#include "tools/plots/EyePlot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>

TEST(EyePlot, DensityLeavesTheEyeEmptyAndTheRailsBusy) {
  const int spb = 32;
  std::vector<uint8_t> bits = Prbs(7).Bits(500);
  std::vector<double> wave = SyntheticNrz(bits, spb, 8);
  const int columns = 201, rows = 101;
  EyeDensity density(spb, columns, rows);
  EyeMeasurement eye = EyeMeasure::Measure(wave, bits, spb, 1e-10, 32, 16, &density);
  ASSERT_TRUE(eye.valid) << eye.problem;
  EyePlot plot(&density, eye);
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
  EyeDensity density(spb, 640, 400);
  EyeMeasurement eye = EyeMeasure::Measure(wave, bits, spb, 1e-10, 32, 16, &density);
  EyePlot plot(&density, eye);
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

// The eye behind a channel of 600 dB loss: volts of 1e-30, drawn with a
// few axis ticks, not a tick loop whose step no longer moves its value.
TEST(EyePlot, AnEyeOfAFewAttovoltsIsDrawn) {
  const int spb = 16;
  std::vector<uint8_t> bits = Prbs(7).Bits(300);
  std::vector<double> wave = SyntheticNrz(bits, spb, 4);
  for (double& v : wave) v *= 1e-30;
  EyeDensity density(spb, 300, 200);
  EyeMeasurement eye = EyeMeasure::Measure(wave, bits, spb, 1e-10, 32, 16, &density);
  ASSERT_TRUE(eye.valid) << eye.problem;
  EyePlot plot(&density, eye);
  TestFolder folder;
  const std::string path = (folder.path / "eye.png").string();
  std::string error;
  ASSERT_TRUE(plot.WritePng(path, 300, 200, {"600 dB"}, error)) << error;
  EyePlot::ReleaseFontCaches();
  cairo_surface_t* back = cairo_image_surface_create_from_png(path.c_str());
  EXPECT_EQ(cairo_surface_status(back), CAIRO_STATUS_SUCCESS);
  cairo_surface_destroy(back);
}

TEST(EyePlot, AnUnmeasuredEyeDrawsEmpty) {
  std::vector<double> wave(100, 0.0);
  EyeDensity density(4, 50, 40);
  EyeMeasurement eye = EyeMeasure::Measure(wave, Prbs(7).Bits(25), 4, 1e-10, 32, 16, &density);
  ASSERT_FALSE(eye.valid);
  EyePlot plot(&density, eye);
  std::vector<unsigned> d = plot.Density(50, 40, {-1, 1});
  EXPECT_EQ(std::accumulate(d.begin(), d.end(), 0u), 0u);
  EXPECT_TRUE(plot.Density(0, 40, {-1, 1}).empty());
}

// The density's cells first cover the voltages of the latency search's
// prefix; a run whose swing grows past them widens the cells and still puts
// every rail where it belongs.
TEST(EyePlot, TheDensityFollowsASwingThatGrowsAfterTheLatencyPrefix) {
  const int spb = 16;
  std::vector<uint8_t> bits = Prbs(15).Bits(6000);
  std::vector<double> wave = SyntheticNrz(bits, spb, 4);
  for (size_t i = 5000 * spb; i < wave.size(); ++i) wave[i] *= 2;  // rails at +-1 V from bit 5000
  const int columns = 161, rows = 121;
  EyeDensity density(spb, columns, rows);
  EyeMeasurement eye = EyeMeasure::Measure(wave, bits, spb, 1e-10, 32, 16, &density);
  ASSERT_TRUE(eye.valid) << eye.problem;
  std::vector<unsigned> d = EyePlot(&density, eye).Density(columns, rows, {-1.5, 1.5});
  auto near = [&](int c, double volts) {  // the busiest pixel within a row of `volts`
    const int r = static_cast<int>(std::lround((1.5 - volts) / 3.0 * (rows - 1)));
    return std::max({d[size_t(r - 1) * columns + c], d[size_t(r) * columns + c], d[size_t(r + 1) * columns + c]});
  };
  for (double rail : {-1.0, -0.5, 0.5, 1.0}) EXPECT_GT(near(80, rail), 0u) << rail << " V";
  for (double empty : {-1.35, -0.75, 0.0, 0.75, 1.35}) EXPECT_EQ(near(80, empty), 0u) << empty << " V";
  // The long first part is the denser one.
  EXPECT_GT(near(80, 0.5), near(80, 1.0));
}

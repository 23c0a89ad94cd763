#include "tests/TestFolder.h"
#include "tools/linkbench/stream/BitHistory.h"
#include "tools/linkbench/stream/WaveCsvWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>
#include <sstream>

// The writer formats its lines with std::to_chars; they must be byte for byte
// what printf("%.9e,%.3f,%.9g\n") writes, whatever the output value, and the
// stimulus must be the level of the bit each sample belongs to.
TEST(WaveCsvWriter, LinesAreWhatPrintfWritesForAnyValue) {
  const double inf = std::numeric_limits<double>::infinity();
  const std::vector<double> values = {
      0.0,          -0.0,          0.1,     -1.23456789e300, 4.9e-324,        1e-300,  123456789012.0,
      2.4282,       -0.5,          1e21,    -3.999999999e-5, 7.0000000005e-3, inf,     -inf,
      std::nan(""), -std::nan(""), 1.0 / 3, 99999.99995,     0.000123456789,  -2.5e-7, 1e9};
  const int spb = 3;
  const double dt = 3.3e-11 / spb;
  BitHistory bits(64);
  for (int k = 0; k < 7; ++k) bits.Append(static_cast<uint8_t>(k % 3 == 1));
  TestFolder folder;
  const std::string path = (folder.path / "wave.csv").string();
  WaveCsvWriter writer(path, spb, dt);
  std::string error;
  ASSERT_TRUE(writer.Open(error)) << error;
  // Two blocks, the second starting inside a bit.
  ASSERT_TRUE(writer.Consume(WaveBlock{0, 8, values.data(), &bits}, error));
  ASSERT_TRUE(writer.Consume(WaveBlock{8, 13, values.data() + 8, &bits}, error));
  ASSERT_TRUE(writer.Commit(error)) << error;

  std::string expected = "time_s,stimulus_V,output_V\n";
  for (size_t i = 0; i < values.size(); ++i) {
    char line[128];
    std::snprintf(line, sizeof line, "%.9e,%.3f,%.9g\n", static_cast<double>(i) * dt, i / spb % 3 == 1 ? 0.5 : -0.5,
                  values[i]);
    expected += line;
  }
  std::ifstream in(path);
  std::stringstream written;
  written << in.rdbuf();
  EXPECT_EQ(written.str(), expected);
}

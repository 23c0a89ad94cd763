#include "tools/commands/RunReport.h"

#include <gtest/gtest.h>

// The words of a run's figures: the BER line's head and figures are one
// text, which sim prints without the head's "BER " and sweep's grid with it.
TEST(RunReport, WordsTheFigures) {
  BerTargetFigures f;
  f.ber = 1e-12;
  EXPECT_EQ(RunReport::BerFigures(f, 1e-10), "closed");
  EXPECT_EQ(RunReport::BerSummary(f, 1e-10), "BER 1e-12: closed");
  f.open = true;
  f.heightV = 0.4141;
  f.widthUi = 0.579;
  EXPECT_EQ(RunReport::BerFigures(f, 1e-10), "height 414.1 mV, width 57.9 ps (0.579 UI)");
  EXPECT_EQ(RunReport::BerSummary(f, 1e-10), "BER 1e-12: height 414.1 mV, width 57.9 ps (0.579 UI)");

  EyeMeasurement eye;
  eye.problem = "no bits";
  EXPECT_EQ(RunReport::EyeSummary(eye), "eye not measured: no bits");

  SimSettings s;
  EXPECT_EQ(RunReport::ChannelCaption(s), "");
  s.channelLossDb = 6;
  EXPECT_EQ(RunReport::ChannelCaption(s), ", after a 6 dB RC channel");
}

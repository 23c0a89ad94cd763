// The quality notes (5710-5712), each against a small file with the exact
// message and line.
#include "tests/IbisParser/CheckerFiles.h"

namespace {

using QualityNotes = CheckerFiles;

// A component with POWER pin 1 and pins 11 (model m) and 12 (model `model`)
// paired from line 15, then Input models m and n.
std::string Pair(const std::string& model) {
  const std::string input = "Model_type Input\nVinl = 0.8\nVinh = 2.0\nC_comp 1p NA NA\n[Voltage Range] 3.3 NA NA\n";
  return "[IBIS Ver] 4.2\n[File Name] t.ibs\n[File Rev] 1.0\n" + MinimalComponent() + "11 a m\n12 b " + model +
         "\n[Diff Pin] inv_pin vdiff tdelay_typ tdelay_min tdelay_max\n11 12 0.1 NA NA NA\n[Model] m\n" + input +
         "[Model] n\n" + input + "[End]\n";
}

TEST_F(QualityNotes, DiffPinPairOnTwoModels) {
  EXPECT_EQ(Check(Pair("m")), "");
  EXPECT_EQ(FlatMessages(Check(Pair("n"))),
            "NOTE (line   15) - [Diff Pin] pairs pin '11' of model m with pin '12' of model n\n");
}

// An Output model (from line 4) with [Voltage Range] `range` and
// [Pulldown] rows `rows` (from line 8).
std::string Driver(const std::string& range, const std::string& rows) {
  return "[IBIS Ver] 4.2\n[File Name] t.ibs\n[File Rev] 1.0\n[Model] m\nModel_type Output\nC_comp 1p NA NA\n"
         "[Voltage Range] " +
         range + "\n[Pulldown]\n" + rows +
         "[Pullup]\n-3.3 66m NA NA\n6.6 -132m NA NA\n[Ramp]\ndV/dt_r 1/1n NA NA\ndV/dt_f 1/1n NA NA\n[End]\n";
}

TEST_F(QualityNotes, VoltageRangeCornersInOrder) {
  const std::string rows = "-3.3 -66m NA NA\n6.6 132m NA NA\n";
  EXPECT_EQ(Check(Driver("3.3 3.0 3.6", rows)), "");
  EXPECT_EQ(Check(Driver("3.3 3.3 3.3", rows)), "");  // a fixed supply
  EXPECT_EQ(FlatMessages(Check(Driver("3.3 3.6 3.0", rows))),
            "NOTE (line    7) - [Voltage Range] of model 'm' gives typ 3.3 V, min 3.6 V, max 3 V, not min <= typ <= "
            "max\n");
}

TEST_F(QualityNotes, DriveStrengthGrowsFromMinToMax) {
  EXPECT_EQ(Check(Driver("3.3 3.0 3.6", "-3.3 -66m -50m -80m\n3.3 66m 50m 80m\n6.6 132m 100m 160m\n")), "");
  // Read at the row nearest the supply at or below it.
  EXPECT_EQ(FlatMessages(Check(Driver("3.3 3.0 3.6", "-3.3 -66m -80m -50m\n3.3 66m 80m 50m\n6.6 132m 160m 100m\n"))),
            "NOTE (line   10) - [Pulldown] of model 'm' at 3.3 V gives typ 0.066 A, min 0.08 A, max 0.05 A: the weak "
            "corner drives most\n");
  // Crossed but not reversed corners, and leakage, are left alone.
  EXPECT_EQ(Check(Driver("3.3 3.0 3.6", "-3.3 -66m -80m -50m\n3.3 66m 80m 70m\n6.6 132m 160m 100m\n")), "");
  EXPECT_EQ(Check(Driver("3.3 3.0 3.6", "-3.3 -66m -66m -66m\n0 0 0 0\n3.3 10n 20n 5n\n6.6 132m 132m 132m\n")), "");
}

}  // namespace

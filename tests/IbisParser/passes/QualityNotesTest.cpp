// The quality notes (5710-5712, 5723-5727), each against a small file with the exact
// message and line.
#include "tests/IbisParser/CheckerFiles.h"

namespace {

class QualityNotes : public CheckerFiles {
 protected:
  // Model m (line 4) of Model_type `type` and subparameters `params` in a
  // file of `version`, with its I-V tables, [Ramp], then the keywords
  // `more`, read for the driver notes alone.
  std::string DriverNotes(const std::string& type, const std::string& params, const std::string& more,
                          const std::string& version = "4.2") {
    RangeFindings found(5725, 5727, true);
    Check("[IBIS Ver] " + version + "\n[File Name] t.ibs\n[File Rev] 1.0\n[Model] m\nModel_type " + type + "\n" +
          params +
          "C_comp 1p NA NA\n[Voltage Range] 3.3 NA NA\n[Pulldown]\n-3.3 -66m NA NA\n6.6 132m NA NA\n[Pullup]\n"
          "-3.3 66m NA NA\n6.6 -132m NA NA\n[Ramp]\ndV/dt_r 1/1n NA NA\ndV/dt_f 1/1n NA NA\n" +
          more + "[End]\n");
    return found.list + "\n" + found.texts;
  }
};

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

// A component whose [Pin] table has the R_pin, L_pin and C_pin columns, with
// signal pins 1 and 2 of model m (their columns `one` and `two`, lines 12
// and 13) after a POWER pin without values, then Input model m.
std::string PinTable(const std::string& one, const std::string& two) {
  return "[IBIS Ver] 4.2\n[File Name] t.ibs\n[File Rev] 1.0\n[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 NA "
         "NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name model_name R_pin L_pin C_pin\n3 vdd POWER NA NA "
         "NA\n1 a m " +
         one + "\n2 b m " + two +
         "\n[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2.0\nC_comp 1p NA NA\n[Voltage Range] 3.3 NA NA\n[End]\n";
}

TEST_F(QualityNotes, PinParasiticsForEverySignalPinOrNone) {
  EXPECT_EQ(Check(PinTable("0.1 1n 0.5p", "0.2 2n 0.6p")), "");
  EXPECT_EQ(Check(PinTable("NA NA NA", "NA NA NA")), "");
  const std::string note =
      "NOTE (line   13) - [Pin] of component 'c': 1 of 2 signal pins lack R_pin, L_pin or C_pin, the first pin '2'\n";
  EXPECT_EQ(FlatMessages(Check(PinTable("0.1 1n 0.5p", "NA NA NA"))), note);
  // One value missing is a pin without.
  EXPECT_EQ(FlatMessages(Check(PinTable("0.1 1n 0.5p", "0.2 NA 0.6p"))), note);
}

// An I/O model (from line 4) whose [Pulldown] (line 10) has rows `pulldown`
// and whose [GND Clamp] has rows `clamp`.
std::string ClampedDriver(const std::string& pulldown, const std::string& clamp) {
  return "[IBIS Ver] 4.2\n[File Name] t.ibs\n[File Rev] 1.0\n[Model] m\nModel_type I/O\nVinl = 0.8\nVinh = 2.0\n"
         "C_comp 1p NA NA\n[Voltage Range] 3.3 NA NA\n[Pulldown]\n" +
         pulldown + "[Pullup]\n-3.3 66m NA NA\n0 0 NA NA\n6.6 -132m NA NA\n[GND Clamp]\n" + clamp +
         "[Ramp]\ndV/dt_r 1/1n NA NA\ndV/dt_f 1/1n NA NA\n[End]\n";
}

TEST_F(QualityNotes, ClampCurrentNotCountedTwice) {
  const std::string clamp = "-3.3 -200m NA NA\n-1 -20m NA NA\n-0.5 -0.1m NA NA\n0 0 NA NA\n3.3 0 NA NA\n";
  // The clamp subtracted: the pulldown's own current differs.
  EXPECT_EQ(Check(ClampedDriver("-3.3 -66m NA NA\n0 0 NA NA\n6.6 132m NA NA\n", clamp)), "");
  // The clamp left in, read between the pulldown's rows (within 1 %; the
  // row below 1 mA is not compared).
  EXPECT_EQ(FlatMessages(Check(ClampedDriver("-3.3 -200m NA NA\n-2 -110m NA NA\n-1 -20.1m NA NA\n0 0 NA NA\n6.6 "
                                             "132m NA NA\n",
                                             clamp))),
            "NOTE (line   10) - [Pulldown] of model 'm' gives its [GND Clamp] current from -3.3 V to -1 V (2 rows, "
            "within 1 %): the clamp looks counted twice\n");
  // Equal at one conducting row only is not enough.
  EXPECT_EQ(Check(ClampedDriver("-3.3 -200m NA NA\n-1 -30m NA NA\n0 0 NA NA\n6.6 132m NA NA\n", clamp)), "");
}

const char kWaveforms[] =
    "[Rising Waveform]\nR_fixture = 50\nV_fixture = 0\n0 0 NA NA\n1n 1.65 NA NA\n[Rising Waveform]\nR_fixture = "
    "50\nV_fixture = 3.3\n0 1.65 NA NA\n1n 3.3 NA NA\n[Falling Waveform]\nR_fixture = 50\nV_fixture = 0\n0 1.65 NA "
    "NA\n1n 0 NA NA\n[Falling Waveform]\nR_fixture = 50\nV_fixture = 3.3\n0 3.3 NA NA\n1n 1.65 NA NA\n";

TEST_F(QualityNotes, DriverGivesItsTimingTestLoad) {
  const std::string load = "Vmeas = 1.65\nVref = 0\nRref = 50\n";
  EXPECT_EQ(DriverNotes("Output", load, kWaveforms), "\n");
  EXPECT_EQ(DriverNotes("I/O", "", std::string(kWaveforms) + "[Model Spec]\nVmeas 1.65 NA NA\nCref 15p NA NA\n"), "\n");
  // A differential pair's test load counts.
  EXPECT_EQ(DriverNotes("I/O", "Vinl = 0.8\nVinh = 2.0\nVmeas = 1.4\nRref_diff = 50\n", kWaveforms), "\n");
  EXPECT_EQ(DriverNotes("Output", "", kWaveforms),
            "5725@4\n[Model] 'm' of Model_type Output gives no Vmeas, and Cref or Rref: its timing test load is "
            "incomplete\n");
  EXPECT_EQ(DriverNotes("Open_drain", "Vmeas = 1.65\n", kWaveforms),
            "5725@4\n[Model] 'm' of Model_type Open_drain gives no Cref or Rref: its timing test load is incomplete\n");
  EXPECT_EQ(DriverNotes("3-state", "Cref = 15p\n", kWaveforms),
            "5725@4\n[Model] 'm' of Model_type 3-state gives no Vmeas: its timing test load is incomplete\n");
  // A receiver has no test load to give, a 1.1 file no place for one, and
  // an [Algorithmic Model]'s driver is timed by its channel.
  EXPECT_EQ(DriverNotes("Input", "Vinl = 0.8\nVinh = 2.0\n", ""), "\n");
  EXPECT_EQ(DriverNotes("Output", "", "", "1.1"), "\n");
  EXPECT_EQ(
      DriverNotes("Output", "",
                  "[Algorithmic Model]\nExecutable Linux_gcc4.1.2_64 a.so a.ami\n[End Algorithmic Model]\n", "5.0"),
      "\n");
}

TEST_F(QualityNotes, PushPullDriverHasTwoWaveformsPerEdge) {
  const std::string load = "Vmeas = 1.65\nVref = 0\nRref = 50\n";
  EXPECT_EQ(DriverNotes("Output", load, kWaveforms), "\n");
  const std::string one =
      "[Rising Waveform]\nR_fixture = 50\nV_fixture = 0\n0 0 NA NA\n1n 1.65 NA NA\n"
      "[Falling Waveform]\nR_fixture = 50\nV_fixture = 3.3\n0 3.3 NA NA\n1n 1.65 NA NA\n";
  EXPECT_EQ(DriverNotes("I/O", load, one),
            "5726@4\n[Model] 'm' of Model_type I/O has 1 [Rising Waveform] and 1 [Falling Waveform] tables, short of "
            "two each\n");
  EXPECT_EQ(
      DriverNotes("Output", load, ""),
      "5726@4\n[Model] 'm' of Model_type Output has 0 [Rising Waveform] and 0 [Falling Waveform] tables, short of "
      "two each\n");
  // An Open type switches one transistor; one waveform per edge describes it.
  EXPECT_EQ(DriverNotes("Open_drain", load, one), "\n");
}

TEST_F(QualityNotes, HeaderGivesDateSourceAndNotes) {
  const std::string end = "[Model] m\nModel_type Terminator\nC_comp 1p NA NA\n[Voltage Range] 3.3 NA NA\n[End]\n";
  const auto heard = [this](const std::string& text, const std::string& name = "t.ibs") {
    RangeFindings found(5727, 5728, true);
    Check(text, name, name == "t.pkg" ? PARSE_MODE_PKG : PARSE_MODE_IBS);
    return found.list + "\n" + found.texts;
  };
  const std::string date = "[Date] 1 May 2026\n", source = "[Source] simulation\n", notes = "[Notes] none\n";
  EXPECT_EQ(heard(Header() + date + source + notes + end), "\n");
  EXPECT_EQ(heard(Header() + date + notes + end), "5727@0\nThe file header gives no [Source]\n");
  EXPECT_EQ(heard(Header() + end), "5727@0\nThe file header gives no [Date], [Source] or [Notes]\n");
  // A package file's header is left alone.
  EXPECT_EQ(heard("[IBIS Ver] 4.2\n[File Name] t.pkg\n[File Rev] 1.0\n[Define Package Model] p\n[Manufacturer] m\n"
                  "[OEM] o\n[Number Of Sections] 1\n[Number Of Pins] 1\n[Pin Numbers]\n1\n[Model Data]\n"
                  "[Resistance Matrix] Diagonal_matrix\n[Row] 1\n1\n[End Model Data]\n[End Package Model]\n",
                  "t.pkg"),
            "\n");
}

}  // namespace

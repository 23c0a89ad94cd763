// The checks of what ties one value or keyword to another (5700-5702, 5714, 5715), and
// [Series Pin Mapping] naming a model selector (5019), each against a small
// file, with the exact message and line.
#include "tests/IbisParser/CheckerFiles.h"

namespace {

class Relations : public CheckerFiles {
 protected:
  // The findings of ids 5000 to 5800 of `text`, flattened.
  std::string Findings(const std::string& text) {
    RangeFindings found(5000, 5800);
    Check(text);
    return FlatMessages(found.texts);
  }

  // A 4.2 file with model `m` of type Input whose body after Model_type is `body` (model from line 5).
  static std::string InputModel(const std::string& body, const std::string& version = "4.2") {
    return Header(version) + "[Model] m\nModel_type Input\n" + body + "[Voltage Range] 3.3 NA NA\n[End]\n";
  }
};

TEST_F(Relations, VinlAboveVinhIsReportedAtTheLaterOfTheTwo) {
  EXPECT_EQ(Check(InputModel("Vinl = 2.0\nVinh = 0.8\nC_comp 1p NA NA\n")),
            "WARNING (line    7) - [Model] 'm': Vinl 2.0 lies above Vinh 0.8\n");
  EXPECT_EQ(Check(InputModel("Vinh = 800mV\nVinl = 1.2V\nC_comp 1p NA NA\n")),
            "WARNING (line    7) - [Model] 'm': Vinl 1.2V lies above Vinh 800mV\n");
  // In order, or one threshold for both, is sound.
  EXPECT_EQ(Check(InputModel("Vinl = 0.8\nVinh = 2.0\nC_comp 1p NA NA\n")), "");
  EXPECT_EQ(Check(InputModel("Vinl = 1.5\nVinh = 1.5\nC_comp 1p NA NA\n")), "");
}

TEST_F(Relations, NegativeDieCapacitanceIsReportedOncePerLine) {
  const std::string thresholds = "Vinl = 0.8\nVinh = 2.0\n";
  EXPECT_EQ(Check(InputModel(thresholds + "C_comp -1p NA NA\n")),
            "WARNING (line    8) - [Model] 'm': C_comp typ value -1p is negative\n");
  // The split form (4.2 on): the first negative column of each line.
  EXPECT_EQ(Findings(InputModel(thresholds + "C_comp_pullup 1p -1p -2p\nC_comp_gnd_clamp 1p 1p -0.5p\n")),
            "[Model] 'm': C_comp_pullup min value -1p is negative\n"
            "[Model] 'm': C_comp_gnd_clamp max value -0.5p is negative\n");
  EXPECT_EQ(Check(InputModel(thresholds + "C_comp 0 NA 1p\n")), "");
}

TEST_F(Relations, TerminatorKeywordsNeedModelTypeTerminator) {
  const std::string thresholds = "Vinl = 0.8\nVinh = 2.0\nC_comp 1p NA NA\n";
  EXPECT_EQ(FlatMessages(Check(InputModel(thresholds + "[Rgnd] 50 NA NA\n[Rac] 30 NA NA\n"))),
            "ERROR (line    9) - [Model] 'm': [Rgnd] is a terminator's keyword, but its Model_type is Input\n");
  // A Terminator may carry any of them; a model without Model_type has its own warning.
  std::string terminator = Header("4.2") +
                           "[Model] t\nModel_type Terminator\nC_comp 1p NA NA\n[Voltage Range] 3.3 NA NA\n[Rpower] 50 "
                           "NA NA\n[Cac] 1p NA NA\n[Rac] 30 NA NA\n[End]\n";
  EXPECT_EQ(Findings(terminator), "");
  EXPECT_EQ(Findings(Header("4.2") + "[Model] u\nC_comp 1p NA NA\n[Voltage Range] 3.3 NA NA\n[Cac] 1p NA NA\n[End]\n"),
            "[Model] 'u': Model_type not given\n");
}

// An Output model of 3.3 V (model from line 4) with the I-V tables `tables`.
std::string OutputTables(const std::string& tables, const std::string& references = "") {
  return "[IBIS Ver] 4.2\n[File Name] t.ibs\n[File Rev] 1.0\n[Model] m\nModel_type Output\nC_comp 1p NA NA\n"
         "[Voltage Range] 3.3 NA NA\n" +
         references + "[Ramp]\ndV/dt_r 1/1n NA NA\ndV/dt_f 1/1n NA NA\n" + tables + "[End]\n";
}

TEST_F(Relations, IvTablesSweepTheSpanOfTheirKind) {
  const std::string full =
      "[Pulldown]\n-3.3 -10m NA NA\n0 0 NA NA\n6.6 90m NA NA\n[Pullup]\n-3.3 10m NA NA\n0 0 NA NA\n6.6 -90m NA "
      "NA\n[GND Clamp]\n-3.3 -50m NA NA\n3.3 0 NA NA\n[POWER Clamp]\n-3.3 50m NA NA\n0 0 NA NA\n";
  EXPECT_EQ(Check(OutputTables(full)), "");
  // Rounded end points pass (2 % of Vcc); a pull-up swept only to Vcc, a
  // GND clamp that stops at 0 V do not.
  EXPECT_EQ(
      Check(OutputTables("[Pulldown]\n-3.25 -10m NA NA\n6.55 90m NA NA\n[Pullup]\n-3.3 10m NA NA\n3.3 -60m "
                         "NA NA\n[GND Clamp]\n-3.3 -50m NA NA\n0 0 NA NA\n")),
      "WARNING (line   14) - [Pullup] of model 'm' spans -3.3 V to 3.3 V, short of -3.3 V to 6.6 V (Vcc 3.3 V)\n"
      "WARNING (line   17) - [GND Clamp] of model 'm' spans -3.3 V to 0 V, short of -3.3 V to 3.3 V (Vcc 3.3 V)\n");
  // [Pullup Reference] gives the pull-up's and pull-down's Vcc, [POWER Clamp Reference] the clamps'.
  EXPECT_EQ(Findings(OutputTables(full, "[Pullup Reference] 1.8 NA NA\n[POWER Clamp Reference] 5 NA NA\n")),
            "[GND Clamp] of model 'm' spans -3.3 V to 3.3 V, short of -5 V to 5 V (Vcc 5 V)\n"
            "[POWER Clamp] of model 'm' spans -3.3 V to 0 V, short of -5 V to 0 V (Vcc 5 V)\n");
}

// A component with POWER pin 1, signal pins 11 and 12 (model m), POWER pin
// 13, GND pin 14 and NC pin 15; [Diff Pin] rows from line 18.
std::string DiffPins(const std::string& rows) {
  return "[IBIS Ver] 4.2\n[File Name] t.ibs\n[File Rev] 1.0\n" + MinimalComponent() +
         "11 a m\n12 b m\n13 vcc POWER\n14 vss GND\n15 x NC\n"
         "[Diff Pin] inv_pin vdiff tdelay_typ tdelay_min tdelay_max\n" +
         rows +
         "[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2.0\nC_comp 1p NA NA\n[Voltage Range] 3.3 NA NA\n[End]\n";
}

TEST_F(Relations, DiffPinJoinsSignalPinsOnly) {
  EXPECT_EQ(Check(DiffPins("11 12 0.1 NA NA NA\n")), "");
  EXPECT_EQ(Check(DiffPins("11 13 0.1 NA NA NA\n")),
            "WARNING (line   18) - [Diff Pin] pairs pin '13', whose model is POWER; a differential pair joins signal "
            "pins\n");
  EXPECT_EQ(Findings(DiffPins("14 11 0.1 NA NA NA\n12 15 0.1 NA NA NA\n")),
            "[Diff Pin] pairs pin '14', whose model is GND; a differential pair joins signal pins\n"
            "[Diff Pin] pairs pin '15', whose model is NC; a differential pair joins signal pins\n");
  // A pin that is not in [Pin] has its own error (5014) and no second one.
  EXPECT_EQ(Findings(DiffPins("11 9 0.1 NA NA NA\n")), "[Diff Pin] names pin '9', which is not in [Pin]\n");
}

// POWER pin 1, signal pin 11 and GND pin 12 with the [Pin Mapping] rows
// `rows` (from line 15).
std::string Mapped(const std::string& rows) {
  return "[IBIS Ver] 4.2\n[File Name] t.ibs\n[File Rev] 1.0\n" + MinimalComponent() +
         "11 a m\n12 vss GND\n[Pin Mapping] pulldown_ref pullup_ref\n" + rows + "[Model] m\n" + ModelBody() + "[End]\n";
}

TEST_F(Relations, SupplyPinsLeaveTheOtherRailNc) {
  EXPECT_EQ(Check(Mapped("1 NC VDD\n11 GND VDD\n12 GND NC\n")), "");
  EXPECT_EQ(FlatMessages(Check(Mapped("1 NC VDD\n11 GND VDD\n12 GND VDD\n"))),
            "ERROR (line   17) - [Pin Mapping] gives GND pin '12' the pullup_ref 'VDD', where NC belongs\n");
  EXPECT_EQ(FlatMessages(Check(Mapped("1 GND VDD\n11 GND VDD\n12 GND NC\n"))),
            "ERROR (line   15) - [Pin Mapping] gives POWER pin '1' the pulldown_ref 'GND', where NC belongs\n");
}

// A series pin pair 11-12 mapped to `name`, a selector of two series models.
std::string SeriesSelector(const std::string& version) {
  std::string series = "Model_type Series\n[R Series] 10 NA NA\n";
  return "[IBIS Ver] " + version + "\n[File Name] t.ibs\n[File Rev] 1.0\n" + MinimalComponent() +
         "11 a NC\n12 b NC\n[Series Pin Mapping] pin_2 model_name\n11 12 sel\n[Model Selector] sel\nr10 ten ohms\nr20 "
         "twenty ohms\n[Model] r10\n" +
         series + "[Model] r20\n" + series + "[End]\n";
}

TEST_F(Relations, SeriesPinMappingNamesASelectorFrom41On) {
  EXPECT_EQ(Findings(SeriesSelector("4.1")), "");
  EXPECT_EQ(Findings(SeriesSelector("7.2")), "");
  // The selector's models are held to the series types, at the mapping's line.
  std::string mixed = SeriesSelector("5.0");
  mixed.replace(mixed.find("[Model] r20\nModel_type Series"), 30, "[Model] r20\nModel_type Input\n");
  EXPECT_EQ(Count(Findings(mixed),
                  "[Series Pin Mapping] names model 'r20' of Model_type 'Input', not Series or Series_switch\n"),
            1);
  EXPECT_EQ(Findings(SeriesSelector("3.2")),
            "[Series Pin Mapping] names model 'sel', which is not a [Model] of the file\n");
}

}  // namespace

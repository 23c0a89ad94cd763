// What a model's keywords and subparameters ask of each other (5716-5722),
// each against a small file with the exact message and line.
#include "tests/IbisParser/CheckerFiles.h"

namespace {

class ModelPairings : public CheckerFiles {
 protected:
  // The findings of ids 5000 to 5800 of `text`, flattened.
  std::string Findings(const std::string& text) {
    RangeFindings found(5000, 5800);
    Check(text);
    return FlatMessages(found.texts);
  }
};

// An Input model (from line 4) with [Receiver Thresholds] lines `lines` from line 9.
std::string Thresholds(const std::string& lines) {
  return "[IBIS Ver] 4.2\n[File Name] t.ibs\n[File Rev] 1.0\n[Model] m\nModel_type Input\nC_comp 1p NA NA\n"
         "[Voltage Range] 3.3 NA NA\n[Receiver Thresholds]\nVth = 1.65\n" +
         lines + "[End]\n";
}

TEST_F(ModelPairings, ThresholdSensitivityComesWithItsSupply) {
  EXPECT_EQ(Check(Thresholds("Threshold_sensitivity = 0.5\nReference_supply Ext_ref\n")), "");
  EXPECT_EQ(FlatMessages(Check(Thresholds("Threshold_sensitivity = 0.5\n"))),
            "WARNING (line   10) - [Receiver Thresholds] of model 'm' gives Threshold_sensitivity without "
            "Reference_supply\n");
  EXPECT_EQ(Findings(Thresholds("Reference_supply Pullup_ref\n")),
            "[Receiver Thresholds] of model 'm' gives Reference_supply without Threshold_sensitivity\n");
}

// A model of Model_type `type` (from line 4) with the subparameter lines
// `subparams` from line 6 and an open-drain's or open-source's tables.
std::string Reference(const std::string& type, const std::string& subparams, const std::string& spec = "") {
  const bool source = type.find("source") != std::string::npos;
  return "[IBIS Ver] 4.2\n[File Name] t.ibs\n[File Rev] 1.0\n[Model] m\nModel_type " + type + "\n" + subparams +
         "Rref = 50\nC_comp 1p NA NA\n[Voltage Range] 3.3 NA NA\n" + spec +
         (source ? "[Pullup]\n-3.3 66m NA NA\n0 0 NA NA\n6.6 -132m NA NA\n"
                 : "[Pulldown]\n-3.3 -66m NA NA\n0 0 NA NA\n6.6 132m NA NA\n") +
         "[Ramp]\ndV/dt_r 1/1n NA NA\ndV/dt_f 1/1n NA NA\n[End]\n";
}

TEST_F(ModelPairings, VrefStandsOnTheSideItsModelTypePullsTo) {
  EXPECT_EQ(Findings(Reference("Open_drain", "Vref = 3.3\nVmeas = 1.65\n")), "");
  EXPECT_EQ(Findings(Reference("Open_source", "Vref = 0\nVmeas = 1.65\n")), "");
  EXPECT_EQ(FlatMessages(Check(Reference("Open_drain", "Vmeas = 1.65\nVref = 0\n"))),
            "WARNING (line    7) - [Model] 'm' of Model_type Open_drain: Vref 0 V is not above Vmeas 1.65 V\n");
  EXPECT_EQ(Findings(Reference("I/O_open_source", "Vinl = 0.8\nVinh = 2.0\nVref = 3.3\nVmeas = 1.65\n")),
            "[Model] 'm' of Model_type I/O_open_source: Vref 3.3 V is not below Vmeas 1.65 V\n");
  // [Model Spec]'s typ stands for the [Model] value; Open_sink is left alone.
  EXPECT_EQ(Findings(Reference("Open_drain", "Vref = 0\nVmeas = 1.65\n", "[Model Spec]\nVref 3.3 3.0 3.6\n")), "");
  EXPECT_EQ(Findings(Reference("Open_sink", "Vref = 0\nVmeas = 1.65\n")), "");
}

// A 5.0 Output model (from line 4) whose tables end at line 18, followed by `tables`.
std::string Output50(const std::string& tables) {
  return "[IBIS Ver] 5.0\n[File Name] t.ibs\n[File Rev] 1\n[Model] m\nModel_type Output\nC_comp 1p NA NA\n[Voltage "
         "Range] 3.3 NA NA\n[Pulldown]\n-3.3 -66m NA NA\n0 0 NA NA\n6.6 132m NA NA\n[Pullup]\n-3.3 66m NA NA\n0 0 NA "
         "NA\n6.6 -132m NA NA\n[Ramp]\ndV/dt_r 0.99/0.6n NA NA\ndV/dt_f 0.99/0.6n NA NA\n" +
         tables + "[End]\n";
}

const char kIssoPu[] = "[ISSO PU]\n-3.3 -132m NA NA\n0 -66m NA NA\n3.3 0 NA NA\n";
const char kIssoPd[] = "[ISSO PD]\n-3.3 132m NA NA\n0 66m NA NA\n3.3 0 NA NA\n";

TEST_F(ModelPairings, IssoTablesComeInPairs) {
  EXPECT_EQ(Check(Output50(std::string(kIssoPu) + kIssoPd)), "");
  EXPECT_EQ(FlatMessages(Check(Output50(kIssoPu))),
            "WARNING (line   19) - [Model] 'm': [ISSO PU] is given without [ISSO PD]\n");
  EXPECT_EQ(Findings(Output50(kIssoPd)), "[Model] 'm': [ISSO PD] is given without [ISSO PU]\n");
}

// A rising waveform of line 19, 0 to 2 ns.
const char kRising[] = "[Rising Waveform]\nR_fixture = 50\nV_fixture = 0\n0 0 NA NA\n1n 1.65 NA NA\n2n 1.65 NA NA\n";

TEST_F(ModelPairings, CompositeCurrentFollowsItsWaveformAndSpansItsTime) {
  EXPECT_EQ(Check(Output50(std::string(kRising) + "[Composite Current]\n0 0 NA NA\n1n 10m NA NA\n2.0e-9 0 NA NA\n")),
            "");
  EXPECT_EQ(FlatMessages(Check(Output50(std::string(kRising) + "[Composite Current]\n0 0 NA NA\n1n 10m NA NA\n"))),
            "WARNING (line   25) - [Composite Current] of model 'm' spans 0 s to 1e-09 s where its [Rising Waveform] "
            "of line 19 spans 0 s to 2e-09 s\n");
  EXPECT_EQ(FlatMessages(Check(Output50("[Composite Current]\n0 0 NA NA\n1n 10m NA NA\n"))),
            "WARNING (line   19) - [Composite Current] of model 'm' follows no [Rising Waveform] or [Falling "
            "Waveform]\n");
}

// A model of Model_type `type` (from line 4) adding submodel s in `mode` at
// line 11, then a dynamic clamp s.
std::string Adds(const std::string& type, const std::string& mode) {
  return "[IBIS Ver] 4.2\n[File Name] t.ibs\n[File Rev] 1.0\n[Model] m\nModel_type " + type +
         "\nVinl = 0.8\nVinh = 2.0\nC_comp 1p NA NA\n[Voltage Range] 3.3 NA NA\n[Add Submodel]\ns " + mode +
         "\n[Submodel] s\nSubmodel_type Dynamic_clamp\n[End]\n";
}

TEST_F(ModelPairings, SubmodelModeFitsTheModelType) {
  EXPECT_EQ(Findings(Adds("Input", "Non-Driving")), "");
  EXPECT_EQ(Findings(Adds("Input", "All")), "");
  EXPECT_EQ(FlatMessages(Check(Adds("Input", "Driving"))),
            "ERROR (line   11) - [Add Submodel] of model 'm' adds submodel 's' in mode Driving, which Model_type "
            "Input does not have\n");
  // Output and Open types never receive; I/O and 3-state types may take either mode.
  EXPECT_EQ(Count(Findings(Adds("Open_drain", "Non-Driving")),
                  "[Add Submodel] of model 'm' adds submodel 's' in mode Non-Driving, which Model_type Open_drain "
                  "does not have\n"),
            1);
  EXPECT_EQ(Count(Findings(Adds("I/O", "Non-Driving")), "[Add Submodel]"), 0);
  EXPECT_EQ(Count(Findings(Adds("3-state", "Driving")), "[Add Submodel]"), 0);
}

// A bus hold submodel (from line 4) with the keywords `body`.
std::string BusHold(const std::string& body) {
  return "[IBIS Ver] 3.2\n[File Name] t.ibs\n[File Rev] 1.0\n[Submodel] s\nSubmodel_type Bus_hold\n" + body + "[End]\n";
}

TEST_F(ModelPairings, BusHoldHasItsTablesAndTriggers) {
  const std::string tables =
      "[Pulldown]\n-3.3 -1m NA NA\n6.6 2m NA NA\n[Ramp]\ndV/dt_r 1/1n NA NA\ndV/dt_f 1/1n NA NA\n";
  EXPECT_EQ(Check(BusHold(tables + "[Submodel Spec]\nV_trigger_r 2.0 NA NA\nV_trigger_f 0.8 NA NA\n")), "");
  EXPECT_EQ(FlatMessages(Check(BusHold(tables + "[Submodel Spec]\nV_trigger_f 0.8 NA NA\n"))),
            "ERROR (line    4) - [Submodel] 's' of Submodel_type Bus_hold lacks V_trigger_r\n");
  EXPECT_EQ(Findings(BusHold("[Submodel Spec]\nV_trigger_r 2.0 NA NA\nV_trigger_f 0.8 NA NA\n")),
            "[Submodel] 's' of Submodel_type Bus_hold lacks [Pullup] or [Pulldown]\n"
            "[Submodel] 's' of Submodel_type Bus_hold lacks [Ramp]\n");
  EXPECT_EQ(Findings(BusHold(tables)), "[Submodel] 's' of Submodel_type Bus_hold lacks [Submodel Spec]\n");
}

}  // namespace

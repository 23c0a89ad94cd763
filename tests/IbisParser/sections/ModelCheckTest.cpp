// The model section: subparameters by Model_type and version, the I-V and
// V-T tables with their fixtures, [Ramp], [Model Spec], [Driver Schedule],
// [Add Submodel] and [Submodel], and the consistency warnings. One rule per
// case, each fault once with its line; the model rows of the check table.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

#include "IbisParser/passes/ModelConsistency.h"
#include "IbisParser/records/ModelData.h"
#include "IbisParser/rules/ModelCheckRules.h"
#include "amiparam/Msg.h"
#include "tests/IbisParser/CheckerFiles.h"

namespace {

using ModelChecks = CheckerFiles;

// The printer's two-line form of mid-length texts as one line.
std::string OneLine(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 6, "-\n    ") == 0) {
      out += "- ";
      i += 5;
    } else {
      out += text[i];
    }
  }
  return out;
}

// An output model m whose pull-down and pull-up are 50 ohm resistors on a
// 3.3 V supply, with waveforms into 50 ohm computed from them: rising into
// 0 V goes 0 -> 1.65 V, falling into 3.3 V goes 3.3 -> 1.65 V, both 20-80 %
// in 0.6 ns, as [Ramp] says. Lines: 1-3 header, 4-11 component, 12 [Model].
struct Parts {
  std::string subparams = "Model_type Output\nC_comp 1p NA NA\n";                                    // 13-14
  std::string range = "[Voltage Range] 3.3 NA NA\n";                                                 // 15
  std::string pulldown = "[Pulldown]\n-3.3 -66m NA NA\n0 0 NA NA\n3.3 66m NA NA\n6.6 132m NA NA\n";  // 16-20
  std::string pullup = "[Pullup]\n-3.3 66m NA NA\n0 0 NA NA\n3.3 -66m NA NA\n6.6 -132m NA NA\n";     // 21-25
  std::string ramp = "[Ramp]\ndV/dt_r 0.99/0.6n NA NA\ndV/dt_f 0.99/0.6n NA NA\n";                   // 26-28
  std::string rising =
      "[Rising Waveform]\nR_fixture = 50\nV_fixture = 0\n0 0 NA NA\n1n 0 NA NA\n2n 1.65 NA NA\n3n 1.65 NA "
      "NA\n";  // 29-35
  std::string falling =
      "[Falling Waveform]\nR_fixture = 50\nV_fixture = 3.3\n0 3.3 NA NA\n1n 3.3 NA NA\n2n 1.65 NA NA\n"
      "3n 1.65 NA NA\n";  // 36-42
  std::string more;       // from line 43
  std::string version = "4.2";

  std::string Text() const {
    return "[IBIS Ver] " + version + "\n[File Name] t.ibs\n[File Rev] 1\n" + MinimalComponent() + "[Model] m\n" +
           subparams + range + pulldown + pullup + ramp + rising + falling + more + "[End]\n";
  }
};

}  // namespace

TEST_F(ModelChecks, CleanModelsPassSilently) {
  Parts p;
  EXPECT_EQ(OneLine(Check(p.Text())), "");
  // An input with thresholds, a schedule, a bus hold added to an output in
  // the one mode an output has (All) with its tables and triggers.
  p.more =
      "[Model] in\nModel_type Input\nPolarity Non-Inverting\nVinl = 0.8\nVinh = 2.0\nC_comp 1p 0.9p 1.1p\n"
      "[Voltage Range] 3.3 3.0 3.6\n[GND Clamp]\n-3.3 -10m NA NA\n3.3 0 NA NA\n"
      "[Model] sched\nModel_type Output\nC_comp 1p NA NA\n[Voltage Range] 3.3 NA NA\n"
      "[Pulldown]\n-3.3 -66m NA NA\n6.6 132m NA NA\n[Pullup]\n-3.3 66m NA NA\n6.6 -132m NA NA\n"
      "[Ramp]\nR_load = 50\ndV/dt_r 1/1n NA NA\ndV/dt_f 1/1n NA NA\n"
      "[Driver Schedule]\n| model Rise_on Rise_off Fall_on Fall_off\nm 0 NA 0 NA\n"
      "[Add Submodel]\nhold All\n"
      "[Submodel] hold\nSubmodel_type Bus_hold\n[Pulldown]\n-1 -1m NA NA\n1 1m NA NA\n"
      "[Ramp]\ndV/dt_r 1/1n NA NA\ndV/dt_f 1/1n NA NA\n[Submodel Spec]\nV_trigger_r 2.0 NA NA\nV_trigger_f 0.8 NA NA\n";
  EXPECT_EQ(OneLine(Check(p.Text())), "");
}

TEST_F(ModelChecks, SubparametersByTypeAndVersion) {
  Parts p;
  p.subparams = "C_comp 1p NA NA\n";
  EXPECT_EQ(OneLine(Check(p.Text())), "WARNING (line   12) - [Model] 'm': Model_type not given\n");
  p = Parts();
  p.subparams = "Model_type Input_diff\nC_comp 1p NA NA\n";
  p.version = "3.2";
  EXPECT_EQ(OneLine(Check(p.Text())),
            "WARNING (line   13) - [Model] 'm': Model_type 'Input_diff' is not a Model_type of IBIS 3.2\n");
  p = Parts();
  p.subparams = "Model_type Output\nPolarity Positive\nC_comp 1p NA NA\n";
  EXPECT_EQ(OneLine(Check(p.Text())),
            "WARNING (line   14) - [Model] 'm': Polarity 'Positive' is not one of Inverting, Non-Inverting\n");
  p = Parts();
  p.subparams = "Model_type Output\nC_comp 1p NA NA\nC_comp 2p NA NA\n";
  EXPECT_EQ(OneLine(Check(p.Text())), "WARNING (line   15) - [Model] 'm': C_comp given twice (first on line 14)\n");
  p = Parts();
  p.subparams = "Model_type Output\nC_comp 1p NA NA\nVfoo 1\n";
  EXPECT_EQ(OneLine(Check(p.Text())), "WARNING (line   15) - [Model] 'm': unknown subparameter 'Vfoo' for IBIS 4.2\n");
  p = Parts();
  p.subparams = "Model_type Output\nC_comp_pullup 1p NA NA\n";
  p.version = "3.2";
  EXPECT_EQ(OneLine(Check(p.Text())),
            "WARNING (line   14) - [Model] 'm': unknown subparameter 'C_comp_pullup' for IBIS 3.2\n"
            "WARNING (line   12) - [Model] 'm': C_comp not given\n");
  p = Parts();
  p.subparams = "Model_type Output\nC_comp x NA NA\n";
  EXPECT_EQ(OneLine(Check(p.Text())),
            "WARNING (line   14) - [Model] 'm': C_comp value 'x' is neither a number nor NA\n");
}

TEST_F(ModelChecks, RequiredKeywordsAndWhereTheyBelong) {
  Parts p;
  p.subparams = "Model_type I/O\nC_comp 1p NA NA\n";
  EXPECT_EQ(OneLine(Check(p.Text())), "WARNING (line   12) - [Model] 'm' of Model_type I/O: Vinl and Vinh not given\n");
  p = Parts();
  p.range = "[Temperature Range] 50 0 100\n";
  EXPECT_EQ(OneLine(Check(p.Text())),
            "ERROR (line   12) - [Model] 'm': neither [Voltage Range] nor all four reference keywords given\n");
  p = Parts();
  p.range = "[Voltage Range] NA NA NA\n";
  EXPECT_EQ(OneLine(Check(p.Text())), "ERROR (line   15) - [Model] 'm': [Voltage Range] needs a typ value\n");
  p = Parts();
  p.pullup = "[GND Clamp]\n-3.3 -10m NA NA\n3.3 0 NA NA\n\n\n";
  EXPECT_EQ(OneLine(Check(p.Text())), "WARNING (line   12) - [Model] 'm' of Model_type Output needs [Pullup]\n");
  p = Parts();
  p.more = "[R Series] 10 NA NA\n";
  EXPECT_EQ(OneLine(Check(p.Text())),
            "WARNING (line   43) - [Model] 'm': [R Series] does not belong in a model of Model_type Output\n");
  p = Parts();
  p.more = "[Pulldown]\n0 0 NA NA\n1 1 NA NA\n";
  EXPECT_EQ(OneLine(Check(p.Text())), "WARNING (line   43) - [Model] 'm': [Pulldown] given twice (first on line 16)\n");
  p = Parts();
  p.more = "[Model] m\nModel_type Terminator\nC_comp 1p NA NA\n[Voltage Range] 3.3 NA NA\n";
  EXPECT_EQ(OneLine(Check(p.Text())), "WARNING (line   43) - [Model] 'm' is already defined on line 12\n");
  // A model keyword between the component and the first model.
  EXPECT_EQ(OneLine(Check(Header() + Component() + "[Pulldown]\n0 0 NA NA\n[End]\n")),
            "WARNING (line   12) - [Pulldown] stands outside a [Model]\n");
}

TEST_F(ModelChecks, TableRows) {
  const std::string head = "[Pulldown]\n-3.3 -66m NA NA\n";  // 16-17
  const std::string tail = "3.3 66m NA NA\n6.6 132m NA NA\n";
  Parts p;
  auto with = [&](const std::string& row) {
    p.pulldown = head + row + tail;
    return OneLine(Check(p.Text()));
  };
  EXPECT_EQ(with("0 0 NA\n"), "ERROR (line   18) - [Pulldown] of model 'm': row has 3 columns where 4 are needed\n");
  EXPECT_EQ(with("x 0 NA NA\n"), "WARNING (line   18) - [Pulldown] of model 'm': voltage 'x' is not a number\n");
  EXPECT_EQ(with("0 0 abc NA\n"),
            "ERROR (line   18) - [Pulldown] of model 'm': min value 'abc' is neither a number nor NA\n");
  // An inner typ value may be NA; the first and last rows need numbers.
  EXPECT_EQ(with("0 NA NA NA\n"), "");
  p.pulldown = "[Pulldown]\n-3.3 NA NA NA\n" + tail;
  EXPECT_EQ(OneLine(Check(p.Text())), "ERROR (line   17) - [Pulldown] of model 'm': typ value is NA\n");
  EXPECT_EQ(with("-3.3 0 NA NA\n"), "WARNING (line   18) - [Pulldown] of model 'm': voltage -3.3 repeats line 17\n");
  p.pulldown = head + "0 0 NA NA\n-1 -20m NA NA\n" + tail;
  EXPECT_EQ(
      OneLine(Check(p.Text())),
      "WARNING (line   19) - [Pulldown] of model 'm': voltage -1 turns back from the order of the rows up to line "
      "18\n");
  // Descending voltage is a direction of its own.
  p.pulldown = "[Pulldown]\n6.6 132m NA NA\n3.3 66m NA NA\n0 0 NA NA\n-3.3 -66m NA NA\n";
  EXPECT_EQ(OneLine(Check(p.Text())), "");
  p.pulldown = "[Pulldown]\n0 0 NA NA\n";
  EXPECT_EQ(OneLine(Check(p.Text())), "ERROR (line   16) - [Pulldown] of model 'm' has fewer than 2 rows\n");
  p.pulldown = "[Pulldown]\n";
  for (int i = 0; i <= 100; ++i) p.pulldown += std::to_string(i * 0.05) + " " + std::to_string(i) + "m NA NA\n";
  EXPECT_EQ(OneLine(Check(p.Text())),
            "ERROR (line  117) - [Pulldown] of model 'm' has 101 rows, more than the 100 "
            "of IBIS 4.2\n"
            "WARNING (line   16) - [Pulldown] of model 'm' spans 0 V to 5 V, short of -3.3 V to 6.6 V (Vcc 3.3 V)\n");
}

TEST_F(ModelChecks, WaveformFixturesAndRows) {
  Parts p;
  p.rising = "[Rising Waveform]\nV_fixture = 0\n0 0 NA NA\n1n 0 NA NA\n2n 1.65 NA NA\n3n 1.65 NA NA\n\n";
  EXPECT_EQ(OneLine(Check(p.Text())), "WARNING (line   29) - [Rising Waveform] of model 'm' lacks R_fixture\n");
  p = Parts();
  p.rising = "[Rising Waveform]\nR_fixture = 50\nV_fixture = 0\nX_fixture = 1\n0 0 NA NA\n1n 0 NA NA\n2n 1.65 NA NA\n";
  EXPECT_EQ(OneLine(Check(p.Text())),
            "WARNING (line   32) - [Rising Waveform] of model 'm': unknown subparameter 'X_fixture'\n");
  p = Parts();
  p.rising = "[Rising Waveform]\nR_fixture = 50\nV_fixture = 0\n0 0 NA NA\n2n 1.65 NA NA\n1n 1.65 NA NA\n\n";
  EXPECT_EQ(OneLine(Check(p.Text())),
            "WARNING (line   34) - [Rising Waveform] of model 'm': time 1n turns back from the order of the rows up to "
            "line 33\n");
  // 100 V-T rows at most before 4.0.
  p = Parts();
  p.version = "3.2";
  p.ramp = "[Ramp]\nR_load = 1k\ndV/dt_r 0.99/0.6n NA NA\ndV/dt_f 0.99/0.6n NA NA\n";  // compared with no waveform
  p.rising = "[Rising Waveform]\nR_fixture = 50\nV_fixture = 0\n";
  for (int i = 0; i <= 100; ++i) p.rising += std::to_string(i) + "p " + (i < 50 ? "0" : "1.65") + " NA NA\n";
  EXPECT_EQ(OneLine(Check(p.Text())),
            "ERROR (line  133) - [Rising Waveform] of model 'm' has 101 rows, more than the 100 of IBIS 3.2\n");
}

TEST_F(ModelChecks, Ramp) {
  Parts p;
  auto with = [&](const std::string& lines) {
    p.ramp = "[Ramp]\n" + lines;
    return OneLine(Check(p.Text()));
  };
  EXPECT_EQ(with("dV/dt_r 0.99/0.6n NA NA\n\n"), "WARNING (line   26) - [Ramp] of model 'm' lacks dV/dt_f\n");
  EXPECT_EQ(with("dV/dt_r 0.99 NA NA\ndV/dt_f 0.99/0.6n NA NA\n"),
            "ERROR (line   27) - [Ramp] of model 'm': dV/dt_r typ value '0.99' is not a ratio dV/dt\n");
  EXPECT_EQ(with("dV/dt_r 0.99/0.6n -1/1n NA\ndV/dt_f 0.99/0.6n NA NA\n"),
            "WARNING (line   27) - [Ramp] of model 'm': dV/dt_r min value '-1/1n' is not positive\n");
  EXPECT_EQ(with("dV/dt_r NA NA NA\ndV/dt_f 0.99/0.6n NA NA\n"),
            "WARNING (line   27) - [Ramp] of model 'm': dV/dt_r needs a typ value\n");
  EXPECT_EQ(with("dV/dt_r 0.99/0.6n NA NA\ndV/dt_f 0.99/0.6n NA NA\nR_load = -5\n"),
            "WARNING (line   29) - [Ramp] of model 'm': R_load '-5' is not a positive number\n");
  EXPECT_EQ(with("dV/dt_r 0.99/0.6n NA NA\ndV/dt_f 0.99/0.6n NA NA\nslope 1\n"),
            "WARNING (line   29) - [Ramp] of model 'm': unknown line 'slope'\n");
}

TEST_F(ModelChecks, ModelSpecScheduleAndSubmodels) {
  Parts p;
  p.more = "[Model Spec]\nVinh 2 NA NA\nVfoo 1 NA NA\n";
  EXPECT_EQ(OneLine(Check(p.Text())), "WARNING (line   45) - [Model Spec] of model 'm': unknown subparameter 'Vfoo'\n");
  const std::string in =
      "[Model] in\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA NA\n[Voltage Range] 3.3 NA NA\n";
  p.more = "[Driver Schedule]\nnone 0 NA 0 NA\nin 0 NA 0 NA\nm 0 NA\nm 0 NA x NA\n" + in;
  EXPECT_EQ(
      OneLine(Check(p.Text())),
      "WARNING (line   46) - [Driver Schedule] of model 'm': row has 3 columns where 5 are needed\n"
      "WARNING (line   47) - [Driver Schedule] of model 'm': delay 'x' is neither a number nor NA\n"
      "WARNING (line   44) - [Driver Schedule] of model 'm' names model 'none', which is not a [Model] of the file\n"
      "WARNING (line   45) - [Driver Schedule] of model 'm' names model 'in' of Model_type Input, which cannot be "
      "scheduled\n");
  p.more = "[Add Submodel]\nnone Driving\nhold Sometimes\nhold\n[Submodel] hold\nSubmodel_type Hold\n";
  EXPECT_EQ(
      OneLine(Check(p.Text())),
      "WARNING (line   45) - [Add Submodel] of model 'm': mode 'Sometimes' is not Driving, Non-Driving or All\n"
      "WARNING (line   46) - [Add Submodel] of model 'm': row has 1 columns where 2 are needed\n"
      "WARNING (line   48) - [Submodel] 'hold': Submodel_type 'Hold' is not Dynamic_clamp, Bus_hold or Fall_back\n"
      "ERROR (line   44) - [Add Submodel] of model 'm' names submodel 'none', which is not a [Submodel] of the "
      "file\n");
  p.more = "[Submodel] hold\n[Pulldown]\n-1 -1m NA NA\n1 1m NA NA\n";
  EXPECT_EQ(OneLine(Check(p.Text())), "WARNING (line   43) - [Submodel] 'hold': Submodel_type not given\n");
}

TEST_F(ModelChecks, SeriesSwitchStates) {
  // Lines 43 on: a Series_switch with its two states; [Series MOSFET] once per Vds.
  const std::string on = "[Model] sw\nModel_type Series_switch\n[On]\n[R Series] 10 NA NA\n";
  const std::string mosfets =
      "[Series MOSFET]\nVds = 1.0\n0 0 NA NA\n1 10m NA NA\n[Series MOSFET]\nVds = 2.0\n0 0 NA NA\n1 20m NA NA\n";
  const std::string off = "[Off]\n[R Series] 1M NA NA\n";
  Parts p;
  p.more = on + mosfets + off;
  EXPECT_EQ(OneLine(Check(p.Text())), "");
  p.more = on + mosfets;
  EXPECT_EQ(OneLine(Check(p.Text())), "WARNING (line   43) - [Model] 'sw' of Model_type Series_switch needs [Off]\n");
  p.more = on + "[Series MOSFET]\n0 0 NA NA\n1 10m NA NA\n" + off;
  EXPECT_EQ(OneLine(Check(p.Text())), "WARNING (line   47) - [Series MOSFET] of model 'sw' lacks Vds\n");
  p.more = on + "[R Series] 20 NA NA\n" + off;
  EXPECT_EQ(OneLine(Check(p.Text())),
            "WARNING (line   47) - [Model] 'sw': [R Series] given twice (first on line 46)\n");
  p.more = "[On]\n";
  EXPECT_EQ(OneLine(Check(p.Text())),
            "WARNING (line   43) - [Model] 'm': [On] does not belong in a model of Model_type Output\n");
}

TEST_F(ModelChecks, TestDataAndTestLoads) {
  // Lines 43 on: a [Test Load] and a [Test Data] that uses it with model m.
  const std::string load = "[Test Load] tl\nTest_load_type Single_ended\nR_diff_near = 100\n";
  Parts p;
  p.more = load + "[Test Data] td\nTest_data_type Single_ended\nDriver_model m\nTest_load tl\n";
  EXPECT_EQ(OneLine(Check(p.Text())), "");
  p.more = load + "[Test Data] td\nTest_data_type Both\nDriver_model none\nTest_load tl\n";
  EXPECT_EQ(OneLine(Check(p.Text())),
            "WARNING (line   47) - [Test Data] 'td': Test_data_type 'Both' is not Single_ended or Differential\n"
            "WARNING (line   48) - [Test Data] 'td' names Driver_model 'none', which is not a [Model] of the file\n");
  p.more = "[Test Data] td\nTest_load gone\n";
  EXPECT_EQ(OneLine(Check(p.Text())),
            "WARNING (line   43) - [Test Data] 'td' lacks Driver_model\n"
            "WARNING (line   44) - [Test Data] 'td' names Test_load 'gone', which is not a [Test Load] of the file\n");
}

TEST_F(ModelChecks, WaveformLevelsAgainstTheIvTables) {
  // The waveforms were computed from the tables: no warning (the clean case
  // above). The pull-up scaled by 2 is a 25 ohm resistor: the rising
  // waveform into 50 ohm to 0 V should end at 2.2 V, not 1.65 V.
  Parts p;
  p.pullup = "[Pullup]\n-3.3 132m NA NA\n0 0 NA NA\n3.3 -132m NA NA\n6.6 -264m NA NA\n";
  EXPECT_EQ(OneLine(Check(p.Text())),
            "WARNING (line   35) - [Rising Waveform] of model 'm' (line 29, typ) ends at 1.650 V where its I-V tables "
            "give 2.200 V\n");
  // Per corner: the max column of the pull-down is off, the typ column is not.
  p = Parts();
  p.pulldown = "[Pulldown]\n-3.3 -66m NA -33m\n0 0 NA 0\n3.3 66m NA 33m\n6.6 132m NA 66m\n";
  p.falling =
      "[Falling Waveform]\nR_fixture = 50\nV_fixture = 3.3\n0 3.3 NA 3.3\n1n 3.3 NA 3.3\n2n 1.65 NA 1.65\n"
      "3n 1.65 NA 1.65\n";
  EXPECT_EQ(OneLine(Check(p.Text())),
            "WARNING (line   42) - [Falling Waveform] of model 'm' (line 36, max) ends at 1.650 V where its I-V "
            "tables give 2.200 V\n");
}

TEST_F(ModelChecks, RampAgainstWaveformsAndMonotonicTables) {
  Parts p;
  p.ramp = "[Ramp]\ndV/dt_r 0.99/0.3n NA NA\ndV/dt_f 0.99/0.6n NA NA\n";
  EXPECT_EQ(OneLine(Check(p.Text())),
            "WARNING (line   27) - [Ramp] dV/dt_r of model 'm' (typ) is 3.3 V/ns where [Rising Waveform] of line 29 "
            "gives 1.65 V/ns from 20 to 80 %\n");
  // A capacitive fixture slows the edge: not compared.
  p.rising = "[Rising Waveform]\nR_fixture = 50\nV_fixture = 0\nC_fixture = 5p\n0 0 NA NA\n1n 0 NA NA\n2n 1.65 NA NA\n";
  EXPECT_EQ(OneLine(Check(p.Text())), "");
  p = Parts();
  // A dip above the operating points: the levels stay where they were.
  p.pulldown = "[Pulldown]\n-3.3 -66m NA NA\n0 0 NA NA\n1.65 33m NA NA\n2.5 60m NA NA\n3 40m NA NA\n";
  EXPECT_EQ(
      OneLine(Check(p.Text())),
      "WARNING (line   21) - [Pulldown] of model 'm' (typ) is not monotonic: 0.06 A at 2.5 V, then 0.04 A at 3 V\n"
      "WARNING (line   16) - [Pulldown] of model 'm' spans -3.3 V to 3 V, short of -3.3 V to 6.6 V (Vcc 3.3 V)\n");
}

TEST(ModelConsistency, CurrentInterpolatesAndExtrapolatesPerCorner) {
  MODEL_TABLE t;
  auto row = [](double x, double typ, int minStatus, double min) {
    TABLE_ROW r;
    r.x = x;
    r.y[0] = MODEL_VALUE{typ, 1};
    r.y[1] = MODEL_VALUE{min, minStatus};
    return r;
  };
  t.rows = {row(0, 0, 1, 0), row(1, 1, 1, 2), row(2, 4, 2, 0)};
  EXPECT_DOUBLE_EQ(MODCONS_Current(&t, 0, 0.5), 0.5);
  EXPECT_DOUBLE_EQ(MODCONS_Current(&t, 0, 3.0), 7.0);    // along the last segment
  EXPECT_DOUBLE_EQ(MODCONS_Current(&t, 0, -1.0), -1.0);  // along the first
  EXPECT_DOUBLE_EQ(MODCONS_Current(&t, 1, 1.5), 3.0);    // min column: two numbers, NA skipped
  EXPECT_DOUBLE_EQ(MODCONS_Current(&t, 2, 1.5), 2.5);    // max column empty: typ
  EXPECT_DOUBLE_EQ(MODCONS_Current(nullptr, 0, 1.0), 0.0);
}

TEST(ModelCheckRules, EveryModelRowHasItsCatalogueTextOnce) {
  std::set<int> codes;
  for (int i = 0; i < giModelCheckRuleCount; ++i) {
    const CHECK_RULE& r = gaModelCheckRules[i];
    EXPECT_NE(MSG_Text(r.code), nullptr) << r.code;
    EXPECT_TRUE(codes.insert(r.code).second) << r.code;
    EXPECT_TRUE(std::string(r.severity) == "ERROR" || std::string(r.severity) == "WARNING" ||
                std::string(r.severity) == "NOTE");
  }
  for (int code = 5100; code < 5400; ++code) {
    if (MSG_Text(code)) {
      EXPECT_TRUE(codes.count(code)) << code;
    }
  }
}

// Forms the standard allows get no ERROR, and one fault gets one report: NA
// in inner typ rows, "=" with or without blanks, a misplaced row, file names
// of 7.0 on, the repeater executables of 6.1 on. Each case with the exact
// message or its absence.
#include <gtest/gtest.h>

#include <string>

#include "tests/IbisParser/CheckerFiles.h"

namespace {

using FalseAlarms = CheckerFiles;

// A file of version 4.2 with an Output model m whose [Pulldown] is
// `pulldown` (from line 16, its first row on 17) and whose [Rising Waveform]
// holds `wave` (fixture lines and rows).
std::string OutputModel(const std::string& pulldown,
                        const std::string& wave = "R_fixture = 50\nV_fixture = 0\n0 0 NA NA\n1n 1.65 NA NA\n") {
  return "[IBIS Ver] 4.2\n[File Name] t.ibs\n[File Rev] 1\n" + MinimalComponent() +
         "[Model] m\nModel_type Output\nC_comp 1p NA NA\n[Voltage Range] 3.3 NA NA\n" + pulldown +
         "[Pullup]\n0 0 NA NA\n3.3 -66m NA NA\n[Ramp]\nR_load = 50\ndV/dt_r 1/1n NA NA\ndV/dt_f 1/1n NA NA\n"
         "[Rising Waveform]\n" +
         wave + "[End]\n";
}

// What the check printed but the warnings that compare waveforms with the
// I-V tables and [Ramp] (these tables are not made to agree) and those of
// the tables' voltage span (they are not swept from -Vcc to 2 Vcc).
std::string Findings(const std::string& printed) {
  std::string out, flat = FlatMessages(printed);
  for (size_t at = 0, end; at < flat.size(); at = end + 1) {
    end = flat.find('\n', at);
    if (end == std::string::npos) end = flat.size();
    const std::string line = flat.substr(at, end - at);
    if (line.find("where its I-V tables give") == std::string::npos && line.find("V/ns from 20") == std::string::npos &&
        line.find(" V, short of ") == std::string::npos)
      out += line + "\n";
  }
  return out;
}

}  // namespace

TEST_F(FalseAlarms, InnerTypRowsMayBeNAButNotTheEnds) {
  // Corners swept on different voltages: -0.2 V has only a max value.
  const std::string inner = "[Pulldown]\n-1 -10m -9m -11m\n-0.2 NA NA -3m\n0 0 0 0\n3.3 66m 60m 70m\n";
  EXPECT_EQ(Findings(Check(OutputModel(inner))), "");
  const std::string wave = "R_fixture = 50\nV_fixture = 0\n0 0 NA NA\n0.5n NA NA NA\n1n 1.65 NA NA\n";
  EXPECT_EQ(Findings(Check(OutputModel(inner, wave))), "");
  // The first and last voltage points need a typ number.
  EXPECT_EQ(Findings(Check(OutputModel("[Pulldown]\n-1 NA NA NA\n0 0 NA NA\n3.3 66m NA NA\n"))),
            "ERROR (line   17) - [Pulldown] of model 'm': typ value is NA\n");
  EXPECT_EQ(Findings(Check(OutputModel("[Pulldown]\n-1 -1m NA NA\n0 0 NA NA\n3.3 NA NA NA\n"))),
            "ERROR (line   19) - [Pulldown] of model 'm': typ value is NA\n");
  // A min column with numbers gives them at both ends too (a warning: the
  // standard's "must" names the typ column).
  EXPECT_EQ(Findings(Check(OutputModel("[Pulldown]\n-1 -1m -1m NA\n0 0 0 NA\n3.3 66m NA NA\n"))),
            "WARNING (line   19) - [Pulldown] of model 'm': the min column holds numbers but its last row is NA\n");
}

TEST_F(FalseAlarms, EqualsSignsWithOrWithoutBlanks) {
  const std::string table = "[Pulldown]\n0 0 NA NA\n3.3 66m NA NA\n";
  for (const std::string fixture : {"R_fixture=50\nV_fixture=0\n", "R_fixture =50\nV_fixture= 0\n",
                                    "R_fixture= 50\nV_fixture =0\n", "R_fixture = 50\nV_fixture = 0\n"})
    EXPECT_EQ(Findings(Check(OutputModel(table, fixture + "0 0 NA NA\n1n 1.65 NA NA\n"))), "") << fixture;
  // [Ramp] R_load, model subparameters and [Test Data] read alike.
  std::string text = OutputModel(table);
  for (const char* from : {"R_load = 50", "C_comp 1p"}) ASSERT_NE(text.find(from), std::string::npos);
  text.replace(text.find("R_load = 50"), 11, "R_load=1k");
  text.replace(text.find("Model_type Output"), 17, "Model_type=Output");
  EXPECT_EQ(Findings(Check(text)), "");
  // A name that is not a subparameter is still one report.
  EXPECT_EQ(Findings(Check(OutputModel(table, "R_fixture=50\nV_fixture=0\nX_fixture=1\n0 0 NA NA\n1n 1.65 NA NA\n"))),
            "WARNING (line   29) - [Rising Waveform] of model 'm': unknown subparameter 'X_fixture'\n");
}

TEST_F(FalseAlarms, OneMisplacedRowIsOneReport) {
  // A spike (50 for 0.5) between ascending rows: the spike is the row reported, once.
  std::string rows = "[Pulldown]\n-1 -10m NA NA\n0 0 NA NA\n50 10m NA NA\n";
  for (int i = 6; i <= 30; ++i) rows += std::to_string(i / 10.0) + " " + std::to_string(i) + "m NA NA\n";
  EXPECT_EQ(Findings(Check(OutputModel(rows))),
            "WARNING (line   19) - [Pulldown] of model 'm': voltage 50 turns back from the order of the rows up to "
            "line 18\n");
  // A row that falls back is that row, once per table, however many follow.
  rows = "[Pulldown]\n-1 -10m NA NA\n0 0 NA NA\n1 10m NA NA\n-0.5 5m NA NA\n2 20m NA NA\n1.5 7m NA NA\n3 30m NA NA\n";
  EXPECT_EQ(Findings(Check(OutputModel(rows))),
            "WARNING (line   20) - [Pulldown] of model 'm': voltage -0.5 turns back from the order of the rows up to "
            "line 19\n");
}

TEST_F(FalseAlarms, FileNamesOfSevenOnMayHaveUpperCaseAndPeriods) {
  const std::string rest = "[File Rev] 1\n" + MinimalComponent() + "[End]\n";
  EXPECT_EQ(FlatMessages(Check("[IBIS Ver] 7.1\n[File Name] Example_Rx.ibs\n" + rest, "Example_Rx.ibs")), "");
  EXPECT_EQ(FlatMessages(Check("[IBIS Ver] 7.0\n[File Name] my.buffer.v2.ibs\n" + rest, "my.buffer.v2.ibs")), "");
  // Before 7.0 both stay faults.
  EXPECT_EQ(FlatMessages(Check("[IBIS Ver] 6.1\n[File Name] Ex.ibs\n" + rest, "Ex.ibs")),
            "ERROR (line    2) - File_name 'Ex.ibs' contains an upper case character 'E'.\n");
  // A character outside the allowed set is a fault in every version.
  EXPECT_EQ(FlatMessages(Check("[IBIS Ver] 7.1\n[File Name] a+b.ibs\n" + rest, "a+b.ibs")),
            "ERROR (line    2) - File_name 'a+b.ibs' contains a character '+' that is illegal for DOS.\n");
}

TEST_F(FalseAlarms, RepeaterExecutablesFromSixOne) {
  Write("rx.so", "x");
  Write("tx.so", "x");
  Write("m.ami",
        "(m (Reserved_Parameters (AMI_Version (Usage Info) (Type String) (Value \"7.1\") "
        "(Description \"v\")) (Init_Returns_Impulse (Usage Info) (Type Boolean) (Value True) "
        "(Description \"i\")) (GetWave_Exists (Usage Info) (Type Boolean) (Value True) "
        "(Description \"g\"))))\n");
  auto file = [&](const std::string& version) {
    return "[IBIS Ver] " + version + "\n[File Name] t.ibs\n[File Rev] 1\n" + MinimalComponent() + "[Model] m\n" +
           ModelBody() +
           "[Algorithmic Model]\nExecutable_Rx Linux_gcc_64 rx.so m.ami\nExecutable_Tx Linux_gcc_64 tx.so m.ami\n"
           "[End Algorithmic Model]\n[End]\n";
  };
  const std::string later = FlatMessages(Check(file("7.1")));
  EXPECT_EQ(later.find("Unknown Line in Algorithmic Model"), std::string::npos) << later;
  EXPECT_EQ(later.find("Duplicate Sub-Parameter"), std::string::npos) << later;
  const std::string before = FlatMessages(Check(file("6.0")));
  EXPECT_EQ(Count(before, "ERROR (line   18) - Unknown Line in Algorithmic Model\n"), 1) << before;
  EXPECT_EQ(Count(before, "Unknown Line in Algorithmic Model"), 2) << before;
}

// [External Model], [External Circuit], [Circuit Call] with [Node
// Declarations], and the interconnect model sets of 7.0 with the
// [Interconnect Model Group] entries that name them. The findings are taken
// by id and line from the printer's listener (the model checks of the same
// files are not the subject here); texts are held once per message.
#include <gtest/gtest.h>

#include <string>

#include "tests/IbisParser/CheckerFiles.h"

namespace {

using Externals = CheckerFiles;

// Lines 1-3: header (4.2 unless told); 4-12: component c with pins 1 (a m)
// and vdd; then `component` from line 13; then the model m and its
// [External Model] block `model` and `rest`.
std::string Ibs(const std::string& component, const std::string& model, const std::string& rest,
                const std::string& version = "4.2") {
  return "[IBIS Ver] " + version + "\n[File Name] t.ibs\n[File Rev] 1\n[Component] c\n[Manufacturer] me\n[Package]\n" +
         "R_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name model_name\n1 a m\n2 vdd POWER\n" +
         component + "[Model] m\nModel_type Output\n" + model + rest + "[End]\n";
}

const std::string kCall =
    "[Node Declarations]\nn1\n[End Node Declarations]\n[Circuit Call] ckt\nSignal_pin 1\nPort_map A 1\nPort_map B n1\n"
    "[End Circuit Call]\n";  // lines 13-20
const std::string kModelBlock =
    "[External Model]\nLanguage SPICE\nCorner Typ m.sp m_typ\nPorts A_signal\n[End External Model]\n";
const std::string kCircuit =
    "[External Circuit] ckt\nLanguage SPICE\nCorner Typ c.sp c_typ\nCorner Min c.sp c_min\nPorts A B\n"
    "[End External Circuit]\n";

}  // namespace

class ExternalFindings : public Externals {
 protected:
  std::string Run(const std::string& text, const std::string& name = "t.ibs") {
    RangeFindings f(5400, 5700);
    Check(text, name);
    texts_ = f.texts;
    return f.list;
  }
  std::string texts_;
};

TEST_F(ExternalFindings, ExternalModelCircuitAndCallPass) {
  Write("m.sp", "* model\n");
  Write("c.sp", "* circuit\n");
  EXPECT_EQ(Run(Ibs(kCall, kModelBlock, kCircuit)), "");
}

TEST_F(ExternalFindings, ExternalBlockRules) {
  Write("c.sp", "* circuit\n");
  Write("m.sp", "* model\n");
  // Lines: [External Model] 15, Language 16, Corner 17.
  EXPECT_EQ(Run(Ibs("", "[External Model]\nLanguage Fortran\nCorner Typ m.sp m_typ\n[End External Model]\n", "")),
            "5601@16");
  EXPECT_EQ(texts_,
            "[External Model] Language 'Fortran' is not one of SPICE, VHDL-AMS, Verilog-AMS, VHDL-A(MS), "
            "Verilog-A(MS)\n");
  EXPECT_EQ(Run(Ibs("", "[External Model]\nLanguage SPICE\nCorner Typ gone.sp m_typ\n[End External Model]\n", "")),
            "5604@17");
  EXPECT_EQ(texts_, "[External Model] names file 'gone.sp', which is not beside the checked file\n");
  EXPECT_EQ(Run(Ibs("", "[External Model]\nLanguage SPICE\nCorner Fast m.sp m_typ\n[End External Model]\n", "")),
            "5602@17 5600@15");
  EXPECT_EQ(Run(Ibs("", "[External Model]\nCorner Typ m.sp m\nCorner Typ m.sp m\n[End External Model]\n", "")),
            "5605@17 5600@15");
  EXPECT_EQ(Run(Ibs("", "[External Model]\nLanguage SPICE\nCorner Typ m.sp\n[End External Model]\n", "")), "5603@17");
  EXPECT_EQ(Run(Ibs("", "[External Model]\nLanguage SPICE\nCorner Typ m.sp m\n", "")), "5606@15");
  // IBIS-ISS is a language of later versions only.
  EXPECT_EQ(Run(Ibs("", "[External Model]\nLanguage IBIS-ISS\nCorner Typ m.sp m\n[End External Model]\n", "", "5.1")),
            "");
  EXPECT_EQ(Run(Ibs("", "[External Model]\nLanguage IBIS-ISS\nCorner Typ m.sp m\n[End External Model]\n", "")),
            "5601@16");
  // An [External Circuit] declares its ports.
  EXPECT_EQ(Run(Ibs("", "", "[External Circuit] x\nLanguage SPICE\nCorner Typ c.sp x\n[End External Circuit]\n")),
            "5600@15");
  EXPECT_EQ(texts_, "[External Circuit] 'x': required subparameter Ports not found\n");
}

TEST_F(ExternalFindings, CircuitCallsResolve) {
  Write("m.sp", "* model\n");
  Write("c.sp", "* circuit\n");
  auto call = [](const std::string& body) {
    return "[Node Declarations]\nn1\n[End Node Declarations]\n[Circuit Call] ckt\n" + body + "[End Circuit Call]\n";
  };                                                                       // call lines from 17
  EXPECT_EQ(Run(Ibs(call("Signal_pin 9\n"), kModelBlock, kCircuit)), "");  // pins: 5014, a component rule
  EXPECT_EQ(Run(Ibs(call("Port_map C 1\n"), kModelBlock, kCircuit)), "5608@17");
  EXPECT_EQ(texts_,
            "[Circuit Call] Port_map names port 'C', which [External Circuit] 'ckt' does not declare in Ports\n");
  EXPECT_EQ(Run(Ibs(call("Port_map A n2\n"), kModelBlock, kCircuit)), "5609@17");
  EXPECT_EQ(Run(Ibs(call("Port_map A vdd\n"), kModelBlock, kCircuit)), "");  // the signal of a rail pin
  EXPECT_EQ(Run(Ibs(call("Port_map A\n"), kModelBlock, kCircuit)), "5610@17");
  EXPECT_EQ(Run(Ibs(call("Port_map A 1\n"), kModelBlock, "")), "5607@16");
  EXPECT_EQ(texts_, "[Circuit Call] names 'ckt', which is not an [External Circuit] of the file\n");
  EXPECT_EQ(Run(Ibs("[Circuit Call] ckt\nPort_map A 1\n", kModelBlock, kCircuit)), "5606@13");
}

TEST_F(ExternalFindings, InterconnectModelSets) {
  Write("pkg.s4p", "! touchstone\n");
  // From line 13: the group (13-15), then the model m (16-17) and the set.
  const std::string group = "[Interconnect Model Group] g\nset1\n[End Interconnect Model Group]\n";
  auto set = [](const std::string& model) {
    return "[Interconnect Model Set] set1\n[Interconnect Model] im\n" + model +
           "[End Interconnect Model]\n[End Interconnect Model Set]\n";
  };  // [Interconnect Model Set] 18, [Interconnect Model] 19, body from 20
  const std::string good = "File_TS pkg.s4p\nNumber_of_terminals = 2\n1 Pin_I/O 1\n2 Pin_I/O 2\n";
  EXPECT_EQ(Run(Ibs(group, "", set(good), "7.0")), "");
  EXPECT_EQ(Run(Ibs(group, "", set("File_TS gone.s4p\nNumber_of_terminals = 1\n1 Pin_I/O 1\n"), "7.0")), "5604@20");
  EXPECT_EQ(Run(Ibs(group, "", set("File_TS pkg.s4p\nFile_IBIS-ISS pkg.s4p x\n" + good.substr(16)), "7.0")), "5631@21");
  EXPECT_EQ(Run(Ibs(group, "", set("File_TS pkg.s4p\nNumber_of_terminals = 3\n1 Pin_I/O 1\n"), "7.0")), "5633@19");
  EXPECT_EQ(texts_, "[Interconnect Model] 'im': Number_of_terminals is 3 but 1 terminal lines follow\n");
  EXPECT_EQ(Run(Ibs(group, "", set("Number_of_terminals = 1\n1 Pin_I/O 1\n"), "7.0")), "5600@19");
  EXPECT_EQ(Run(Ibs("[Interconnect Model Group] g\nother\n[End Interconnect Model Group]\n", "", set(good), "7.0")),
            "5635@14");
  EXPECT_EQ(Run(Ibs(group, "", "[Interconnect Model Set] set1\n[Interconnect Model] im\n" + good, "7.0")),
            "5606@19 5606@18");
}

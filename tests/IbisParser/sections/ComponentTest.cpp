// The component section: its required keywords, the [Pin] table, [Diff
// Pin], [Pin Mapping], [Series Pin Mapping], [Series Switch Groups] and
// [Model Selector], and the names that pins, series pins and selectors give
// to models. One rule per case, each fault once with its line.
#include <gtest/gtest.h>

#include <string>

#include "IbisParser/Parse.h"
#include "IbisParser/base/ParseContext.h"
#include "IbisParser/passes/References.h"
#include "IbisParser/sections/Component.h"
#include "tests/IbisParser/CheckerFiles.h"

namespace {

using ComponentChecks = CheckerFiles;

// Lines 1-3: the header. Line 4: [Component] c; 5: [Manufacturer]; 6-9:
// [Package] and its lines; then `rest` from line 10, then a model m of type
// Output and a series model s, and [End].
std::string File(const std::string& rest, const std::string& version = "4.2") {
  return "[IBIS Ver] " + version +
         "\n[File Name] t.ibs\n[File Rev] 1\n[Component] c\n[Manufacturer] me\n[Package]\nR_pkg 1 NA NA\n"
         "L_pkg 1n NA NA\nC_pkg 1p NA NA\n" +
         rest + "[Model] m\n" + ModelBody("Output") + "[Model] s\nModel_type Series\n[End]\n";
}

// The messages with the printer's two-line form of mid-length texts undone,
// so that the expectations read as one line each.
std::string Flat(std::string text) {
  for (size_t at = text.find("-\n    "); at != std::string::npos; at = text.find("-\n    ", at))
    text.replace(at, 6, "- ");
  return text;
}

const std::string kPins = "[Pin] signal_name model_name\n1 a m\n2 b m\n3 vdd POWER\n4 vss GND\n";  // lines 10-14

}  // namespace

TEST_F(ComponentChecks, CleanComponentPassesSilently) {
  EXPECT_EQ(
      Flat(Check(File(kPins + "[Diff Pin] inv_pin vdiff tdelay_typ tdelay_min tdelay_max\n1 2 150mV 0ns NA NA\n"))),
      "");
  EXPECT_EQ(
      Flat(Check(File("[Pin] signal_name model_name R_pin L_pin C_pin\n1 a m NA NA NA\n2 b m\n3 c NC 1 1n 1p\n"))), "");
}

TEST_F(ComponentChecks, RequiredKeywordsAndRepeats) {
  EXPECT_EQ(Flat(Check(Header() + "[Component] c\n[Pin] signal_name model_name\n1 vdd POWER\n[End]\n")),
            "ERROR (line    4) - Component 'c': required keyword [Manufacturer] not found\n"
            "ERROR (line    4) - Component 'c': required keyword [Package] not found\n");
  EXPECT_EQ(Flat(Check(File("[Manufacturer] again\n" + kPins))),
            "WARNING (line   10) - [Manufacturer] given more than once in this component\n");
  EXPECT_EQ(Flat(Check(File(kPins + "[Pin] signal_name model_name\n5 e m\n"))),
            "WARNING (line   15) - [Pin] given more than once in this component\n");
  EXPECT_EQ(
      Flat(Check(Header() + "[Component]\n[Manufacturer]\n[Package]\nR_pkg 1 NA NA\nL_pkg 1 NA NA\nC_pkg 1 NA NA\n"
                            "[Pin] signal_name model_name\n1 vdd POWER\n[End]\n")),
      "WARNING (line    4) - [Component] needs a name\nWARNING (line    5) - [Manufacturer] needs a value\n");
}

TEST_F(ComponentChecks, SiAndTimingLocation) {
  const std::string head = Header("3.2") + "[Component] c\n";
  const std::string tail =
      "[Manufacturer] m\n[Package]\nR_pkg 1 NA NA\nL_pkg 1 NA NA\nC_pkg 1 NA NA\n"
      "[Pin] signal_name model_name\n1 vdd POWER\n[End]\n";
  EXPECT_EQ(Flat(Check(head + "Si_location Pin\nTiming_location Die\n" + tail)), "");
  EXPECT_EQ(Flat(Check(head + "Si_location Ball\n" + tail)),
            "WARNING (line    5) - Si_location must be Die or Pin, found 'Ball'\n");
  EXPECT_EQ(Flat(Check(head + "Where Pin\n" + tail)),
            "WARNING (line    5) - Unknown line 'Where' after [Component]; only Si_location and Timing_location may "
            "follow it\n");
}

TEST_F(ComponentChecks, PinTable) {
  EXPECT_EQ(Flat(Check(File("[Pin] signal_name model_name R_pin C_pin\n1 a m\n"))),
            "WARNING (line   10) - [Pin] header: R_pin, L_pin and C_pin come all three, in this order, after "
            "model_name\n");
  EXPECT_EQ(Flat(Check(File("[Pin] signal_name model_name\n1 a m 1 1n 1p\n2 b\n"))),
            "ERROR (line   11) - [Pin] row has 6 columns where 3 or the header's 3 are allowed\n"
            "ERROR (line   12) - [Pin] row has 2 columns where 3 or the header's 3 are allowed\n");
  EXPECT_EQ(Flat(Check(File("[Pin] signal_name model_name R_pin L_pin C_pin\n1 a m 1 x 1p\n"))),
            "WARNING (line   11) - [Pin] L_pin value 'x' of pin '1' is neither a number nor NA\n");
  EXPECT_EQ(Flat(Check(File("[Pin] signal_name model_name\n1 a m\n1 b m\n"))),
            "WARNING (line   12) - Pin '1' is listed twice in [Pin] (first on line 11)\n");
}

TEST_F(ComponentChecks, PinAndSignalNameLengthsFollowTheVersion) {
  const std::string s40(40, 's');
  const std::string s41(41, 's');
  // 4.2: a pin name of 5 and a signal_name of 40 characters pass; one more each is reported.
  EXPECT_EQ(Flat(Check(File("[Pin] signal_name model_name\nA1234 " + s40 + " m\n"))), "");
  EXPECT_EQ(Flat(Check(File("[Pin] signal_name model_name\nA12345 " + s41 + " m\n"))),
            "ERROR (line   11) - [Pin] name 'A12345' is longer than 5 characters\n"
            "ERROR (line   11) - [Pin] signal_name '" +
                s41 + "' of pin 'A12345' is longer than 40 characters\n");
  // 3.2: signal_name at most 20.
  EXPECT_EQ(Flat(Check(File("[Pin] signal_name model_name\n1 " + std::string(21, 'x') + " m\n", "3.2"))),
            "ERROR (line   11) - [Pin] signal_name 'xxxxxxxxxxxxxxxxxxxxx' of pin '1' is longer than 20 characters\n");
  // 7.2 keeps the 4.2 limits.
  EXPECT_EQ(Flat(Check(File("[Pin] signal_name model_name\nA1234 " + s40 + " m\n", "7.2"))), "");
  EXPECT_EQ(Flat(Check(File("[Pin] signal_name model_name\nA12345 " + s41 + " m\n", "7.2"))),
            "ERROR (line   11) - [Pin] name 'A12345' is longer than 5 characters\n"
            "ERROR (line   11) - [Pin] signal_name '" +
                s41 + "' of pin 'A12345' is longer than 40 characters\n");
}

TEST_F(ComponentChecks, PinModelsAreModelsSelectorsOrReservedWords) {
  EXPECT_EQ(Flat(Check(File("[Pin] signal_name model_name\n1 a nothere\n2 b M\n"))),
            "ERROR (line   11) - Pin '1' names model 'nothere', which is neither a [Model] nor a [Model Selector] of "
            "the file\n");
  // A selector is as good as a model; CIRCUITCALL exists from 4.2 on.
  EXPECT_EQ(
      Flat(Check(File("[Pin] signal_name model_name\n1 a sel\n2 b CIRCUITCALL\n[Model Selector] sel\nm first\n"))), "");
  EXPECT_NE(
      Flat(Check(File("[Pin] signal_name model_name\n1 a CIRCUITCALL\n", "3.2"))).find("names model 'CIRCUITCALL'"),
      std::string::npos);
}

TEST_F(ComponentChecks, DiffPin) {
  const std::string head = kPins + "[Diff Pin] inv_pin vdiff tdelay_typ tdelay_min tdelay_max\n";  // rows from 16
  EXPECT_EQ(Flat(Check(File(head + "1 9 0.1 NA NA NA\n"))),
            "ERROR (line   16) - [Diff Pin] names pin '9', which is not in [Pin]\n");
  // Pin 3 is a POWER pin: the second row also pairs a pin that carries no buffer.
  EXPECT_EQ(Flat(Check(File(head + "1 2 0.1 NA NA NA\n2 3 0.1 NA NA NA\n"))),
            "WARNING (line   17) - Pin '2' is already in a [Diff Pin] pair (line 16)\n"
            "WARNING (line   17) - [Diff Pin] pairs pin '3', whose model is POWER; a differential pair joins signal "
            "pins\n");
  EXPECT_EQ(Flat(Check(File(head + "1 1 0.1 NA NA NA\n"))),
            "WARNING (line   16) - [Diff Pin] pairs pin '1' with itself\n");
  EXPECT_EQ(Flat(Check(File(head + "1 2 big NA NA NA\n"))),
            "WARNING (line   16) - [Diff Pin] vdiff value 'big' is neither a number nor NA\n");
  EXPECT_EQ(Flat(Check(File(head + "1 2 0.1\n"))),
            "ERROR (line   16) - [Diff Pin] row has 3 columns where 6 are needed\n");
}

TEST_F(ComponentChecks, PinMapping) {
  const std::string head =
      kPins + "[Pin Mapping] pulldown_ref pullup_ref gnd_clamp_ref power_clamp_ref\n";  // rows from 16
  const std::string all = "1 GND1 PWR1\n2 GND1 PWR1\n3 NC PWR1\n4 GND1 NC\n";
  EXPECT_EQ(Flat(Check(File(head + all))), "");
  EXPECT_EQ(Flat(Check(File(head + all + "9 GND1 PWR1\n"))),
            "ERROR (line   20) - [Pin Mapping] names pin '9', which is not in [Pin]\n");
  EXPECT_EQ(Flat(Check(File(head + "1 GND1 PWR1\n2 GND1 PWR1\n3 NC PWR1\n"))),
            "ERROR (line   14) - Pin '4' is missing from [Pin Mapping]\n");
  EXPECT_EQ(Flat(Check(File(head + all + "1 GND1 PWR1\n"))),
            "WARNING (line   20) - [Pin Mapping] lists pin '1' twice\n");
  EXPECT_EQ(Flat(Check(File(head + "1 GND1\n2 GND1 PWR1\n3 NC PWR1\n4 GND1 NC\n"))),
            "ERROR (line   16) - [Pin Mapping] row has 2 columns where 3, 5 or 6 are allowed\n");
  EXPECT_EQ(Flat(Check(File(head + "1 A B C D E\n2 GND1 PWR1\n3 NC PWR1\n4 GND1 NC\n", "3.2"))),
            "ERROR (line   16) - [Pin Mapping] row has 6 columns where 3 or 5 are allowed\n");
}

TEST_F(ComponentChecks, PinMappingBusLabelsAreTiedToSupplyPins) {
  const std::string head =
      kPins + "[Pin Mapping] pulldown_ref pullup_ref gnd_clamp_ref power_clamp_ref\n";  // rows from 16
  // GND2 appears only in signal pins' rows; a 16-character label is too long.
  EXPECT_EQ(Flat(Check(File(head + "1 GND2 PWR1\n2 GND1 PWR1\n3 NC PWR1\n4 GND1 NC\n"))),
            "ERROR (line   16) - [Pin Mapping] bus label 'GND2' is tied to no POWER or GND pin\n");
  const std::string longLabel(16, 'P');
  EXPECT_EQ(Flat(Check(File(head + "1 GND1 " + longLabel + "\n2 GND1 " + longLabel + "\n3 NC " + longLabel +
                            "\n4 GND1 NC\n"))),
            "ERROR (line   16) - [Pin Mapping] bus label '" + longLabel + "' is longer than 15 characters\n");
  // From 7.0 the supply pins may stay out of the table: their signal_name is
  // their bus label, which signal pins may name; an unmapped signal pin is
  // still reported. Before 7.0 the missing supply pins are reported, and the
  // labels they would have tied are not judged.
  EXPECT_EQ(Flat(Check(File(head + "1 vss vdd\n2 vss vdd\n", "7.0"))), "");
  EXPECT_EQ(Flat(Check(File(head + "1 vss vdd\n", "7.0"))),
            "ERROR (line   12) - Pin '2' is missing from [Pin Mapping]\n");
  EXPECT_EQ(Flat(Check(File(head + "1 vss vdd\n2 vss vdd\n", "6.1"))),
            "ERROR (line   13) - Pin '3' is missing from [Pin Mapping]\n"
            "ERROR (line   14) - Pin '4' is missing from [Pin Mapping]\n");
}

TEST_F(ComponentChecks, BusLabelsDieSupplyPadsAndClockPins) {
  const std::string mapping = "[Pin Mapping] pulldown_ref pullup_ref\n1 CORE_GND IO_PWR\n2 CORE_GND IO_PWR\n";
  const std::string rails =
      "[Bus Label] signal_name\nCORE_GND vss\n[Die Supply Pads] signal_name bus_label\n"
      "D1 vdd IO_PWR\nD2 vss NA\n";
  // Labels from [Bus Label] and [Die Supply Pads] tie the signal pins' rows.
  EXPECT_EQ(Flat(Check(File(kPins + mapping + rails, "7.0"))), "");
  EXPECT_EQ(Flat(Check(File(kPins + "[Bus Label] signal_name\nL1 vss\nL1 vdd\nL2\n", "7.0"))),
            "WARNING (line   18) - [Bus Label] row has 1 columns where 2 are needed\n"
            "WARNING (line   17) - [Bus Label] lists 'L1' twice (first at line 16)\n");
  EXPECT_EQ(Flat(Check(File(kPins + "[Die Supply Pads] signal_name bus_label\nD1 vdd\nD1 vdd B\nD2 vdd B x\n", "7.0"))),
            "WARNING (line   18) - [Die Supply Pads] row has 4 columns where 2 or 3 are needed\n"
            "WARNING (line   17) - [Die Supply Pads] lists 'D1' twice (first at line 16)\n");
  const std::string clocks = "[Clock Pins] clocked_pins relationship\n";  // rows from 16
  EXPECT_EQ(Flat(Check(File(kPins + clocks + "1 2 in_phase\n", "7.1"))), "");
  EXPECT_EQ(Flat(Check(File(kPins + clocks + "1 9 in_phase\n1 2\n", "7.1"))),
            "WARNING (line   17) - [Clock Pins] row has 2 columns where 3 are needed\n"
            "ERROR (line   16) - [Clock Pins] names pin '9', which is not in [Pin]\n");
}

TEST_F(ComponentChecks, SeriesPinsAndSwitchGroups) {
  const std::string head = kPins + "[Series Pin Mapping] pin_2 model_name function_table_group\n";  // rows from 16
  EXPECT_EQ(Flat(Check(File(head + "1 2 s g1\n[Series Switch Groups]\nOn g1 /\n", "3.2"))), "");
  EXPECT_EQ(Flat(Check(File(head + "1 9 s\n", "3.2"))),
            "ERROR (line   16) - [Series Pin Mapping] names pin '9', which is not in [Pin]\n");
  EXPECT_EQ(
      Flat(Check(File(head + "1 2 m\n", "3.2"))),
      "ERROR (line   16) - [Series Pin Mapping] names model 'm' of Model_type 'Output', not Series or Series_switch\n");
  EXPECT_EQ(Flat(Check(File(head + "1 2 zz\n", "3.2"))),
            "WARNING (line   16) - [Series Pin Mapping] names model 'zz', which is not a [Model] of the file\n");
  EXPECT_EQ(Flat(Check(File(head + "1 2\n", "3.2"))),
            "WARNING (line   16) - [Series Pin Mapping] row has 2 columns where 3 or 4 are allowed\n");
  EXPECT_EQ(
      Flat(Check(File(head + "1 2 s g1\n[Series Switch Groups]\nOn g2 /\nMaybe g1 /\nOff g1\n", "3.2"))),
      "WARNING (line   19) - [Series Switch Groups] line must be On or Off, group names and a closing '/'\n"
      "WARNING (line   20) - [Series Switch Groups] line must be On or Off, group names and a closing '/'\n"
      "WARNING (line   18) - [Series Switch Groups] group 'g2' is no function_table_group of [Series Pin Mapping]\n");
}

TEST_F(ComponentChecks, RepeaterPins) {
  const std::string head = kPins + "[Repeater Pin] tx_non_inv_pin\n";  // rows from 16
  EXPECT_EQ(Flat(Check(File(head + "1 2\n", "6.0"))), "");
  EXPECT_EQ(Flat(Check(File(head + "1 7\n", "6.0"))),
            "ERROR (line   16) - [Repeater Pin] names pin '7', which is not in [Pin]\n");
  EXPECT_EQ(Flat(Check(File(head + "1\n", "6.0"))),
            "WARNING (line   16) - [Repeater Pin] row has 1 columns where 2 are needed\n");
}

TEST_F(ComponentChecks, ModelSelectors) {
  const std::string pins = "[Pin] signal_name model_name\n1 a sel\n";  // lines 10-11
  EXPECT_EQ(Flat(Check(File(pins + "[Model Selector] sel\nm first\ns second\n"))), "");
  EXPECT_EQ(Flat(Check(File(pins + "[Model Selector] sel\nm first\nq second\n"))),
            "WARNING (line   14) - [Model Selector] 'sel' lists model 'q', which is not a [Model] of the file\n");
  EXPECT_EQ(Flat(Check(File(pins + "[Model Selector] sel\n[Model Selector] m\nm first\n"))),
            "WARNING (line   12) - [Model Selector] 'sel' lists no model\n"
            "WARNING (line   13) - [Model Selector] 'm' has the name of a [Model]\n");
  EXPECT_EQ(Flat(Check(File(pins + "[Model Selector] sel\nm\n"))),
            "WARNING (line   13) - [Model Selector] row needs a model name and a description\n");
  // A selector no pin names is noted once, at its keyword, whatever its rows;
  // names are compared without regard to case.
  EXPECT_EQ(Flat(Check(File(pins + "[Model Selector] sel\nm first\n[Model Selector] idle\nm first\ns second\n"))),
            "NOTE (line   14) - [Model Selector] 'idle' is named by no pin\n");
  EXPECT_EQ(Flat(Check(File(pins + "[Model Selector] SEL\nm first\n"))), "");
}

TEST_F(ComponentChecks, ReservedModelNamesByVersion) {
  PARSE_CONTEXT ctx;
  ctx.ibisRelease = 32;
  EXPECT_EQ(REF_IsReservedModelName(ctx, "power"), 1);
  EXPECT_EQ(REF_IsReservedModelName(ctx, "CIRCUITCALL"), 0);
  ctx.ibisRelease = 42;
  EXPECT_EQ(REF_IsReservedModelName(ctx, "CIRCUITCALL"), 1);
  EXPECT_EQ(REF_IsReservedModelName(ctx, "m"), 0);
}

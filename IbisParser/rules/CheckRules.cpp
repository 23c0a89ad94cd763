#include "IbisParser/rules/CheckRules.h"

const CHECK_RULE gaCheckRules[] = {
    {5000, "ERROR", "Component '%s': required keyword [%s] not found",
     "[Manufacturer], [Package] and [Pin] are required in every [Component]",
     "2.1 §5 [Component]; [Pin] \"Required: Yes\" (4.0 text in BIRD 81.1)",
     "$H[Component] c\n[Manufacturer] m\n[End]\n"},
    {5001, "WARNING", "[%s] given more than once in this component",
     "[Manufacturer], [Package], [Pin] and [Pin Mapping] stand once per component", "2.1 §5",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Manufacturer] "
     "m\n[Pin] signal_name model_name\n1 a GND\n[End]\n"},
    {5002, "WARNING", "Unknown line '%s' after [Component]; only Si_location and Timing_location may follow it",
     "only Si_location and Timing_location follow [Component]", "3.2 §5 [Component]",
     "$H[Component] c\nstray words\n[Manufacturer] m\n[End]\n"},
    {5003, "WARNING", "%s must be Die or Pin, found '%s'", "Si_location and Timing_location are Die or Pin",
     "3.2 §5 [Component]", "$H[Component] c\nSi_location Core\n[End]\n"},
    {5004, "WARNING", "[Pin] header: R_pin, L_pin and C_pin come all three, in this order, after model_name",
     "R_pin, L_pin and C_pin columns come all three or none, in this order", "2.1 §5 [Pin]",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name "
     "model_name R_pin C_pin L_pin\n1 a GND 1 1p 1n\n[End]\n"},
    {5005, "ERROR", "[Pin] row has %d columns where 3 or the header's %d are allowed",
     "a pin row has three columns, or the six its header names",
     "2.1 §5 [Pin]: \"The first column must contain the pin name\" (BIRD 81.1)",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name "
     "model_name\n1 a GND extra\n[End]\n"},
    {5006, "WARNING", "Pin '%s' is listed twice in [Pin] (first on line %d)", "each pin is listed once", "2.1 §5 [Pin]",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name "
     "model_name\n1 a GND\n1 b GND\n[End]\n"},
    {5007, "ERROR", "Pin '%s' names model '%s', which is neither a [Model] nor a [Model Selector] of the file",
     "model_name is a [Model] or [Model Selector] of the file, or POWER, GND, NC (CIRCUITCALL from 4.2)",
     "2.1 §5 [Pin]: \"Each model_name must have a corresponding model or model selector name\" (BIRD 81.1); 3.2 [Model "
     "Selector]; 4.2 [Circuit Call]",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name "
     "model_name\n1 a nomodel\n[End]\n"},
    {5008, "WARNING", "[Pin] %s value '%s' of pin '%s' is neither a number nor NA",
     "R_pin, L_pin and C_pin are numbers or NA", "2.1 §5 [Pin]",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name "
     "model_name R_pin L_pin C_pin\n1 a GND x NA NA\n[End]\n"},
    {5009, "ERROR", "[Diff Pin] row has %d columns where 6 are needed",
     "a [Diff Pin] row has pin, inv_pin, vdiff and three tdelay columns",
     "2.1 §5 [Diff Pin]: pin, inv_pin, vdiff, tdelay_typ/min/max columns (BIRD 18.1)",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name "
     "model_name\n1 a GND\n2 b GND\n[Diff Pin] inv_pin vdiff tdelay_typ tdelay_min tdelay_max\n1 2 0.1\n[End]\n"},
    {5010, "WARNING", "[Component] needs a name", "[Component] gives the component's name", "2.1 §5 [Component]",
     "$H[Component]\n[End]\n"},
    {5011, "WARNING", "[%s] needs a value", "[Manufacturer] and [Model Selector] give a name",
     "2.1 §5 [Manufacturer]; 3.2 [Model Selector]", "$H[Component] c\n[Manufacturer]\n[End]\n"},
    {5012, "WARNING", "[Diff Pin] %s value '%s' is neither a number nor NA",
     "vdiff and tdelay columns are numbers or NA", "2.1 §5 [Diff Pin]",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name "
     "model_name\n1 a GND\n2 b GND\n[Diff Pin] inv_pin vdiff tdelay_typ tdelay_min tdelay_max\n1 2 x 0 NA NA\n[End]\n"},
    {5013, "WARNING", "[Diff Pin] pairs pin '%s' with itself", "a differential pair joins two different pins",
     "2.1 §5 [Diff Pin]",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name "
     "model_name\n1 a GND\n[Diff Pin] inv_pin vdiff tdelay_typ tdelay_min tdelay_max\n1 1 0.1 0 NA NA\n[End]\n"},
    {5014, "ERROR", "[%s] names pin '%s', which is not in [Pin]",
     "[Diff Pin], [Pin Mapping], [Series Pin Mapping], [Repeater Pin] and [Clock Pins] name pins of [Pin]",
     "2.1 §5 [Diff Pin]: \"Each pin name must match the pin names declared previously in the [Pin] section\"; 3.2 "
     "[Series Pin Mapping] (same words); 6.0 [Repeater Pin]; 7.1 §6 [Clock Pins]",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name "
     "model_name\n1 a GND\n2 b GND\n[Diff Pin] inv_pin vdiff tdelay_typ tdelay_min tdelay_max\n1 9 0.1 0 NA "
     "NA\n[End]\n"},
    {5015, "ERROR", "[Pin Mapping] row has %d columns where %s are allowed",
     "a [Pin Mapping] row has 3 or 5 columns (6 with ext_ref, 4.1 on)",
     "2.1 §5 [Pin Mapping]; 4.1 (BIRD 80.1): \"Each line must contain either three, five or six entries\"",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name "
     "model_name\n1 a GND\n2 b GND\n[Pin Mapping] pulldown_ref pullup_ref\n1 GNDBUS\n2 GNDBUS NC\n[End]\n"},
    {5016, "WARNING", "Pin '%s' is already in a [Diff Pin] pair (line %d)", "a pin is in one differential pair at most",
     "2.1 §5 [Diff Pin]",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name "
     "model_name\n1 a GND\n2 b GND\n3 c GND\n[Diff Pin] inv_pin vdiff tdelay_typ tdelay_min tdelay_max\n1 2 0.1 0 NA "
     "NA\n1 3 0.1 0 NA NA\n[End]\n"},
    {5017, "WARNING", "[Pin Mapping] lists pin '%s' twice", "[Pin Mapping] lists each pin once", "2.1 §5 [Pin Mapping]",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name "
     "model_name\n1 a GND\n2 b GND\n[Pin Mapping] pulldown_ref pullup_ref\n1 GNDBUS NC\n1 GNDBUS NC\n2 GNDBUS "
     "NC\n[End]\n"},
    {5018, "ERROR", "Pin '%s' is missing from [Pin Mapping]",
     "once [Pin Mapping] is given, it lists every pin of [Pin] (from 7.0: but POWER, GND and NC pins)",
     "2.1 §5 [Pin Mapping]: \"the bus connections for EVERY pin listed under the [Pin] keyword must be given\"; 7.0 §6 "
     "[Pin Mapping]",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name "
     "model_name\n1 a GND\n2 b GND\n[Pin Mapping] pulldown_ref pullup_ref\n1 GNDBUS NC\n[End]\n"},
    {5019, "WARNING", "[Series Pin Mapping] names model '%s', which is not a [Model] of the file",
     "[Series Pin Mapping] names a [Model] of the file (from 4.1 also a [Model Selector])",
     "3.2 §5 [Series Pin Mapping]; 4.1 (BIRD 87): \"associates models of type Series or Series_switch, or model "
     "selector names\"",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name "
     "model_name\n1 a GND\n2 b GND\n[Series Pin Mapping] pin_2 model_name\n1 2 nomodel\n[End]\n"},
    {5020, "ERROR", "[Series Pin Mapping] names model '%s' of Model_type '%s', not Series or Series_switch",
     "that model's Model_type (from 4.1 each model of a selector named there) is Series or Series_switch",
     "3.2 §5 [Series Pin Mapping]: \"model_name, associates models of type Series or Series_switch\"",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name "
     "model_name\n1 a GND\n2 b GND\n[Series Pin Mapping] pin_2 model_name\n1 2 m\n[Model] m\nModel_type Input\nVinl = "
     "0.8\nVinh = 2\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[End]\n"},
    {5021, "WARNING", "[Series Pin Mapping] row has %d columns where 3 or 4 are allowed",
     "a [Series Pin Mapping] row has pin_1, pin_2, model_name and an optional group", "3.2 §5",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name "
     "model_name\n1 a GND\n2 b GND\n[Series Pin Mapping] pin_2 model_name\n1 2\n[End]\n"},
    {5022, "WARNING", "[Series Switch Groups] group '%s' is no function_table_group of [Series Pin Mapping]",
     "switch groups name function_table_group values of [Series Pin Mapping]", "3.2 §5 [Series Switch Groups]",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name "
     "model_name\n1 a GND\n2 b GND\n[Series Pin Mapping] pin_2 model_name function_table_group\n1 2 s g1\n[Series "
     "Switch Groups]\nOn g2 /\n[Model] s\nModel_type Series_switch\n[End]\n"},
    {5023, "WARNING", "[Series Switch Groups] line must be On or Off, group names and a closing '/'",
     "a group line is On or Off, the group names and '/'", "3.2 §5 [Series Switch Groups]",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name "
     "model_name\n1 a GND\n2 b GND\n[Series Pin Mapping] pin_2 model_name function_table_group\n1 2 s g1\n[Series "
     "Switch Groups]\nMaybe g1 /\n[Model] s\nModel_type Series_switch\n[End]\n"},
    {5024, "WARNING", "[Repeater Pin] row has %d columns where 2 are needed",
     "a [Repeater Pin] row gives the Rx pin and its tx_non_inv_pin", "6.0 §5 [Repeater Pin]",
     "[IBIS Ver] 6.0\n[File Name] t.ibs\n[File Rev] 1\n[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 NA "
     "NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name model_name\n1 a m\n2 b m\n3 vdd POWER\n[Repeater Pin] "
     "tx_non_inv_pin\n1\n[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA NA\n[Voltage Range] 3 NA "
     "NA\n[End]\n"},
    {5030, "WARNING", "[Model Selector] '%s' lists model '%s', which is not a [Model] of the file",
     "each entry of a [Model Selector] is a [Model] of the file", "3.2 §5 [Model Selector]",
     "$H[Model Selector] s\nnomodel a model\n[End]\n"},
    {5031, "WARNING", "[Model Selector] '%s' has the name of a [Model]", "a selector's name is not also a model's name",
     "3.2 §5 [Model Selector]",
     "$H[Model Selector] m\nm a model\n[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA NA\n[Voltage "
     "Range] 3 NA NA\n[End]\n"},
    {5032, "WARNING", "[Model Selector] '%s' lists no model", "a [Model Selector] lists at least one model",
     "3.2 §5 [Model Selector]", "$H[Model Selector] s\n[End]\n"},
    {5033, "WARNING", "[Model Selector] row needs a model name and a description",
     "a selector row gives a model name and a description", "3.2 §5 [Model Selector]",
     "$H[Model Selector] s\nm\n[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA NA\n[Voltage Range] 3 "
     "NA NA\n[End]\n"},
    {5040, "ERROR", "[Pin] name '%s' is longer than %d characters", "a pin name has at most 5 characters",
     "2.1 §5 [Pin]: \"Column length limits are: [Pin] 5 characters max\" (kept by BIRD 93.1, 4.2)",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name "
     "model_name\n123456 a GND\n[End]\n"},
    {5041, "ERROR", "[Pin] signal_name '%s' of pin '%s' is longer than %d characters",
     "signal_name has at most 20 characters, 40 from 4.2",
     "2.1 §5 [Pin]: \"signal_name 20 characters max\"; 4.2 (BIRD 93.1): 40",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name "
     "model_name\n1 a23456789012345678901234567890123456789012 GND\n[End]\n"},
    {5042, "NOTE", "[Model Selector] '%s' is named by no pin",
     "a [Model Selector] is there for pins to name it in model_name", "3.2 §5 [Model Selector]",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name "
     "model_name\n1 a GND\n2 b GND\n[Model Selector] s\nm a model\n[Model] m\nModel_type Input\nVinl = 0.8\nVinh = "
     "2\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[End]\n"},
    {5043, "ERROR", "[Pin Mapping] bus label '%s' is tied to no POWER or GND pin",
     "a [Pin Mapping] bus label is tied to a POWER or GND pin: in its row (from 4.1), or as such a pin's "
     "signal_name or a [Bus Label] or [Die Supply Pads] label (from 7.0)",
     "4.1 §5 [Pin Mapping]: \"Each label must be associated with at least one pin whose model_name is POWER or GND\" "
     "(BIRD 80.1); 7.0 §6 [Pin Mapping]",
     "[IBIS Ver] 4.1\n[File Name] t.ibs\n[File Rev] 1\n[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 NA "
     "NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name model_name\n1 a m\n2 b m\n3 vdd POWER\n[Pin Mapping] "
     "pulldown_ref pullup_ref\n1 BUSX NC\n2 BUSX NC\n3 NC NC\n[Model] m\nModel_type Input\nVinl = 0.8\nVinh = "
     "2\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[End]\n"},
    {5044, "ERROR", "[Pin Mapping] bus label '%s' is longer than %d characters",
     "a [Pin Mapping] bus label has at most 15 characters",
     "4.1 §5 [Pin Mapping]: \"Bus labels must not exceed 15 characters\" (BIRD 80.1)",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name "
     "model_name\n1 a GND\n2 b GND\n[Pin Mapping] pulldown_ref pullup_ref\n1 ABCDEFGHIJKLMNOPQ NC\n2 ABCDEFGHIJKLMNOPQ "
     "NC\n[End]\n"},
    {5045, "WARNING", "[%s] row has %d columns where %s are needed",
     "a [Bus Label] row gives bus_label and signal_name; a [Die Supply Pads] row pad_name, signal_name and "
     "optionally bus_label; a [Clock Pins] row the clock pin, the clocked pin and their relationship",
     "7.0 §6 [Bus Label], [Die Supply Pads]; 7.1 §6 [Clock Pins]",
     "[IBIS Ver] 7.0\n[File Name] t.ibs\n[File Rev] 1\n[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 NA "
     "NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name model_name\n1 a m\n2 b m\n3 vdd POWER\n[Bus Label] "
     "signal_name\nL1\n[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA NA\n[Voltage Range] 3 NA "
     "NA\n[End]\n"},
    {5047, "WARNING", "[%s] lists '%s' twice (first at line %d)",
     "[Bus Label] defines each bus label once; [Die Supply Pads] lists each pad once",
     "7.0 §6 [Bus Label], [Die Supply Pads]",
     "[IBIS Ver] 7.0\n[File Name] t.ibs\n[File Rev] 1\n[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 NA "
     "NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name model_name\n1 a m\n2 b m\n3 vdd POWER\n[Bus Label] "
     "signal_name\nL1 vdd\nL1 vdd\n[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA NA\n[Voltage Range] "
     "3 NA NA\n[End]\n"},
    {5400, "ERROR", "[Define Package Model] needs a name", "[Define Package Model] names the package model",
     "2.1 [Define Package Model]: \"Required: Yes ... each section must begin with a new [Define Package Model] "
     "keyword\"",
     "$H[Define Package Model]\n[End Package Model]\n[End]\n"},
    {5401, "ERROR", "Package model '%s': required keyword [%s] not found",
     "a package model has [Manufacturer], [OEM], [Description], [Number Of Pins], [Pin Numbers], [End Package Model]; "
     "[Model Data] with inductance and capacitance matrices and [End Model Data] unless its pins are given as "
     "sections; [Number Of Sections] when they are",
     "2.1, 3.2 [Number Of Sections] (5.0 §7): [Model Data] with [Inductance Matrix] and [Capacitance Matrix] required "
     "(BIRD 54)",
     "$H[Define Package Model] p\n[End Package Model]\n[End]\n"},
    {5402, "WARNING", "[%s] given more than once in package model '%s'",
     "each keyword and matrix stands once in a package model", "2.1 (5.0 §7)",
     "$H[Define Package Model] p\n[Manufacturer] me\n[OEM] o\n[Description] d\n[Number Of Pins] 2\n[Pin "
     "Numbers]\n1\n2\n[Model Data]\n[Number Of Pins] 2\n[Inductance Matrix] Full_matrix\n[Row] 1\n1n 0\n[Row] "
     "2\n1n\n[Capacitance Matrix] Full_matrix\n[Row] 1\n1p 0\n[Row] 2\n1p\n[End Model Data]\n[End Package "
     "Model]\n[End]\n"},
    {5403, "WARNING", "[%s] must be a whole number of %d or more, found '%s'",
     "[Number Of Pins], [Number Of Sections], [Bandwidth], Number_of_terminals are whole numbers",
     "2.1 [Number Of Pins], [Bandwidth]; 3.2 [Number Of Sections]; 7.0 [Interconnect Model]",
     "$H[Define Package Model] p\n[Manufacturer] me\n[OEM] o\n[Description] d\n[Number Of Pins] two\n[Pin "
     "Numbers]\n1\n2\n[Model Data]\n[Inductance Matrix] Full_matrix\n[Row] 1\n1n 0\n[Row] 2\n1n\n[Capacitance Matrix] "
     "Full_matrix\n[Row] 1\n1p 0\n[Row] 2\n1p\n[End Model Data]\n[End Package Model]\n[End]\n"},
    {5404, "WARNING", "Package model '%s': [Number Of Pins] says %lld, [Pin Numbers] lists %d pins",
     "[Pin Numbers] lists as many pins as [Number Of Pins] says", "2.1 [Pin Numbers] (5.0 §7)",
     "$H[Define Package Model] p\n[Manufacturer] me\n[OEM] o\n[Description] d\n[Number Of Pins] 3\n[Pin "
     "Numbers]\n1\n2\n[Model Data]\n[Inductance Matrix] Full_matrix\n[Row] 1\n1n 0\n[Row] 2\n1n\n[Capacitance Matrix] "
     "Full_matrix\n[Row] 1\n1p 0\n[Row] 2\n1p\n[End Model Data]\n[End Package Model]\n[End]\n"},
    {5405, "WARNING", "[Pin Numbers] lists pin '%s' twice (first on line %d)", "[Pin Numbers] lists each pin once",
     "2.1 [Pin Numbers] (5.0 §7)",
     "$H[Define Package Model] p\n[Manufacturer] me\n[OEM] o\n[Description] d\n[Number Of Pins] 2\n[Pin "
     "Numbers]\n1\n1\n[Model Data]\n[Inductance Matrix] Full_matrix\n[Row] 1\n1n 0\n[Row] 2\n1n\n[Capacitance Matrix] "
     "Full_matrix\n[Row] 1\n1p 0\n[Row] 2\n1p\n[End Model Data]\n[End Package Model]\n[End]\n"},
    {5406, "WARNING", "[%s] stands outside [Model Data] ... [End Model Data]",
     "matrices stand between [Model Data] and [End Model Data]", "2.1 [Model Data] (5.0 §7)",
     "$H[Define Package Model] p\n[Manufacturer] me\n[OEM] o\n[Description] d\n[Number Of Pins] 2\n[Pin "
     "Numbers]\n1\n2\n[Inductance Matrix] Full_matrix\n[Row] 1\n1n 0\n[Row] 2\n1n\n[Capacitance Matrix] "
     "Full_matrix\n[Row] 1\n1p 0\n[Row] 2\n1p\n[End Model Data]\n[End Package Model]\n[End]\n"},
    {5407, "WARNING", "[%s] form '%s' is none of Full_matrix, Banded_matrix, Sparse_matrix",
     "a matrix is a Full_matrix, Banded_matrix or Sparse_matrix", "2.1 [Resistance Matrix] (5.0 §7)",
     "$H[Define Package Model] p\n[Manufacturer] me\n[OEM] o\n[Description] d\n[Number Of Pins] 2\n[Pin "
     "Numbers]\n1\n2\n[Model Data]\n[Inductance Matrix] Diagonal_matrix\n[Capacitance Matrix] Full_matrix\n[Row] 1\n1p "
     "0\n[Row] 2\n1p\n[End Model Data]\n[End Package Model]\n[End]\n"},
    {5409, "WARNING", "[Bandwidth] follows only a Banded_matrix, before its first [Row]",
     "[Bandwidth] belongs to a Banded_matrix, before its rows", "2.1 [Bandwidth] (5.0 §7)",
     "$H[Define Package Model] p\n[Manufacturer] me\n[OEM] o\n[Description] d\n[Number Of Pins] 2\n[Pin "
     "Numbers]\n1\n2\n[Model Data]\n[Inductance Matrix] Full_matrix\n[Bandwidth] 1\n[Row] 1\n1n 0\n[Row] "
     "2\n1n\n[Capacitance Matrix] Full_matrix\n[Row] 1\n1p 0\n[Row] 2\n1p\n[End Model Data]\n[End Package "
     "Model]\n[End]\n"},
    {5411, "WARNING", "[%s] is a Banded_matrix without [Bandwidth]", "a Banded_matrix gives its [Bandwidth]",
     "2.1 [Bandwidth] (5.0 §7)",
     "$H[Define Package Model] p\n[Manufacturer] me\n[OEM] o\n[Description] d\n[Number Of Pins] 2\n[Pin "
     "Numbers]\n1\n2\n[Model Data]\n[Inductance Matrix] Banded_matrix\n[Row] 1\n1n\n[Row] 2\n1n\n[Capacitance Matrix] "
     "Full_matrix\n[Row] 1\n1p 0\n[Row] 2\n1p\n[End Model Data]\n[End Package Model]\n[End]\n"},
    {5412, "WARNING", "[Row] names pin '%s', which is not in [Pin Numbers] ([%s])",
     "[Row] names a pin of [Pin Numbers]", "2.1 [Row] (5.0 §7)",
     "$H[Define Package Model] p\n[Manufacturer] me\n[OEM] o\n[Description] d\n[Number Of Pins] 2\n[Pin "
     "Numbers]\n1\n2\n[Model Data]\n[Inductance Matrix] Full_matrix\n[Row] 1\n1n 0\n[Row] 9\n1n\n[Row] "
     "2\n1n\n[Capacitance Matrix] Full_matrix\n[Row] 1\n1p 0\n[Row] 2\n1p\n[End Model Data]\n[End Package "
     "Model]\n[End]\n"},
    {5413, "WARNING", "[%s] gives [Row] '%s' twice", "a matrix gives each [Row] once", "2.1 [Row] (5.0 §7)",
     "$H[Define Package Model] p\n[Manufacturer] me\n[OEM] o\n[Description] d\n[Number Of Pins] 2\n[Pin "
     "Numbers]\n1\n2\n[Model Data]\n[Inductance Matrix] Full_matrix\n[Row] 1\n1n 0\n[Row] 1\n1n 0\n[Row] "
     "2\n1n\n[Capacitance Matrix] Full_matrix\n[Row] 1\n1p 0\n[Row] 2\n1p\n[End Model Data]\n[End Package "
     "Model]\n[End]\n"},
    {5414, "WARNING", "[Row] '%s' of [%s] breaks the [Pin Numbers] order (it comes after '%s')",
     "rows follow the order of [Pin Numbers]", "2.1 [Row] (5.0 §7)",
     "$H[Define Package Model] p\n[Manufacturer] me\n[OEM] o\n[Description] d\n[Number Of Pins] 2\n[Pin "
     "Numbers]\n1\n2\n[Model Data]\n[Inductance Matrix] Full_matrix\n[Row] 2\n1n\n[Row] 1\n1n 0\n[Capacitance Matrix] "
     "Full_matrix\n[Row] 1\n1p 0\n[Row] 2\n1p\n[End Model Data]\n[End Package Model]\n[End]\n"},
    {5415, "WARNING", "[Row] '%s' of [%s] has %lld values where %lld are needed",
     "a Full_matrix row holds the diagonal and every later pin, a Banded_matrix row the diagonal and up to "
     "[Bandwidth] later pins (the matrices are symmetric: the upper half is given)",
     "2.1 [Row], [Bandwidth] (5.0 §7)",
     "$H[Define Package Model] p\n[Manufacturer] me\n[OEM] o\n[Description] d\n[Number Of Pins] 2\n[Pin "
     "Numbers]\n1\n2\n[Model Data]\n[Inductance Matrix] Full_matrix\n[Row] 1\n1n\n[Row] 2\n1n\n[Capacitance Matrix] "
     "Full_matrix\n[Row] 1\n1p 0\n[Row] 2\n1p\n[End Model Data]\n[End Package Model]\n[End]\n"},
    {5416, "WARNING", "[%s] value '%s' in row '%s' is not a number", "matrix entries are numbers", "2.1 [Row] (5.0 §7)",
     "$H[Define Package Model] p\n[Manufacturer] me\n[OEM] o\n[Description] d\n[Number Of Pins] 2\n[Pin "
     "Numbers]\n1\n2\n[Model Data]\n[Inductance Matrix] Full_matrix\n[Row] 1\n1n x\n[Row] 2\n1n\n[Capacitance Matrix] "
     "Full_matrix\n[Row] 1\n1p 0\n[Row] 2\n1p\n[End Model Data]\n[End Package Model]\n[End]\n"},
    {5417, "WARNING", "[%s] row '%s' names pin '%s', which is not in [Pin Numbers]",
     "a Sparse_matrix line names a pin of [Pin Numbers]", "2.1 [Row] (5.0 §7)",
     "$H[Define Package Model] p\n[Manufacturer] me\n[OEM] o\n[Description] d\n[Number Of Pins] 2\n[Pin "
     "Numbers]\n1\n2\n[Model Data]\n[Inductance Matrix] Sparse_matrix\n[Row] 1\n7 1n\n[Row] 2\n2 1n\n[Capacitance "
     "Matrix] Full_matrix\n[Row] 1\n1p 0\n[Row] 2\n1p\n[End Model Data]\n[End Package Model]\n[End]\n"},
    {5418, "WARNING",
     "[%s] row '%s' gives pin '%s' below the diagonal; each pair stands once, in the earlier pin's row",
     "a symmetric Sparse_matrix gives each pair once, on or above the diagonal", "2.1 [Row] (5.0 §7)",
     "$H[Define Package Model] p\n[Manufacturer] me\n[OEM] o\n[Description] d\n[Number Of Pins] 2\n[Pin "
     "Numbers]\n1\n2\n[Model Data]\n[Inductance Matrix] Sparse_matrix\n[Row] 1\n1 1n\n[Row] 2\n2 1n\n1 "
     "1n\n[Capacitance Matrix] Full_matrix\n[Row] 1\n1p 0\n[Row] 2\n1p\n[End Model Data]\n[End Package "
     "Model]\n[End]\n"},
    {5419, "WARNING", "[%s] row '%s' gives pin '%s' twice", "a Sparse_matrix row names each pin once",
     "2.1 [Row] (5.0 §7)",
     "$H[Define Package Model] p\n[Manufacturer] me\n[OEM] o\n[Description] d\n[Number Of Pins] 2\n[Pin "
     "Numbers]\n1\n2\n[Model Data]\n[Inductance Matrix] Sparse_matrix\n[Row] 1\n1 1n\n1 1n\n[Row] 2\n2 "
     "1n\n[Capacitance Matrix] Full_matrix\n[Row] 1\n1p 0\n[Row] 2\n1p\n[End Model Data]\n[End Package "
     "Model]\n[End]\n"},
    {5420, "WARNING", "[%s] row '%s': a Sparse_matrix line is a pin and a value, found %d words",
     "a Sparse_matrix line is a pin name and a value", "2.1 [Row] (5.0 §7)",
     "$H[Define Package Model] p\n[Manufacturer] me\n[OEM] o\n[Description] d\n[Number Of Pins] 2\n[Pin "
     "Numbers]\n1\n2\n[Model Data]\n[Inductance Matrix] Sparse_matrix\n[Row] 1\n1\n[Row] 2\n2 1n\n[Capacitance Matrix] "
     "Full_matrix\n[Row] 1\n1p 0\n[Row] 2\n1p\n[End Model Data]\n[End Package Model]\n[End]\n"},
    {5421, "WARNING", "[%s] has %d rows for the %d pins of [Pin Numbers] (first pin without a row: '%s')",
     "each matrix has one row per pin of [Pin Numbers]", "2.1 [Row] (5.0 §7)",
     "$H[Define Package Model] p\n[Manufacturer] me\n[OEM] o\n[Description] d\n[Number Of Pins] 2\n[Pin "
     "Numbers]\n1\n2\n[Model Data]\n[Inductance Matrix] Full_matrix\n[Row] 1\n1n 0\n[Capacitance Matrix] "
     "Full_matrix\n[Row] 1\n1p 0\n[Row] 2\n1p\n[End Model Data]\n[End Package Model]\n[End]\n"},
    {5422, "WARNING", "[%s] data before its first [Row]", "matrix data follows a [Row]", "2.1 [Row] (5.0 §7)",
     "$H[Define Package Model] p\n[Manufacturer] me\n[OEM] o\n[Description] d\n[Number Of Pins] 2\n[Pin "
     "Numbers]\n1\n2\n[Model Data]\n[Inductance Matrix] Full_matrix\n1n 0\n[Row] 1\n1n 0\n[Row] 2\n1n\n[Capacitance "
     "Matrix] Full_matrix\n[Row] 1\n1p 0\n[Row] 2\n1p\n[End Model Data]\n[End Package Model]\n[End]\n"},
    {5423, "WARNING", "[Pin Numbers] pin '%s' has %lld sections where [Number Of Sections] allows %lld",
     "a pin has at most [Number Of Sections] sections", "3.2 [Number Of Sections] (5.0 §7)",
     "$H[Define Package Model] p\n[Manufacturer] me\n[OEM] o\n[Description] d\n[Number Of Sections] 2\n[Number Of "
     "Pins] 1\n[Pin Numbers]\nA1 Len=0 L=1n /\nLen=1 L=1n /\nLen=0 C=1p /\n[End Package Model]\n[End]\n"},
    {5425, "WARNING", "Unexpected '%s' in [Pin Numbers]: a line is a pin name, then Len, L, R, C, '/', Fork or Endfork",
     "a [Pin Numbers] line is a pin name, then its sections", "2.1, 3.2 [Pin Numbers] (5.0 §7)",
     "$H[Define Package Model] p\n[Manufacturer] me\n[OEM] o\n[Description] d\n[Number Of Sections] 2\n[Number Of "
     "Pins] 1\n[Pin Numbers]\nA1 x /\n[End Package Model]\n[End]\n"},
    {5427, "WARNING", "[End Model Data] without [Model Data] before it", "[End Model Data] closes a [Model Data]",
     "2.1 [End Model Data] (5.0 §7)",
     "$H[Define Package Model] p\n[Manufacturer] me\n[OEM] o\n[Description] d\n[Number Of Sections] 2\n[Number Of "
     "Pins] 1\n[Pin Numbers]\nA1 Len=0 L=1n /\n[End Model Data]\n[End Package Model]\n[End]\n"},
    {5428, "WARNING", "%s line after [%s] belongs to no %s",
     "nothing of a package model, board or set follows its [End ...] keyword",
     "2.1 [End Package Model]; 3.2 [End Board Description]; 4.1 [End External Circuit]; 7.0 [End Interconnect Model "
     "Set]",
     "$H[Define Package Model] p\n[Manufacturer] me\n[OEM] o\n[Description] d\n[Number Of Sections] 2\n[Number Of "
     "Pins] 1\n[Pin Numbers]\nA1 Len=0 L=1n /\n[End Package Model]\n[OEM] o\n[End]\n"},
    {5429, "ERROR", "[%s] names package model '%s', which neither this file nor a .pkg file beside it defines",
     "[Package Model] and [Alternate Package Models] name package models of the file or of a .pkg file",
     "2.1 [Define Package Model]: \"For every package model name defined under the [Package Model] keyword, there must "
     "be a matching [Define Package Model] keyword\"; 4.2 [Alternate Package Models]",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name "
     "model_name\n1 a GND\n2 b GND\n[Package Model] nopkg\n[End]\n"},
    {5430, "WARNING", "Package model '%s' is defined twice (first on line %d)", "a package model name is defined once",
     "2.1 [Define Package Model] (5.0 §7)",
     "$H[Define Package Model] p\n[Manufacturer] me\n[OEM] o\n[Description] d\n[Number Of Sections] 2\n[Number Of "
     "Pins] 1\n[Pin Numbers]\nA1 Len=0 L=1n /\n[End Package Model]\n[Define Package Model] p\n[Manufacturer] me\n[OEM] "
     "o\n[Description] d\n[Number Of Sections] 2\n[Number Of Pins] 1\n[Pin Numbers]\nA1 Len=0 L=1n /\n[End Package "
     "Model]\n[End]\n"},
    {5431, "WARNING", "[Package Model] given more than once in component '%s'",
     "[Package Model] stands once per component", "2.1 [Package Model] (5.0 §5)",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name "
     "model_name\n1 a GND\n2 b GND\n[Package Model] p\n[Package Model] p\n[End]\n"},
    {5432, "WARNING", "[%s] of %s '%s' needs a value", "[Manufacturer], [OEM] and [Description] give a value",
     "2.1 (5.0 §7); 3.2 (5.0 §8)",
     "$H[Define Package Model] p\n[Manufacturer] me\n[OEM]\n[Description] d\n[Number Of Sections] 1\n[Number Of Pins] "
     "1\n[Pin Numbers]\nA1 Len=0 L=1n /\n[End Package Model]\n[End]\n"},
    {5450, "WARNING", "[%s] section: unknown subparameter '%s'; only Len, L, R and C",
     "a section is made of Len, L, R and C", "3.2 [Pin Numbers] (5.0 §7), [Path Description] (5.0 §8)",
     "$H[Define Package Model] p\n[Manufacturer] me\n[OEM] o\n[Description] d\n[Number Of Sections] 2\n[Number Of "
     "Pins] 1\n[Pin Numbers]\nA1 Len=0 Q=1 /\n[End Package Model]\n[End]\n"},
    {5451, "WARNING", "[%s] section gives %s twice", "each of Len, L, R, C once per section",
     "3.2 [Pin Numbers], [Path Description]",
     "$H[Define Package Model] p\n[Manufacturer] me\n[OEM] o\n[Description] d\n[Number Of Sections] 2\n[Number Of "
     "Pins] 1\n[Pin Numbers]\nA1 L=1n L=2n /\n[End Package Model]\n[End]\n"},
    {5452, "WARNING", "[%s] section: %s value '%s' is not a number of zero or more",
     "Len, L, R and C are numbers of zero or more", "3.2 [Pin Numbers], [Path Description]",
     "$H[Define Package Model] p\n[Manufacturer] me\n[OEM] o\n[Description] d\n[Number Of Sections] 2\n[Number Of "
     "Pins] 1\n[Pin Numbers]\nA1 C=-1p /\n[End Package Model]\n[End]\n"},
    {5453, "WARNING", "[%s] '/' closes no section", "'/' ends a section", "3.2 [Pin Numbers], [Path Description]",
     "$H[Define Package Model] p\n[Manufacturer] me\n[OEM] o\n[Description] d\n[Number Of Sections] 2\n[Number Of "
     "Pins] 1\n[Pin Numbers]\nA1 Len=0 L=1n / /\n[End Package Model]\n[End]\n"},
    {5454, "WARNING", "[%s] section not closed by '/'", "every section ends with '/'",
     "3.2 [Pin Numbers], [Path Description]",
     "$H[Define Package Model] p\n[Manufacturer] me\n[OEM] o\n[Description] d\n[Number Of Sections] 2\n[Number Of "
     "Pins] 1\n[Pin Numbers]\nA1 Len=0 L=1n Fork\nLen=1 C=1p /\nEndfork\n[End Package Model]\n[End]\n"},
    {5455, "WARNING", "[%s] Endfork without a Fork", "Endfork closes a Fork", "3.2 [Pin Numbers], [Path Description]",
     "$H[Define Package Model] p\n[Manufacturer] me\n[OEM] o\n[Description] d\n[Number Of Sections] 2\n[Number Of "
     "Pins] 1\n[Pin Numbers]\nA1 Len=0 L=1n /\nEndfork\n[End Package Model]\n[End]\n"},
    {5456, "WARNING", "%s: %d Fork(s) not closed by Endfork (first on line %d)", "every Fork is closed by Endfork",
     "3.2 [Pin Numbers], [Path Description]",
     "$H[Define Package Model] p\n[Manufacturer] me\n[OEM] o\n[Description] d\n[Number Of Sections] 2\n[Number Of "
     "Pins] 1\n[Pin Numbers]\nA1 Len=0 L=1n /\nFork\nLen=1 C=1p /\n[End Package Model]\n[End]\n"},
    {5500, "WARNING", "[%s] needs a name",
     "boards, paths, external circuits, circuit calls, package models and interconnect models are named",
     "3.2 [Begin Board Description], [Path Description]; 4.1 [External Circuit]; 7.0 [Interconnect Model]",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name "
     "model_name\n1 a GND\n2 b GND\n[External Circuit]\nLanguage SPICE\n[End External Circuit]\n[End]\n"},
    {5501, "ERROR", "Board '%s': required keyword [%s] not found",
     "a board has [Manufacturer], [Number Of Pins], [Pin List], a [Path Description] and [End Board Description]",
     "3.2 [Pin List]: \"Required: Yes\" (BIRD 47) (5.0 §8)",
     "@t.ebd\n$H[Begin Board Description] b\n[Manufacturer] me\n[Number Of Pins] 1\n[Reference Designator Map]\nU1 "
     "chip.ibs c\n[End Board Description]\n[End]\n@chip.ibs\n[IBIS Ver] 4.2\n[File Name] chip.ibs\n[File Rev] "
     "1\n[Component] c\n[End]\n"},
    {5502, "WARNING", "[%s] given more than once in board '%s'",
     "[Manufacturer], [Number Of Pins], [Pin List], [Reference Designator Map] stand once per board", "3.2 (5.0 §8)",
     "@t.ebd\n$H[Begin Board Description] b\n[Manufacturer] me\n[Manufacturer] me\n[Number Of Pins] 1\n[Pin List] "
     "signal_name\nA1 s1\n[Path Description] p1\nPin A1\nLen=1 L=1n /\nNode U1.1\n[Reference Designator Map]\nU1 "
     "chip.ibs c\n[End Board Description]\n[End]\n@chip.ibs\n[IBIS Ver] 4.2\n[File Name] chip.ibs\n[File Rev] "
     "1\n[Component] c\n[End]\n"},
    {5504, "ERROR", "Board '%s': [Number Of Pins] says %lld, [Pin List] lists %d pins",
     "[Pin List] lists as many pins as [Number Of Pins] says",
     "3.2 [Pin List]: \"There must be as many pin_name/signal_name rows as there are pins given by the preceding "
     "[Number Of Pins] keyword\" (BIRD 47)",
     "@t.ebd\n$H[Begin Board Description] b\n[Manufacturer] me\n[Number Of Pins] 2\n[Pin List] signal_name\nA1 "
     "s1\n[Path Description] p1\nPin A1\nLen=1 L=1n /\nNode U1.1\n[Reference Designator Map]\nU1 chip.ibs c\n[End "
     "Board Description]\n[End]\n@chip.ibs\n[IBIS Ver] 4.2\n[File Name] chip.ibs\n[File Rev] 1\n[Component] "
     "c\n[End]\n"},
    {5505, "ERROR", "[Pin List] row has %d columns where 2 are needed",
     "a [Pin List] row is a pin name and a signal name",
     "3.2 [Pin List]: \"Following the [Pin List] keyword are two columns\" (BIRD 47)",
     "@t.ebd\n$H[Begin Board Description] b\n[Manufacturer] me\n[Number Of Pins] 1\n[Pin List] signal_name\nA1 s1 "
     "x\n[Path Description] p1\nPin A1\nLen=1 L=1n /\nNode U1.1\n[Reference Designator Map]\nU1 chip.ibs c\n[End Board "
     "Description]\n[End]\n@chip.ibs\n[IBIS Ver] 4.2\n[File Name] chip.ibs\n[File Rev] 1\n[Component] c\n[End]\n"},
    {5506, "WARNING", "[Pin List] lists pin '%s' twice (first on line %d)", "[Pin List] lists each pin once",
     "3.2 [Pin List] (5.0 §8)",
     "@t.ebd\n$H[Begin Board Description] b\n[Manufacturer] me\n[Number Of Pins] 2\n[Pin List] signal_name\nA1 s1\nA1 "
     "s2\n[Path Description] p1\nPin A1\nLen=1 L=1n /\nNode U1.1\n[Reference Designator Map]\nU1 chip.ibs c\n[End "
     "Board Description]\n[End]\n@chip.ibs\n[IBIS Ver] 4.2\n[File Name] chip.ibs\n[File Rev] 1\n[Component] "
     "c\n[End]\n"},
    {5508, "WARNING", "Path '%s' does not start with Pin", "a path starts at a Pin of the board",
     "3.2 [Path Description] (5.0 §8)",
     "@t.ebd\n$H[Begin Board Description] b\n[Manufacturer] me\n[Number Of Pins] 1\n[Pin List] signal_name\nA1 "
     "s1\n[Path Description] p1\nLen=1 L=1n /\nNode U1.1\n[Reference Designator Map]\nU1 chip.ibs c\n[End Board "
     "Description]\n[End]\n@chip.ibs\n[IBIS Ver] 4.2\n[File Name] chip.ibs\n[File Rev] 1\n[Component] c\n[End]\n"},
    {5509, "WARNING", "Path '%s' names pin '%s', which is not in [Pin List]", "Pin names a pin of [Pin List]",
     "3.2 [Path Description] (5.0 §8)",
     "@t.ebd\n$H[Begin Board Description] b\n[Manufacturer] me\n[Number Of Pins] 1\n[Pin List] signal_name\nA1 "
     "s1\n[Path Description] p1\nPin A9\nLen=1 L=1n /\nNode U1.1\n[Reference Designator Map]\nU1 chip.ibs c\n[End "
     "Board Description]\n[End]\n@chip.ibs\n[IBIS Ver] 4.2\n[File Name] chip.ibs\n[File Rev] 1\n[Component] "
     "c\n[End]\n"},
    {5510, "WARNING", "Node '%s' is not reference_designator.pin", "Node is reference_designator.pin",
     "3.2 [Path Description] (5.0 §8)",
     "@t.ebd\n$H[Begin Board Description] b\n[Manufacturer] me\n[Number Of Pins] 1\n[Pin List] signal_name\nA1 "
     "s1\n[Path Description] p1\nPin A1\nLen=1 L=1n /\nNode U1\n[Reference Designator Map]\nU1 chip.ibs c\n[End Board "
     "Description]\n[End]\n@chip.ibs\n[IBIS Ver] 4.2\n[File Name] chip.ibs\n[File Rev] 1\n[Component] c\n[End]\n"},
    {5511, "WARNING", "Node '%s' names designator '%s', which is not in [Reference Designator Map]",
     "a node's designator is in [Reference Designator Map]", "3.2 [Reference Designator Map] (5.0 §8)",
     "@t.ebd\n$H[Begin Board Description] b\n[Manufacturer] me\n[Number Of Pins] 1\n[Pin List] signal_name\nA1 "
     "s1\n[Path Description] p1\nPin A1\nLen=1 L=1n /\nNode U9.1\n[Reference Designator Map]\nU1 chip.ibs c\n[End "
     "Board Description]\n[End]\n@chip.ibs\n[IBIS Ver] 4.2\n[File Name] chip.ibs\n[File Rev] 1\n[Component] "
     "c\n[End]\n"},
    {5512, "WARNING", "Path '%s' ends at a section, not at a Pin or a Node", "a path ends at a Pin or a Node",
     "3.2 [Path Description] (5.0 §8)",
     "@t.ebd\n$H[Begin Board Description] b\n[Manufacturer] me\n[Number Of Pins] 1\n[Pin List] signal_name\nA1 "
     "s1\n[Path Description] p1\nPin A1\nLen=1 L=1n /\n[Reference Designator Map]\nU1 chip.ibs c\n[End Board "
     "Description]\n[End]\n@chip.ibs\n[IBIS Ver] 4.2\n[File Name] chip.ibs\n[File Rev] 1\n[Component] c\n[End]\n"},
    {5513, "WARNING", "Path '%s': the fork closed here ends at a section, not at a Pin or a Node",
     "each fork ends at a Pin or a Node", "3.2 [Path Description] (5.0 §8)",
     "@t.ebd\n$H[Begin Board Description] b\n[Manufacturer] me\n[Number Of Pins] 1\n[Pin List] signal_name\nA1 "
     "s1\n[Path Description] p1\nPin A1\nLen=1 L=1n /\nFork\nLen=1 L=1n /\nEndfork\nNode U1.1\n[Reference Designator "
     "Map]\nU1 chip.ibs c\n[End Board Description]\n[End]\n@chip.ibs\n[IBIS Ver] 4.2\n[File Name] chip.ibs\n[File Rev] "
     "1\n[Component] c\n[End]\n"},
    {5514, "WARNING", "Unexpected '%s' in [Path Description]: Pin, Node, Len, L, R, C, '/', Fork or Endfork",
     "a path is made of Pin, Node, sections, Fork and Endfork", "3.2 [Path Description] (5.0 §8)",
     "@t.ebd\n$H[Begin Board Description] b\n[Manufacturer] me\n[Number Of Pins] 1\n[Pin List] signal_name\nA1 "
     "s1\n[Path Description] p1\nPin A1\nBogus\nLen=1 L=1n /\nNode U1.1\n[Reference Designator Map]\nU1 chip.ibs "
     "c\n[End Board Description]\n[End]\n@chip.ibs\n[IBIS Ver] 4.2\n[File Name] chip.ibs\n[File Rev] 1\n[Component] "
     "c\n[End]\n"},
    {5515, "WARNING", "[Reference Designator Map] row has %d columns where 3 are needed",
     "a map row is a designator, a file name and a component name", "3.2 [Reference Designator Map] (5.0 §8)",
     "@t.ebd\n$H[Begin Board Description] b\n[Manufacturer] me\n[Number Of Pins] 1\n[Pin List] signal_name\nA1 "
     "s1\n[Path Description] p1\nPin A1\nLen=1 L=1n /\nNode U1.1\n[Reference Designator Map]\nU1 chip.ibs\n[End Board "
     "Description]\n[End]\n@chip.ibs\n[IBIS Ver] 4.2\n[File Name] chip.ibs\n[File Rev] 1\n[Component] c\n[End]\n"},
    {5516, "WARNING", "[Reference Designator Map] lists designator '%s' twice (first on line %d)",
     "the map lists each designator once", "3.2 [Reference Designator Map] (5.0 §8)",
     "@t.ebd\n$H[Begin Board Description] b\n[Manufacturer] me\n[Number Of Pins] 1\n[Pin List] signal_name\nA1 "
     "s1\n[Path Description] p1\nPin A1\nLen=1 L=1n /\nNode U1.1\n[Reference Designator Map]\nU1 chip.ibs c\nU1 "
     "chip.ibs c\n[End Board Description]\n[End]\n@chip.ibs\n[IBIS Ver] 4.2\n[File Name] chip.ibs\n[File Rev] "
     "1\n[Component] c\n[End]\n"},
    {5517, "WARNING", "Designator '%s' maps to file '%s', which is not beside the board file",
     "the file a designator maps to is beside the board file", "3.2 [Reference Designator Map] (5.0 §8)",
     "@t.ebd\n$H[Begin Board Description] b\n[Manufacturer] me\n[Number Of Pins] 1\n[Pin List] signal_name\nA1 "
     "s1\n[Path Description] p1\nPin A1\nLen=1 L=1n /\nNode U1.1\n[Reference Designator Map]\nU1 none.ibs c\n[End "
     "Board Description]\n[End]\n"},
    {5518, "WARNING", "Designator '%s' maps to the board's own file '%s'", "a board does not contain itself",
     "3.2 [Reference Designator Map] (5.0 §8)",
     "@t.ebd\n$H[Begin Board Description] b\n[Manufacturer] me\n[Number Of Pins] 1\n[Pin List] signal_name\nA1 "
     "s1\n[Path Description] p1\nPin A1\nLen=1 L=1n /\nNode U1.1\n[Reference Designator Map]\nU1 t.ebd b\n[End Board "
     "Description]\n[End]\n"},
    {5519, "WARNING", "Designator '%s' maps to '%s', which file '%s' does not define",
     "the mapped file defines the component (or board) named", "3.2 [Reference Designator Map] (5.0 §8)",
     "@t.ebd\n$H[Begin Board Description] b\n[Manufacturer] me\n[Number Of Pins] 1\n[Pin List] signal_name\nA1 "
     "s1\n[Path Description] p1\nPin A1\nLen=1 L=1n /\nNode U1.1\n[Reference Designator Map]\nU1 chip.ibs zz\n[End "
     "Board Description]\n[End]\n@chip.ibs\n[IBIS Ver] 4.2\n[File Name] chip.ibs\n[File Rev] 1\n[Component] "
     "c\n[End]\n"},
    {5522, "WARNING", "%s without a name in path '%s'", "Pin and Node give a name", "3.2 [Path Description] (5.0 §8)",
     "@t.ebd\n$H[Begin Board Description] b\n[Manufacturer] me\n[Number Of Pins] 1\n[Pin List] signal_name\nA1 "
     "s1\n[Path Description] p1\nPin\nLen=1 L=1n /\nNode U1.1\n[Reference Designator Map]\nU1 chip.ibs c\n[End Board "
     "Description]\n[End]\n@chip.ibs\n[IBIS Ver] 4.2\n[File Name] chip.ibs\n[File Rev] 1\n[Component] c\n[End]\n"},
    {5600, "WARNING", "[%s] '%s': required subparameter %s not found",
     "[External Model] and [External Circuit] give Language and a Typ Corner, [External Circuit] its Ports; an "
     "[Interconnect Model] its data file and Number_of_terminals",
     "4.1 [External Model], [External Circuit] (5.0 §6b); 7.0 [Interconnect Model]",
     "$H[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[External "
     "Model]\nLanguage SPICE\n[End External Model]\n[End]\n"},
    {5601, "WARNING", "[%s] Language '%s' is not one of %s",
     "Language is SPICE, VHDL-AMS, Verilog-AMS, VHDL-A(MS) or Verilog-A(MS); IBIS-ISS from 5.1, Touchstone from 6.0",
     "4.1 [External Model] (5.0 §6b)",
     "$H[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[External "
     "Model]\nLanguage Fortran\nCorner Typ f.sp c\n[End External Model]\n[End]\n"},
    {5602, "WARNING", "[%s] corner '%s' is none of Typ, Min, Max", "a corner is Typ, Min or Max",
     "4.1 [External Model] (5.0 §6b)",
     "$H[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[External "
     "Model]\nLanguage SPICE\nCorner Typ f.sp c\nCorner Med f.sp c\n[End External Model]\n[End]\n"},
    {5603, "WARNING", "[%s] Corner line has %d words where 4 are needed (Corner, corner, file, circuit)",
     "a Corner line gives the corner, the file and the circuit", "4.1 [External Model] (5.0 §6b)",
     "$H[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[External "
     "Model]\nLanguage SPICE\nCorner Typ f.sp\n[End External Model]\n[End]\n"},
    {5604, "WARNING", "[%s] names file '%s', which is not beside the checked file",
     "named files are beside the file that names them", "4.1 [External Model] (5.0 §6b); 7.0 [Interconnect Model]",
     "$H[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[External "
     "Model]\nLanguage SPICE\nCorner Typ nofile.sp c\n[End External Model]\n[End]\n"},
    {5605, "WARNING", "[%s] gives %s twice", "Language, each Corner and Number_of_terminals are given once",
     "4.1 [External Model] (5.0 §6b); 7.0 [Interconnect Model]",
     "$H[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[External "
     "Model]\nLanguage SPICE\nLanguage SPICE\nCorner Typ f.sp c\n[End External Model]\n[End]\n"},
    {5606, "WARNING", "[%s] '%s' is not closed by [End %s]", "blocks are closed by their [End ...] keyword",
     "4.1 [End External Model], [End Circuit Call] (5.0 §6b); 7.0 [End Interconnect Model]",
     "$H[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[External "
     "Model]\nLanguage SPICE\nCorner Typ f.sp c\n[End]\n"},
    {5607, "WARNING", "[Circuit Call] names '%s', which is not an [External Circuit] of the file",
     "[Circuit Call] names an [External Circuit] of the file", "4.1 [Circuit Call] (5.0 §6b)",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name "
     "model_name\n1 a GND\n2 b GND\n[Circuit Call] nocircuit\nPort_map A 1\n[End Circuit Call]\n[End]\n"},
    {5608, "WARNING",
     "[Circuit Call] Port_map names port '%s', which [External Circuit] '%s' does not declare in Ports",
     "Port_map names a port of the circuit's Ports", "4.1 [Circuit Call] (5.0 §6b)",
     "[IBIS Ver] 4.2\n[File Name] t.ibs\n[File Rev] 1\n[Component] c\n[Manufacturer] me\n[Package]\nR_pkg 1 NA "
     "NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name model_name\n1 a m\n2 vdd POWER\n[Node "
     "Declarations]\nn1\n[End Node Declarations]\n[Circuit Call] ckt\nPort_map C 1\n[End Circuit Call]\n[Model] "
     "m\nModel_type Output\n[External Circuit] ckt\nLanguage SPICE\nCorner Typ c.sp c_typ\nPorts A B\n[End External "
     "Circuit]\n[End]\n"},
    {5609, "WARNING",
     "[Circuit Call] Port_map connects port '%s' to '%s', neither a pin or signal of [Pin] nor a node of [Node "
     "Declarations]",
     "Port_map connects to a pin or signal of [Pin] or a node of [Node Declarations]",
     "4.1 [Circuit Call], [Node Declarations] (5.0 §6b)",
     "[IBIS Ver] 4.2\n[File Name] t.ibs\n[File Rev] 1\n[Component] c\n[Manufacturer] me\n[Package]\nR_pkg 1 NA "
     "NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name model_name\n1 a m\n2 vdd POWER\n[Node "
     "Declarations]\nn1\n[End Node Declarations]\n[Circuit Call] ckt\nPort_map A n2\n[End Circuit Call]\n[Model] "
     "m\nModel_type Output\n[External Circuit] ckt\nLanguage SPICE\nCorner Typ c.sp c_typ\nPorts A B\n[End External "
     "Circuit]\n[End]\n"},
    {5610, "WARNING", "[Circuit Call] %s line has %d words where %d are needed",
     "Port_map, Signal_pin, Diff_signal_pins and Series_pins lines have their words", "4.1 [Circuit Call] (5.0 §6b)",
     "[IBIS Ver] 4.2\n[File Name] t.ibs\n[File Rev] 1\n[Component] c\n[Manufacturer] me\n[Package]\nR_pkg 1 NA "
     "NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name model_name\n1 a m\n2 vdd POWER\n[Node "
     "Declarations]\nn1\n[End Node Declarations]\n[Circuit Call] ckt\nPort_map A\n[End Circuit Call]\n[Model] "
     "m\nModel_type Output\n[External Circuit] ckt\nLanguage SPICE\nCorner Typ c.sp c_typ\nPorts A B\n[End External "
     "Circuit]\n[End]\n"},
    {5631, "WARNING", "[Interconnect Model] '%s' names more than one data file (File_TS or File_IBIS-ISS)",
     "an [Interconnect Model] names one data file, File_TS or File_IBIS-ISS", "7.0 [Interconnect Model]",
     "[IBIS Ver] 7.0\n[File Name] t.ibs\n[File Rev] 1\n[Component] c\n[Manufacturer] me\n[Package]\nR_pkg 1 NA "
     "NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name model_name\n1 a m\n2 vdd POWER\n[Model] m\nModel_type "
     "Output\n[Interconnect Model Set] s\n[Interconnect Model] im\nFile_TS a.s2p\nFile_IBIS-ISS a.iss "
     "x\nNumber_of_terminals = 1\n1 Pin_I/O 1\n[End Interconnect Model]\n[End Interconnect Model Set]\n[End]\n"},
    {5633, "WARNING", "[Interconnect Model] '%s': Number_of_terminals is %lld but %lld terminal lines follow",
     "Number_of_terminals terminal lines follow", "7.0 [Interconnect Model]",
     "[IBIS Ver] 7.0\n[File Name] t.ibs\n[File Rev] 1\n[Component] c\n[Manufacturer] me\n[Package]\nR_pkg 1 NA "
     "NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name model_name\n1 a m\n2 vdd POWER\n[Model] m\nModel_type "
     "Output\n[Interconnect Model Set] s\n[Interconnect Model] im\nFile_TS a.s2p\nNumber_of_terminals = 3\n1 Pin_I/O "
     "1\n[End Interconnect Model]\n[End Interconnect Model Set]\n[End]\n"},
    {5634, "WARNING", "[%s] without an open [%s]",
     "[End Interconnect Model] and [End Circuit Call] close an open block",
     "4.1 [End Circuit Call]; 7.0 [End Interconnect Model]",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name "
     "model_name\n1 a GND\n2 b GND\n[End Circuit Call]\n[End]\n"},
    {5635, "WARNING", "[Interconnect Model Group] names '%s', which is no [Interconnect Model Set] defined",
     "[Interconnect Model Group] entries name defined [Interconnect Model Set]s", "7.0 [Interconnect Model Group]",
     "[IBIS Ver] 7.0\n[File Name] t.ibs\n[File Rev] 1\n[Component] c\n[Manufacturer] me\n[Package]\nR_pkg 1 NA "
     "NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name model_name\n1 a m\n2 vdd POWER\n[Interconnect Model Group] "
     "g\nother\n[End Interconnect Model Group]\n[Model] m\nModel_type Output\n[End]\n"},
};

const int giCheckRuleCount = static_cast<int>(sizeof(gaCheckRules) / sizeof(gaCheckRules[0]));

#include "IbisParser/rules/ModelCheckRules.h"

const CHECK_RULE gaModelCheckRules[] = {
    {5100, "WARNING", "[Model] '%s': Model_type not given", "Model_type is required", "2.1 §6 [Model]",
     "$H[Model] m\nC_comp 1p NA NA\n[End]\n"},
    {5101, "WARNING", "[Model] '%s': Model_type '%s' is not a Model_type of IBIS %s",
     "Model_type is one of the version's types (3.2: 3-state_ECL, Series, Series_switch; 4.1: _diff)",
     "2.1 §6 [Model]; 3.2; 4.1", "$H[Model] m\nModel_type Wobble\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[End]\n"},
    {5102, "WARNING", "[Model] '%s': %s '%s' is not one of %s",
     "Polarity is Inverting or Non-Inverting; Enable is Active-High or Active-Low", "2.1 §6 [Model]",
     "$H[Model] m\nModel_type Input\nPolarity Upside\nVinl = 0.8\nVinh = 2\nC_comp 1p NA NA\n[Voltage Range] 3 NA "
     "NA\n[End]\n"},
    {5103, "WARNING", "[Model] '%s': %s given twice (first on line %d)",
     "a subparameter, and a keyword other than the waveforms, stands once per model (per [On]/[Off])",
     "2.1 §6 [Model]; 3.2 [On], [Off]",
     "$H[Model] m\nModel_type Input\nVinl = 0.8\nVinl = 0.8\nVinh = 2\nC_comp 1p NA NA\n[Voltage Range] 3 NA "
     "NA\n[End]\n"},
    {5104, "WARNING", "[Model] '%s': unknown subparameter '%s' for IBIS %s",
     "[Model] takes the subparameters of its version (4.0: C_comp_*; Rref_diff, Cref_diff)", "2.1 §6 [Model]; 4.0",
     "$H[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nWobble = 1\nC_comp 1p NA NA\n[Voltage Range] 3 NA "
     "NA\n[End]\n"},
    {5105, "WARNING", "[Model] '%s': C_comp not given",
     "C_comp is required (or the C_comp_* split, or [C Comp Model]); not for series models",
     "2.1 §6 [Model]; 4.0; 7.0 [C Comp Model]",
     "$H[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\n[Voltage Range] 3 NA NA\n[End]\n"},
    {5106, "WARNING", "[Model] '%s' of Model_type %s: Vinl and Vinh not given",
     "receiving types give Vinl and Vinh (or [Model Spec] or [Receiver Thresholds] do)",
     "2.1 §6 [Model]; 3.2 [Model Spec]; 4.1 [Receiver Thresholds]",
     "$H[Model] m\nModel_type Input\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[End]\n"},
    {5107, "ERROR", "[Model] '%s': neither [Voltage Range] nor all four reference keywords given",
     "[Voltage Range] is required unless all four reference keywords are given",
     "2.1 §6 [Voltage Range]: \"If the [Voltage Range] keyword is not present, then all four of the keywords described "
     "below must be present\" (3.2 text)",
     "$H[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA NA\n[End]\n"},
    {5108, "WARNING", "[Model] '%s' of Model_type %s needs [%s]",
     "driving types have [Pulldown] and/or [Pullup] and [Ramp]; Series_switch has [On] and [Off]",
     "2.1 §6 [Pulldown], [Pullup], [Ramp]; 3.2 [On], [Off]",
     "$H[Model] m\nModel_type Output\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[End]\n"},
    {5109, "WARNING", "[Model] '%s': [%s] does not belong in a model of Model_type %s",
     "series keywords only in Series/Series_switch, [On]/[Off] only in Series_switch, [Driver Schedule] only in "
     "driving types",
     "3.2 §6 [R Series], [On], [Driver Schedule]",
     "$H[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[R Series]\n1 NA "
     "NA\n[End]\n"},
    {5110, "WARNING", "[Model] '%s': %s value '%s' is neither a number nor NA",
     "numeric subparameters and keyword values are numbers or NA", "2.1 §3, §6 [Model]",
     "$H[Model] m\nModel_type Input\nVinl = x\nVinh = 2\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[End]\n"},
    {5111, "WARNING", "[%s] stands outside a [Model]", "model keywords stand inside a [Model]", "2.1 §6",
     "$H[Voltage Range] 3 NA NA\n[End]\n"},
    {5112, "ERROR", "[Model] '%s': %s needs a typ value", "typ is given (min and max may be NA)",
     "2.1 §3, §6: \"data is only required in the typical column\" (I-V tables, 3.1 text); [Model Spec] the same (5.0)",
     "$H[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp NA NA NA\n[Voltage Range] 3 NA NA\n[End]\n"},
    {5113, "WARNING", "[Model] needs a name", "[Model] gives the model's name", "2.1 §6 [Model]",
     "$H[Model]\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[End]\n"},
    {5114, "WARNING", "[Model] '%s' is already defined on line %d", "model names are unique in a file",
     "2.1 §6 [Model]",
     "$H[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[Model] "
     "m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[End]\n"},
    {5150, "ERROR", "[%s] of model '%s': row has %d columns where 4 are needed",
     "a table row has four columns: independent value, typ, min, max",
     "2.1 §6 [Pulldown] ... [POWER Clamp]: \"All four columns are required under these keywords\" (3.1 text)",
     "$H[Model] m\nModel_type Output\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[Ramp]\ndV/dt_r 1/1n NA NA\ndV/dt_f "
     "1/1n NA NA\n[Pulldown]\n0 0 NA\n3 0.1 NA NA\n[End]\n"},
    {5151, "WARNING", "[%s] of model '%s': %s '%s' is not a number",
     "the voltage or time column, and fixture subparameters, are numbers", "2.1 §6",
     "$H[Model] m\nModel_type Output\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[Ramp]\ndV/dt_r 1/1n NA NA\ndV/dt_f "
     "1/1n NA NA\n[Pulldown]\nx 0 NA NA\n3 0.1 NA NA\n[End]\n"},
    {5152, "ERROR", "[%s] of model '%s': %s value '%s' is neither a number nor NA",
     "typ, min and max columns are numbers or NA",
     "2.1 §6: \"If minimum and/or maximum current values are not available, the reserved word NA must be used\" (3.1 "
     "text)",
     "$H[Model] m\nModel_type Output\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[Ramp]\ndV/dt_r 1/1n NA NA\ndV/dt_f "
     "1/1n NA NA\n[Pulldown]\n0 0 x NA\n3 0.1 NA NA\n[End]\n"},
    {5153, "ERROR", "[%s] of model '%s': typ value is NA",
     "the typ column gives numbers in the first and last rows; an inner typ value may be NA (all four tables "
     "of a model, I-V and V-T)",
     "2.1 §6 [Pulldown] ... [POWER Clamp]: \"'NA' can be used for currents in the typical column, but numeric "
     "values MUST be specified for the first and last voltage points\" (3.1 text)",
     "$H[Model] m\nModel_type Output\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[Ramp]\ndV/dt_r 1/1n NA NA\ndV/dt_f "
     "1/1n NA NA\n[Pulldown]\n0 NA NA NA\n3 0.1 NA NA\n[End]\n"},
    {5154, "WARNING", "[%s] of model '%s': %s %s repeats line %d",
     "no voltage or time repeats in a table (one order report per table)", "2.1 §6",
     "$H[Model] m\nModel_type Output\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[Ramp]\ndV/dt_r 1/1n NA NA\ndV/dt_f "
     "1/1n NA NA\n[Pulldown]\n0 0 NA NA\n0 0 NA NA\n3 0.1 NA NA\n[End]\n"},
    {5155, "WARNING", "[%s] of model '%s': %s %s turns back from the order of the rows up to line %d",
     "time ascends; voltage keeps the direction its first rows set; one misplaced row is one report per table, "
     "the row out of place (a spike is named, not every row after it)",
     "2.1 §6",
     "$H[Model] m\nModel_type Output\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[Ramp]\ndV/dt_r 1/1n NA NA\ndV/dt_f "
     "1/1n NA NA\n[Pulldown]\n0 0 NA NA\n2 0.05 NA NA\n1 0.02 NA NA\n3 0.1 NA NA\n[End]\n"},
    {5156, "ERROR", "[%s] of model '%s' has %d rows, more than the %d of IBIS %s",
     "I-V tables hold at most 100 rows; V-T tables 100 (1000 from 4.0)",
     "2.1 §6: \"Each V/I table must have at least 2, but not more than 100, voltage points\" (3.1 text); V-T 1000 from "
     "4.0",
     "$H[Model] m\nModel_type Output\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[Ramp]\ndV/dt_r 1/1n NA NA\ndV/dt_f "
     "1/1n NA NA\n[Pulldown]\n0 0 NA NA\n1 0 NA NA\n2 0 NA NA\n3 0 NA NA\n4 0 NA NA\n5 0 NA NA\n6 0 NA NA\n7 0 NA "
     "NA\n8 0 NA NA\n9 0 NA NA\n10 0 NA NA\n11 0 NA NA\n12 0 NA NA\n13 0 NA NA\n14 0 NA NA\n15 0 NA NA\n16 0 NA NA\n17 "
     "0 NA NA\n18 0 NA NA\n19 0 NA NA\n20 0 NA NA\n21 0 NA NA\n22 0 NA NA\n23 0 NA NA\n24 0 NA NA\n25 0 NA NA\n26 0 NA "
     "NA\n27 0 NA NA\n28 0 NA NA\n29 0 NA NA\n30 0 NA NA\n31 0 NA NA\n32 0 NA NA\n33 0 NA NA\n34 0 NA NA\n35 0 NA "
     "NA\n36 0 NA NA\n37 0 NA NA\n38 0 NA NA\n39 0 NA NA\n40 0 NA NA\n41 0 NA NA\n42 0 NA NA\n43 0 NA NA\n44 0 NA "
     "NA\n45 0 NA NA\n46 0 NA NA\n47 0 NA NA\n48 0 NA NA\n49 0 NA NA\n50 0 NA NA\n51 0 NA NA\n52 0 NA NA\n53 0 NA "
     "NA\n54 0 NA NA\n55 0 NA NA\n56 0 NA NA\n57 0 NA NA\n58 0 NA NA\n59 0 NA NA\n60 0 NA NA\n61 0 NA NA\n62 0 NA "
     "NA\n63 0 NA NA\n64 0 NA NA\n65 0 NA NA\n66 0 NA NA\n67 0 NA NA\n68 0 NA NA\n69 0 NA NA\n70 0 NA NA\n71 0 NA "
     "NA\n72 0 NA NA\n73 0 NA NA\n74 0 NA NA\n75 0 NA NA\n76 0 NA NA\n77 0 NA NA\n78 0 NA NA\n79 0 NA NA\n80 0 NA "
     "NA\n81 0 NA NA\n82 0 NA NA\n83 0 NA NA\n84 0 NA NA\n85 0 NA NA\n86 0 NA NA\n87 0 NA NA\n88 0 NA NA\n89 0 NA "
     "NA\n90 0 NA NA\n91 0 NA NA\n92 0 NA NA\n93 0 NA NA\n94 0 NA NA\n95 0 NA NA\n96 0 NA NA\n97 0 NA NA\n98 0 NA "
     "NA\n99 0 NA NA\n100 0 NA NA\n[End]\n"},
    {5157, "ERROR", "[%s] of model '%s' has fewer than 2 rows", "a table holds at least two rows",
     "2.1 §6: \"Each V/I table must have at least 2, but not more than 100, voltage points\" (3.1 text)",
     "$H[Model] m\nModel_type Output\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[Ramp]\ndV/dt_r 1/1n NA NA\ndV/dt_f "
     "1/1n NA NA\n[Pulldown]\n0 0 NA NA\n[End]\n"},
    {5158, "WARNING", "[%s] of model '%s' lacks %s",
     "[Rising Waveform] and [Falling Waveform] give R_fixture and V_fixture", "2.1 §6 [Rising Waveform]",
     "$H[Model] m\nModel_type Output\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[Ramp]\ndV/dt_r 1/1n NA NA\ndV/dt_f "
     "1/1n NA NA\n[Pulldown]\n0 0 NA NA\n3 0.1 NA NA\n[Rising Waveform]\nV_fixture = 0\n0 0 NA NA\n1n 1 NA "
     "NA\n[End]\n"},
    {5159, "WARNING", "[%s] of model '%s': unknown subparameter '%s'",
     "a waveform's subparameters are R_fixture, V_fixture, V_fixture_min/max, C/L_fixture, R/L/C_dut; "
     "\"name=value\", \"name =value\", \"name= value\" and \"name = value\" read alike here and in every "
     "subparameter line written with \"=\"",
     "2.1 §6 [Rising Waveform], [Model]: the standard writes these lines «name = value»; blanks only separate words",
     "$H[Model] m\nModel_type Output\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[Ramp]\ndV/dt_r 1/1n NA NA\ndV/dt_f "
     "1/1n NA NA\n[Pulldown]\n0 0 NA NA\n3 0.1 NA NA\n[Rising Waveform]\nR_fixture = 50\nV_fixture = 0\nW_fixture = "
     "1\n0 0 NA NA\n1n 1 NA NA\n[End]\n"},
    {5160, "WARNING", "Model '%s' has more than 100 [%s] tables",
     "at most 100 [Rising Waveform] and 100 [Falling Waveform] per model", "2.1 §6 [Rising Waveform]",
     "$H[Model] m\nModel_type Output\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[Pulldown]\n0 0 NA NA\n3 0.1 NA "
     "NA\n$R101{[Rising Waveform]\nR_fixture = 50\nV_fixture = 0\n0 0 NA NA\n1n 1 NA NA\n}[End]\n"},
    {5161, "WARNING", "[%s] of model '%s': the %s column holds numbers but its %s row is NA",
     "a min or max column that holds numbers gives them in its first and last rows as the typ column does; "
     "the standard's \"must\" names the typ column only",
     "2.1 §6 [Pulldown] ... [POWER Clamp] (3.1 text), read for min and max by the same first/last rule",
     "$H[Model] m\nModel_type Output\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[Ramp]\ndV/dt_r 1/1n NA NA\ndV/dt_f "
     "1/1n NA NA\n[Pulldown]\n0 0 NA NA\n1 0.05 0.04 NA\n3 0.1 NA NA\n[End]\n"},
    {5200, "WARNING", "[Ramp] of model '%s' lacks %s", "[Ramp] gives both dV/dt_r and dV/dt_f", "2.1 §6 [Ramp]",
     "$H[Model] m\nModel_type Output\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[Ramp]\ndV/dt_r 1/1n NA "
     "NA\n[Pulldown]\n0 0 NA NA\n3 0.1 NA NA\n[End]\n"},
    {5201, "ERROR", "[Ramp] of model '%s': %s %s value '%s' is not a ratio dV/dt",
     "each [Ramp] entry is a ratio dV/dt (or NA for min and max)",
     "2.1 §6 [Ramp]: dV/dt \"must be specified as an explicit fraction and must not be reduced\" (3.2 text)",
     "$H[Model] m\nModel_type Output\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[Ramp]\ndV/dt_r 1 NA NA\ndV/dt_f 1/1n "
     "NA NA\n[Pulldown]\n0 0 NA NA\n3 0.1 NA NA\n[End]\n"},
    {5202, "WARNING", "[Ramp] of model '%s': %s %s value '%s' is not positive",
     "dV and dt are positive: dV is the 20-80 % swing, dt its time", "2.1 §6 [Ramp]",
     "$H[Model] m\nModel_type Output\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[Ramp]\ndV/dt_r -1/1n NA NA\ndV/dt_f "
     "1/1n NA NA\n[Pulldown]\n0 0 NA NA\n3 0.1 NA NA\n[End]\n"},
    {5203, "WARNING", "[Ramp] of model '%s': R_load '%s' is not a positive number",
     "R_load is a positive resistance (50 ohm when not given)", "2.1 §6 [Ramp]",
     "$H[Model] m\nModel_type Output\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[Ramp]\ndV/dt_r 1/1n NA NA\ndV/dt_f "
     "1/1n NA NA\nR_load = -5\n[Pulldown]\n0 0 NA NA\n3 0.1 NA NA\n[End]\n"},
    {5204, "WARNING", "[Ramp] of model '%s': unknown line '%s'", "[Ramp] holds dV/dt_r, dV/dt_f and R_load lines only",
     "2.1 §6 [Ramp]",
     "$H[Model] m\nModel_type Output\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[Ramp]\ndV/dt_r 1/1n NA NA\ndV/dt_f "
     "1/1n NA NA\nwobble 1\n[Pulldown]\n0 0 NA NA\n3 0.1 NA NA\n[End]\n"},
    {5205, "WARNING", "[Ramp] of model '%s': %s needs a typ value", "the typ ratio of dV/dt_r and dV/dt_f is given",
     "2.1 §6 [Ramp]",
     "$H[Model] m\nModel_type Output\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[Ramp]\ndV/dt_r NA 1/1n NA\ndV/dt_f "
     "1/1n NA NA\n[Pulldown]\n0 0 NA NA\n3 0.1 NA NA\n[End]\n"},
    {5220, "WARNING", "[Model Spec] of model '%s': unknown subparameter '%s'",
     "[Model Spec] takes the subparameters the standard lists", "3.2 §6 [Model Spec]; 4.0",
     "$H[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[Model "
     "Spec]\nWobble 1 NA NA\n[End]\n"},
    {5221, "WARNING", "[Receiver Thresholds] of model '%s': unknown subparameter '%s'",
     "[Receiver Thresholds] takes the subparameters the standard lists", "4.1 §6 [Receiver Thresholds]",
     "$H[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[Receiver "
     "Thresholds]\nWobble = 1\n[End]\n"},
    {5230, "WARNING", "[Driver Schedule] of model '%s': row has %d columns where 5 are needed",
     "a [Driver Schedule] row has model_name and four delays", "3.2 §6 [Driver Schedule]",
     "$H[Model] m\nModel_type Output\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[Ramp]\ndV/dt_r 1/1n NA NA\ndV/dt_f "
     "1/1n NA NA\n[Pulldown]\n0 0 NA NA\n3 0.1 NA NA\n[Driver Schedule]\nm2 1n\n[End]\n"},
    {5231, "WARNING", "[Driver Schedule] of model '%s' names model '%s', which is not a [Model] of the file",
     "[Driver Schedule] names a [Model] of the file", "3.2 §6 [Driver Schedule]",
     "$H[Model] m\nModel_type Output\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[Ramp]\ndV/dt_r 1/1n NA NA\ndV/dt_f "
     "1/1n NA NA\n[Pulldown]\n0 0 NA NA\n3 0.1 NA NA\n[Driver Schedule] Rise_on_dly Rise_off_dly Fall_on_dly "
     "Fall_off_dly\nnomodel 1n NA 1n NA\n[End]\n"},
    {5232, "WARNING", "[Driver Schedule] of model '%s' names model '%s' of Model_type %s, which cannot be scheduled",
     "a scheduled model has a Model_type that drives", "3.2 §6 [Driver Schedule]",
     "$H[Model] m\nModel_type Output\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[Ramp]\ndV/dt_r 1/1n NA NA\ndV/dt_f "
     "1/1n NA NA\n[Pulldown]\n0 0 NA NA\n3 0.1 NA NA\n[Driver Schedule] Rise_on_dly Rise_off_dly Fall_on_dly "
     "Fall_off_dly\nin 1n NA 1n NA\n[Model] in\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA NA\n[Voltage "
     "Range] 3 NA NA\n[End]\n"},
    {5233, "WARNING", "[Driver Schedule] of model '%s': delay '%s' is neither a number nor NA",
     "the delays are numbers or NA", "3.2 §6 [Driver Schedule]",
     "$H[Model] m\nModel_type Output\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[Ramp]\ndV/dt_r 1/1n NA NA\ndV/dt_f "
     "1/1n NA NA\n[Pulldown]\n0 0 NA NA\n3 0.1 NA NA\n[Driver Schedule] Rise_on_dly Rise_off_dly Fall_on_dly "
     "Fall_off_dly\nm 1n x 1n NA\n[End]\n"},
    {5240, "WARNING", "[Add Submodel] of model '%s': row has %d columns where 2 are needed",
     "an [Add Submodel] row has the submodel name and the mode", "3.2 §6a [Add Submodel]",
     "$H[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[Add "
     "Submodel]\ns\n[End]\n"},
    {5241, "ERROR", "[Add Submodel] of model '%s' names submodel '%s', which is not a [Submodel] of the file",
     "[Add Submodel] names a [Submodel] of the file",
     "3.2 §6a [Submodel]: \"A .ibs file must contain enough [Submodel] keywords to cover all of the model names "
     "specified under the [Add Submodel] keyword\" (4.2 text, quoted in BIRD 104)",
     "$H[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[Add "
     "Submodel]\nnosub All\n[End]\n"},
    {5242, "WARNING", "[Add Submodel] of model '%s': mode '%s' is not Driving, Non-Driving or All",
     "the mode is Driving, Non-Driving or All", "3.2 §6a [Add Submodel]",
     "$H[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[Add Submodel]\ns "
     "Sometimes\n[Submodel] s\nSubmodel_type Bus_hold\n[End]\n"},
    {5243, "WARNING", "[Submodel] '%s': Submodel_type '%s' is not Dynamic_clamp, Bus_hold or Fall_back",
     "Submodel_type is Dynamic_clamp, Bus_hold or Fall_back", "3.2 §6a [Submodel]",
     "$H[Submodel] s\nSubmodel_type Wobble\n[End]\n"},
    {5244, "WARNING", "[Submodel] '%s': Submodel_type not given", "Submodel_type is required", "3.2 §6a [Submodel]",
     "$H[Submodel] s\n[End]\n"},
    {5251, "WARNING", "[Series MOSFET] of model '%s' lacks Vds", "[Series MOSFET] gives Vds", "3.2 §6 [Series MOSFET]",
     "$H[Model] sw\nModel_type Series_switch\n[On]\n[R Series] 10 NA NA\n[Series MOSFET]\n0 0 NA NA\n1 10m NA "
     "NA\n[Off]\n[R Series] 1M NA NA\n[End]\n"},
    {5260, "WARNING", "[%s] '%s': %s '%s' is not Single_ended or Differential",
     "Test_data_type and Test_load_type are Single_ended or Differential", "4.0 §6 [Test Data], [Test Load]",
     "$H[Test Data] d\nTest_data_type Wobble\nDriver_model m\nTest_load l\n[Test Load] l\nTest_load_type "
     "Single_ended\n[Model] m\nModel_type Output\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[End]\n"},
    {5261, "WARNING", "[Test Data] '%s' names %s '%s', which is not a %s of the file",
     "Driver_model and Driver_model_inv name [Model]s, Test_load a [Test Load] of the file", "4.0 §6 [Test Data]",
     "$H[Test Data] d\nTest_data_type Single_ended\nDriver_model nomodel\nTest_load l\n[Test Load] l\nTest_load_type "
     "Single_ended\n[End]\n"},
    {5262, "WARNING", "[Test Data] '%s' lacks %s", "[Test Data] gives Driver_model and Test_load", "4.0 §6 [Test Data]",
     "$H[Test Data] d\nTest_data_type Single_ended\n[End]\n"},
    {5300, "WARNING", "[%s] of model '%s' (line %d, %s) %s at %.3f V where its I-V tables give %.3f V",
     "a waveform starts and ends at the levels its I-V tables drive into its fixture",
     "2.1 §6 [Rising Waveform], [Falling Waveform]",
     "$H[Model] m\nModel_type Output\nC_comp 1p NA NA\n[Voltage Range] 3.3 NA NA\n[Pulldown]\n0 0 NA NA\n3.3 66m NA "
     "NA\n[Pullup]\n0 0 NA NA\n3.3 -66m NA NA\n[Ramp]\ndV/dt_r 0.99/0.6n NA NA\ndV/dt_f 0.99/0.6n NA NA\n[Rising "
     "Waveform]\nR_fixture = 50\nV_fixture = 0\n0 0 NA NA\n1n 0 NA NA\n2n 3 NA NA\n[End]\n"},
    {5301, "WARNING",
     "[Ramp] %s of model '%s' (%s) is %.3g V/ns where [%s] of line %d gives %.3g V/ns from 20 to 80 %%",
     "[Ramp] matches the 20-80 % slope of the waveforms into R_load", "2.1 §6 [Ramp]",
     "$H[Model] m\nModel_type Output\nC_comp 1p NA NA\n[Voltage Range] 3.3 NA NA\n[Pulldown]\n0 0 NA NA\n3.3 66m NA "
     "NA\n[Pullup]\n0 0 NA NA\n3.3 -66m NA NA\n[Ramp]\ndV/dt_r 0.99/0.3n NA NA\ndV/dt_f 0.99/0.6n NA NA\n[Rising "
     "Waveform]\nR_fixture = 50\nV_fixture = 0\n0 0 NA NA\n1n 0 NA NA\n2n 1.65 NA NA\n[End]\n"},
    {5302, "WARNING", "[%s] of model '%s' (%s) is not monotonic: %.3g A at %.3g V, then %.3g A at %.3g V",
     "pull-down current rises, pull-up current falls with voltage from 0 to the supply (10 % margin)",
     "2.1 §6 [Pulldown], [Pullup]",
     "$H[Model] m\nModel_type Output\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[Ramp]\ndV/dt_r 1/1n NA NA\ndV/dt_f "
     "1/1n NA NA\n[Pulldown]\n0 0 NA NA\n2 60m NA NA\n3 40m NA NA\n[End]\n"},
};

const int giModelCheckRuleCount = static_cast<int>(sizeof(gaModelCheckRules) / sizeof(gaModelCheckRules[0]));

#include "IbisParser/rules/RelationRules.h"

// "IQ 3.0" is version 3.0 of the IBIS Quality checks of the IBIS Open Forum:
// a rule that stands only there is a WARNING at most.

// The head of an .ami example read for AMI_Version 7.1, up to its
// Model_Specific branch, whose parameters follow it.
#define AMI_71_HEAD                                                                                               \
  "@t.ami\n(m (Reserved_Parameters (AMI_Version (Usage Info) (Type String) (Value \"7.1\") (Description \"v\")) " \
  "(Init_Returns_Impulse (Usage Info) (Type Boolean) (Value True) (Description \"i\")) (GetWave_Exists (Usage "   \
  "Info) (Type Boolean) (Value True) (Description \"g\"))) (Model_Specific "

// A 5.0 file's Output model of 3.3 V whose I-V tables sweep -Vcc to 2 Vcc
// and whose [Ramp] fits a 50 ohm load, up to where its waveforms follow.
#define OUTPUT_50_HEAD                                                                                               \
  "[IBIS Ver] 5.0\n[File Name] t.ibs\n[File Rev] 1\n[Model] m\nModel_type Output\nC_comp 1p NA NA\n[Voltage Range] " \
  "3.3 NA NA\n[Pulldown]\n-3.3 -66m NA NA\n0 0 NA NA\n6.6 132m NA NA\n[Pullup]\n-3.3 66m NA NA\n0 0 NA NA\n6.6 "     \
  "-132m NA NA\n[Ramp]\ndV/dt_r 0.99/0.6n NA NA\ndV/dt_f 0.99/0.6n NA NA\n"

const CHECK_RULE gaRelationRules[] = {
    {5700, "WARNING", "[Model] '%s': Vinl %s lies above Vinh %s",
     "Vinl, the low input threshold, is not above Vinh, the high one",
     "2.1 §6 [Model] Vinl, Vinh (the input thresholds for logic low and high); IQ 3.0 §5.2.1: \"Vinl and Vinh values "
     "should be below and above, respectively, Vmeas\"",
     "$H[Model] m\nModel_type Input\nVinl = 2.0\nVinh = 0.8\nC_comp 1p NA NA\n[Voltage Range] 3.3 NA NA\n[End]\n"},
    {5701, "WARNING", "[Model] '%s': %s %s value %s is negative",
     "C_comp and the split C_comp_pullup, _pulldown, _power_clamp, _gnd_clamp are not negative",
     "2.1 §6 [Model] C_comp; 4.0 C_comp_*; IQ 3.0 §5.1.2: \"As is the case with C_comp, the C_comp_* parameters must "
     "be positive\"",
     "$H[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2.0\nC_comp -1p NA NA\n[Voltage Range] 3.3 NA NA\n[End]\n"},
    {5702, "WARNING", "[Diff Pin] pairs pin '%s', whose model is %s; a differential pair joins signal pins",
     "a [Diff Pin] pair joins signal pins, not POWER, GND or NC pins",
     "2.1 §5 [Diff Pin]: \"Enter only differential pin pairs\" (BIRD 18.1); IQ 3.0 §3.3.1: both pins of a pair use "
     "the same [Model]",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name "
     "model_name\n1 a m\n2 vdd POWER\n[Diff Pin] inv_pin vdiff tdelay_typ tdelay_min tdelay_max\n1 2 0.1 0 NA "
     "NA\n[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2.0\nC_comp 1p NA NA\n[Voltage Range] 3.3 NA NA\n[End]\n"},
    {5703, "WARNING", "%s: Default %s is not a value its %s allows",
     "an .ami parameter's Default is a value its Range, List or Increment allows",
     "5.1 §10 Format Range, List (BIRD 140): the user may select a value from min to max, one of the List; Increment "
     "(BIRD 115); the EDA tool uses Default when the user selects none",
     AMI_71_HEAD "(amp (Usage In) (Type Float) (Range 0.5 0.2 1.0) (Default 1.5) (Description \"a\"))))\n"},
    {5704, "WARNING", "%s: %s min %s lies above max %s", "an .ami Range or Increment gives min not above max",
     "5.1 §10 Format Range (BIRD 140): values from min to max; Increment (BIRD 115): \"where min <= typ <= max\"",
     AMI_71_HEAD "(amp (Usage In) (Type Float) (Range 0.5 1.0 0.2) (Description \"a\"))))\n"},
    {5705, "WARNING", "%s: %s typ %s lies outside min %s and max %s",
     "an .ami Range or Increment gives typ within min and max",
     "5.1 §10 Format Increment (BIRD 115): \"where min <= typ <= max\"; Range (BIRD 140)",
     AMI_71_HEAD "(amp (Usage In) (Type Float) (Range 2 0 1) (Description \"a\"))))\n"},
    {5706, "WARNING", "[%s] of model '%s' spans %.3g V to %.3g V, short of %.3g V to %.3g V (Vcc %.3g V)",
     "[Pulldown] and [Pullup] sweep -Vcc to 2 Vcc, [POWER Clamp] at least -Vcc to 0, [GND Clamp] at least -Vcc to "
     "Vcc (Vcc: the reference keyword, else [Voltage Range]; 2 % of Vcc slack)",
     "2.1 §6 [Pulldown], [Pullup], [GND Clamp], [POWER Clamp]; IQ 3.0 §5.3.2-5.3.5: \"The voltage column in the "
     "[Pullup] table should extend from -Vcc to +2 * Vcc\"",
     "$H[Model] m\nModel_type Output\nC_comp 1p NA NA\n[Voltage Range] 3.3 NA NA\n[Pulldown]\n0 0 NA NA\n3.3 66m NA "
     "NA\n[Pullup]\n-3.3 3.3m NA NA\n0 0 NA NA\n6.6 -66m NA NA\n[Ramp]\ndV/dt_r 1/1n NA NA\ndV/dt_f 1/1n NA "
     "NA\n[End]\n"},
    {5707, "WARNING", "%s: Increment delta %s is not positive", "an .ami Increment's delta is positive",
     "5.1 §10 Format Increment (BIRD 115): \"delta is always positive\"",
     AMI_71_HEAD "(amp (Usage In) (Type Float) (Increment 0 -4 4 -1) (Description \"a\"))))\n"},
    {5708, "ERROR", "%s: sub-branch '%s' is given twice", "the sub-branches of an .ami branch have unique names",
     "6.0 §10 Parameter rules summary: \"Each sub-branch of a branch must have a unique name\" (BIRD 154.1 text)",
     AMI_71_HEAD "(amp (Usage In) (Type Float) (Value 1) (Description \"a\")) (amp (Usage In) (Type Float) (Value 1) "
                 "(Description \"b\"))))\n"},
    {5714, "ERROR", "[Pin Mapping] gives %s pin '%s' the %s '%s', where NC belongs",
     "a GND pin's pullup_ref and a POWER pin's pulldown_ref are NC",
     "2.1 §5 [Pin Mapping] (the words as the current edition has them): \"For GND pins ... the pullup_ref column in "
     "this case must contain the reserved word NC. "
     "Similarly, for POWER (including external reference) pins ... the pulldown_ref column in this case must contain "
     "the reserved word NC\"",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name "
     "model_name\n1 vss GND\n2 vdd POWER\n[Pin Mapping] pulldown_ref pullup_ref\n1 GNDBUS VDDBUS\n2 NC "
     "VDDBUS\n[End]\n"},
    {5715, "ERROR", "[Model] '%s': [%s] is a terminator's keyword, but its Model_type is %s",
     "a model with [Rgnd], [Rpower], [Rac] or [Cac] is of Model_type Terminator",
     "2.1 §6 [Model] Other Notes: \"If one or more of [Rgnd], [Rpower], [Rac], and [Cac] keywords are used, then the "
     "Model_type must be Terminator\" (4.1 text, quoted in BIRD 92.1)",
     "$H[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2.0\nC_comp 1p NA NA\n[Voltage Range] 3.3 NA NA\n[Rgnd] 50 NA "
     "NA\n[End]\n"},
    {5716, "WARNING", "[Receiver Thresholds] of model '%s' gives %s without %s",
     "[Receiver Thresholds] gives Threshold_sensitivity and Reference_supply together",
     "4.1 §6 [Receiver Thresholds]; IQ 3.0 §5.2.14: \"both Threshold_sensitivity and Reference_supply parameters must "
     "be present in [Receiver Thresholds]\"",
     "$H[Model] m\nModel_type Input\nC_comp 1p NA NA\n[Voltage Range] 3.3 NA NA\n[Receiver Thresholds]\nVth = "
     "1.65\nThreshold_sensitivity = 0.5\n[End]\n"},
    {5717, "WARNING", "[Model] '%s' of Model_type %s: Vref %g V is not %s Vmeas %g V",
     "Vref lies above Vmeas for Open_drain, below it for Open_source and the ECL drivers ([Model Spec] typ, else "
     "[Model]; Open_sink left alone)",
     "2.1 §6 [Model] Vref, Vmeas; IQ 3.0 §5.6.2: \"For Open-drain models [Model] or [Model Spec] Vref must be above "
     "Vmeas ... For ECL models Vref must be below Vmeas\"",
     "$H[Model] m\nModel_type Open_drain\nVref = 0\nVmeas = 1.65\nRref = 50\nC_comp 1p NA NA\n[Voltage Range] 3.3 NA "
     "NA\n[Pulldown]\n-3.3 -66m NA NA\n0 0 NA NA\n6.6 132m NA NA\n[Ramp]\ndV/dt_r 1/1n NA NA\ndV/dt_f 1/1n NA "
     "NA\n[End]\n"},
    {5718, "WARNING", "[Model] '%s': [%s] is given without [%s]", "[ISSO PU] and [ISSO PD] are given together (5.0 on)",
     "5.0 §6 [ISSO PU], [ISSO PD]; IQ 3.0 §5.7.1: \"All output-capable models include [ISSO PU] and [ISSO PD] "
     "tables\"",
     OUTPUT_50_HEAD "[ISSO PU]\n-3.3 -132m NA NA\n0 -66m NA NA\n3.3 0 NA NA\n[End]\n"},
    {5719, "WARNING", "[Composite Current] of model '%s' follows no [Rising Waveform] or [Falling Waveform]",
     "a [Composite Current] table stands right after the waveform it belongs to (5.0 on)",
     "5.0 §6 [Composite Current]; IQ 3.0 §5.8.1: \"The [Composite Current] table is subordinate to the V-T "
     "waveforms\"",
     OUTPUT_50_HEAD "[Composite Current]\n0 0 NA NA\n1n 10m NA NA\n[End]\n"},
    {5720, "WARNING",
     "[Composite Current] of model '%s' spans %g s to %g s where its [%s] of line %d spans %g s to %g s",
     "a [Composite Current] table starts and ends at the times of its waveform (5.0 on)",
     "5.0 §6 [Composite Current]; IQ 3.0 §5.8.2: \"The first time point in a [Composite Current] table must be the "
     "same as the first time point in the parent waveform table\", and so the last",
     OUTPUT_50_HEAD "[Rising Waveform]\nR_fixture = 50\nV_fixture = 0\n0 0 NA NA\n1n 1.65 NA NA\n[Composite "
                    "Current]\n0 0 NA NA\n0.5n 10m NA NA\n[End]\n"},
    {5721, "ERROR", "[Add Submodel] of model '%s' adds submodel '%s' in mode %s, which Model_type %s does not have",
     "an [Add Submodel] mode fits the model's type: no Non-Driving for Output and Open types, no Driving for Input "
     "types (All fits every type)",
     "3.2 §6a [Add Submodel] (BIRD 48.4): \"The submodel mode cannot conflict with the top-level model type. For "
     "example, if the top-level model type is an Open or Output type, the submodel mode cannot be set to Non-Driving. "
     "Similarly, if the top-level model type is Input, the submodel mode cannot be set to Driving\"",
     "$H[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2.0\nC_comp 1p NA NA\n[Voltage Range] 3.3 NA NA\n[Add "
     "Submodel]\ns Driving\n[Submodel] s\nSubmodel_type Dynamic_clamp\n[End]\n"},
    {5722, "ERROR", "[Submodel] '%s' of Submodel_type Bus_hold lacks %s",
     "a Bus_hold submodel has [Pullup] or [Pulldown], [Ramp], and [Submodel Spec] with V_trigger_r and V_trigger_f",
     "3.2 §6a Bus Hold (BIRD 50.3): \"at least either the [Pullup] or [Pulldown] keyword is required. Also, the "
     "[Ramp] keyword is required\"; \"For bus hold submodels, the [Submodel Spec] keyword and the V_trigger_r and "
     "V_trigger_f subparameters are required\"",
     "$H[Submodel] s\nSubmodel_type Bus_hold\n[Pulldown]\n-3.3 -1m NA NA\n6.6 2m NA NA\n[Ramp]\ndV/dt_r 1/1n NA "
     "NA\ndV/dt_f 1/1n NA NA\n[Submodel Spec]\nV_trigger_r 2.0 NA NA\n[End]\n"},
    {5710, "NOTE", "[Diff Pin] pairs pin '%s' of model %s with pin '%s' of model %s",
     "both pins of a differential pair use the same [Model] (a comment says why when not)",
     "IQ 3.0 §3.3.1: \"It is expected that both pins of a differential pair will use the same [Model]\"",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name "
     "model_name\n1 a m\n2 b n\n[Diff Pin] inv_pin vdiff tdelay_typ tdelay_min tdelay_max\n1 2 0.1 0 NA NA\n[Model] "
     "m\nModel_type Input\nVinl = 0.8\nVinh = 2.0\nC_comp 1p NA NA\n[Voltage Range] 3.3 NA NA\n[Model] n\nModel_type "
     "Input\nVinl = 0.8\nVinh = 2.0\nC_comp 1p NA NA\n[Voltage Range] 3.3 NA NA\n[End]\n"},
    {5711, "NOTE", "[Voltage Range] of model '%s' gives typ %g V, min %g V, max %g V, not min <= typ <= max",
     "the supply's corners follow min <= typ <= max (min the weak, slow corner)",
     "2.1 §6 [Voltage Range]; IQ 3.0 §5.1.4: \"The typical, minimum, and maximum values of the chosen voltages should "
     "normally follow the relationship: minimum < typical < maximum\"",
     "$H[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2.0\nC_comp 1p NA NA\n[Voltage Range] 3.3 3.6 3.0\n[End]\n"},
    {5712, "NOTE", "[%s] of model '%s' at %g V gives typ %g A, min %g A, max %g A: the weak corner drives most",
     "a driver's current at the supply voltage grows from min to typ to max (only a fully reversed order is noted)",
     "2.1 §6 [Pulldown], [Pullup] (typ, min, max columns); IQ 3.0 §5.3.1: \"the maximum current should be greater "
     "than the typical current, which should be greater than the minimum current, in the active region\"",
     "$H[Model] m\nModel_type Output\nC_comp 1p NA NA\n[Voltage Range] 3.3 3.0 3.6\n[Pulldown]\n-3.3 -60m -70m "
     "-50m\n3.3 60m 70m 50m\n6.6 120m 140m 100m\n[Pullup]\n-3.3 60m 50m 70m\n3.3 -60m -50m -70m\n6.6 -120m -100m "
     "-140m\n[Ramp]\ndV/dt_r 1/1n NA NA\ndV/dt_f 1/1n NA NA\n[End]\n"},
    {5723, "NOTE", "[Pin] of component '%s': %d of %d signal pins lack R_pin, L_pin or C_pin, the first pin '%s'",
     "where [Pin] gives R_pin, L_pin and C_pin, it gives them for every signal pin or for none (POWER, GND and NC "
     "pins may stay NA)",
     "2.1 §5 [Pin] R_pin, L_pin, C_pin (NA: the [Package] values hold); IQ checklist 3.2.4: \"[Pin] RLC complete\"",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name "
     "model_name R_pin L_pin C_pin\n1 a m 0.1 1n 0.5p\n2 b m NA NA NA\n3 vdd POWER NA NA NA\n[Model] m\nModel_type "
     "Input\nVinl = 0.8\nVinh = 2.0\nC_comp 1p NA NA\n[Voltage Range] 3.3 NA NA\n[End]\n"},
    {5724, "NOTE",
     "[%s] of model '%s' gives its [%s] current from %g V to %g V (%d rows, within 1 %%): the clamp looks counted "
     "twice",
     "a [Pulldown] or [Pullup] table does not repeat its clamp's current beyond the rail (noted where, at every row "
     "below 0 V where the clamp conducts 1 mA or more, two rows at least, the table gives the clamp's typ current "
     "within 1 %)",
     "2.1 §6 [Pulldown], [Pullup], [GND Clamp], [POWER Clamp] (BIRD 82.2): \"the [POWER Clamp] and [GND Clamp] tables "
     "are summed together and then added to the appropriate [Pullup] or [Pulldown] table\"; BIRD 82.2: "
     "\"Double-counting of clamp currents is the result of confusion ... This is difficult, if not impossible, to "
     "detect with a parser\" (so a note)",
     "$H[Model] m\nModel_type I/O\nVinl = 0.8\nVinh = 2.0\nC_comp 1p NA NA\n[Voltage Range] 3.3 NA NA\n[Pulldown]\n"
     "-3.3 -200m NA NA\n-1 -20m NA NA\n0 0 NA NA\n6.6 132m NA NA\n[Pullup]\n-3.3 66m NA NA\n0 0 NA NA\n6.6 -132m NA "
     "NA\n[GND Clamp]\n-3.3 -200m NA NA\n-1 -20m NA NA\n0 0 NA NA\n3.3 0 NA NA\n[Ramp]\ndV/dt_r 1/1n NA NA\ndV/dt_f "
     "1/1n NA NA\n[End]\n"},
    {5725, "NOTE", "[Model] '%s' of Model_type %s gives no %s: its timing test load is incomplete",
     "a driver gives its timing test load: Vmeas, and Cref or Rref (or Cref_diff or Rref_diff; [Model] or [Model "
     "Spec]; models with [Algorithmic Model] left alone; 2.1 on)",
     "2.1 §6 [Model] Cref, Rref, Vref, Vmeas (the test load of the vendor's timing); IQ checklist 4.1.13: \"[Model] "
     "timing test load subparameters complete\"",
     "$H[Model] m\nModel_type Output\nC_comp 1p NA NA\n[Voltage Range] 3.3 NA NA\n[Pulldown]\n-3.3 -66m NA NA\n6.6 "
     "132m NA NA\n[Pullup]\n-3.3 66m NA NA\n6.6 -132m NA NA\n[Ramp]\ndV/dt_r 1/1n NA NA\ndV/dt_f 1/1n NA NA\n"
     "[End]\n"},
    {5726, "NOTE",
     "[Model] '%s' of Model_type %s has %d [Rising Waveform] and %d [Falling Waveform] tables, short of two each",
     "a push-pull driver gives two [Rising Waveform] and two [Falling Waveform] tables (Open types and models with "
     "[Algorithmic Model] left alone; 2.1 on)",
     "2.1 §6 [Rising Waveform], [Falling Waveform]; IBIS Modeling Cookbook (4.0) §3.2: \"for each simulation corner, "
     "four V-T data sets are generally recommended\", two per edge, into a load to ground and one to Vcc",
     "$H[Model] m\nModel_type Output\nVref = 0\nRref = 50\nVmeas = 1.65\nC_comp 1p NA NA\n[Voltage Range] 3.3 NA "
     "NA\n[Pulldown]\n-3.3 -66m NA NA\n6.6 132m NA NA\n[Pullup]\n-3.3 66m NA NA\n6.6 -132m NA NA\n[Ramp]\ndV/dt_r "
     "1/1n NA NA\ndV/dt_f 1/1n NA NA\n[End]\n"},
    {5727, "NOTE", "The file header gives no %s",
     "an .ibs file's header gives [Date], [Source] and [Notes] (one note names those not given)",
     "1.1 §4 [Date], [Source], [Notes] (the file header); IQ checklist 2.6-2.8: \"[Date] is correct\", \"[Source] "
     "is complete\", \"[Notes] is complete\"",
     "$H[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2.0\nC_comp 1p NA NA\n[Voltage Range] 3.3 NA NA\n[End]\n"},
};

#undef AMI_71_HEAD
#undef OUTPUT_50_HEAD

const int giRelationRuleCount = static_cast<int>(sizeof(gaRelationRules) / sizeof(gaRelationRules[0]));

// The checks of what a model's keywords and subparameters ask of each other:
// [Receiver Thresholds]' Threshold_sensitivity with its Reference_supply,
// Vref on the side of Vmeas the Model_type pulls to, [ISSO PU] with
// [ISSO PD], each [Composite Current] under a waveform whose time span it
// covers, an [Add Submodel] mode the Model_type has, and a Bus_hold
// submodel's required tables and triggers.
#pragma once

struct PARSE_CONTEXT;

// Runs the checks over the models and submodels of the file just read; each
// finding names the line of the keyword, subparameter or submodel.
void MPAIR_CheckFile(PARSE_CONTEXT& ctx);

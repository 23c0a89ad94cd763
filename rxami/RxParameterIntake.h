#pragma once

class AmiParameters;
class tessalune_rx;

// Reads the receiver's parameters, in the order of its .ami file, from the
// branch "tessalune_rx":
//   ctle_enable (Boolean), ctle_dc_gain (dB), ctle_peak_freq (Hz, 0: half
//   the bit rate), ctle_peaking (dB), dfe_taps (Integer), dfe_step (V),
//   dfe_adapt (Boolean), dfe_initial_taps (String of numbers; "" for none),
//   cdr_phase_step (UI), cdr_freq_step (UI per UI).
// A parameter that is missing or of the wrong kind keeps its default and
// adds one sentence to the message text. A value the model cannot use
// (dfe_taps outside 0 .. tessalune_rx::MaxDfeTaps, initial taps that are not
// numbers or more than dfe_taps) adds a sentence naming it and makes the
// result false; the blocks' own checks in Setup cover the other ranges.
bool ReadRxParameters(const AmiParameters& parameters, tessalune_rx& model);

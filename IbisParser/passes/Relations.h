// The checks of what ties one value or keyword to another, over the records
// of a whole file: a model's input thresholds in order, its die
// capacitances not negative and its I-V tables swept across the span its
// supply asks for, terminator keywords only in a Terminator, a [Diff Pin]
// pair of two signal pins.
#pragma once

#include <string>

struct COMPONENT;
struct PARSE_CONTEXT;

// Runs the checks over the components and models of the file just read;
// each finding names the line of the record that holds the value.
void REL_CheckFile(PARSE_CONTEXT& ctx);

// The model_name [Pin] gives `pin` in `c`, or null for a pin not in [Pin].
const std::string* REL_ModelOfPin(const COMPONENT& c, const std::string& pin);

// True for the reserved model names of pins without a buffer: POWER, GND, NC.
bool REL_IsSupplyOrNc(const std::string& model);

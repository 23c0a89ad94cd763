// The component's supply rails and clock pins: the [Bus Label] and [Die
// Supply Pads] tables (7.0), [Clock Pins] (7.1), and the rules that tie the
// bus labels of [Pin Mapping] to the component's POWER and GND pins.
#pragma once

struct PARSE_CONTEXT;

struct COMPONENT;

// One data row of [Bus Label], [Die Supply Pads] or [Clock Pins] (keyword
// id `id`); other ids are ignored. Returns 1 when the row was one of them.
int RAILS_Row(COMPONENT* component, int id, const char* text);

// Whether a pin with `model` (its model_name) may stay out of [Pin
// Mapping] in files of the version being read: from 7.0 on, POWER, GND and
// NC pins may (their bus label is then their signal_name).
bool RAILS_MayBeUnmapped(PARSE_CONTEXT& ctx, const char* model);

// The checks that need the whole component: names given twice, the pins
// [Clock Pins] names, and the bus labels of [Pin Mapping].
void RAILS_Check(PARSE_CONTEXT& ctx, const COMPONENT* component);

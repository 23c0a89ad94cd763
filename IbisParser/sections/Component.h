// The component section: [Component] and the keywords that describe it.
// Keeps one record per component: its name, Si_location and
// Timing_location, manufacturer, package parasitics, pins, pin mapping,
// differential pairs, series pin mapping, series switch groups, (6.0 on)
// repeater pins, (7.0 on) bus labels and die supply pads and (7.1 on) clock
// pins, each row
// with its line. The checks of a single line run as it is read; those that
// need the whole component run when it ends, and those that need the models
// of the file once the file is read (References.h).
#pragma once

#include "IbisParser/records/Component.h"

struct PARSE_CONTEXT;

#include <string>
#include <vector>

#include "IbisParser/sections/ComponentLinks.h"

struct PKG;

// Opens a new component of the file being checked.
void COMP_Begin(PARSE_CONTEXT& ctx);

// A keyword or data line of the component section (keyword id `id`).
void COMP_Line(PARSE_CONTEXT& ctx, int kind, int id, const char* text);

// Told the id of the keyword that follows; closes the component (checking
// its package and its keywords for completeness) unless that keyword belongs
// to it. Returns 1 when the component closed.
int COMP_End(PARSE_CONTEXT& ctx, int nextId);

// The pin `name` of `component`, or null.
const PIN_ROW* COMP_FindPin(const COMPONENT* component, const std::string& name);

// The sections other than the header, components and models: model
// selectors (ModelSelector.h), package models (PackageModel.h), board
// descriptions (BoardDescription.h), external circuits (External.h) and
// interconnect model sets (Interconnect.h) go to their records; submodels,
// test data and test loads are accepted without checks of their own. The submodel section keeps the
// driver's in-submodel state, which moves the waveform and table keywords
// inside a submodel to their submodel ids.
#pragma once

struct PARSE_CONTEXT;

// Opens section `section` (KEY_SECTION_*).
void OTHER_Begin(PARSE_CONTEXT& ctx, int section);

// A keyword or data line of section `section`.
void OTHER_Line(PARSE_CONTEXT& ctx, int section, int kind, int id, const char* text);

// Told the id of the keyword that follows; closes section `section` unless
// that keyword belongs to it. Returns 1 when the section closed.
int OTHER_End(PARSE_CONTEXT& ctx, int section, int nextId);

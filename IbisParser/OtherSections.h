// The sections other than the header, components and models: model
// selectors go to their records (ModelSelector.h); external circuits,
// package models, board descriptions, submodels, test data, test loads and
// interconnect model sets are accepted without checks of their own. The submodel section keeps the
// driver's in-submodel state, which moves the waveform and table keywords
// inside a submodel to their submodel ids.
#pragma once

// Opens section `section` (KEY_SECTION_*).
void OTHER_Begin(int section);

// A keyword or data line of section `section`.
void OTHER_Line(int section, int kind, int id, const char* text);

// Told the id of the keyword that follows; closes section `section` unless
// that keyword belongs to it. Returns 1 when the section closed.
int OTHER_End(int section, int nextId);

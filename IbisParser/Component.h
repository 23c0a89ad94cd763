// The component section: [Component] and the keywords that describe it.
// Keeps one record per component with its package parasitics; the lines of
// its other keywords are accepted as they come.
#pragma once

struct PKG;

struct COMPONENT {
  COMPONENT* next;
  char* name;    // the text after [Component], null when there is none
  PKG* package;  // created at [Package], null before
};

// Opens a new component of the file being checked.
void COMP_Begin();

// A keyword or data line of the component section (keyword id `id`).
void COMP_Line(int kind, int id, const char* text);

// Told the id of the keyword that follows; closes the component (checking
// its package for completeness) unless that keyword belongs to it. Returns 1
// when the component closed.
int COMP_End(int nextId);

// Releases a list of components and their packages; nulls *ppList.
void COMP_FreeAll(COMPONENT** ppList);

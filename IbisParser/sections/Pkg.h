// Package parasitics of a component: the R_pkg, L_pkg and C_pkg lines that
// follow [Package], each a typ/min/max triple.
#pragma once

#include "IbisParser/records/Package.h"

struct RNG;

// Stores a new record with three null triples in *ppPkg. Returns 1, or 0
// after printing 1200 when memory runs out.
int PKG_Create(PKG** ppPkg);

// Reads one sub-parameter line («R_pkg 250m 200m 300m») into the record.
void PKG_ReadLine(PKG* pkg, const char* line);

// Reports each of R_pkg, L_pkg, C_pkg that was not read (1213, 1215, 1217).
void PKG_CheckComplete(const PKG* pkg, const char* component);

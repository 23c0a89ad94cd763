// The package model section: [Define Package Model] ... [End Package Model]
// in an .ibs or .pkg file. Keeps one record per package model: its
// keywords, the pins of [Pin Numbers] in order (with the Len/L/R/C
// sections when the pins are described that way) and, per matrix of
// [Model Data], its form, bandwidth and rows. Matrix values are checked as
// they stream by and not kept, so the memory a model takes grows with its
// pins, never with the square of their number.
#pragma once

#include "IbisParser/records/PackageModel.h"

struct PARSE_CONTEXT;

#include <string>
#include <unordered_map>
#include <vector>

// Name of matrix `k` (0 resistance, 1 inductance, 2 capacitance) and of form `form`.
const char* PKGM_MatrixName(int k);
const char* PKGM_FormName(int form);

// Opens a new package model of the file being checked.
void PKGM_Begin(PARSE_CONTEXT& ctx);

// A keyword or data line of the package model section (keyword id `id`).
void PKGM_Line(PARSE_CONTEXT& ctx, int kind, int id, const char* text);

// Closes the open package model and checks it as a whole.
void PKGM_End(PARSE_CONTEXT& ctx);

// The package model `name` of the list, or null.
const PACKAGE_MODEL* PKGM_Find(const PACKAGE_MODEL* list, const std::string& name);

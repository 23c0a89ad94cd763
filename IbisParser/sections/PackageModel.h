// The package model section: [Define Package Model] ... [End Package Model]
// in an .ibs or .pkg file. Keeps one record per package model: its
// keywords, the pins of [Pin Numbers] in order (with the Len/L/R/C
// sections when the pins are described that way) and, per matrix of
// [Model Data], its form, bandwidth and rows. Matrix values are checked as
// they stream by and not kept, so the memory a model takes grows with its
// pins, never with the square of their number.
#pragma once

struct PARSE_CONTEXT;

#include <string>
#include <unordered_map>
#include <vector>

// Forms of a matrix.
enum { PKGM_NONE = 0, PKGM_FULL, PKGM_BANDED, PKGM_SPARSE };

struct PKGM_MATRIX {
  int form = PKGM_NONE;      // PKGM_*, NONE until the matrix keyword
  long long bandwidth = -1;  // [Bandwidth], -1 until given, -2 when not a whole number
  unsigned long line = 0;    // line of the matrix keyword
  int rows = 0;              // [Row] keywords read
};

struct PACKAGE_MODEL {
  PACKAGE_MODEL* next = nullptr;
  std::string name;
  unsigned long line = 0;  // line of [Define Package Model]
  std::string manufacturer, oem, description;
  long long numberOfPins = -1, numberOfSections = -1;  // -1 until given
  unsigned long numberOfPinsLine = 0;
  std::vector<std::string> pins;  // [Pin Numbers] in order
  std::vector<unsigned long> pinLines;
  std::unordered_map<std::string, size_t> pinIndex;
  bool sections = false;  // some pin is described by Len/L/R/C sections
  int modelData = 0, endModelData = 0, endPackageModel = 0, pinNumbers = 0;
  PKGM_MATRIX matrices[3];  // resistance, inductance, capacitance
};

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

// Releases a list of package models; nulls *ppList.
void PKGM_FreeAll(PACKAGE_MODEL** ppList);

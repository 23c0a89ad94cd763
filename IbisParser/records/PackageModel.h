// A package model as read: pins, sections and matrices.
#pragma once

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

// Releases a list of package models; nulls *ppList.
void PKGMREC_FreeAll(PACKAGE_MODEL** ppList);

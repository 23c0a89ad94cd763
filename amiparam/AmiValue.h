// Classification of the elements of an AMI parameter string: value kinds,
// reserved words of the notation and reserved leaf names, plus the
// conversion of numeric values.
#pragma once

#include <cstdint>

// Value kinds, decided in the order empty, integer, floating-point, boolean.
enum {
  AMIVALUE_EMPTY = -1,   // ""
  AMIVALUE_STRING = 0,   // anything else, "true" and "false" included
  AMIVALUE_INTEGER = 1,  // whole text is a base-10 integer: "-7", "+4", " 12"
  AMIVALUE_BOOLEAN = 2,  // exactly "True" or "False"
  AMIVALUE_FLOAT = 3,    // whole text is a decimal number: "1e3", "1.", "-.5"
};

// Kind of a value text (one of the AMIVALUE_ codes above).
int32_t AMIVALUE_Kind(const char* text);

// Code of a reserved word ("In" 0 ... "DjRj" 19), exact and case-sensitive;
// -1 for any other text.
int32_t AMIVALUE_Keyword(const char* text);

// Code of a reserved leaf name: "Usage" 1, "Type" 2, "Format" 3, "Default" 4,
// "Description" 5, "Labels" 6; 0 for any other name.
int32_t AMIVALUE_Property(const char* name);

// Numeric value of a text of kind integer or floating-point. The decimal
// point is always ".", whatever locale the host has set. Values beyond the
// range of double give +-HUGE_VAL, values too small give zero; a text that
// is not a number gives zero.
double AMIVALUE_ToDouble(const char* text);

// Words and numbers of IBIS data lines: splitting a line into words, reading
// one number with an engineering scale letter, and reading a number or "NA"
// with the checker's messages.
#pragma once

#include <cstdint>

// CMN_EqualNoCase and CMN_BaseName, shared with the parameter-string layer.
#include "amiparam/CmnText.h"

// Words of one line. `words` holds `maxWords` entries, the first `stored` of
// them owned copies of the line's words in order, the rest null; `found`
// counts every word of the line, stored or not.
struct CMN_WORDS {
  int32_t maxWords;
  int32_t stored;
  int32_t found;
  char** words;
};

// Status of a value read from a column.
enum {
  CMN_VALUE_NOT_GIVEN = 0,
  CMN_VALUE_NUMBER = 1,
  CMN_VALUE_NA = 2,
};

// Results of CMN_ReadNumber.
enum {
  CMN_NUMBER_NONE = 0,            // not a number
  CMN_NUMBER_OK = 1,              // a number, with or without scale letter or unit
  CMN_NUMBER_DIGITS_IN_SCALE = 2  // a number with digits after its scale letter («1u5»)
};

// Splits `text` into words separated by blanks and tabs; when `separator` is
// not '\0', each occurrence of it is a word of its own and also ends the word
// before it. Stores copies of the first `maxWords` words (maxWords 0 only
// counts). Returns 1, or 0 when memory runs out (1908; the list then holds
// what was stored so far and must still be released).
int CMN_SplitWords(const char* text, int maxWords, char separator, CMN_WORDS* list);

// Releases the stored words and the array; the list reads as empty after.
void CMN_FreeWords(CMN_WORDS* list);

// Reads a decimal number at the start of `text`, scaled by the letter that
// follows it (T G M k m u n p f; any other letter is a unit and scales by 1).
// Returns CMN_NUMBER_NONE (place untouched), CMN_NUMBER_OK or
// CMN_NUMBER_DIGITS_IN_SCALE. Infinities, NaN and hexadecimal spellings are
// not numbers, and neither is a value whose magnitude overflows a double.
int CMN_ReadNumber(const char* text, double* place);

// Reads one column: null (missing) is accepted with status "not given", "NA"
// in any case gives 0.0 with status "NA", a number gives status "number".
// An invalid number prints 1909 and returns 0; digits after the scale letter
// print 1910 (`context` is the keyword or sub-parameter, `name` the column).
int CMN_GetValueOrNA(const char* text, const char* context, const char* name, double* place, int32_t* status);

// Typ/min/max triples: the three numeric columns that most IBIS data lines
// carry, each a number, "NA" or missing.
#pragma once

#include <cstdint>

// One column of a triple: its value and its status (CMN_VALUE_*).
struct RNG_VALUE {
  double value;
  int32_t status;
};

// A typ/min/max triple; a fresh one is all zero.
struct RNG {
  RNG_VALUE typ;
  RNG_VALUE min;
  RNG_VALUE max;
};

// Reads the three columns of `text` (the rest of a data line) into a fresh
// triple stored in *ppRng; `context` names the keyword or sub-parameter in the
// messages. A missing column is reported (3901) and reads as "not given";
// a count other than 1 to 3 prints 3902; a typical value outside the
// minimum/maximum span prints 3903. Returns 1 when all three columns were
// accepted, else 0. The caller owns *ppRng whenever it is not null, whatever
// the result (release with CMN_Free).
int RNG_ReadTriple(const char* text, const char* context, RNG** ppRng);

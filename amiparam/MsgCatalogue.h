// The message catalogue: one constant table of rows sorted by strictly
// ascending code, row 0 being code 0. Rows are found by bisection, so a new
// row must be inserted at its place in code order.
#pragma once

#include <cstddef>
#include <cstdint>

struct MSG_ROW {
  int32_t code;      // message number
  const char* text;  // printf format of the message
};

extern const MSG_ROW gaMsgCatalogue[];
extern const size_t gulMsgCatalogueSize;

// Text of the row with `code`, or null when the catalogue has no such row.
const char* MSG_Lookup(int code);

// The message catalogue: one constant table of rows sorted by strictly
// ascending code, row 0 being code 0. Rows are found by bisection, so a new
// row must be inserted at its place in code order. It holds the messages
// the parameter subsystem prints (the memory faults 1906 to 1908); the file
// checker's messages are its rule rows (IbisParser/rules/), which it
// registers with the printer (MSG_SetTextLookup, Msg.h).
#pragma once

#include <cstddef>
#include <cstdint>

struct MSG_ROW {
  int32_t code;      // message number
  const char* text;  // printf format of the message
};

extern const MSG_ROW gaMsgCatalogue[];
extern const size_t gulMsgCatalogueSize;

// Text of the catalogue's row with `code`, or null when it has no such row
// (MSG_Text also looks in the registered table).
const char* MSG_Lookup(int code);

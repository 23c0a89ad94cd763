// Single-line keyword values of the file header: storing them in their
// fixed-size fields with the length rules, and the reserved-word check.
#pragma once

#include <cstddef>

// Longest value CMN_StoreValueMax keeps; its destination holds this + 1.
constexpr size_t CMN_VALUE_KEEP_MAX = 1024;

// Stores `value` in `dest` (room for maxLength + 1 characters) for keyword
// `keyword`. A destination that already holds text prints 1911 and keeps it;
// a longer value prints 1912 and is cut to maxLength characters; an empty
// value prints 1913. Returns 1 when something was stored.
int CMN_StoreValue(char* dest, const char* value, size_t maxLength, const char* keyword);

// Like CMN_StoreValue, but a value longer than maxLength prints 1914 and is
// kept up to CMN_VALUE_KEEP_MAX characters (dest holds that + 1).
int CMN_StoreValueMax(char* dest, const char* value, size_t maxLength, const char* keyword);

// 1 when `value` is, without regard to case, one of the reserved words
// "GND", "NC", "POWER", "CIRCUITCALL", "NA".
int CMN_IsReservedWord(const char* value);

// Prints 1916 when `value` is a reserved word.
void CMN_CheckReservedWord(const char* value);

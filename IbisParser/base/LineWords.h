// The words of a data line as strings, for the section handlers that keep
// what they read as plain records.
#pragma once

#include <string>
#include <vector>

// A name a record gives, with the line that gives it.
struct NAME_AT {
  std::string name;
  unsigned long line;
};

// The words of `text`, separated by blanks and tabs.
std::vector<std::string> LINE_Words(const char* text);

// The words of a subparameter line «name value ...» with the "=" of an
// assignment dropped, however the blanks fall around it: «R_fixture=50»,
// «R_fixture =50», «R_fixture= 50» and «R_fixture = 50» all give
// {"R_fixture", "50"}. Only the "=" right after the name is taken.
std::vector<std::string> LINE_AssignWords(const char* text);

// 1 when `text` is "NA" (any case) or a number with an optional scale letter and unit.
int LINE_IsNumberOrNA(const std::string& text);

// The whole number `text` («120», digits only) when it is at least `least`,
// else -1 (also for more than 18 digits, so that it never overflows).
long long LINE_WholeNumber(const std::string& text, long long least);

// `text` in lower case (ASCII), for names compared without regard to case.
std::string LINE_Lower(const std::string& text);

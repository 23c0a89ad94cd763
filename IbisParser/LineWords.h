// The words of a data line as strings, for the section handlers that keep
// what they read as plain records.
#pragma once

#include <string>
#include <vector>

// The words of `text`, separated by blanks and tabs.
std::vector<std::string> LINE_Words(const char* text);

// 1 when `text` is "NA" (any case) or a number with an optional scale letter and unit.
int LINE_IsNumberOrNA(const std::string& text);

// Prints catalogue row `code` at `level` as if at line `line` (a record's
// line, for the checks that run once the whole file has been read).
void LINE_ReportAt(unsigned long line, int level, int code, ...);

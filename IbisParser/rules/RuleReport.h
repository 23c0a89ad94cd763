// Reporting a finding by its code alone: the message and the severity are
// those of the code's rule row (IbisParser/rules/RuleBook.h), so each is
// written in one place. The call says only whether the finding has a line.
#pragma once

// Prints rule row `code` with its printf arguments at the "at a line" level
// of the row's severity, at the current line (gulLineNumber).
void CHECK_Report(int code, ...);

// The same as if at line `line` (a record's line, for the checks that run
// once the whole file has been read).
void CHECK_ReportAt(unsigned long line, int code, ...);

// The same without a line: a finding about a file as a whole (a file that
// cannot be read, a required keyword missing at the end, the .ami file's
// tree).
void CHECK_ReportFile(int code, ...);

// The "at a line" printing level (MSG_LEVEL_*_LINE) of code's row; the error
// level for a code without a row.
int CHECK_LevelOf(int code);

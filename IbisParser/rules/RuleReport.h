// Reporting a finding of the rule tables by its code alone: the severity is
// the one its row gives (IbisParser/rules/FileCheckRules.h), so it is written in
// one place. For the checks of ids 5000 on; the messages of the file, header,
// number and AMI rules keep the levels their calls name.
#pragma once

// Prints catalogue row `code` with its printf arguments at the "at a line"
// level of the row's severity, at the current line (gulLineNumber).
void CHECK_Report(int code, ...);

// The same as if at line `line` (a record's line, for the checks that run
// once the whole file has been read).
void CHECK_ReportAt(unsigned long line, int code, ...);

// The "at a line" printing level (MSG_LEVEL_*_LINE) of code's row; the error
// level for a code without a row.
int CHECK_LevelOf(int code);

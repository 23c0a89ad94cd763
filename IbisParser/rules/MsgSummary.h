// End-of-run summary of the diagnostic counters: what was counted since the
// process started, and whether the checked files passed.
#pragma once

// Prints, on the diagnostic stream, the counts of program bugs (when any),
// errors, warnings and cautions (when any), then "File Passed" or
// "File Failed" (failed when any program bug or error was counted).
void MSG_Summary();

// 1 when no program bug and no error has been counted.
int MSG_Passed();

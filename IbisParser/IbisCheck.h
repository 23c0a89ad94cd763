// The checker as a library, for a model maker's own programs and tests: one
// file checked as `tessalune check FILE` checks it, its findings printed on
// the checker's stream (standard output), its counts returned. The header
// the installed kit offers for the checker (tessalune::ibis); it names
// nothing else of the checker. The checker keeps its state in globals: one
// check at a time in a process.
#pragma once

// What one check found.
struct IBIS_CHECK_COUNTS {
  long bugs;      // program-bug messages
  long errors;    // errors: the file fails
  long warnings;  // warnings
  long cautions;  // cautions
  int read;       // 1 when the file was read to its end (0: not opened, not a known kind or version)
};

// The kind of file the checker reads a path as, from its extension (.ibs,
// .pkg, .ebd, .ami, in any case): 1 to 4, or 0 for none of them.
int IBIS_FileKind(const char* path);

// Checks the .ibs, .pkg, .ebd or .ami file at `path` (an .ibs file with the
// .ami, .pkg and other files it names); `quiet` leaves out the "Checking"
// line. The file passes when bugs and errors are 0.
IBIS_CHECK_COUNTS IBIS_CheckFile(const char* path, int quiet);

// Files of the checker: the open rules (extension by file kind, directory and
// name, case variants), reading lines with the character rules, and the
// detection of a file's IBIS version from its first keyword.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

// Longest path the checker opens; a file name or joined path may hold one
// character more once the extension is appended.
constexpr size_t CMN_PATH_MAX = 1023;

// Where a file was found: its directory and its name, which joined with
// nothing in between give the path that was opened.
struct CMN_PATH {
  char dir[CMN_PATH_MAX + 2];   // directory with a trailing '/', empty for the current directory
  char name[CMN_PATH_MAX + 2];  // file name as opened (extension appended, case as found)
};

// Opens `path` for reading by the open rules of file kind `mode`
// (PARSE_MODE_*): a name without "." gets the kind's extension, another
// extension is refused (1900, 1902, 1903, 1924), too long names are refused
// (1901, 1904), and a file that is not found as given, in lower case or in
// upper case prints 1905. Only regular files are opened: a directory, pipe,
// device or socket (through a link too) prints 4700 and is never opened for a
// blocking read, so a pipe without a writer cannot hold the checker up and a
// device without an end cannot fill its memory. A path splits into directory
// and name at its last '/' or '\'; the directory is joined to the name with
// '/'. Messages are at the error level. Returns the open stream (and fills
// *where when not null), or null.
FILE* CMN_OpenFile(const char* path, int mode, CMN_PATH* where);

// What a path names, as the checker looks at files it does not open itself
// (the code file of an [Algorithmic Model]) or before it opens them.
enum CMN_FILE_KIND {
  CMN_FILE_MISSING,  // nothing, or nothing the checker may look at
  CMN_FILE_REGULAR,  // a regular file (a link is followed)
  CMN_FILE_SPECIAL,  // a directory, pipe, device or socket: no file to read
};

// The kind of `path` without opening it; *what (when not null) receives the
// words for message 4700 ("a directory", "a pipe", ...) of a special file.
CMN_FILE_KIND CMN_FileKind(const char* path, const char** what);

// Size in bytes of the open regular file `file`, or -1 when it cannot be told.
long long CMN_FileSize(FILE* file);

// Illegal characters reported one by one in a file; further ones are
// counted in the summary but not printed.
constexpr unsigned long CMN_ILLEGAL_SHOWN = 100;

// Reads the next line of `file` into `line` without its line end, keeping at
// most `maxKept` characters; the rest of a longer line is read and dropped.
// A carriage return right before the line feed, and a Ctrl-Z right before
// the end of the file, are dropped; a NUL, another control
// character except tab, or a byte at or above 0x80 becomes a blank and, when
// `illegalReported` is not null, prints 1917 at the error-at-line level.
// Only the first CMN_ILLEGAL_SHOWN of a file (counted in *illegalReported,
// the file's PARSE_STATE::illegalCharacters) are printed; the next one prints a note that further ones are counted but
// not shown, and from there on each is counted as an error but not printed. `*lineNumber` (when not null) grows by one
// as a line starts, before any message of it.
// `*fullLength` (when not null) receives the length of the whole line.
// Returns 1 when a line was read, 0 at the end of the file.
int CMN_ReadLine(FILE* file, std::string& line, size_t maxKept, unsigned long* lineNumber,
                 unsigned long* illegalReported, size_t* fullLength);

// Opens `path` by the open rules of `mode` and reads up to the first line
// whose first non-blank character is '['. Returns 1 to 7 when that line is
// «[IBIS Ver]» (or «[IBIS_Ver]», any case) followed by that digit, else 0
// (also when the file cannot be opened). *lineCount (when not null) receives
// the number of lines read.
int CMN_DetectVersion(const char* path, int mode, unsigned long* lineCount);

// The same, also copying the first word after «[IBIS Ver]» (cut to fit)
// into `text` of `size` characters; `text` is empty when there is none.
int CMN_DetectVersionText(const char* path, int mode, unsigned long* lineCount, char* text, size_t size);

// Prints 921 when `line` holds a tab and *armed is set, and clears it: once per file.
void CMN_ReportTab(int* armed, const char* line);

// Joins a directory and a file name with '/' (no separator for an empty
// directory, none added when the directory already ends with one) into `out`
// of `size` characters. Returns 0 when the result does not fit.
int CMN_JoinPath(const char* dir, const char* name, char* out, int size);

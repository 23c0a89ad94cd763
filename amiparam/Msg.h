// Diagnostic printer of the parser layer and the IBIS file checker.
//
// Messages are printed on gpMsgStream (standard output unless a caller has
// set another stream) in the form of their level and counted in process-wide
// counters that are never reset. Messages are looked up by code, in the
// catalogue (MsgCatalogue.h) and then in the table a user of the printer
// registers (the file checker's rule rows); the code itself is never printed.
//
// Printing is safe on several threads at once (model instances initialised
// in parallel): the counters are atomic and printing only reads the stream.
// A caller that changes the stream does so while no other thread prints.
#pragma once

#include <atomic>
#include <cstdarg>
#include <cstdint>
#include <cstdio>

// Levels of MSG_Emit. The "at a line" forms print gulLineNumber.
enum {
  MSG_LEVEL_BUG = 0,           // "PROGRAM BUG - %s"
  MSG_LEVEL_BUG_LINE = 1,      // "PROGRAM BUG (line %4lu) - %s"
  MSG_LEVEL_ERROR = 2,         // "ERROR - %s"
  MSG_LEVEL_ERROR_LINE = 3,    // "ERROR (line %4lu) - %s"
  MSG_LEVEL_WARNING = 4,       // "WARNING - %s"
  MSG_LEVEL_WARNING_LINE = 5,  // "WARNING (line %4lu) - %s"
  MSG_LEVEL_CAUTION = 6,       // "CAUTION - %s"
  MSG_LEVEL_CAUTION_LINE = 7,  // "CAUTION (line %4lu) - %s"
  MSG_LEVEL_NOTE = 8,          // "NOTE - %s"
  MSG_LEVEL_NOTE_LINE = 9,     // "NOTE (line %4lu) - %s"
};

// Size of the buffer a message is formatted into; longer texts are cut.
constexpr int MSG_BUFFER_SIZE = 2208;

extern FILE* gpMsgStream;                    // destination of every diagnostic; null: standard output
extern std::atomic<int32_t> glBugCount;      // program-bug messages printed (levels 0, 1)
extern std::atomic<int32_t> glErrorCount;    // error messages printed (levels 2, 3)
extern std::atomic<int32_t> glWarningCount;  // warning messages printed (levels 4, 5)
extern std::atomic<int32_t> glCautionCount;  // caution messages printed (levels 6, 7)
extern unsigned long gulLineNumber;          // line shown by the "at a line" forms

// The stream diagnostics go to: gpMsgStream, or standard output when a
// caller has cleared it.
FILE* MSG_Stream();

// Silence switches of the file checker's report settings, all off by
// default: a message of a silenced kind (program bugs: levels 0 and 1,
// errors: 2 and 3, warnings: 4 and 5) is neither printed nor counted.
extern int gbMsgSilenceBugs;
extern int gbMsgSilenceErrors;
extern int gbMsgSilenceWarnings;

// A table of message texts beyond the catalogue: the text of `code`, or null.
// The file checker registers its rule rows once, when it is loaded; a later
// call replaces the table, null removes it.
using MSG_TEXT_LOOKUP = const char* (*)(int code);
void MSG_SetTextLookup(MSG_TEXT_LOOKUP lookup);

// The text the printer prints for `code`: the catalogue's row, else the
// registered table's; null when neither has it.
const char* MSG_Text(int code);

// Catalogue row `code` at the error level (2) / program-bug level (0), with
// the row's printf arguments. An unknown code prints and counts nothing.
void MSG_Error(int code, ...);
void MSG_Bug(int code, ...);

// Catalogue row `code` at any level (0 to 9); for the checker's warnings,
// cautions and notes. An unknown code prints and counts nothing.
void MSG_Code(int level, int code, ...);
void MSG_CodeV(int level, int code, va_list args);

// Prints `format`, the text of message `code` that the caller has already
// looked up, at `level`, as MSG_CodeV would (the listener hears the code).
void MSG_CodeTextV(int level, int code, const char* format, va_list args);

// Formats `format` with the arguments and prints it at `level` (0 to 9);
// a level above 9 prints and counts nothing.
void MSG_Emit(int level, const char* format, ...);
void MSG_EmitV(int level, const char* format, va_list args);

// Prints `text` as it is (no placeholders are interpreted) at `level`.
void MSG_EmitText(int level, const char* text);

// An observer of every diagnostic that is printed: its level, catalogue
// code (0 for a text that is not a catalogue row), the line the "at a line"
// forms print (0 for the other forms) and the formatted text. For callers
// that collect the findings (tessalune check --json); null by default. Set
// while nothing prints on another thread.
using MSG_LISTENER = void (*)(int level, int code, unsigned long line, const char* text, void* context);
void MSG_SetListener(MSG_LISTENER listener, void* context);

// Counts a message of `level` as printing it would, without printing it: for
// reports that are counted but no longer shown. A silenced kind is not
// counted either.
void MSG_Count(int level);

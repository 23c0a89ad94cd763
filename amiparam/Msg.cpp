#include "amiparam/Msg.h"

#include <cstring>

#include "amiparam/MsgCatalogue.h"

// Set up once, when the program (or the library) is loaded; printing never
// writes it, so threads that print at the same time only read it.
FILE* gpMsgStream = stdout;
std::atomic<int32_t> glBugCount{0};
std::atomic<int32_t> glErrorCount{0};
std::atomic<int32_t> glWarningCount{0};
std::atomic<int32_t> glCautionCount{0};
unsigned long gulLineNumber = 0;
int gbMsgSilenceBugs = 0;
int gbMsgSilenceErrors = 0;
int gbMsgSilenceWarnings = 0;

namespace {

struct LevelForm {
  const char* oneLine;
  const char* twoLine;  // null: never on two lines
  size_t twoLineMin;    // inclusive range of text lengths that take two lines
  size_t twoLineMax;
  std::atomic<int32_t>* counter;  // null: not counted
  bool atLine;
};

// Width of the line number in the "at a line" forms.
constexpr int kLineWidth = 4;

const LevelForm kForms[] = {
    {"PROGRAM BUG - %s\n", nullptr, 0, 0, &glBugCount, false},
    {"PROGRAM BUG (line %*lu) - %s\n", nullptr, 0, 0, &glBugCount, true},
    {"ERROR - %s\n", "ERROR -\n    %s\n", 72, 75, &glErrorCount, false},
    {"ERROR (line %*lu) - %s\n", "ERROR (line %*lu) -\n    %s\n", 60, 75, &glErrorCount, true},
    {"WARNING - %s\n", "WARNING -\n    %s\n", 70, 75, &glWarningCount, false},
    {"WARNING (line %*lu) - %s\n", "WARNING (line %*lu) -\n    %s\n", 58, 75, &glWarningCount, true},
    {"CAUTION - %s\n", "CAUTION -\n    %s\n", 70, 75, &glCautionCount, false},
    {"CAUTION (line %*lu) - %s\n", "CAUTION (line %*lu) -\n    %s\n", 58, 75, &glCautionCount, true},
    {"NOTE - %s\n", "NOTE -\n    %s\n", 73, 75, nullptr, false},
    {"NOTE (line %*lu) - %s\n", "NOTE (line %*lu) -\n    %s\n", 61, 75, nullptr, true},
};

constexpr int kLevelCount = static_cast<int>(sizeof(kForms) / sizeof(kForms[0]));

// Set while the program or library is loaded, before any thread prints.
std::atomic<MSG_TEXT_LOOKUP> gTextLookup{nullptr};

MSG_LISTENER gListener = nullptr;
void* gListenerContext = nullptr;
// Catalogue code of the message being printed on this thread (0: a plain text).
thread_local int tCode = 0;

bool Silenced(int level) {
  const int* silenced[] = {&gbMsgSilenceBugs, &gbMsgSilenceErrors, &gbMsgSilenceWarnings};
  return level < 6 && *silenced[level / 2];
}

// Prints an already formatted text in the form of its level and counts it.
void Print(int level, const char* text) {
  if (level < 0 || level >= kLevelCount) return;
  if (Silenced(level)) return;
  FILE* stream = MSG_Stream();
  const LevelForm& form = kForms[level];
  size_t length = std::strlen(text);
  const char* layout = form.oneLine;
  if (form.twoLine && length >= form.twoLineMin && length <= form.twoLineMax) layout = form.twoLine;
  if (form.atLine) {
    std::fprintf(stream, layout, kLineWidth, gulLineNumber, text);
  } else {
    std::fprintf(stream, layout, text);
  }
  if (form.counter) form.counter->fetch_add(1, std::memory_order_relaxed);
  if (gListener) gListener(level, tCode, form.atLine ? gulLineNumber : 0, text, gListenerContext);
}

}  // namespace

FILE* MSG_Stream() { return gpMsgStream ? gpMsgStream : stdout; }

void MSG_EmitV(int level, const char* format, va_list args) {
  if (level < 0 || level >= kLevelCount || !format) return;
  char buffer[MSG_BUFFER_SIZE];
  int written = std::vsnprintf(buffer, sizeof(buffer), format, args);
  if (written < 0) buffer[0] = '\0';  // an encoding error leaves nothing printable
  Print(level, buffer);
}

void MSG_Emit(int level, const char* format, ...) {
  va_list args;
  va_start(args, format);
  MSG_EmitV(level, format, args);
  va_end(args);
}

void MSG_EmitText(int level, const char* text) {
  if (level < 0 || level >= kLevelCount || !text) return;
  char buffer[MSG_BUFFER_SIZE];
  std::snprintf(buffer, sizeof(buffer), "%s", text);
  Print(level, buffer);
}

void MSG_Count(int level) {
  if (level < 0 || level >= kLevelCount || Silenced(level)) return;
  if (kForms[level].counter) ++*kForms[level].counter;
}

void MSG_SetTextLookup(MSG_TEXT_LOOKUP lookup) { gTextLookup.store(lookup, std::memory_order_release); }

const char* MSG_Text(int code) {
  const char* text = MSG_Lookup(code);
  if (text) return text;
  const MSG_TEXT_LOOKUP lookup = gTextLookup.load(std::memory_order_acquire);
  return lookup ? lookup(code) : nullptr;
}

void MSG_CodeTextV(int level, int code, const char* format, va_list args) {
  if (!format) return;
  tCode = code;
  MSG_EmitV(level, format, args);
  tCode = 0;
}

void MSG_CodeV(int level, int code, va_list args) { MSG_CodeTextV(level, code, MSG_Text(code), args); }

void MSG_SetListener(MSG_LISTENER listener, void* context) {
  gListener = listener;
  gListenerContext = context;
}

void MSG_Code(int level, int code, ...) {
  va_list args;
  va_start(args, code);
  MSG_CodeV(level, code, args);
  va_end(args);
}

void MSG_Error(int code, ...) {
  va_list args;
  va_start(args, code);
  MSG_CodeV(MSG_LEVEL_ERROR, code, args);
  va_end(args);
}

void MSG_Bug(int code, ...) {
  va_list args;
  va_start(args, code);
  MSG_CodeV(MSG_LEVEL_BUG, code, args);
  va_end(args);
}

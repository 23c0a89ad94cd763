#include "IbisParser/CmnFile.h"

#include <cstring>

#include "IbisParser/CmnWords.h"
#include "IbisParser/Parse.h"
#include "amiparam/Cmn.h"
#include "amiparam/Msg.h"

namespace {

constexpr int kCtrlZ = 26;

// Extension and the message that refuses another one, per file kind.
struct Kind {
  const char* extension;
  int wrongExtensionCode;
};

const Kind* KindOf(int mode) {
  static const Kind kKinds[] = {{".ibs", 1900}, {".pkg", 1903}, {".ebd", 1902}, {".ami", 1924}};
  if (mode < PARSE_MODE_IBS || mode > PARSE_MODE_AMI) return nullptr;
  return &kKinds[mode - PARSE_MODE_IBS];
}

void ToCase(char* text, bool upper) {
  for (; *text; ++text) {
    if (upper && *text >= 'a' && *text <= 'z') *text = static_cast<char>(*text - 'a' + 'A');
    if (!upper && *text >= 'A' && *text <= 'Z') *text = static_cast<char>(*text - 'A' + 'a');
  }
}

// Opens dir + name, trying the name as given, in lower case and in upper
// case; on success `name` holds the spelling that opened.
FILE* OpenVariants(const char* dir, char* name) {
  char joined[2 * (CMN_PATH_MAX + 2)];
  char variant[CMN_PATH_MAX + 2];
  for (int attempt = 0; attempt < 3; ++attempt) {
    std::strcpy(variant, name);
    if (attempt > 0) ToCase(variant, attempt == 2);
    if (attempt > 0 && std::strcmp(variant, name) == 0) continue;
    std::snprintf(joined, sizeof(joined), "%s%s", dir, variant);
    if (FILE* file = std::fopen(joined, "rb")) {
      std::strcpy(name, variant);
      return file;
    }
  }
  return nullptr;
}

// Kind of an illegal character for message 1917.
const char* IllegalKind(int c) {
  if (c == 0) return "NUL";
  if (c >= 0x80) return "non-7-bit ASCII";
  return "control";
}

bool IsIllegal(int c) { return c == 0 || c >= 0x80 || (c < 0x20 && c != '\t') || c == 0x7F; }

// 1917 for illegal character `c`; `kept` tells whether it is in the part of
// the line that is kept. A file full of NUL or binary bytes would otherwise
// print a line per byte: past CMN_ILLEGAL_SHOWN in a file the reports are
// counted only, after one note that says so.
void ReportIllegal(int c, bool kept) {
  unsigned long& reported = gParse.illegalCharacters;
  if (reported < CMN_ILLEGAL_SHOWN) {
    MSG_Code(MSG_LEVEL_ERROR_LINE, 1917, IllegalKind(c), static_cast<unsigned>(c),
             kept ? "  Converting to space." : "");
  } else {
    if (reported == CMN_ILLEGAL_SHOWN && !gbMsgSilenceErrors) {
      char note[128];
      std::snprintf(note, sizeof note,
                    "More than %lu illegal characters in this file: further ones are counted but not shown.",
                    CMN_ILLEGAL_SHOWN);
      MSG_EmitText(MSG_LEVEL_NOTE_LINE, note);
    }
    MSG_Count(MSG_LEVEL_ERROR_LINE);
  }
  if (reported < ~0ul) ++reported;
}

}  // namespace

FILE* CMN_OpenFile(const char* path, int mode, CMN_PATH* where) {
  CMN_ASSERT(path != nullptr);
  const Kind* kind = KindOf(mode);
  CMN_ASSERT(kind != nullptr);
  size_t length = std::strlen(path);
  if (length > CMN_PATH_MAX) {
    MSG_Error(1904);
    return nullptr;
  }
  CMN_PATH found{};
  const char* base = CMN_BaseName(path);
  size_t dirLength = static_cast<size_t>(base - path);
  std::memcpy(found.dir, path, dirLength);
  for (size_t i = 0; i < dirLength; ++i)
    if (found.dir[i] == '\\') found.dir[i] = '/';
  std::strcpy(found.name, base);

  const char* dot = std::strrchr(found.name, '.');
  if (!dot) {
    if (std::strlen(found.name) + std::strlen(kind->extension) > CMN_PATH_MAX + 1) {
      MSG_Error(1901);
      return nullptr;
    }
    std::strcat(found.name, kind->extension);
  } else if (!CMN_EqualNoCase(dot, kind->extension)) {
    MSG_Error(kind->wrongExtensionCode);
    return nullptr;
  }
  if (std::strlen(found.dir) + std::strlen(found.name) > CMN_PATH_MAX + 1) {
    MSG_Error(1904);
    return nullptr;
  }
  FILE* file = OpenVariants(found.dir, found.name);
  if (!file) {
    MSG_Error(1905, found.dir, found.name);
    return nullptr;
  }
  if (where) *where = found;
  return file;
}

int CMN_ReadLine(FILE* file, std::string& line, size_t maxKept, unsigned long* lineNumber, int report,
                 size_t* fullLength) {
  CMN_ASSERT(file != nullptr);
  line.clear();
  int c = std::getc(file);
  if (c == EOF) return 0;
  if (c == kCtrlZ) {
    int next = std::getc(file);
    if (next == EOF) return 0;  // the end-of-file mark of old editors
    std::ungetc(next, file);
  }
  if (lineNumber) ++*lineNumber;
  size_t length = 0;
  for (; c != EOF && c != '\n'; c = std::getc(file)) {
    if (c == '\r' || c == kCtrlZ) {
      int next = std::getc(file);
      // A carriage return ends a line only before its line feed, a Ctrl-Z
      // only at the end of the file.
      bool atEnd = c == '\r' ? next == '\n' : next == EOF;
      if (next != EOF) std::ungetc(next, file);
      if (atEnd) continue;
    }
    bool kept = length < maxKept;
    if (IsIllegal(c)) {
      if (report) ReportIllegal(c, kept);
      c = ' ';
    }
    if (kept) line.push_back(static_cast<char>(c));
    ++length;
  }
  if (fullLength) *fullLength = length;
  return 1;
}

int CMN_DetectVersion(const char* path, int mode, unsigned long* lineCount) {
  char text[16];
  return CMN_DetectVersionText(path, mode, lineCount, text, sizeof text);
}

int CMN_DetectVersionText(const char* path, int mode, unsigned long* lineCount, char* text, size_t size) {
  unsigned long count = 0;
  if (lineCount) *lineCount = 0;
  if (text && size > 0) text[0] = '\0';
  FILE* file = CMN_OpenFile(path, mode, nullptr);
  if (!file) return 0;
  int version = 0;
  std::string line;
  while (CMN_ReadLine(file, line, 120, &count, 0, nullptr)) {
    const char* p = line.c_str();
    CMN_SkipSpace(&p);
    if (*p != '[') continue;
    char head[11] = {};
    std::strncpy(head, p, 10);
    if (CMN_EqualNoCase(head, "[IBIS Ver]") || CMN_EqualNoCase(head, "[IBIS_Ver]")) {
      const char* q = p + 10;
      CMN_SkipSpace(&q);
      if (*q >= '1' && *q <= '7') version = *q - '0';
      size_t n = 0;
      while (text && n + 1 < size && q[n] && q[n] != '|' && !CMN_IsSpace(static_cast<unsigned char>(q[n]))) {
        text[n] = q[n];
        ++n;
      }
      if (text && size > 0) text[n] = '\0';
    }
    break;
  }
  std::fclose(file);
  if (lineCount) *lineCount = count;
  return version;
}

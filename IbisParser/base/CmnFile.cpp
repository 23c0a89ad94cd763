#include "IbisParser/base/CmnFile.h"

#include <sys/stat.h>
#include <sys/types.h>

#include <cstring>

#if defined(_WIN32)
#include <stdio.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

#include "IbisParser/base/CmnWords.h"
#include "IbisParser/base/ParseContext.h"
#include "IbisParser/rules/RuleReport.h"
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

#if defined(_WIN32)
using StatBuffer = struct _stat64;
int StatPath(const char* path, StatBuffer* status) { return _stat64(path, status); }
int StatOpen(FILE* file, StatBuffer* status) { return _fstat64(_fileno(file), status); }
bool IsRegular(const StatBuffer& status) { return (status.st_mode & _S_IFMT) == _S_IFREG; }
#else
using StatBuffer = struct stat;
int StatPath(const char* path, StatBuffer* status) { return stat(path, status); }
int StatOpen(FILE* file, StatBuffer* status) { return fstat(fileno(file), status); }
bool IsRegular(const StatBuffer& status) { return S_ISREG(status.st_mode); }
#endif

// The words message 4700 uses for what is not a regular file.
const char* SpecialKind(const StatBuffer& status) {
#if defined(_WIN32)
  const unsigned type = status.st_mode & _S_IFMT;
  if (type == _S_IFDIR) return "a directory";
  if (type == _S_IFIFO) return "a pipe";
  if (type == _S_IFCHR) return "a device";
#else
  if (S_ISDIR(status.st_mode)) return "a directory";
  if (S_ISFIFO(status.st_mode)) return "a pipe";
  if (S_ISCHR(status.st_mode) || S_ISBLK(status.st_mode)) return "a device";
  if (S_ISSOCK(status.st_mode)) return "a socket";
#endif
  return "a special file";
}

// Opens `path` for reading when it is a regular file. Whatever else it names
// is never opened for a blocking read: *special receives its kind's words
// (else stays null) and the result is null, as for a missing file. The kind
// is looked up before the open; on POSIX systems the open itself does not
// wait (should the name have become a pipe in between) and the open file is
// looked at again.
FILE* OpenRegular(const char* path, const char** special) {
  StatBuffer status{};
  if (StatPath(path, &status) != 0) return nullptr;
  if (!IsRegular(status)) {
    *special = SpecialKind(status);
    return nullptr;
  }
#if defined(_WIN32)
  return std::fopen(path, "rb");
#else
  const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return nullptr;
  const bool looked = fstat(fd, &status) == 0;
  if (!looked || !S_ISREG(status.st_mode)) {
    if (looked) *special = SpecialKind(status);
    close(fd);
    return nullptr;
  }
  // Reads of a regular file never wait; the flag goes all the same, so the
  // stream behaves as one fopen gives.
  const int flags = fcntl(fd, F_GETFL);
  if (flags != -1) fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  FILE* file = fdopen(fd, "rb");
  if (!file) close(fd);
  return file;
#endif
}

// Opens dir + name, trying the name as given, in lower case and in upper
// case; on success `name` holds the spelling that opened. When none opens
// and a spelling names something other than a regular file, *special
// receives the words for the first such (else stays null) and `name` that
// spelling.
FILE* OpenVariants(const char* dir, char* name, const char** special) {
  char joined[2 * (CMN_PATH_MAX + 2)];
  char variant[CMN_PATH_MAX + 2];
  char specialName[CMN_PATH_MAX + 2] = "";
  for (int attempt = 0; attempt < 3; ++attempt) {
    std::strcpy(variant, name);
    if (attempt > 0) ToCase(variant, attempt == 2);
    if (attempt > 0 && std::strcmp(variant, name) == 0) continue;
    std::snprintf(joined, sizeof(joined), "%s%s", dir, variant);
    const char* kind = nullptr;
    if (FILE* file = OpenRegular(joined, &kind)) {
      std::strcpy(name, variant);
      *special = nullptr;
      return file;
    }
    if (kind && !*special) {
      *special = kind;
      std::strcpy(specialName, variant);
    }
  }
  if (*special) std::strcpy(name, specialName);
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
void ReportIllegal(unsigned long& reported, int c, bool kept) {
  if (reported < CMN_ILLEGAL_SHOWN) {
    CHECK_Report(1917, IllegalKind(c), static_cast<unsigned>(c), kept ? "  Converting to space." : "");
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
    CHECK_ReportFile(1904);
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
      CHECK_ReportFile(1901);
      return nullptr;
    }
    std::strcat(found.name, kind->extension);
  } else if (!CMN_EqualNoCase(dot, kind->extension)) {
    CHECK_ReportFile(kind->wrongExtensionCode);
    return nullptr;
  }
  if (std::strlen(found.dir) + std::strlen(found.name) > CMN_PATH_MAX + 1) {
    CHECK_ReportFile(1904);
    return nullptr;
  }
  const char* special = nullptr;
  FILE* file = OpenVariants(found.dir, found.name, &special);
  if (!file) {
    if (special)
      CHECK_ReportFile(4700, found.dir, found.name, special);
    else
      CHECK_ReportFile(1905, found.dir, found.name);
    return nullptr;
  }
  if (where) *where = found;
  return file;
}

CMN_FILE_KIND CMN_FileKind(const char* path, const char** what) {
  StatBuffer status{};
  if (StatPath(path, &status) != 0) return CMN_FILE_MISSING;
  if (IsRegular(status)) return CMN_FILE_REGULAR;
  if (what) *what = SpecialKind(status);
  return CMN_FILE_SPECIAL;
}

long long CMN_FileSize(FILE* file) {
  StatBuffer status{};
  if (!file || StatOpen(file, &status) != 0 || !IsRegular(status)) return -1;
  return static_cast<long long>(status.st_size);
}

int CMN_ReadLine(FILE* file, std::string& line, size_t maxKept, unsigned long* lineNumber,
                 unsigned long* illegalReported, size_t* fullLength) {
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
      if (illegalReported) ReportIllegal(*illegalReported, c, kept);
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
  while (CMN_ReadLine(file, line, 120, &count, nullptr, nullptr)) {
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

void CMN_ReportTab(int* armed, const char* line) {
  if (*armed && std::strchr(line, '\t')) {
    CHECK_Report(921);
    *armed = 0;
  }
}

int CMN_JoinPath(const char* dir, const char* name, char* out, int size) {
  size_t dirLen = std::strlen(dir);
  bool needSep = dirLen > 0 && dir[dirLen - 1] != '/' && dir[dirLen - 1] != '\\';
  int n = std::snprintf(out, static_cast<size_t>(size), "%s%s%s", dir, needSep ? "/" : "", name);
  return n >= 0 && n < size ? 1 : 0;
}

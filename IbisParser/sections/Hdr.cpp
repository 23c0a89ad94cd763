#include "IbisParser/sections/Hdr.h"

#include <cstdint>
#include <cstring>

#include "IbisParser/base/CmnValue.h"
#include "IbisParser/base/CmnWords.h"
#include "IbisParser/base/IbisVersion.h"
#include "IbisParser/base/KeywordTables.h"
#include "IbisParser/base/ParseContext.h"
#include "IbisParser/rules/RuleReport.h"
#include "amiparam/Cmn.h"
#include "amiparam/Msg.h"

namespace {

HDR* OpenHeader(PARSE_CONTEXT& ctx) { return ctx.headerOpen ? ctx.header : nullptr; }

// Appends `line` to the multi-line text `index` (0 source, 1 notes, 2
// disclaimer, 3 copyright): old text, '\n', line; or the line alone when
// there was no text. The text grows by doubling, so a long [Notes] costs
// time linear in its length. 1020 when the text cannot grow; it then keeps
// what it held.
void AppendText(HDR* header, int index, const char* line) {
  char** texts[] = {&header->source, &header->notes, &header->disclaimer, &header->copyright};
  char** text = texts[index];
  size_t& length = header->textLength[index];
  size_t& capacity = header->textCapacity[index];
  if (!*text) length = capacity = 0;
  const size_t separator = *text ? 1 : 0;
  const size_t lineLength = std::strlen(line);
  const size_t needed = length + separator + lineLength + 1;
  if (needed > capacity) {
    size_t grown = capacity < 64 ? 64 : capacity;
    while (grown < needed && grown <= SIZE_MAX / 2) grown *= 2;
    if (grown < needed) grown = needed;
    char* larger = nullptr;
    if (!CMN_Alloc(&larger, grown)) {
      CHECK_Report(1020);
      return;
    }
    if (*text) {
      std::memcpy(larger, *text, length + 1);
      CMN_Free(text);
    }
    *text = larger;
    capacity = grown;
  }
  if (separator) (*text)[length++] = '\n';
  std::memcpy(*text + length, line, lineLength + 1);
  length += lineLength;
}

bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool IsLetterOrDigit(char c) { return IsUpper(c) || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }

void CheckVersion(PARSE_CONTEXT& ctx, HDR* header, const char* value) {
  for (int i = HDR_SEEN_FILE_NAME; i < HDR_SEEN_COUNT; ++i) {
    if (header->seen[i]) {
      CHECK_Report(1007);
      break;
    }
  }
  if (header->seen[HDR_SEEN_IBIS_VERSION]) {
    CHECK_Report(1005);
    return;
  }
  header->seen[HDR_SEEN_IBIS_VERSION] = 1;
  CMN_StoreValue(header->ibisVersion, value, HDR_VERSION_MAX, "IBIS_Version");
  if (ctx.hdrForceVersion5) {
    ctx.ibisVersion = 5;
    ctx.ibisRelease = IBIS_RELEASE_50;
    return;
  }
  // The legal values are the rows of the version table (IbisVersion.cpp).
  const IBIS_VERSION* known = IBISVER_Find(value);
  if (known) {
    ctx.ibisVersion = known->major;
    ctx.ibisRelease = known->release;
  } else if (ctx.hdrAllowVersion1 && std::strncmp(value, "1.", 2) == 0) {
    ctx.ibisVersion = 1;
    ctx.ibisRelease = IBISVER_ReleaseOfMajor(1);
  } else {
    CHECK_Report(1008, value);
  }
}

void CheckFileName(PARSE_CONTEXT& ctx, HDR* header, const char* value) {
  if (header->seen[HDR_SEEN_FILE_NAME]) {
    CHECK_Report(1009);
    return;
  }
  header->seen[HDR_SEEN_FILE_NAME] = 1;
  // An empty value is reported by the store and still checked below: it has
  // no period and does not name the opened file.
  // From 7.0 (BIRD 186.4, §3.1 File Naming Definitions) a base name and
  // extension of up to 64 characters, upper case and more than one period
  // are allowed; before, lower case only, one period, 12/24/44 characters.
  const bool named70 = ctx.ibisRelease >= IBIS_RELEASE_70;
  if (ctx.ibisVersion < 3) {
    CMN_StoreValue(header->fileName, value, 12, "File_name");  // DOS 8.3 names
  } else {
    CMN_StoreValueMax(header->fileName, value, named70 ? 64 : ctx.ibisVersion == 3 ? 24 : 44, "File_name");
  }
  const char* name = header->fileName;
  if (!ctx.hdrSkipFileNameChecks) {
    static const char kAllowed[] = "!#$%&'()-@^_`{}~";
    bool period = false;
    for (const char* p = name; *p; ++p) {
      if (IsUpper(*p)) {
        if (!named70) CHECK_Report(1010, name, *p);
      } else if (*p == '.') {
        if (period && !named70) CHECK_Report(1012, name);
        period = true;
      } else if (!IsLetterOrDigit(*p) && !std::strchr(kAllowed, *p)) {
        CHECK_Report(1011, name, *p);
      }
    }
    if (!period) CHECK_Report(1013, name);
  }
  if (!CMN_EqualNoCase(ctx.where.name, name)) CHECK_Report(1014, ctx.where.name, name);
  CMN_CheckReservedWord(name);
}

// [File Rev] and [Date]: a repeat is reported, then stored like the first.
void CheckSingleValue(HDR* header, int seen, int duplicateCode, char* dest, size_t max, const char* name,
                      const char* value) {
  if (header->seen[seen]) CHECK_Report(duplicateCode);
  header->seen[seen] = 1;
  if (CMN_StoreValue(dest, value, max, name)) CMN_CheckReservedWord(dest);
}

// Index of the multi-line text of keyword `id` ([Source], [Notes],
// [Disclaimer], [Copyright]) for AppendText, or -1 for any other keyword.
int TextOf(int id) { return id >= KEY_SOURCE && id <= KEY_COPYRIGHT ? id - KEY_SOURCE : -1; }

void KeywordLine(PARSE_CONTEXT& ctx, int id, const char* text) {
  HDR* header = OpenHeader(ctx);
  if (!header) {
    CHECK_Report(1001);
    return;
  }
  const char* value = KEY_AfterKeyword(text);
  if (!value) value = "";
  header->lastKeyword = id;
  switch (id) {
    case KEY_IBIS_VER:
      CheckVersion(ctx, header, value);
      break;
    case KEY_FILE_NAME:
      CheckFileName(ctx, header, value);
      break;
    case KEY_FILE_REV:
      CheckSingleValue(header, HDR_SEEN_FILE_REV, 1015, header->fileRev, HDR_FILE_REV_MAX, "File_Rev", value);
      break;
    case KEY_DATE:
      CheckSingleValue(header, HDR_SEEN_DATE, 1016, header->date, HDR_DATE_MAX, "Date", value);
      break;
    case KEY_SOURCE:
    case KEY_NOTES:
    case KEY_DISCLAIMER:
    case KEY_COPYRIGHT: {
      int seen = HDR_SEEN_SOURCE + (id - KEY_SOURCE);
      if (header->seen[seen] && id != KEY_DISCLAIMER) {
        CHECK_Report(id == KEY_SOURCE ? 1017 : id == KEY_NOTES ? 1018 : 1019);
        break;
      }
      header->seen[seen] = 1;
      if (*value) AppendText(header, TextOf(id), value);
      break;
    }
    default:
      CHECK_Report(1003);
      break;
  }
}

void DataLine(PARSE_CONTEXT& ctx, const char* text) {
  HDR* header = OpenHeader(ctx);
  const int target = header ? TextOf(header->lastKeyword) : -1;
  if (target < 0) {
    CHECK_Report(1002);
    return;
  }
  AppendText(header, target, text);
}

}  // namespace

int HDR_Begin(PARSE_CONTEXT& ctx) {
  HDR* header = nullptr;
  if (!CMN_Alloc(&header, sizeof(HDR))) {
    CHECK_ReportFile(1006);
    return 0;
  }
  header->lastKeyword = KEY_IBIS_VER;
  HDRREC_Free(&ctx.header);  // only one header per file; a stray earlier one goes
  ctx.header = header;
  ctx.headerOpen = 1;
  return 1;
}

void HDR_Line(PARSE_CONTEXT& ctx, int kind, int id, const char* text) {
  if (kind == PARSE_LINE_KEYWORD) {
    KeywordLine(ctx, id, text);
  } else if (kind == PARSE_LINE_DATA) {
    DataLine(ctx, text);
  } else {
    CHECK_Report(1004);
  }
}

int HDR_End(PARSE_CONTEXT& ctx, int nextId) {
  HDR* header = OpenHeader(ctx);
  if (!header) return 1;
  if (nextId == KEY_IBIS_VER) {
    CHECK_Report(1005);
    return 0;
  }
  if (nextId >= KEY_FILE_NAME && nextId <= KEY_COPYRIGHT) return 0;
  static const struct {
    int seen;
    const char* name;
  } kRequired[] = {
      {HDR_SEEN_IBIS_VERSION, "IBIS_Version"}, {HDR_SEEN_FILE_NAME, "File_name"}, {HDR_SEEN_FILE_REV, "File_Rev"}};
  for (const auto& r : kRequired)
    if (!header->seen[r.seen]) CHECK_ReportFile(1915, r.name, ctx.where.name);
  ctx.headerOpen = 0;
  return 1;
}

#include "IbisParser/ami/ParseAmi.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "IbisParser/ami/AlgModTree.h"
#include "IbisParser/base/CmnFile.h"
#include "IbisParser/base/CmnWords.h"
#include "IbisParser/base/IbisVersion.h"
#include "IbisParser/base/ParseContext.h"
#include "IbisParser/rules/RuleReport.h"
#include "amiparam/Cmn.h"
#include "amiparam/Msg.h"

namespace {

enum class LineKind { Skip, Continuation, Description, List };

LineKind Classify(const std::string& line, char comment) {
  const char* p = line.c_str();
  while (*p && CMN_IsSpace(static_cast<unsigned char>(*p))) ++p;
  if (*p == '\0' || *p == comment) return LineKind::Skip;
  if (*p != '(') return LineKind::Continuation;
  ++p;
  while (*p && CMN_IsSpace(static_cast<unsigned char>(*p))) ++p;
  return std::strncmp(p, "Description", 11) == 0 ? LineKind::Description : LineKind::List;
}

// The line without its comment and trailing whitespace.
size_t KeptLength(const std::string& line, char comment) {
  size_t end = line.find(comment);
  if (end == std::string::npos) end = line.size();
  while (end > 0 && CMN_IsSpace(static_cast<unsigned char>(line[end - 1]))) --end;
  return end;
}

// The release the banner names: the file's AMI_Version when it is a known
// version of 5.1 or later (the tree check then chooses it too, IBIS 5.1 §10),
// else the base release. A cheap look at the first 64 KiB of a regular file,
// without messages: the value of the first AMI_Version branch's Value,
// Default or Format Value. The full check reports a malformed one.
int BannerRelease(PARSE_CONTEXT& ctx, const char* path) {
  if (CMN_FileKind(path, nullptr) != CMN_FILE_REGULAR) return ctx.amiBaseRelease;
  FILE* f = std::fopen(path, "rb");
  if (!f) return ctx.amiBaseRelease;
  std::string text(64 * 1024, '\0');
  text.resize(std::fread(&text[0], 1, text.size(), f));
  std::fclose(f);
  // The branch name follows its '(' (a mention of the name elsewhere is skipped).
  size_t name = text.find("AMI_Version");
  while (name != std::string::npos) {
    const size_t before = name ? text.find_last_not_of(" \t\r\n", name - 1) : std::string::npos;
    if (before != std::string::npos && text[before] == '(') break;
    name = text.find("AMI_Version", name + 11);
  }
  if (name == std::string::npos) return ctx.amiBaseRelease;
  int depth = 1;  // inside the branch's own parenthesis
  for (size_t i = name + 11; i < text.size() && depth > 0; ++i) {
    if (text[i] == ')') --depth;
    if (text[i] == '"') i = text.find('"', i + 1);  // a quoted text outside Value, e.g. a Description
    if (i == std::string::npos) break;
    if (text[i] != '(') continue;
    ++depth;
    size_t at = text.find_first_not_of(" \t\r\n", i + 1);
    if (at == std::string::npos) break;
    if (text.compare(at, 6, "Format") == 0) at = text.find_first_not_of(" \t\r\n", at + 6);
    if (at == std::string::npos) break;
    size_t word = text.compare(at, 5, "Value") == 0 ? 5 : text.compare(at, 7, "Default") == 0 ? 7 : 0;
    if (!word) continue;
    const size_t open = text.find_first_not_of(" \t\r\n", at + word);
    if (open == std::string::npos || text[open] != '"') continue;
    const size_t close = text.find('"', open + 1);
    if (close == std::string::npos) break;
    const IBIS_VERSION* known = IBISVER_Find(text.substr(open + 1, close - open - 1).c_str());
    return known && known->release >= IBIS_RELEASE_51 ? known->release : ctx.amiBaseRelease;
  }
  return ctx.amiBaseRelease;
}

}  // namespace

int AMIREAD_AppendText(PARSE_CONTEXT& ctx, const char* text, unsigned long count) {
  if (!ctx.gpszAmiText) ctx.amiLength = ctx.amiCapacity = 0;
  unsigned long needed = ctx.amiLength + count + 1;
  if (needed < ctx.amiLength) {  // cannot be represented
    CHECK_ReportFile(922, CMN_BaseName(__FILE__), __LINE__);
    return 0;
  }
  if (needed > ctx.amiCapacity) {
    unsigned long capacity = ctx.amiCapacity < 256 ? 256 : ctx.amiCapacity;
    while (capacity < needed && capacity <= ~0ul / 2) capacity *= 2;
    if (capacity < needed) capacity = needed;
    int ok = ctx.gpszAmiText ? CMN_Realloc(&ctx.gpszAmiText, capacity) : CMN_Alloc(&ctx.gpszAmiText, capacity);
    if (!ok) {
      CHECK_ReportFile(922, CMN_BaseName(__FILE__), __LINE__);
      return 0;
    }
    ctx.amiCapacity = capacity;
  }
  std::memcpy(ctx.gpszAmiText + ctx.amiLength, text, count);
  ctx.amiLength += count;
  ctx.gpszAmiText[ctx.amiLength] = '\0';
  return 1;
}

int AMIREAD_ReadFile(PARSE_CONTEXT& ctx, const char* path) {
  if (!gbParseQuiet)
    std::fprintf(stdout, "\nChecking %s for IBIS %s Compatibility...\n\n", path,
                 IBISVER_Name(ctx.amiStandalone ? BannerRelease(ctx, path) : ctx.amiBaseRelease));
  // The printer's line number is the enclosing file's again once this file is read.
  const unsigned long enclosingLine = gulLineNumber;
  gulLineNumber = 0;
  ctx.gcCommentChar = '|';
  ctx.tabReportArmed = 1;
  ctx.illegalCharacters = 0;
  if (ctx.gpszAmiText) CMN_Free(&ctx.gpszAmiText);
  ctx.amiLength = ctx.amiCapacity = 0;

  int result = 0;
  CMN_PATH where{};
  if (FILE* f = CMN_OpenFile(path, PARSE_MODE_AMI, &where)) {
    // The size is refused before anything is read; the count of what is read
    // catches a file that grows meanwhile. Each line counts with its line end.
    const unsigned long long most = AMIREAD_FILE_MAX;
    bool tooLarge = CMN_FileSize(f) > static_cast<long long>(most);
    unsigned long long taken = 0;
    std::string line;
    size_t fullLength = 0;
    bool inDescription = false;
    while (!tooLarge && CMN_ReadLine(f, line, most + 1, &gulLineNumber, &ctx.illegalCharacters, &fullLength)) {
      taken += fullLength + 1;
      if (taken > most + 1) {
        tooLarge = true;
        break;
      }
      CMN_ReportTab(&ctx.tabReportArmed, line.c_str());
      LineKind kind = Classify(line, ctx.gcCommentChar);
      if (kind == LineKind::Skip) continue;
      if (kind == LineKind::Description) inDescription = true;
      if (kind == LineKind::List) inDescription = false;
      if ((kind == LineKind::Description || (kind == LineKind::Continuation && inDescription)) &&
          line.size() > static_cast<size_t>(AMIREAD_DESCRIPTION_MAX))
        CHECK_Report(923, static_cast<int>(gulLineNumber), AMIREAD_DESCRIPTION_MAX);
      AMIREAD_AppendText(ctx, line.data(), KeptLength(line, ctx.gcCommentChar));
    }
    std::fclose(f);
    if (tooLarge) {
      CHECK_ReportFile(4701, where.dir, where.name, static_cast<int>(most >> 20));
      if (ctx.gpszAmiText) CMN_Free(&ctx.gpszAmiText);
      ctx.amiLength = ctx.amiCapacity = 0;
    } else {
      result = 1;
    }
  }
  gulLineNumber = enclosingLine;
  return result;
}

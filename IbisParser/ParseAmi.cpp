#include "IbisParser/ParseAmi.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "IbisParser/AlgModTree.h"
#include "IbisParser/CmnFile.h"
#include "IbisParser/CmnWords.h"
#include "IbisParser/IbisVersion.h"
#include "IbisParser/Parse.h"
#include "amiparam/Cmn.h"
#include "amiparam/Msg.h"

char* gpszAmiText = nullptr;

namespace {

// Length and capacity of gpszAmiText while it is being collected.
unsigned long gAmiLength = 0;
unsigned long gAmiCapacity = 0;

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

}  // namespace

int PARSE_AppendAmiText(const char* text, unsigned long count) {
  if (!gpszAmiText) gAmiLength = gAmiCapacity = 0;
  unsigned long needed = gAmiLength + count + 1;
  if (needed < gAmiLength) {  // cannot be represented
    MSG_Code(MSG_LEVEL_ERROR, 922, CMN_BaseName(__FILE__), __LINE__);
    return 0;
  }
  if (needed > gAmiCapacity) {
    unsigned long capacity = gAmiCapacity < 256 ? 256 : gAmiCapacity;
    while (capacity < needed && capacity <= ~0ul / 2) capacity *= 2;
    if (capacity < needed) capacity = needed;
    int ok = gpszAmiText ? CMN_Realloc(&gpszAmiText, capacity) : CMN_Alloc(&gpszAmiText, capacity);
    if (!ok) {
      MSG_Code(MSG_LEVEL_ERROR, 922, CMN_BaseName(__FILE__), __LINE__);
      return 0;
    }
    gAmiCapacity = capacity;
  }
  std::memcpy(gpszAmiText + gAmiLength, text, count);
  gAmiLength += count;
  gpszAmiText[gAmiLength] = '\0';
  return 1;
}

int PARSE_CheckAmiFile(const char* path) {
  if (!gbParseQuiet)
    std::fprintf(stdout, "\nChecking %s for IBIS %s Compatibility...\n\n", path, IBISVER_Name(giAmiBaseRelease));
  // The reading state of the enclosing file comes back once this file is read.
  const PARSE_READING enclosing = PARSE_SaveReading();
  gulLineNumber = 0;
  gcCommentChar = '|';
  gParse.tabReportArmed = 1;
  gParse.illegalCharacters = 0;
  if (gpszAmiText) CMN_Free(&gpszAmiText);
  gAmiLength = gAmiCapacity = 0;

  int result = 0;
  CMN_PATH where{};
  if (FILE* f = CMN_OpenFile(path, PARSE_MODE_AMI, &where)) {
    // The size is refused before anything is read; the count of what is read
    // catches a file that grows meanwhile. Each line counts with its line end.
    const unsigned long long most = PARSE_AMI_FILE_MAX;
    bool tooLarge = CMN_FileSize(f) > static_cast<long long>(most);
    unsigned long long taken = 0;
    std::string line;
    size_t fullLength = 0;
    bool inDescription = false;
    while (!tooLarge && CMN_ReadLine(f, line, most + 1, &gulLineNumber, 1, &fullLength)) {
      taken += fullLength + 1;
      if (taken > most + 1) {
        tooLarge = true;
        break;
      }
      PARSE_ReportTab(line.c_str());
      LineKind kind = Classify(line, gcCommentChar);
      if (kind == LineKind::Skip) continue;
      if (kind == LineKind::Description) inDescription = true;
      if (kind == LineKind::List) inDescription = false;
      if ((kind == LineKind::Description || (kind == LineKind::Continuation && inDescription)) &&
          line.size() > static_cast<size_t>(PARSE_AMI_DESCRIPTION_MAX))
        MSG_Code(MSG_LEVEL_ERROR_LINE, 923, static_cast<int>(gulLineNumber), PARSE_AMI_DESCRIPTION_MAX);
      PARSE_AppendAmiText(line.data(), KeptLength(line, gcCommentChar));
    }
    std::fclose(f);
    if (tooLarge) {
      MSG_Error(4701, where.dir, where.name, static_cast<int>(most >> 20));
      if (gpszAmiText) CMN_Free(&gpszAmiText);
      gAmiLength = gAmiCapacity = 0;
    } else {
      result = 1;
    }
  }
  PARSE_RestoreReading(enclosing);
  return result;
}

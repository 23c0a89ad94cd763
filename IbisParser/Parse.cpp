#include "IbisParser/Parse.h"

#include <cstring>
#include <string>

#include "IbisParser/ami/ParseAmi.h"
#include "IbisParser/base/CmnWords.h"
#include "IbisParser/base/IbisVersion.h"
#include "IbisParser/base/KeywordTables.h"
#include "IbisParser/passes/FilePasses.h"
#include "IbisParser/records/Board.h"
#include "IbisParser/records/Component.h"
#include "IbisParser/records/External.h"
#include "IbisParser/records/Header.h"
#include "IbisParser/records/Interconnect.h"
#include "IbisParser/records/Model.h"
#include "IbisParser/records/ModelData.h"
#include "IbisParser/records/ModelSelector.h"
#include "IbisParser/records/PackageModel.h"
#include "IbisParser/records/TestSection.h"
#include "IbisParser/rules/RuleReport.h"
#include "IbisParser/sections/BoardDescription.h"
#include "IbisParser/sections/Component.h"
#include "IbisParser/sections/ComponentLinks.h"
#include "IbisParser/sections/External.h"
#include "IbisParser/sections/Hdr.h"
#include "IbisParser/sections/Interconnect.h"
#include "IbisParser/sections/Model.h"
#include "IbisParser/sections/ModelSelector.h"
#include "IbisParser/sections/OtherSections.h"
#include "IbisParser/sections/PackageModel.h"
#include "IbisParser/sections/Submodel.h"
#include "IbisParser/sections/TestData.h"
#include "amiparam/Cmn.h"
#include "amiparam/Msg.h"

namespace {

// Characters of a line that are kept; the rest of a longer line is dropped.
constexpr size_t kLineKept = 1023;
// Longest keyword name between the brackets.
constexpr size_t kKeywordNameMax = 117;

// Report setting of the process: who is shown each file's description.
PARSE_DESCRIPTION_LISTENER gDescriptionListener = nullptr;
void* gDescriptionContext = nullptr;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

void FreeDescription(PARSE_CONTEXT& ctx) {
  HDRREC_Free(&ctx.header);
  COMPREC_FreeAll(&ctx.components);
  MODELREC_FreeAll(&ctx.models);
  SELREC_FreeAll(&ctx.selectors);
  SUBMREC_FreeAll(&ctx.submodels);
  TESTREC_Free(&ctx.testSections);
  ctx.lastSubmodel = nullptr;
  ctx.submodel = nullptr;
  ctx.lastComponent = nullptr;
  ctx.lastModel = nullptr;
  ctx.lastSelector = nullptr;
  ctx.selector = nullptr;
  ctx.headerOpen = 0;
  ctx.component = nullptr;
  ctx.model = nullptr;
  PKGMREC_FreeAll(&ctx.packageModels);
  EBDREC_FreeAll(&ctx.boards);
  EXTREC_FreeAll(&ctx.externals);
  ICMREC_FreeAll(&ctx.interconnects);
  ctx.lastPackageModel = ctx.packageModel = nullptr;
  ctx.lastBoard = ctx.board = nullptr;
  ctx.lastExternal = ctx.external = nullptr;
  ctx.lastIcmSet = ctx.interconnect = nullptr;
}

// Opens the section of keyword `id`, where the file kind allows it.
void BeginSection(PARSE_CONTEXT& ctx, int id) {
  int mode = ctx.mode;
  switch (id) {
    case KEY_IBIS_VER:
      if (ctx.ibisVerSeen) {
        CHECK_Report(910);
        return;
      }
      ctx.ibisVerSeen = 1;
      HDR_Begin(ctx);
      return;
    case KEY_DEFINE_PACKAGE_MODEL:
      if (mode == PARSE_MODE_EBD) {
        CHECK_Report(912);
        return;
      }
      break;
    case KEY_BEGIN_BOARD_DESCRIPTION:
      if (mode != PARSE_MODE_EBD) {
        CHECK_Report(mode == PARSE_MODE_PKG ? 911 : 913);
        return;
      }
      break;
    default:  // component, model, model selector, submodel, test data, test load, external circuit
      if (mode != PARSE_MODE_IBS) {
        CHECK_Report(mode == PARSE_MODE_PKG ? 911 : 912);
        return;
      }
      break;
  }
  int section = KEY_SectionOf(id);
  if (section == KEY_SECTION_COMPONENT) {
    COMP_Begin(ctx);
  } else if (section == KEY_SECTION_MODEL) {
    MODEL_Begin(ctx);
  } else {
    OTHER_Begin(ctx, section);
  }
}

// Tells the section that keyword `openId` belongs to that keyword `nextId` follows.
void EndSection(PARSE_CONTEXT& ctx, int openId, int nextId) {
  int section = KEY_SectionOf(openId);
  switch (section) {
    case KEY_SECTION_NONE:
    case KEY_SECTION_END:
      break;
    case KEY_SECTION_HEADER:
      HDR_End(ctx, nextId);
      break;
    case KEY_SECTION_COMPONENT:
      COMP_End(ctx, nextId);
      break;
    case KEY_SECTION_MODEL:
      MODEL_End(ctx, nextId);
      break;
    default:
      OTHER_End(ctx, section, nextId);
      break;
  }
}

// [End]: nothing may follow the keyword on its line.
void EndKeyword(PARSE_CONTEXT& ctx, const char* text) {
  const char* rest = KEY_AfterKeyword(text);
  if (rest && *rest) CHECK_Report(920);
  ctx.endSeen = 1;
}

// Hands a line to the handler of the section of keyword `id`.
void Dispatch(PARSE_CONTEXT& ctx, int set, int id, int kind, const char* text) {
  int section = KEY_SectionOf(id);
  if (section == KEY_SECTION_NONE) {
    CHECK_Report(907, text);
    return;
  }
  if (!KEY_InSet(set, id)) {
    CHECK_Report(908, CMN_BaseName(__FILE__), __LINE__);
    return;
  }
  switch (section) {
    case KEY_SECTION_HEADER:
      HDR_Line(ctx, kind, id, text);
      break;
    case KEY_SECTION_COMPONENT:
      COMP_Line(ctx, kind, id, text);
      break;
    case KEY_SECTION_MODEL:
      MODEL_Line(ctx, kind, id, text);
      break;
    case KEY_SECTION_END:
      if (kind == PARSE_LINE_KEYWORD) EndKeyword(ctx, text);
      break;
    default:
      OTHER_Line(ctx, section, kind, id, text);
      break;
  }
}

// The handler of the keyword set of the file's version: recognises keyword
// lines, closes and opens sections, and dispatches every line.
void HandleLine(PARSE_CONTEXT& ctx, int kind, const char* text) {
  int set = IBISVER_KeywordSet(ctx.ibisRelease);
  if (kind == PARSE_LINE_KEYWORD) {
    if (set != KEY_SET_21 && ctx.unterminatedRLC) {
      CHECK_Report(909);
      ctx.unterminatedRLC = 0;
    }
    int id = KEY_NOT_KEY;
    if (!PARSE_Keyword(ctx, text, ctx.currentKeyword, set, &id)) {
      ctx.currentKeyword = KEY_NOT_KEY;
      return;
    }
    // The section stays known across an unrecognised keyword, so that it
    // is still closed (and checked) by the next keyword that is recognised.
    EndSection(ctx, ctx.sectionKeyword, id);
    ctx.currentKeyword = id;
    ctx.sectionKeyword = id;
    if (KEY_OpensSection(id)) BeginSection(ctx, id);
  }
  Dispatch(ctx, set, ctx.currentKeyword, kind, text);
}

// [Comment Char] c_char: a new comment character for the rest of the file.
void CommentChar(PARSE_CONTEXT& ctx, const char* keyword) {
  const char* rest = keyword + 14;
  CMN_SkipSpace(&rest);
  if (!rest[0] || std::strncmp(rest + 1, "_char", 5) != 0) {
    CHECK_Report(917);
    return;
  }
  char c = rest[0];
  if (IsDigit(c) || IsLetter(c) || std::strchr("[]._/=+-", c)) {
    CHECK_Report(918, c);
    return;
  }
  ctx.gcCommentChar = c;
  const char* after = rest + 6;
  CMN_SkipSpace(&after);
  if (*after && *after != c) CHECK_Report(919);
}

bool IsCommentCharKeyword(const char* p) {
  char head[15] = {};
  std::strncpy(head, p, 14);
  return CMN_EqualNoCase(head, "[COMMENT_CHAR]") || CMN_EqualNoCase(head, "[COMMENT CHAR]");
}

// The line rules, then the classification and hand-over of one line.
void ProcessLine(PARSE_CONTEXT& ctx, std::string& line, size_t fullLength) {
  size_t limit = ctx.ibisVersion < 4 ? 80 : 120;
  if (fullLength > limit) CHECK_Report(905, static_cast<int>(limit));
  CMN_ReportTab(&ctx.tabReportArmed, line.c_str());

  const char* start = line.c_str();
  const char* p = start;
  CMN_SkipSpace(&p);
  if (*p == '\0' || *p == ctx.gcCommentChar) return;
  int kind = PARSE_LINE_DATA;
  if (*p == '[') {
    // Texts of [Source], [Notes], [Disclaimer] and [Copyright] may hold
    // brackets: an indented '[' there starts no keyword.
    bool inText = ctx.currentKeyword >= KEY_SOURCE && ctx.currentKeyword <= KEY_COPYRIGHT;
    if (p == start) {
      kind = PARSE_LINE_KEYWORD;
    } else if (!inText) {
      CHECK_Report(906);
      kind = PARSE_LINE_KEYWORD;
    }
  }
  if (ctx.endSeen) {
    CHECK_Report(902);
    return;
  }
  if (kind == PARSE_LINE_KEYWORD && IsCommentCharKeyword(p)) {
    CommentChar(ctx, p);
    return;
  }
  size_t cut = line.find(ctx.gcCommentChar);
  if (cut != std::string::npos) line.resize(cut);
  while (!line.empty() && CMN_IsSpace(static_cast<unsigned char>(line.back()))) line.pop_back();
  HandleLine(ctx, kind, line.c_str());
}

// Reads the file line by line, then runs the passes over its records and
// shows them to the listener. Returns 0 when the file cannot be opened.
int ReadAndCheck(PARSE_CONTEXT& ctx, const char* path) {
  FILE* file = CMN_OpenFile(path, ctx.mode, &ctx.where);
  if (!file) return 0;
  std::string line;
  size_t fullLength = 0;
  while (CMN_ReadLine(file, line, kLineKept, &gulLineNumber, &ctx.illegalCharacters, &fullLength))
    ProcessLine(ctx, line, fullLength);
  if (!ctx.endSeen) {
    CHECK_ReportFile(903);
    HandleLine(ctx, PARSE_LINE_KEYWORD, "[END]");
  }
  std::fclose(file);
  PASS_CheckFile(ctx);
  if (gDescriptionListener) gDescriptionListener(ctx, gDescriptionContext);
  return 1;
}

}  // namespace

int PARSE_Keyword(PARSE_CONTEXT& ctx, const char* line, int previous, int set, int* id) {
  CMN_ASSERT(line != nullptr);
  CMN_ASSERT(id != nullptr);
  const char* open = std::strchr(line, '[');
  const char* close = open ? std::strchr(open + 1, ']') : nullptr;
  if (!close) {
    CHECK_Report(914);
    return 0;
  }
  size_t length = static_cast<size_t>(close - open - 1);
  if (length == 0 || length > kKeywordNameMax) {
    CHECK_Report(915);
    return 0;
  }
  char written[kKeywordNameMax + 1] = {};
  std::memcpy(written, open + 1, length);
  char name[kKeywordNameMax + 1] = {};
  for (size_t i = 0; i < length; ++i) name[i] = written[i] == ' ' ? '_' : written[i];

  int found = KEY_Lookup(set, name);
  if (found < 0) {
    CHECK_Report(916, written);
    return 0;
  }
  // The same name means different keywords in different places.
  if (found == KEY_MANUFACTURER) {
    if (previous >= KEY_DEFINE_PACKAGE_MODEL && previous <= KEY_DESCRIPTION) {
      found = KEY_PKG_MANUFACTURER;
    } else if (previous == KEY_BEGIN_BOARD_DESCRIPTION || previous == KEY_EBD_MANUFACTURER) {
      found = KEY_EBD_MANUFACTURER;
    }
  } else if (found == KEY_NUMBER_OF_PINS && ctx.mode == PARSE_MODE_EBD) {
    found = KEY_EBD_NUMBER_OF_PINS;
  } else if (ctx.inSubmodel) {
    if (found >= KEY_PULLDOWN && found <= KEY_POWER_CLAMP) {
      found = KEY_SUB_PULLDOWN + (found - KEY_PULLDOWN);
    } else if (found >= KEY_RAMP && found <= KEY_FALLING_WAVEFORM) {
      found = KEY_SUB_RAMP + (found - KEY_RAMP);
    }
  }
  *id = found;
  return 1;
}

int PARSE_CheckFile(const char* path, int mode) {
  PARSE_CONTEXT ctx;
  return PARSE_CheckFileOn(ctx, path, mode);
}

int PARSE_CheckFileOn(PARSE_CONTEXT& ctx, const char* path, int mode) {
  if (path && mode == PARSE_MODE_AMI) return AMIREAD_ReadFile(ctx, path);
  if (!path || mode < PARSE_MODE_IBS || mode > PARSE_MODE_EBD) return 0;
  // A version of the table gives its own rule set; any other value whose
  // first digit is 2 to 5 the set of that digit (the header then reports the
  // value); 6 and 7 only as the table has them, so that a version above the
  // newest known one is not checked at all.
  char versionText[16] = {};
  int version = CMN_DetectVersionText(path, mode, nullptr, versionText, sizeof versionText);
  const IBIS_VERSION* known = IBISVER_Find(versionText);
  int release = known ? known->release : IBISVER_ReleaseOfMajor(version);
  if (version < 2 || release == 0) {
    CHECK_ReportFile(900, path);
    return 0;
  }
  if (!gbParseQuiet) {
    std::printf("\nChecking %s for IBIS %s Compatibility...\n\n", path, IBISVER_Name(release));
  }
  ctx.mode = mode;
  gulLineNumber = 0;
  // Until its [IBIS Ver] line has been handled, the file is read with the
  // keyword set and line limit of the version it was detected as.
  ctx.ibisVersion = version;
  ctx.ibisRelease = release;
  const int result = ReadAndCheck(ctx, path);
  FreeDescription(ctx);
  return result;
}

void PARSE_SetDescriptionListener(PARSE_DESCRIPTION_LISTENER listener, void* context) {
  gDescriptionListener = listener;
  gDescriptionContext = context;
}

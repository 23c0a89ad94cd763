#include "IbisParser/ami/AlgMod.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <unordered_map>

#include "IbisParser/ami/AlgModTree.h"
#include "IbisParser/ami/ParseAmi.h"
#include "IbisParser/base/CmnFile.h"
#include "IbisParser/base/CmnWords.h"
#include "IbisParser/base/IbisVersion.h"
#include "IbisParser/base/ParseContext.h"
#include "IbisParser/rules/RuleReport.h"
#include "amiparam/AmiTree.h"
#include "amiparam/Cmn.h"
#include "amiparam/Msg.h"

namespace {

// Sub-parameters of the block, matched exactly, case counting, with the
// release that added them: Executable_Rx and Executable_Tx, the two halves
// of a repeater, came with 6.1 (BIRD 178.3, §10 [Algorithmic Model]).
struct SubParam {
  const char* name;
  int code;
  int since;
};
constexpr SubParam kSubParams[] = {
    {"Executable", 1, 0},
    {"Executable_Rx", 2, IBIS_RELEASE_61},
    {"Executable_Tx", 3, IBIS_RELEASE_61},
    {"NOT_ALGMOD", 0, 0},
};

int LookUpSubParam(PARSE_CONTEXT& ctx, const char* word) {
  int i = 0;
  for (; kSubParams[i].code != 0; ++i)
    if (std::strcmp(kSubParams[i].name, word) == 0 && ctx.ibisRelease >= kSubParams[i].since) break;
  return kSubParams[i].code;
}

// Copies `text` into a name field; a longer text is reported with `code` and cut.
void StoreName(char (&field)[ALGMOD_NAME_MAX + 1], const char* text, int code) {
  if (std::strlen(text) > static_cast<size_t>(ALGMOD_NAME_MAX)) CHECK_Report(code, text);
  std::strncpy(field, text, ALGMOD_NAME_MAX);
  field[ALGMOD_NAME_MAX] = '\0';
}

// An unsigned decimal integer that fills the whole text and fits a 32-bit
// signed field; anything else fails.
bool ReadBits(const char* text, int32_t* bits) {
  if (*text == '\0') return false;
  long long value = 0;
  for (const char* p = text; *p; ++p) {
    if (*p < '0' || *p > '9') return false;
    value = value * 10 + (*p - '0');
    if (value > INT32_MAX) return false;
  }
  *bits = static_cast<int32_t>(value);
  return true;
}

// Splits the platform word «Windows_VisualStudio_32» into its three parts.
// The word must give exactly name, "_", name, "_", number, each "_" a piece
// of its own, so a compiler name holding "_" does not parse.
bool SplitPlatform(const char* word, CMN_WORDS* pieces) {
  if (!CMN_SplitWords(word, 5, '_', pieces)) return false;
  if (pieces->found != 5) return false;
  auto isSep = [&](int i) { return std::strcmp(pieces->words[i], "_") == 0; };
  return !isSep(0) && isSep(1) && !isSep(2) && isSep(3) && !isSep(4);
}

// What makes two records of a block duplicates: platform and compiler
// without regard to case, bits, and the subparameter (an Executable_Rx and
// an Executable_Tx line for one platform are the two halves of a repeater).
std::string DuplicateKey(const ALGMOD& r) {
  std::string key;
  for (const char* text : {r.platform, r.compiler}) {
    for (const char* p = text; *p; ++p) key += (*p >= 'A' && *p <= 'Z') ? static_cast<char>(*p - 'A' + 'a') : *p;
    key += '\0';
  }
  return key + std::to_string(r.bits) + '\0' + std::to_string(r.kind);
}

// What dir + name is, looked up before anything opens it (a pipe would wait
// for a writer). A name too long to join, and a regular file that cannot be
// opened, count as missing.
CMN_FILE_KIND KindOf(const char* dir, const char* name, char (&path)[2048], const char** what) {
  if (!CMN_JoinPath(dir, name, path, sizeof path)) return CMN_FILE_MISSING;
  const CMN_FILE_KIND kind = CMN_FileKind(path, what);
  if (kind != CMN_FILE_REGULAR) return kind;
  FILE* f = std::fopen(path, "rb");
  if (!f) return CMN_FILE_MISSING;
  std::fclose(f);
  return CMN_FILE_REGULAR;
}

// A named file that is a directory, pipe or device is reported as unreadable
// (4700) instead of as missing; the check goes on as for a missing one.
void CheckRecord(PARSE_CONTEXT& ctx, ALGMOD* rec, const char* model, const char* dir) {
  char path[2048];
  const char* what = nullptr;
  if (rec->codeFile[0] != '\0') {
    const CMN_FILE_KIND code = KindOf(dir, rec->codeFile, path, &what);
    if (code == CMN_FILE_MISSING) CHECK_ReportFile(4616, rec->codeFile, model);
    if (code == CMN_FILE_SPECIAL) CHECK_ReportFile(4700, "", path, what);
  }
  if (rec->amiFile[0] == '\0') return;
  if (std::strchr(rec->amiFile, '.') == nullptr) {
    CHECK_ReportFile(4617, rec->amiFile, model);
    return;
  }
  const CMN_FILE_KIND ami = KindOf(dir, rec->amiFile, path, &what);
  if (ami == CMN_FILE_MISSING) {
    CHECK_ReportFile(4618, rec->amiFile, model);
    return;
  }
  if (ami == CMN_FILE_SPECIAL) {
    CHECK_ReportFile(4700, "", path, what);
    return;
  }
  // The .ami file is checked for the version of the IBIS file that names it;
  // 5.0, the first with [Algorithmic Model], when that is earlier or unknown.
  PARSE_CONTEXT amiFile;
  amiFile.amiBaseRelease = ctx.ibisRelease > IBIS_RELEASE_50 ? ctx.ibisRelease : IBIS_RELEASE_50;
  if (AMIREAD_ReadFile(amiFile, path)) {
    AMITREE* tree = ALGMOD_ParseAmiText(amiFile);
    if (tree) {
      if (rec->tree) AMITREE_Free(&rec->tree);
      rec->tree = tree;
    }
  } else {
    ALGMOD_ReleaseAmiText(amiFile);
  }
}

}  // namespace

void ALGMOD_BeginBlock(PARSE_CONTEXT& ctx, const char* line, ALGMODLIST** head) {
  if (*head) {
    CHECK_Report(4601);
    ALGMOD_FreeList(head);
  }
  if (!CMN_Alloc(head, sizeof(ALGMODLIST))) {
    CHECK_ReportFile(4602, CMN_BaseName(__FILE__), __LINE__);
    return;
  }
  const char* rest = std::strchr(line, ']');
  if (!rest) {
    CHECK_Report(4603, CMN_BaseName(__FILE__), __LINE__);
  } else {
    CMN_WORDS words{};
    if (CMN_SplitWords(rest + 1, 0, '\0', &words) && words.found > 0)
      CHECK_Report(4605, words.found + 1, "Algorithmic Model", 1);
    CMN_FreeWords(&words);
  }
  ctx.algmodLine = static_cast<long>(gulLineNumber);
}

void ALGMOD_AddLine(PARSE_CONTEXT& ctx, const char* line, ALGMODLIST* head) {
  if (!head) return;
  CMN_WORDS words{};
  if (!CMN_SplitWords(line, 4, '\0', &words)) {
    CMN_FreeWords(&words);
    return;
  }
  if (words.found != 4) {
    CHECK_Report(4605, words.found, "Algorithmic Model", 4);
    CMN_FreeWords(&words);
    return;
  }
  const int kind = LookUpSubParam(ctx, words.words[0]);
  if (kind == 0) {
    CHECK_Report(4609);
    CMN_FreeWords(&words);
    return;
  }

  ALGMOD* rec = nullptr;
  if (!CMN_Alloc(&rec, sizeof(ALGMOD))) {
    CHECK_ReportFile(4602, CMN_BaseName(__FILE__), __LINE__);
    CMN_FreeWords(&words);
    return;
  }
  rec->bits = -1;
  rec->kind = kind;

  CMN_WORDS pieces{};
  if (!SplitPlatform(words.words[1], &pieces)) {
    CHECK_Report(4610);
    CMN_FreeWords(&pieces);
    CMN_FreeWords(&words);
    CMN_Free(&rec);
    return;
  }
  StoreName(rec->platform, pieces.words[0], 4611);
  StoreName(rec->compiler, pieces.words[2], 4612);
  if (!ReadBits(pieces.words[4], &rec->bits)) CHECK_Report(4613, words.words[1]);
  StoreName(rec->codeFile, words.words[2], 4614);
  StoreName(rec->amiFile, words.words[3], 4614);
  CMN_FreeWords(&pieces);
  CMN_FreeWords(&words);

  rec->next = head->first;
  head->first = rec;
}

void ALGMOD_EndBlock(PARSE_CONTEXT& ctx, const ALGMODLIST* head) {
  if (!head) return;
  // Each record is reported once for every later record with the same
  // platform, compiler (both without regard to case) and bits. Counting the
  // records of each kind first makes that linear in the length of the block.
  std::unordered_map<std::string, long> later;
  for (const ALGMOD* r = head->first; r; r = r->next) ++later[DuplicateKey(*r)];
  for (const ALGMOD* r = head->first; r; r = r->next) {
    if (r->bits != 32 && r->bits != 64)
      CHECK_ReportFile(4606, r->platform, r->compiler, static_cast<int>(ctx.algmodLine));
    for (long n = --later[DuplicateKey(*r)]; n > 0; --n)
      CHECK_ReportFile(4607, r->platform, r->compiler, static_cast<int>(r->bits), static_cast<int>(ctx.algmodLine));
  }
}

void ALGMOD_CheckFiles(PARSE_CONTEXT& ctx, const ALGMOD_MODEL* models, int count, const char* ibisDir) {
  if (!models) return;
  const char* dir = ibisDir ? ibisDir : "";
  for (int i = 0; i < count; ++i) {
    ALGMODLIST* head = models[i].list;
    if (!head) continue;
    const char* model = models[i].name ? models[i].name : "";
    if (!head->first) {
      CHECK_ReportFile(4615, model);
      continue;
    }
    for (ALGMOD* rec = head->first; rec; rec = rec->next) CheckRecord(ctx, rec, model, dir);
  }
}

int ALGMOD_CheckAmiFile(const char* path) {
  // On its own, an .ami file is checked for 5.0 unless its AMI_Version names a later version.
  PARSE_CONTEXT ctx;
  ctx.amiStandalone = 1;
  const int read = AMIREAD_ReadFile(ctx, path);
  if (!read) {
    ALGMOD_ReleaseAmiText(ctx);
    return 0;
  }
  AMITREE* tree = ALGMOD_ParseAmiText(ctx);
  if (tree) AMITREE_Free(&tree);
  return 1;
}

void ALGMOD_ReleaseAmiText(PARSE_CONTEXT& ctx) {
  if (ctx.gpszAmiText) CMN_Free(&ctx.gpszAmiText);
}

AMITREE* ALGMOD_ParseAmiText(PARSE_CONTEXT& ctx) {
  if (!ctx.gpszAmiText) return nullptr;
  AMITREE* tree = nullptr;
  int result = AMITREE_Parse(ctx.gpszAmiText, &tree);
  ALGMOD_ReleaseAmiText(ctx);
  switch (result) {
    case 0:
      AMICHECK_CheckTree(ctx, tree);
      return tree;
    case 1:
      CHECK_ReportFile(4619);
      break;
    case 2:
      CHECK_ReportFile(4620);
      break;
    case 3:
    case 6:
      CHECK_ReportFile(4635);
      break;
    case 8:
      CHECK_ReportFile(4634);
      break;
    default:
      CHECK_ReportFile(4621);
      break;
  }
  return nullptr;
}

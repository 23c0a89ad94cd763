#include "IbisParser/sections/Pkg.h"

#include "IbisParser/base/CmnWords.h"
#include "IbisParser/base/Rng.h"
#include "IbisParser/rules/RuleReport.h"
#include "amiparam/Cmn.h"
#include "amiparam/Msg.h"

namespace {

// The three sub-parameters with their duplicate and missing messages.
struct SubParam {
  const char* name;
  RNG* PKG::*slot;
  int duplicateCode;
  int missingCode;
};
constexpr SubParam kSubParams[] = {
    {"R_pkg", &PKG::rPkg, 1203, 1213},
    {"L_pkg", &PKG::lPkg, 1204, 1215},
    {"C_pkg", &PKG::cPkg, 1205, 1217},
};

}  // namespace

int PKG_Create(PKG** ppPkg) {
  CMN_ASSERT(ppPkg != nullptr);
  if (!CMN_Alloc(ppPkg, sizeof(PKG))) {
    CHECK_Report(1200);
    return 0;
  }
  return 1;
}

void PKG_ReadLine(PKG* pkg, const char* line) {
  CMN_ASSERT(pkg != nullptr);
  CMN_ASSERT(line != nullptr);
  const char* text = line;
  if (CMN_IsSpace(static_cast<unsigned char>(*text))) {
    CHECK_Report(1201);
    CMN_SkipSpace(&text);
  }
  CMN_WORDS words{};
  if (!CMN_SplitWords(text, 4, '\0', &words)) {
    CMN_FreeWords(&words);
    return;
  }
  if (words.found != 4) {
    CHECK_Report(1202, 4, static_cast<int>(words.found));
    CMN_FreeWords(&words);
    return;
  }
  const char* name = words.words[0];
  const SubParam* sub = nullptr;
  for (const SubParam& s : kSubParams)
    if (CMN_EqualNoCase(name, s.name)) sub = &s;
  if (!sub) {
    CHECK_Report(1206);
  } else if (pkg->*(sub->slot)) {
    CHECK_Report(sub->duplicateCode);
  } else {
    // The columns are the rest of the line after the sub-parameter name.
    const char* rest = text;
    CMN_SkipSpace(&rest);
    while (*rest && *rest != ' ' && *rest != '\t') ++rest;
    RNG* rng = nullptr;
    if (!RNG_ReadTriple(rest, name, &rng)) {
      CHECK_Report(1207, name);
      if (rng) CMN_Free(&rng);
    } else {
      pkg->*(sub->slot) = rng;
      if (rng->typ.status != CMN_VALUE_NUMBER) CHECK_Report(1209);
    }
  }
  CMN_FreeWords(&words);
}

void PKG_CheckComplete(const PKG* pkg, const char* component) {
  CMN_ASSERT(pkg != nullptr);
  for (const SubParam& s : kSubParams)
    if (!(pkg->*(s.slot))) CHECK_ReportFile(s.missingCode, component ? component : "");
}

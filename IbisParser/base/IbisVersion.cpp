#include "IbisParser/base/IbisVersion.h"

#include <cstring>

#include "IbisParser/base/KeywordTables.h"

namespace {

// The values [IBIS Ver] may take. Versions between the checker's rule sets
// (2.0, 3.0, 3.1, 4.0, 4.1) are checked against the next set up, as before.
constexpr IBIS_VERSION kVersions[] = {
    {"2.0", 2, IBIS_RELEASE_21, KEY_SET_21},  // IBIS 2.1 §4 [IBIS Ver]: earlier versions stay legal
    {"2.1", 2, IBIS_RELEASE_21, KEY_SET_21}, {"3.0", 3, IBIS_RELEASE_32, KEY_SET_32},
    {"3.1", 3, IBIS_RELEASE_32, KEY_SET_32}, {"3.2", 3, IBIS_RELEASE_32, KEY_SET_32},
    {"4.0", 4, IBIS_RELEASE_42, KEY_SET_42}, {"4.1", 4, IBIS_RELEASE_42, KEY_SET_42},
    {"4.2", 4, IBIS_RELEASE_42, KEY_SET_42}, {"5.0", 5, IBIS_RELEASE_50, KEY_SET_50},
    {"5.1", 5, IBIS_RELEASE_51, KEY_SET_51},  // IBIS 5.1 §4 [IBIS Ver]
    {"6.0", 6, IBIS_RELEASE_60, KEY_SET_60},  // IBIS 6.0 §4 [IBIS Ver]
    {"6.1", 6, IBIS_RELEASE_61, KEY_SET_61},  // IBIS 6.1 §4 [IBIS Ver]
    {"7.0", 7, IBIS_RELEASE_70, KEY_SET_70},  // IBIS 7.0 §4 [IBIS Ver]
    {"7.1", 7, IBIS_RELEASE_71, KEY_SET_71},  // IBIS 7.1 §4 [IBIS Ver]
    {"7.2", 7, IBIS_RELEASE_72, KEY_SET_72},  // IBIS 7.2 §4 [IBIS Ver]
};

}  // namespace

const IBIS_VERSION* IBISVER_Find(const char* text) {
  if (!text) return nullptr;
  for (const IBIS_VERSION& v : kVersions)
    if (std::strcmp(v.text, text) == 0) return &v;
  return nullptr;
}

int IBISVER_ReleaseOfMajor(int major) {
  if (major >= 1 && major <= 2) return IBIS_RELEASE_21;
  if (major == 3) return IBIS_RELEASE_32;
  if (major == 4) return IBIS_RELEASE_42;
  if (major == 5) return IBIS_RELEASE_50;
  return 0;
}

int IBISVER_KeywordSet(int release) {
  if (release > IBIS_RELEASE_NEWEST) return KEY_SET_72;
  for (const IBIS_VERSION& v : kVersions)
    if (v.release == release) return v.keywordSet;
  int major = release / 10;
  if (major <= 2) return KEY_SET_21;
  if (major == 3) return KEY_SET_32;
  if (major == 4) return KEY_SET_42;
  return KEY_SET_50;
}

const char* IBISVER_Name(int release) {
  // The last row of each rule set names it.
  const char* name = "";
  for (const IBIS_VERSION& v : kVersions)
    if (v.release == release) name = v.text;
  return name;
}

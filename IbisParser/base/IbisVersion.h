// The IBIS versions the checker knows: each value [IBIS Ver] may take, the
// keyword set a file of that version is checked against, and the release
// code (major * 10 + minor of that set) that version-dependent rules compare.
#pragma once

// One version of the standard.
struct IBIS_VERSION {
  const char* text;  // the value of [IBIS Ver], e.g. "7.2"
  int major;         // its first digit
  int release;       // code of the rule set it is checked against: 21, 32, 42, 50, 51, 60, 61, 70, 71 or 72
  int keywordSet;    // KEY_SET_* of that rule set
};

// Release codes of the rule sets.
enum {
  IBIS_RELEASE_21 = 21,
  IBIS_RELEASE_32 = 32,
  IBIS_RELEASE_42 = 42,
  IBIS_RELEASE_50 = 50,
  IBIS_RELEASE_51 = 51,
  IBIS_RELEASE_60 = 60,
  IBIS_RELEASE_61 = 61,
  IBIS_RELEASE_70 = 70,
  IBIS_RELEASE_71 = 71,
  IBIS_RELEASE_72 = 72,
  IBIS_RELEASE_NEWEST = IBIS_RELEASE_72,
};

// The version whose text equals `text` exactly, or null.
const IBIS_VERSION* IBISVER_Find(const char* text);

// The rule set of a file whose version text is not one of the table but
// whose first digit is `major` (1 to 5): the set of that digit, as the
// checker has always chosen it (2 or less: 2.1, 3: 3.2, 4: 4.2, 5: 5.0).
// Versions 6 and 7 have no such fallback: 0.
int IBISVER_ReleaseOfMajor(int major);

// The keyword set (KEY_SET_*) of a release code; unknown codes give the set
// of their first digit as above, codes above the newest the newest set.
int IBISVER_KeywordSet(int release);

// The text naming a release's rule set ("2.1" ... "7.2"); "" for unknown codes.
const char* IBISVER_Name(int release);

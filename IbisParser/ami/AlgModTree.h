// Parsing and checking of the text collected from an .ami parameter file: the
// tree must hold a Reserved_Parameters branch and may hold a Model_Specific
// branch; every leaf is checked for a well-formed Usage, Type and Format.
#pragma once

struct PARSE_CONTEXT;

struct AMITREE;
struct AMILEAF;
struct AMIBRANCH;
struct AMIVALUE;

// Reserved words of the AMI notation as the parser codes them in a value's
// `keyword`.
enum {
  AMICHECK_KW_IN = 0,
  AMICHECK_KW_OUT = 1,
  AMICHECK_KW_INFO = 2,
  AMICHECK_KW_INOUT = 3,
  AMICHECK_KW_FLOAT = 4,
  AMICHECK_KW_INTEGER = 5,
  AMICHECK_KW_STRING = 6,
  AMICHECK_KW_BOOLEAN = 7,
  AMICHECK_KW_TAP = 8,
  AMICHECK_KW_UI = 9,
  AMICHECK_KW_VALUE = 10,
  AMICHECK_KW_RANGE = 11,
  AMICHECK_KW_LIST = 12,
  AMICHECK_KW_CORNER = 13,
  AMICHECK_KW_INCREMENT = 14,
  AMICHECK_KW_STEPS = 15,
  AMICHECK_KW_TABLE = 16,
  AMICHECK_KW_GAUSSIAN = 17,
  AMICHECK_KW_DUAL_DIRAC = 18,
  AMICHECK_KW_DJRJ = 19,
};

// Reserved leaf names as the parser codes them in a leaf's `property`.
enum {
  AMICHECK_PROP_OTHER = 0,
  AMICHECK_PROP_USAGE = 1,
  AMICHECK_PROP_TYPE = 2,
  AMICHECK_PROP_FORMAT = 3,
  AMICHECK_PROP_DEFAULT = 4,
  AMICHECK_PROP_DESCRIPTION = 5,
  AMICHECK_PROP_LABELS = 6,
};

// The checks behind ALGMOD_ParseAmiText, on a tree that parsed, for
// giAmiBaseRelease (or the tree's own AMI_Version).
void AMICHECK_CheckTree(PARSE_CONTEXT& ctx, const AMITREE* tree);
void AMICHECK_WalkBranch(PARSE_CONTEXT& ctx, const AMIBRANCH* branch);
void AMICHECK_CheckLeaf(PARSE_CONTEXT& ctx, const AMILEAF* leaf, const char* owner);

// Checks the numbers that follow the Format word of `leaf` (its first value).
// Returns 1 when the count and kinds are right, 0 after printing 4632, and -1
// when the first value is not a format word (nothing printed).
int AMICHECK_CheckFormatNumbers(const AMILEAF* leaf, const char* owner);

// The same for format word `keyword` (written `word`) followed by `count`
// values: (Format Word values...) or, from 5.1 on, (Word values...). With
// `numbers` false (a String or Boolean parameter) the values may be of any
// kind, only their count is checked.
int AMICHECK_CheckFormatValues(int keyword, const char* word, const AMIVALUE* values, int count, const char* owner,
                               bool numbers = true);

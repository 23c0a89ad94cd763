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
  ALGMOD_KW_IN = 0,
  ALGMOD_KW_OUT = 1,
  ALGMOD_KW_INFO = 2,
  ALGMOD_KW_INOUT = 3,
  ALGMOD_KW_FLOAT = 4,
  ALGMOD_KW_INTEGER = 5,
  ALGMOD_KW_STRING = 6,
  ALGMOD_KW_BOOLEAN = 7,
  ALGMOD_KW_TAP = 8,
  ALGMOD_KW_UI = 9,
  ALGMOD_KW_VALUE = 10,
  ALGMOD_KW_RANGE = 11,
  ALGMOD_KW_LIST = 12,
  ALGMOD_KW_CORNER = 13,
  ALGMOD_KW_INCREMENT = 14,
  ALGMOD_KW_STEPS = 15,
  ALGMOD_KW_TABLE = 16,
  ALGMOD_KW_GAUSSIAN = 17,
  ALGMOD_KW_DUAL_DIRAC = 18,
  ALGMOD_KW_DJRJ = 19,
};

// Reserved leaf names as the parser codes them in a leaf's `property`.
enum {
  ALGMOD_PROP_OTHER = 0,
  ALGMOD_PROP_USAGE = 1,
  ALGMOD_PROP_TYPE = 2,
  ALGMOD_PROP_FORMAT = 3,
  ALGMOD_PROP_DEFAULT = 4,
  ALGMOD_PROP_DESCRIPTION = 5,
  ALGMOD_PROP_LABELS = 6,
};

// Parses gpszAmiText (collected by the .ami mode of PARSE_CheckFile), checks
// the tree and returns it, or null when the text was empty or did not parse.
// The text is released in every case.
AMITREE* ALGMOD_ParseAmiText(PARSE_CONTEXT& ctx);

// Releases gpszAmiText if it holds anything.
void ALGMOD_ReleaseAmiText(PARSE_CONTEXT& ctx);

// The checks behind ALGMOD_ParseAmiText, on a tree that parsed, for
// giAmiBaseRelease (or the tree's own AMI_Version).
void ALGMOD_CheckTree(PARSE_CONTEXT& ctx, const AMITREE* tree);
void ALGMOD_WalkBranch(PARSE_CONTEXT& ctx, const AMIBRANCH* branch);
void ALGMOD_CheckLeaf(PARSE_CONTEXT& ctx, const AMILEAF* leaf, const char* owner);

// Checks the numbers that follow the Format word of `leaf` (its first value).
// Returns 1 when the count and kinds are right, 0 after printing 4632, and -1
// when the first value is not a format word (nothing printed).
int ALGMOD_CheckFormatNumbers(const AMILEAF* leaf, const char* owner);

// The same for format word `keyword` (written `word`) followed by `count`
// values: (Format Word values...) or, from 5.1 on, (Word values...). With
// `numbers` false (a String or Boolean parameter) the values may be of any
// kind, only their count is checked.
int ALGMOD_CheckFormatValues(int keyword, const char* word, const AMIVALUE* values, int count, const char* owner,
                             bool numbers = true);

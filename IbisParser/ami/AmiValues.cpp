#include "IbisParser/ami/AmiValues.h"

#include <cstdlib>
#include <cstring>

#include "IbisParser/ami/AlgModTree.h"
#include "IbisParser/base/IbisVersion.h"
#include "IbisParser/base/ParseContext.h"
#include "IbisParser/rules/RuleReport.h"
#include "amiparam/AmiTree.h"

namespace {

// The data format of a parameter: its keyword and the values after it.
struct FormatValues {
  int keyword = -1;
  const char* word = "";
  const AMIVALUE* values = nullptr;
  int count = 0;
};

// The data formats whose values these checks compare, as a leaf of their own.
struct DataFormat {
  int keyword;
  const char* name;
};
constexpr DataFormat kDataFormats[] = {
    {AMICHECK_KW_RANGE, "Range"}, {AMICHECK_KW_LIST, "List"}, {AMICHECK_KW_INCREMENT, "Increment"}};

bool IsNumber(const AMIVALUE& v) { return v.kind == AMIVALUE_INTEGER || v.kind == AMIVALUE_FLOAT; }

double Number(const AMIVALUE& v) { return std::strtod(v.text ? v.text : "", nullptr); }

const char* Text(const AMIVALUE& v) { return v.text ? v.text : ""; }

// The format leaf, «(Format Range 1 0 2)» or from 5.1 «(Range 1 0 2)», and the Default leaf.
void Find(const AMIBRANCH* param, FormatValues* format, const AMIVALUE** defaultValue) {
  for (int i = 0; i < param->child_count; ++i) {
    const AMINODE& child = param->children[i];
    if (!child.body || child.kind != AMINODE_LEAF) continue;
    const AMILEAF* leaf = static_cast<const AMILEAF*>(child.body);
    if (!leaf->name || leaf->value_count < 1 || !leaf->values) continue;
    if (std::strcmp(leaf->name, "Default") == 0) {
      *defaultValue = &leaf->values[0];
    } else if (std::strcmp(leaf->name, "Format") == 0) {
      *format = {leaf->values[0].keyword, Text(leaf->values[0]), leaf->values + 1, leaf->value_count - 1};
    } else {
      for (const DataFormat& d : kDataFormats)
        if (std::strcmp(leaf->name, d.name) == 0) *format = {d.keyword, leaf->name, leaf->values, leaf->value_count};
    }
  }
}

// Range <typ> <min> <max> and Increment <typ> <min> <max> <delta>: min not
// above max (5704), a positive delta (5707), typ within them (5705), Default
// within them (5703).
void CheckSpan(const char* name, const FormatValues& f, const AMIVALUE* defaultValue) {
  if (f.count < 3 || !IsNumber(f.values[0]) || !IsNumber(f.values[1]) || !IsNumber(f.values[2])) return;
  const double typ = Number(f.values[0]), min = Number(f.values[1]), max = Number(f.values[2]);
  if (min > max) {
    CHECK_ReportFile(5704, name, f.word, Text(f.values[1]), Text(f.values[2]));
    return;
  }
  if (f.keyword == AMICHECK_KW_INCREMENT && f.count > 3 && IsNumber(f.values[3]) && Number(f.values[3]) <= 0.0)
    CHECK_ReportFile(5707, name, Text(f.values[3]));
  if (typ < min || typ > max)
    CHECK_ReportFile(5705, name, f.word, Text(f.values[0]), Text(f.values[1]), Text(f.values[2]));
  if (defaultValue && IsNumber(*defaultValue) && (Number(*defaultValue) < min || Number(*defaultValue) > max))
    CHECK_ReportFile(5703, name, Text(*defaultValue), f.word);
}

// List <value> ...: Default is one of the values (as written, or the same number).
void CheckList(const char* name, const FormatValues& f, const AMIVALUE* defaultValue) {
  if (!defaultValue) return;
  for (int i = 0; i < f.count; ++i) {
    if (std::strcmp(Text(f.values[i]), Text(*defaultValue)) == 0) return;
    if (IsNumber(f.values[i]) && IsNumber(*defaultValue) && Number(f.values[i]) == Number(*defaultValue)) return;
  }
  CHECK_ReportFile(5703, name, Text(*defaultValue), f.word);
}

}  // namespace

void AMIVAL_CheckParameter(const PARSE_CONTEXT& ctx, const AMIBRANCH* param) {
  if (!param || !param->name || ctx.amiRelease < IBIS_RELEASE_51) return;
  FormatValues format;
  const AMIVALUE* defaultValue = nullptr;
  Find(param, &format, &defaultValue);
  if (format.keyword == AMICHECK_KW_RANGE || format.keyword == AMICHECK_KW_INCREMENT)
    CheckSpan(param->name, format, defaultValue);
  else if (format.keyword == AMICHECK_KW_LIST)
    CheckList(param->name, format, defaultValue);
}

void AMIVAL_CheckNames(const PARSE_CONTEXT& ctx, const AMIBRANCH* branch) {
  if (!branch || ctx.amiRelease < IBIS_RELEASE_60) return;
  for (int i = 0; i < branch->child_count; ++i) {
    const AMINODE& child = branch->children[i];
    if (!child.body || child.kind != AMINODE_BRANCH) continue;
    const char* name = static_cast<const AMIBRANCH*>(child.body)->name;
    for (int j = 0; name && j < i; ++j) {
      const AMINODE& earlier = branch->children[j];
      if (!earlier.body || earlier.kind != AMINODE_BRANCH) continue;
      const char* before = static_cast<const AMIBRANCH*>(earlier.body)->name;
      if (before && std::strcmp(before, name) == 0) {
        CHECK_ReportFile(5708, branch->name ? branch->name : "", name);
        break;
      }
    }
  }
}

#include "IbisParser/ami/AlgModTree.h"

#include <cstring>

#include "IbisParser/ami/AlgModReserved.h"
#include "IbisParser/ami/AmiValues.h"
#include "IbisParser/ami/ParseAmi.h"
#include "IbisParser/base/IbisVersion.h"
#include "IbisParser/base/ParseContext.h"
#include "IbisParser/rules/RuleReport.h"
#include "amiparam/AmiTree.h"
#include "amiparam/AmiTreeWalk.h"
#include "amiparam/Cmn.h"
#include "amiparam/Msg.h"

namespace {

// What a Format word needs after it.
struct FormatNeed {
  int keyword;
  int numbers;    // how many values follow
  bool atLeast;   // true: at least `numbers` values of any kind (List)
  bool anything;  // true: whatever follows (Table)
};
constexpr FormatNeed kFormatNeeds[] = {
    {AMICHECK_KW_VALUE, 1, false, false},      {AMICHECK_KW_RANGE, 3, false, false},
    {AMICHECK_KW_LIST, 1, true, false},        {AMICHECK_KW_CORNER, 3, false, false},
    {AMICHECK_KW_INCREMENT, 4, false, false},  {AMICHECK_KW_STEPS, 4, false, false},
    {AMICHECK_KW_TABLE, 0, false, true},       {AMICHECK_KW_GAUSSIAN, 2, false, false},
    {AMICHECK_KW_DUAL_DIRAC, 3, false, false}, {AMICHECK_KW_DJRJ, 3, false, false},
};

bool IsNumber(const AMIVALUE& v) { return v.kind == AMIVALUE_INTEGER || v.kind == AMIVALUE_FLOAT; }

const char* NameOf(const AMINODE& node) {
  if (!node.body) return "";
  const char* name = node.kind == AMINODE_BRANCH ? static_cast<const AMIBRANCH*>(node.body)->name
                                                 : static_cast<const AMILEAF*>(node.body)->name;
  return name ? name : "";
}

// The value of an AMI_Version branch (Value, Default or Format Value leaf),
// or null.
const AMIVALUE* AmiVersionValue(const AMIBRANCH* branch) {
  for (int i = 0; i < branch->child_count; ++i) {
    const AMINODE& node = branch->children[i];
    if (!node.body || node.kind != AMINODE_LEAF) continue;
    const AMILEAF* leaf = static_cast<const AMILEAF*>(node.body);
    if (leaf->value_count < 1 || !leaf->values) continue;
    if (leaf->property == AMICHECK_PROP_DEFAULT || std::strcmp(leaf->name, "Value") == 0) return &leaf->values[0];
    if (leaf->property == AMICHECK_PROP_FORMAT && leaf->values[0].keyword == AMICHECK_KW_VALUE && leaf->value_count > 1)
      return &leaf->values[1];
  }
  return nullptr;
}

// The release the tree is checked for: a known AMI_Version of 5.1 or later
// chooses it (IBIS 5.1 §10, BIRD 126); any other value is reported and the
// base release stays.
int ReleaseOfTree(PARSE_CONTEXT& ctx, const AMIBRANCH* top) {
  for (int i = 0; i < top->child_count; ++i) {
    const AMINODE& child = top->children[i];
    if (!child.body || child.kind != AMINODE_BRANCH || std::strcmp(NameOf(child), "Reserved_Parameters") != 0) continue;
    const AMIBRANCH* reserved = static_cast<const AMIBRANCH*>(child.body);
    for (int j = 0; j < reserved->child_count; ++j) {
      const AMINODE& param = reserved->children[j];
      if (!param.body || param.kind != AMINODE_BRANCH || std::strcmp(NameOf(param), "AMI_Version") != 0) continue;
      const AMIVALUE* value = AmiVersionValue(static_cast<const AMIBRANCH*>(param.body));
      if (!value) return ctx.amiBaseRelease;
      const IBIS_VERSION* known = IBISVER_Find(value->text);
      if (known && known->release >= IBIS_RELEASE_51) return known->release;
      CHECK_ReportFile(4627, "Value", value->text ? value->text : "", "AMI_Version");
      return ctx.amiBaseRelease;
    }
  }
  return ctx.amiBaseRelease;
}

}  // namespace

int AMICHECK_CheckFormatValues(int keyword, const char* word, const AMIVALUE* values, int count, const char* owner,
                               bool numbers) {
  for (const FormatNeed& need : kFormatNeeds) {
    if (need.keyword != keyword) continue;
    if (need.anything) return 1;
    bool ok = need.atLeast ? count >= need.numbers : count == need.numbers;
    for (int i = 0; ok && numbers && !need.atLeast && i < count; ++i) ok = IsNumber(values[i]);
    if (ok) return 1;
    CHECK_ReportFile(4632, word, owner, need.numbers);
    return 0;
  }
  return -1;
}

int AMICHECK_CheckFormatNumbers(const AMILEAF* leaf, const char* owner) {
  const AMIVALUE& word = leaf->values[0];
  return AMICHECK_CheckFormatValues(word.keyword, word.text, leaf->values + 1, leaf->value_count - 1, owner);
}

void AMICHECK_CheckLeaf(PARSE_CONTEXT& ctx, const AMILEAF* leaf, const char* owner) {
  if (leaf->value_count < 1 || !leaf->values) {
    CHECK_ReportFile(4626, leaf->name, owner);
    return;
  }
  const AMIVALUE& first = leaf->values[0];
  switch (leaf->property) {
    case AMICHECK_PROP_USAGE: {
      // IBIS 5.1 §10: Usage Dep marks a parameter set through a dependency table.
      bool dep = ctx.amiRelease >= IBIS_RELEASE_51 && first.text && std::strcmp(first.text, "Dep") == 0;
      if ((first.keyword < AMICHECK_KW_IN || first.keyword > AMICHECK_KW_INOUT) && !dep)
        CHECK_ReportFile(4627, "Usage", first.text, owner);
      break;
    }
    case AMICHECK_PROP_TYPE:
      if (first.keyword < AMICHECK_KW_FLOAT || first.keyword > AMICHECK_KW_UI)
        CHECK_ReportFile(4627, "Type", first.text, owner);
      break;
    case AMICHECK_PROP_FORMAT:
      if (AMICHECK_CheckFormatNumbers(leaf, owner) < 0) CHECK_ReportFile(4627, "Format", first.text, owner);
      break;
    default:
      break;
  }
}

void AMICHECK_WalkBranch(PARSE_CONTEXT& ctx, const AMIBRANCH* branch) {
  AMIVAL_CheckNames(ctx, branch);
  // Without recursion: an .ami file may nest deeper than the call stack allows.
  AMITREE_Walk(branch, 0, [&ctx](const AMINODE& child, int32_t, const AMIBRANCH* parent, int, int&) {
    if (!child.body) return AmiWalkStep::kNext;
    if (child.kind != AMINODE_LEAF) {
      AMIVAL_CheckParameter(ctx, static_cast<const AMIBRANCH*>(child.body));
      AMIVAL_CheckNames(ctx, static_cast<const AMIBRANCH*>(child.body));
      return AmiWalkStep::kEnter;
    }
    AMICHECK_CheckLeaf(ctx, static_cast<const AMILEAF*>(child.body), parent->name);
    return AmiWalkStep::kNext;
  });
}

void AMICHECK_CheckTree(PARSE_CONTEXT& ctx, const AMITREE* tree) {
  const AMINODE* root = tree && tree->slots > 0 ? &tree->nodes[0] : nullptr;
  if (!root || !root->body || root->kind != AMINODE_BRANCH ||
      static_cast<const AMIBRANCH*>(root->body)->child_count < 1) {
    CHECK_ReportFile(4622);
    return;
  }
  const AMIBRANCH* top = static_cast<const AMIBRANCH*>(root->body);
  ctx.amiRelease = ReleaseOfTree(ctx, top);
  if (ctx.amiRelease != ctx.amiBaseRelease && !gbParseQuiet) CHECK_ReportFile(4640, IBISVER_Name(ctx.amiRelease));
  AMIVAL_CheckNames(ctx, top);
  bool reservedSeen = false, modelSpecificSeen = false;
  for (int i = 0; i < top->child_count; ++i) {
    const AMINODE& child = top->children[i];
    if (!child.body) continue;
    if (child.kind == AMINODE_LEAF) {
      AMICHECK_CheckLeaf(ctx, static_cast<const AMILEAF*>(child.body), top->name);
      continue;
    }
    const AMIBRANCH* branch = static_cast<const AMIBRANCH*>(child.body);
    if (std::strcmp(NameOf(child), "Reserved_Parameters") == 0) {
      // IBIS 5.1 §10 (BIRD 139): from AMI_Version 5.1 on, Reserved_Parameters comes first.
      if (modelSpecificSeen && ctx.amiRelease >= IBIS_RELEASE_51) CHECK_ReportFile(4641);
      reservedSeen = true;
      AMIRES_CheckReserved(ctx, branch, ctx.amiRelease);
    } else if (std::strcmp(NameOf(child), "Model_Specific") == 0) {
      modelSpecificSeen = true;
      AMICHECK_WalkBranch(ctx, branch);
    } else {
      CHECK_ReportFile(4623, NameOf(child));
    }
  }
  if (!reservedSeen) CHECK_ReportFile(4622);
}

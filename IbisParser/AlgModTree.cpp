#include "IbisParser/AlgModTree.h"

#include <cstring>

#include "IbisParser/AlgModReserved.h"
#include "IbisParser/ParseAmi.h"
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
    {ALGMOD_KW_VALUE, 1, false, false},      {ALGMOD_KW_RANGE, 3, false, false},
    {ALGMOD_KW_LIST, 1, true, false},        {ALGMOD_KW_CORNER, 3, false, false},
    {ALGMOD_KW_INCREMENT, 4, false, false},  {ALGMOD_KW_STEPS, 4, false, false},
    {ALGMOD_KW_TABLE, 0, false, true},       {ALGMOD_KW_GAUSSIAN, 2, false, false},
    {ALGMOD_KW_DUAL_DIRAC, 3, false, false}, {ALGMOD_KW_DJRJ, 3, false, false},
};

bool IsNumber(const AMIVALUE& v) { return v.kind == AMIVALUE_INTEGER || v.kind == AMIVALUE_FLOAT; }

const char* NameOf(const AMINODE& node) {
  if (!node.body) return "";
  const char* name = node.kind == AMINODE_BRANCH ? static_cast<const AMIBRANCH*>(node.body)->name
                                                 : static_cast<const AMILEAF*>(node.body)->name;
  return name ? name : "";
}

}  // namespace

int ALGMOD_CheckFormatNumbers(const AMILEAF* leaf, const char* owner) {
  const AMIVALUE& word = leaf->values[0];
  for (const FormatNeed& need : kFormatNeeds) {
    if (need.keyword != word.keyword) continue;
    if (need.anything) return 1;
    int given = leaf->value_count - 1;
    bool ok = need.atLeast ? given >= need.numbers : given == need.numbers;
    for (int i = 1; ok && !need.atLeast && i < leaf->value_count; ++i) ok = IsNumber(leaf->values[i]);
    if (ok) return 1;
    MSG_Code(MSG_LEVEL_ERROR, 4632, word.text, owner, need.numbers);
    return 0;
  }
  return -1;
}

void ALGMOD_CheckLeaf(const AMILEAF* leaf, const char* owner) {
  if (leaf->value_count < 1 || !leaf->values) {
    MSG_Code(MSG_LEVEL_ERROR, 4626, leaf->name, owner);
    return;
  }
  const AMIVALUE& first = leaf->values[0];
  switch (leaf->property) {
    case ALGMOD_PROP_USAGE:
      if (first.keyword < ALGMOD_KW_IN || first.keyword > ALGMOD_KW_INOUT)
        MSG_Code(MSG_LEVEL_ERROR, 4627, "Usage", first.text, owner);
      break;
    case ALGMOD_PROP_TYPE:
      if (first.keyword < ALGMOD_KW_FLOAT || first.keyword > ALGMOD_KW_UI)
        MSG_Code(MSG_LEVEL_ERROR, 4627, "Type", first.text, owner);
      break;
    case ALGMOD_PROP_FORMAT:
      if (ALGMOD_CheckFormatNumbers(leaf, owner) < 0) MSG_Code(MSG_LEVEL_ERROR, 4627, "Format", first.text, owner);
      break;
    default:
      break;
  }
}

void ALGMOD_WalkBranch(const AMIBRANCH* branch) {
  // Without recursion: an .ami file may nest deeper than the call stack allows.
  AMITREE_Walk(branch, 0, [](const AMINODE& child, int32_t, const AMIBRANCH* parent, int, int&) {
    if (!child.body) return AmiWalkStep::kNext;
    if (child.kind != AMINODE_LEAF) return AmiWalkStep::kEnter;
    ALGMOD_CheckLeaf(static_cast<const AMILEAF*>(child.body), parent->name);
    return AmiWalkStep::kNext;
  });
}

void ALGMOD_CheckTree(const AMITREE* tree) {
  const AMINODE* root = tree && tree->slots > 0 ? &tree->nodes[0] : nullptr;
  if (!root || !root->body || root->kind != AMINODE_BRANCH ||
      static_cast<const AMIBRANCH*>(root->body)->child_count < 1) {
    MSG_Code(MSG_LEVEL_ERROR, 4622);
    return;
  }
  const AMIBRANCH* top = static_cast<const AMIBRANCH*>(root->body);
  bool reservedSeen = false;
  for (int i = 0; i < top->child_count; ++i) {
    const AMINODE& child = top->children[i];
    if (!child.body) continue;
    if (child.kind == AMINODE_LEAF) {
      ALGMOD_CheckLeaf(static_cast<const AMILEAF*>(child.body), top->name);
      continue;
    }
    const AMIBRANCH* branch = static_cast<const AMIBRANCH*>(child.body);
    if (std::strcmp(NameOf(child), "Reserved_Parameters") == 0) {
      reservedSeen = true;
      ALGMOD_CheckReserved(branch);
    } else if (std::strcmp(NameOf(child), "Model_Specific") == 0) {
      ALGMOD_WalkBranch(branch);
    } else {
      MSG_Code(MSG_LEVEL_ERROR, 4623, NameOf(child));
    }
  }
  if (!reservedSeen) MSG_Code(MSG_LEVEL_ERROR, 4622);
}

void ALGMOD_ReleaseAmiText() {
  if (gpszAmiText) CMN_Free(&gpszAmiText);
}

AMITREE* ALGMOD_ParseAmiText() {
  if (!gpszAmiText) return nullptr;
  AMITREE* tree = nullptr;
  int result = AMITREE_Parse(gpszAmiText, &tree);
  ALGMOD_ReleaseAmiText();
  switch (result) {
    case 0:
      ALGMOD_CheckTree(tree);
      return tree;
    case 1:
      MSG_Code(MSG_LEVEL_ERROR, 4619);
      break;
    case 2:
      MSG_Code(MSG_LEVEL_ERROR, 4620);
      break;
    case 3:
    case 6:
      MSG_Code(MSG_LEVEL_ERROR, 4635);
      break;
    case 8:
      MSG_Code(MSG_LEVEL_ERROR, 4634);
      break;
    default:
      MSG_Code(MSG_LEVEL_BUG, 4621);
      break;
  }
  return nullptr;
}

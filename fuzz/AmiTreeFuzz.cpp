// Arbitrary bytes through AMITREE_Parse, AmiParameters and AMITREE_Free.
// The input up to its first NUL is the parameter text; what follows the NUL
// (if anything) is a path to read. The checks below trap on any tree that
// breaks the invariants readers rely on.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "amiparam/AmiParameters.h"
#include "amiparam/AmiTree.h"
#include "amiparam/Msg.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckTree(const AMITREE* tree) {
  Check(tree && tree->nodes && tree->slots > 0);
  Check(tree->nodes[0].body && tree->nodes[0].kind == AMINODE_BRANCH);
  for (int32_t i = 0; i < tree->slots; ++i) {
    const AMINODE& node = tree->nodes[i];
    if (!node.body) continue;
    if (node.kind == AMINODE_BRANCH) {
      const AMIBRANCH* branch = static_cast<const AMIBRANCH*>(node.body);
      Check(branch->name != nullptr);
      Check((branch->children == nullptr) == (branch->child_count == 0));
      for (int32_t c = 0; c < branch->child_count; ++c) {
        Check(branch->children[c].body != nullptr);
        Check(branch->children[c].level == node.level + 1);
      }
    } else {
      Check(node.kind == AMINODE_LEAF);
      const AMILEAF* leaf = static_cast<const AMILEAF*>(node.body);
      Check(leaf->name != nullptr);
      Check((leaf->values == nullptr) == (leaf->value_count == 0));
      for (int32_t v = 0; v < leaf->value_count; ++v) {
        const AMIVALUE& value = leaf->values[v];
        Check(value.text != nullptr);
        Check(value.kind == AMIVALUE_Kind(value.text));
        Check(value.keyword == (value.kind == AMIVALUE_STRING ? AMIVALUE_Keyword(value.text) : -1));
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static FILE* sink = std::fopen("/dev/null", "w");
  gpMsgStream = sink;  // the parser prints only on exhausted memory

  std::string input(reinterpret_cast<const char*>(data), size);
  std::string text = input.substr(0, std::strlen(input.c_str()));
  std::string path = text.size() < input.size() ? input.substr(text.size() + 1) : "tessalune_tx.emphasis";
  path = path.substr(0, std::strlen(path.c_str()));

  AMITREE* tree = nullptr;
  int32_t result = AMITREE_Parse(text.c_str(), &tree);
  Check(result >= 0 && result <= 8);
  Check((result == AMITREE_OK) == (tree != nullptr));
  if (tree) {
    CheckTree(tree);
    AMITREE_Free(&tree);
    Check(tree == nullptr);
  }

  AmiParameters params(text.c_str());
  Check(params.valid == (result == AMITREE_OK));
  double d = 0;
  int32_t i = 0;
  bool b = false;
  char* s = nullptr;
  const AMILEAF* leaf = params.Find(path.c_str());
  bool gotDouble = params.GetDouble(d, path.c_str());
  params.GetInt(i, path.c_str());
  params.GetBool(b, path.c_str());
  bool gotString = params.GetString(s, path.c_str());
  Check(!(gotDouble && gotString));
  if (gotDouble || gotString) Check(leaf != nullptr);
  delete[] s;
  return 0;
}

// Compact rendering of a parse tree for tests: a branch is "name{children}",
// a leaf "name[text:kind|text:kind]", children separated by one blank.
#pragma once

#include <string>

#include "amiparam/AmiTree.h"

inline std::string TreeText(const AMINODE& node) {
  std::string out;
  if (!node.body) return "<null>";
  if (node.kind == AMINODE_BRANCH) {
    const AMIBRANCH* branch = static_cast<const AMIBRANCH*>(node.body);
    out += branch->name ? branch->name : "<noname>";
    out += "{";
    for (int32_t i = 0; i < branch->child_count; ++i) {
      if (i) out += " ";
      out += TreeText(branch->children[i]);
    }
    out += "}";
  } else {
    const AMILEAF* leaf = static_cast<const AMILEAF*>(node.body);
    out += leaf->name ? leaf->name : "<noname>";
    out += "[";
    for (int32_t i = 0; i < leaf->value_count; ++i) {
      if (i) out += "|";
      out += leaf->values[i].text;
      out += ":" + std::to_string(leaf->values[i].kind);
    }
    out += "]";
  }
  return out;
}

// Parses `text`; on success returns the rendering of the root, otherwise
// "result N". The tree is released either way.
inline std::string ParseText(const char* text) {
  AMITREE* tree = nullptr;
  int32_t result = AMITREE_Parse(text, &tree);
  if (result != AMITREE_OK) return "result " + std::to_string(result);
  std::string out = TreeText(tree->nodes[0]);
  AMITREE_Free(&tree);
  return out;
}

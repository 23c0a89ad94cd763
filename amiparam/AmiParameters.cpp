#include "amiparam/AmiParameters.h"

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Full name of a child called `name` under a parent whose full name is
// `parent`: joined by "." unless the parent's name is empty.
std::string Join(const std::string& parent, const char* name) {
  std::string full = parent;
  if (!full.empty()) full += '.';
  full += name ? name : "";
  return full;
}

// True when a leaf below the branch named `full` can have the full name
// `path`: such names all begin with `full` and a ".", unless `full` is empty.
bool MayLeadTo(const std::string& full, const char* path) {
  if (full.empty()) return true;
  size_t length = full.size();
  return std::strncmp(path, full.c_str(), length) == 0 && path[length] == '.';
}

bool EqualsIgnoringCase(const char* a, const char* b) {
  for (;; ++a, ++b) {
    char x = *a >= 'A' && *a <= 'Z' ? static_cast<char>(*a - 'A' + 'a') : *a;
    char y = *b >= 'A' && *b <= 'Z' ? static_cast<char>(*b - 'A' + 'a') : *b;
    if (x != y) return false;
    if (x == '\0') return true;
  }
}

}  // namespace

AmiParameters::AmiParameters(const char* text) {
  if (!text) return;
  valid = AMITREE_Parse(text, &tree) == AMITREE_OK;
  if (!valid) tree = nullptr;
}

AmiParameters::~AmiParameters() { AMITREE_Free(&tree); }

AMILEAF* AmiParameters::FindLeaf(const AMIBRANCH* branch, const char* path, const char* prefix) {
  if (!branch || !path || branch->child_count == 0) return nullptr;
  // Depth first in text order with an explicit stack, so that however deep
  // the nesting of the text, the search cannot exhaust the call stack.
  struct Frame {
    const AMIBRANCH* branch;
    std::string full;  // full name of the branch
    int32_t next;      // next child to visit
  };
  std::vector<Frame> frames;
  frames.push_back(Frame{branch, Join(prefix ? prefix : "", branch->name), 0});
  while (!frames.empty()) {
    Frame& frame = frames.back();
    if (frame.next >= frame.branch->child_count || !frame.branch->children) {
      frames.pop_back();
      continue;
    }
    const AMINODE& child = frame.branch->children[frame.next++];
    if (!child.body) continue;
    if (child.kind == AMINODE_LEAF) {
      AMILEAF* leaf = static_cast<AMILEAF*>(child.body);
      if (Join(frame.full, leaf->name) == path) return leaf;
      continue;
    }
    const AMIBRANCH* sub = static_cast<const AMIBRANCH*>(child.body);
    if (sub->child_count == 0) continue;
    std::string full = Join(frame.full, sub->name);
    if (!MayLeadTo(full, path)) continue;  // no leaf below can match
    frames.push_back(Frame{sub, std::move(full), 0});
  }
  return nullptr;
}

AMILEAF* AmiParameters::Find(const char* path) const {
  if (!valid || !tree || !tree->nodes || tree->slots < 1 || !tree->nodes[0].body || !path) return nullptr;
  if (tree->nodes[0].kind != AMINODE_BRANCH) return nullptr;
  return FindLeaf(static_cast<const AMIBRANCH*>(tree->nodes[0].body), path, "");
}

const AMIVALUE* AmiParameters::FirstValue(const char* path, int32_t kind, int32_t otherKind) const {
  const AMILEAF* leaf = Find(path);
  if (!leaf || !leaf->values || leaf->value_count < 1) return nullptr;
  const AMIVALUE* value = &leaf->values[0];
  if (!value->text || (value->kind != kind && value->kind != otherKind)) return nullptr;
  return value;
}

bool AmiParameters::GetDouble(double& value, const char* path) const {
  const AMIVALUE* first = FirstValue(path, AMIVALUE_INTEGER, AMIVALUE_FLOAT);
  if (!first) return false;
  value = AMIVALUE_ToDouble(first->text);
  return true;
}

bool AmiParameters::GetInt(int32_t& value, const char* path) const {
  const AMIVALUE* first = FirstValue(path, AMIVALUE_INTEGER, AMIVALUE_FLOAT);
  if (!first) return false;
  double number = std::trunc(AMIVALUE_ToDouble(first->text));
  // Outside the 32-bit range (never NaN here: values are decimal numbers).
  if (!(number >= -2147483648.0 && number <= 2147483647.0)) {
    value = INT32_MIN;
  } else {
    value = static_cast<int32_t>(number);
  }
  return true;
}

bool AmiParameters::GetString(char*& value, const char* path) const {
  const AMIVALUE* first = FirstValue(path, AMIVALUE_STRING, AMIVALUE_STRING);
  if (!first) return false;
  size_t length = std::strlen(first->text);
  char* copy = new char[length + 1];
  std::memcpy(copy, first->text, length + 1);
  delete[] value;
  value = copy;
  return true;
}

bool AmiParameters::GetBool(bool& value, const char* path) const {
  const AMIVALUE* first = FirstValue(path, AMIVALUE_BOOLEAN, AMIVALUE_BOOLEAN);
  if (!first) return false;
  value = EqualsIgnoringCase(first->text, "true");
  return true;
}

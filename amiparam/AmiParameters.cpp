#include "amiparam/AmiParameters.h"

#include <cmath>
#include <cstring>

#include "amiparam/AmiTreeWalk.h"
#include "amiparam/CmnText.h"

namespace {

// Full names are never built: the search only follows branches whose full
// name is the beginning of the path, so a full name is known by its length
// in the path. A full name of length 0 is the empty name.
//
// Extends the full name path[0, length) by a child called `name` (joined by
// "." unless the full name is empty). Stores the new length and returns true
// when the longer full name is the beginning of the path as well.
bool Extend(const char* path, size_t length, const char* name, size_t* extended) {
  const char* rest = path + length;
  if (length > 0) {
    if (*rest != '.') return false;
    ++rest;
  }
  if (name) {
    for (; *name; ++name, ++rest)
      if (*rest != *name) return false;  // also stops at the path's end
  }
  *extended = static_cast<size_t>(rest - path);
  return true;
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
  // Depth first in text order without recursion, so that however deep the
  // nesting of the text, the search cannot exhaust the call stack. Each open
  // branch keeps only the length of its full name. A leaf matches when its
  // full name is the whole path; a branch is entered only when its full name
  // followed by "." begins the path (or is empty), since no leaf below can
  // match otherwise.
  size_t prefixLength = 0;
  if (prefix && *prefix) {
    prefixLength = std::strlen(prefix);
    if (std::strncmp(path, prefix, prefixLength) != 0) return nullptr;  // no full name below begins the path
  }
  size_t full = 0;
  if (!Extend(path, prefixLength, branch->name, &full)) return nullptr;
  AMILEAF* found = nullptr;
  AMITREE_Walk(branch, full,
               [&](const AMINODE& child, int32_t, const AMIBRANCH*, size_t parentFull, size_t& childFull) {
                 if (!child.body) return AmiWalkStep::kNext;
                 if (child.kind == AMINODE_LEAF) {
                   AMILEAF* leaf = static_cast<AMILEAF*>(child.body);
                   if (!Extend(path, parentFull, leaf->name, &childFull) || path[childFull] != '\0')
                     return AmiWalkStep::kNext;
                   found = leaf;
                   return AmiWalkStep::kStop;
                 }
                 const AMIBRANCH* sub = static_cast<const AMIBRANCH*>(child.body);
                 if (sub->child_count == 0 || !Extend(path, parentFull, sub->name, &childFull))
                   return AmiWalkStep::kNext;
                 return childFull == 0 || path[childFull] == '.' ? AmiWalkStep::kEnter : AmiWalkStep::kNext;
               });
  return found;
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
  value = CMN_EqualNoCase(first->text, "true") != 0;
  return true;
}

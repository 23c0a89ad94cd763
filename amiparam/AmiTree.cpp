#include "amiparam/AmiTree.h"

#include <cstring>

#include "amiparam/Cmn.h"

namespace {

bool IsBlank(char c) { return CMN_IsSpace(static_cast<unsigned char>(c)) != 0; }

// New copy of [from, to) without trailing whitespace; null on exhausted memory.
char* CopyTrimmed(const char* from, const char* to) {
  while (to > from && IsBlank(to[-1])) --to;
  return CMN_SubStr(from, static_cast<size_t>(to - from));
}

// Grows `array` (holding `count` entries of `size` bytes) by one entry:
// a first CMN_Alloc, then CMN_Realloc. On failure the array is unchanged.
template <typename T>
bool GrowByOne(T** array, int32_t count) {
  if (count == INT32_MAX) return false;
  if (!*array) return CMN_Alloc(array, sizeof(T)) == 1;
  return CMN_Realloc(array, (static_cast<size_t>(count) + 1) * sizeof(T)) == 1;
}

// Appends the value [from, to), trimmed, to the leaf.
bool AppendValue(AMILEAF* leaf, const char* from, const char* to) {
  char* text = CopyTrimmed(from, to);
  if (!text) return false;
  if (!GrowByOne(&leaf->values, leaf->value_count)) {
    CMN_Free(&text);
    return false;
  }
  AMIVALUE& value = leaf->values[leaf->value_count++];
  value.text = text;
  value.kind = AMIVALUE_Kind(text);
  value.keyword = value.kind == AMIVALUE_STRING ? AMIVALUE_Keyword(text) : -1;
  return true;
}

void FreeLeaf(AMILEAF** leaf) {
  AMILEAF* body = *leaf;
  if (body->values) {
    for (int32_t i = 0; i < body->value_count; ++i) {
      if (body->values[i].text) CMN_Free(&body->values[i].text);
    }
    CMN_Free(&body->values);
  }
  if (body->name) CMN_Free(&body->name);
  CMN_Free(leaf);
}

void FreeBranch(AMIBRANCH** branch) {
  AMIBRANCH* body = *branch;
  if (body->name) CMN_Free(&body->name);
  if (body->children) CMN_Free(&body->children);
  CMN_Free(branch);
}

// Counts "(" and ")" outside double quotes. Returns false when they differ.
bool CountLists(const char* p, size_t* opening) {
  size_t open = 0, close = 0;
  bool quoted = false;
  for (; *p != '\0'; ++p) {
    if (*p == '"') {
      quoted = !quoted;
    } else if (!quoted && *p == '(') {
      ++open;
    } else if (!quoted && *p == ')') {
      ++close;
    }
  }
  *opening = open;
  return open == close;
}

// First pass: records every list in tree->nodes, in the order of the
// lists' "(". `s` is the working copy, starting at the first "(". Each list
// raises the depth d by 2: at its "(" and when recognised as branch or leaf;
// a record's level is d / 2. A list that holds values and then a list is
// dropped with all it contains. On success *made is the number of records.
int32_t FirstPass(AMITREE* tree, char* s, int32_t* made) {
  const int32_t slots = tree->slots;
  int64_t d = 0;  // depth
  int32_t n = 0;  // next record
  int32_t k = 0;  // steps taken, less the lists closed in the name scan
  char* p = s;
  while (k < slots) {
    // Step start.
    p = s;
    char* t = s;         // token start
    char* w = nullptr;   // first whitespace (or "(") after the token start
    if (*s == '(') {
      p = s + 1;
      ++d;
      CMN_SkipSpace(&p);
      t = p;
    }

    // Name scan.
    bool isLeaf = false;
    for (;;) {
      char c = *p;
      if (c == '\0') break;
      if (c == '(') {  // a branch: its name, then the "(" of its first child
        ++d;
        if (!w) w = p;
        if (n >= slots) return AMITREE_TOO_MANY_LISTS;
        if (w < t) return AMITREE_NAME_ONLY;
        AMIBRANCH* branch = nullptr;
        if (!CMN_Alloc(&branch, sizeof(AMIBRANCH))) return AMITREE_NO_MEMORY;
        tree->nodes[n] = AMINODE{AMINODE_BRANCH, static_cast<int32_t>(d / 2), branch};
        branch->name = CopyTrimmed(t, w);
        if (!branch->name) return AMITREE_NO_MEMORY;
        ++n;
        s = p;
        break;
      }
      if (c == ')') {  // a list closes; a following "(" opens the next one
        ++p;
        CMN_SkipSpace(&p);
        if (d < 2) return AMITREE_UNOPENED_CLOSE;
        d -= 2;
        if (k < 1) return AMITREE_UNOPENED_CLOSE;
        --k;
        CMN_SkipSpace(&p);
        s = p;
        if (*p == '(') {
          ++p;
          ++d;
        }
        CMN_SkipSpace(&p);
        t = p;
        continue;
      }
      if (IsBlank(c)) {
        if (!w) w = p;
        ++p;
        continue;
      }
      if (!w) {
        ++p;
        continue;
      }
      isLeaf = true;  // a second word: the list is a leaf
      break;
    }

    if (isLeaf) {
      ++d;
      if (n >= slots) return AMITREE_TOO_MANY_LISTS;
      if (w < t) return AMITREE_NAME_ONLY;
      AMILEAF* leaf = nullptr;
      if (!CMN_Alloc(&leaf, sizeof(AMILEAF))) return AMITREE_NO_MEMORY;
      tree->nodes[n] = AMINODE{AMINODE_LEAF, static_cast<int32_t>(d / 2), leaf};
      leaf->name = CopyTrimmed(t, w);
      if (!leaf->name) return AMITREE_NO_MEMORY;
      leaf->property = AMIVALUE_Property(leaf->name);
      s = p;

      // Value scan.
      char* v = p;            // value start
      char* blank = nullptr;  // first whitespace after the value
      bool mixed = false;
      while (*p != '\0') {
        char c = *p;
        if (c == '(') {
          mixed = true;
          break;
        }
        if (c == ')') {
          if (!AppendValue(leaf, v, p)) return AMITREE_NO_MEMORY;
          ++p;
          CMN_SkipSpace(&p);
          s = p;
          if (d < 2) return AMITREE_UNOPENED_CLOSE;
          d -= 2;
          break;
        }
        if (IsBlank(c)) {
          if (!blank) blank = p;
          ++p;
          continue;
        }
        if (blank) {  // the next value begins
          if (blank < v) return AMITREE_NAME_ONLY;
          if (!AppendValue(leaf, v, blank)) return AMITREE_NO_MEMORY;
          v = p;
          s = p;
          blank = nullptr;
          continue;
        }
        if (c == '"') {
          // A quoted value; what came before the quote in this value is
          // dropped. Both quotes become blanks, so the closing one ends it.
          *p = ' ';
          ++p;
          v = p;
          s = p;
          while (*p != '\0' && *p != '"') ++p;
          if (*p == '"') *p = ' ';
          continue;
        }
        ++p;
      }

      if (!mixed) {
        ++n;  // ended by ")" or by the end of the text: complete
      } else {
        // Values followed by a list: drop the leaf and everything up to its ")".
        FreeLeaf(&leaf);
        tree->nodes[n] = AMINODE{0, 0, nullptr};
        int64_t nesting = 1;
        while (*p != '\0') {
          if (*p == '(') {
            ++nesting;
          } else if (*p == ')') {
            if (--nesting == 0) {
              ++p;
              break;
            }
          } else if (*p == '"') {
            ++p;
            while (*p != '\0' && *p != '"') ++p;
            if (*p == '\0') break;
          }
          ++p;
        }
        if (nesting != 0) break;  // the text ended inside the dropped list
        while (IsBlank(*p)) ++p;
        s = p;
        if (d < 2) return AMITREE_UNOPENED_CLOSE;
        d -= 2;
      }
    }
    ++k;
  }
  *made = n;
  return AMITREE_OK;
}

// Second pass: links records 0 .. made-1 to their parents by level. Only
// branches go on the level stack; a record whose level is not one more than
// its parent's stays in nodes only.
int32_t SecondPass(AMITREE* tree, int32_t made) {
  AMINODE* nodes = tree->nodes;
  int32_t highest = 0;
  for (int32_t r = 0; r < made; ++r) {
    if (nodes[r].level > highest) highest = nodes[r].level;
  }
  // Levels on the stack rise strictly from 0, so highest + 1 entries suffice.
  const int64_t capacity = static_cast<int64_t>(highest) + 1;
  AMINODE* stack = nullptr;
  if (!CMN_Alloc(&stack, static_cast<size_t>(capacity) * sizeof(AMINODE))) return AMITREE_NO_MEMORY;

  int32_t result = AMITREE_OK;
  int64_t top = 0;
  stack[0] = AMINODE{AMINODE_BRANCH, 0, nullptr};
  int32_t r = 0;
  if (nodes[0].kind == AMINODE_BRANCH) {
    stack[0] = nodes[0];  // the root takes the place of the level-0 entry
    r = 1;
  }
  for (; r < made; ++r) {
    const AMINODE& node = nodes[r];
    while (top > 0 && stack[top].level >= node.level) --top;
    if (stack[top].level >= node.level) {
      result = AMITREE_NO_PARENT;
      break;
    }
    if (!stack[top].body) {
      result = AMITREE_NO_ROOT;
      break;
    }
    if (stack[top].level + 1 != node.level) continue;
    AMIBRANCH* parent = static_cast<AMIBRANCH*>(stack[top].body);
    if (!GrowByOne(&parent->children, parent->child_count)) {
      result = AMITREE_NO_MEMORY;
      break;
    }
    parent->children[parent->child_count++] = node;
    if (node.kind == AMINODE_BRANCH && top + 1 < capacity) stack[++top] = node;
  }
  CMN_Free(&stack);
  return result;
}

}  // namespace

int32_t AMITREE_Parse(const char* text, AMITREE** tree_out) {
  if (!text || !tree_out) return AMITREE_NO_ROOT;
  CMN_SkipSpace(&text);
  if (*text != '(') return AMITREE_NO_LIST;
  size_t opening = 0;
  if (!CountLists(text, &opening)) return AMITREE_UNBALANCED;
  if (opening > static_cast<size_t>(INT32_MAX)) return AMITREE_NO_MEMORY;

  AMITREE* tree = nullptr;
  if (!CMN_Alloc(&tree, sizeof(AMITREE))) return AMITREE_NO_MEMORY;
  if (!CMN_Alloc(&tree->nodes, opening * sizeof(AMINODE))) {
    CMN_Free(&tree);
    return AMITREE_NO_MEMORY;
  }
  tree->slots = static_cast<int32_t>(opening);

  char* work = CMN_StrDup(text);
  if (!work) {
    AMITREE_Free(&tree);
    return AMITREE_NO_MEMORY;
  }
  int32_t made = 0;
  int32_t result = FirstPass(tree, work, &made);
  // A text in which no list survives has no root to link anything to.
  if (result == AMITREE_OK && made == 0) result = AMITREE_NO_ROOT;
  if (result == AMITREE_OK) result = SecondPass(tree, made);
  CMN_Free(&work);
  if (result != AMITREE_OK) {
    AMITREE_Free(&tree);
    return result;
  }
  *tree_out = tree;
  return AMITREE_OK;
}

void AMITREE_Free(AMITREE** tree) {
  if (!tree || !*tree) return;
  AMITREE* t = *tree;
  if (t->nodes) {
    for (int32_t i = 0; i < t->slots; ++i) {
      AMINODE& node = t->nodes[i];
      if (!node.body) continue;
      if (node.kind == AMINODE_BRANCH) {
        AMIBRANCH* branch = static_cast<AMIBRANCH*>(node.body);
        FreeBranch(&branch);
      } else {
        AMILEAF* leaf = static_cast<AMILEAF*>(node.body);
        FreeLeaf(&leaf);
      }
      node.body = nullptr;
    }
    CMN_Free(&t->nodes);
  }
  CMN_Free(tree);
}

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

// Grows `array` (holding `count` entries) by one entry:
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
// lists' "(". Each list raises the depth by 2: at its "(" and when it is
// recognised as a branch or a leaf; a record's level is depth / 2. A list
// that holds values and then a list is dropped with all it contains.
class FirstPass {
 public:
  // `start` is the working copy from its first "(" on; it is edited in place.
  FirstPass(AMITREE* tree, char* start) : tree_(tree), stepStart_(start), cursor_(start) {}

  // Runs the steps; on success *made is the number of records made.
  int32_t Run(int32_t* made);

 private:
  enum class Ending { kStep, kTextEnded };

  int32_t ScanName(bool* isLeaf);
  int32_t ScanValues(AMILEAF* leaf, bool* mixed);
  int32_t DropList(Ending* ending);

  // Records the list as record nextRecord_: a new body of type T named
  // [nameStart_, nameEnd_), trimmed.
  template <typename T>
  int32_t Record(int32_t kind, T** body) {
    if (nextRecord_ >= tree_->slots) return AMITREE_TOO_MANY_LISTS;
    if (nameEnd_ < nameStart_) return AMITREE_NAME_ONLY;
    if (!CMN_Alloc(body, sizeof(T))) return AMITREE_NO_MEMORY;
    tree_->nodes[nextRecord_] = AMINODE{kind, static_cast<int32_t>(depth_ / 2), *body};
    (*body)->name = CopyTrimmed(nameStart_, nameEnd_);
    return (*body)->name ? AMITREE_OK : AMITREE_NO_MEMORY;
  }

  AMITREE* tree_;
  char* stepStart_;            // where the next step begins
  char* cursor_;               // the character being read
  char* nameStart_ = nullptr;  // start of the list's name
  char* nameEnd_ = nullptr;    // first whitespace (or "(") after the name start
  int64_t depth_ = 0;          // 2 per open list, 1 more until the list is recognised
  int32_t nextRecord_ = 0;     // index in tree->nodes of the next record
  int32_t stepsTaken_ = 0;     // steps taken, less the lists closed in the name scan
};

int32_t FirstPass::Run(int32_t* made) {
  while (stepsTaken_ < tree_->slots) {
    cursor_ = stepStart_;
    nameStart_ = stepStart_;
    nameEnd_ = nullptr;
    if (*stepStart_ == '(') {
      cursor_ = stepStart_ + 1;
      ++depth_;
      CMN_SkipSpace(&cursor_);
      nameStart_ = cursor_;
    }
    bool isLeaf = false;
    int32_t result = ScanName(&isLeaf);
    if (result != AMITREE_OK) return result;
    if (isLeaf) {
      ++depth_;
      AMILEAF* leaf = nullptr;
      result = Record(AMINODE_LEAF, &leaf);
      if (result != AMITREE_OK) return result;
      leaf->property = AMIVALUE_Property(leaf->name);
      stepStart_ = cursor_;
      bool mixed = false;
      result = ScanValues(leaf, &mixed);
      if (result != AMITREE_OK) return result;
      if (!mixed) {
        ++nextRecord_;  // ended by ")" or by the end of the text: complete
      } else {
        // Values followed by a list: the leaf goes, with all up to its ")".
        FreeLeaf(&leaf);
        tree_->nodes[nextRecord_] = AMINODE{0, 0, nullptr};
        Ending ending = Ending::kStep;
        result = DropList(&ending);
        if (result != AMITREE_OK) return result;
        if (ending == Ending::kTextEnded) break;
      }
    }
    ++stepsTaken_;
  }
  *made = nextRecord_;
  return AMITREE_OK;
}

// Reads up to the name's end. A "(" makes the list a branch (recorded here);
// a second word makes it a leaf (*isLeaf, recorded by the caller); a ")"
// closes a list, and a "(" right after it opens the next one.
int32_t FirstPass::ScanName(bool* isLeaf) {
  for (;;) {
    char c = *cursor_;
    if (c == '\0') return AMITREE_OK;
    if (c == '(') {
      ++depth_;
      if (!nameEnd_) nameEnd_ = cursor_;
      AMIBRANCH* branch = nullptr;
      int32_t result = Record(AMINODE_BRANCH, &branch);
      if (result != AMITREE_OK) return result;
      ++nextRecord_;
      stepStart_ = cursor_;  // the "(" of the first child
      return AMITREE_OK;
    }
    if (c == ')') {
      ++cursor_;
      CMN_SkipSpace(&cursor_);
      if (depth_ < 2) return AMITREE_UNOPENED_CLOSE;
      depth_ -= 2;
      if (stepsTaken_ < 1) return AMITREE_UNOPENED_CLOSE;
      --stepsTaken_;
      CMN_SkipSpace(&cursor_);
      stepStart_ = cursor_;
      if (*cursor_ == '(') {
        ++cursor_;
        ++depth_;
      }
      CMN_SkipSpace(&cursor_);
      nameStart_ = cursor_;
      continue;
    }
    if (IsBlank(c)) {
      if (!nameEnd_) nameEnd_ = cursor_;
      ++cursor_;
      continue;
    }
    if (!nameEnd_) {
      ++cursor_;
      continue;
    }
    *isLeaf = true;
    return AMITREE_OK;
  }
}

// Appends the leaf's values up to its ")" or the end of the text. A "("
// among them sets *mixed and stops the scan there.
int32_t FirstPass::ScanValues(AMILEAF* leaf, bool* mixed) {
  char* v = cursor_;      // value start
  char* blank = nullptr;  // first whitespace after the value
  while (*cursor_ != '\0') {
    char c = *cursor_;
    if (c == '(') {
      *mixed = true;
      return AMITREE_OK;
    }
    if (c == ')') {
      if (!AppendValue(leaf, v, cursor_)) return AMITREE_NO_MEMORY;
      ++cursor_;
      CMN_SkipSpace(&cursor_);
      stepStart_ = cursor_;
      if (depth_ < 2) return AMITREE_UNOPENED_CLOSE;
      depth_ -= 2;
      return AMITREE_OK;
    }
    if (IsBlank(c)) {
      if (!blank) blank = cursor_;
      ++cursor_;
      continue;
    }
    if (blank) {  // the next value begins
      if (blank < v) return AMITREE_NAME_ONLY;
      if (!AppendValue(leaf, v, blank)) return AMITREE_NO_MEMORY;
      v = cursor_;
      stepStart_ = cursor_;
      blank = nullptr;
      continue;
    }
    if (c == '"') {
      // A quoted value; what came before the quote in this value is
      // dropped. Both quotes become blanks, so the closing one ends it.
      *cursor_ = ' ';
      ++cursor_;
      v = cursor_;
      stepStart_ = cursor_;
      while (*cursor_ != '\0' && *cursor_ != '"') ++cursor_;
      if (*cursor_ == '"') *cursor_ = ' ';
      continue;
    }
    ++cursor_;
  }
  return AMITREE_OK;
}

// Skips from the "(" under the cursor to the ")" that closes the dropped
// list, jumping over quoted text. *ending tells whether the text ended first.
int32_t FirstPass::DropList(Ending* ending) {
  int64_t nesting = 1;  // the dropped list's own "("
  while (*cursor_ != '\0') {
    if (*cursor_ == '(') {
      ++nesting;
    } else if (*cursor_ == ')') {
      if (--nesting == 0) {
        ++cursor_;
        break;
      }
    } else if (*cursor_ == '"') {
      ++cursor_;
      while (*cursor_ != '\0' && *cursor_ != '"') ++cursor_;
      if (*cursor_ == '\0') break;
    }
    ++cursor_;
  }
  if (nesting != 0) {
    *ending = Ending::kTextEnded;
    return AMITREE_OK;
  }
  while (IsBlank(*cursor_)) ++cursor_;
  stepStart_ = cursor_;
  if (depth_ < 2) return AMITREE_UNOPENED_CLOSE;
  depth_ -= 2;
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
  int32_t result = FirstPass(tree, work).Run(&made);
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

#include "amiparam/AmiTree.h"

#include <gtest/gtest.h>

#include <string>

#include "MsgCapture.h"
#include "TreeText.h"
#include "amiparam/Cmn.h"

namespace {

int32_t Result(const char* text) {
  AMITREE* tree = reinterpret_cast<AMITREE*>(0x1);  // must stay unwritten on failure
  int32_t result = AMITREE_Parse(text, &tree);
  if (result == AMITREE_OK) {
    AMITREE_Free(&tree);
  } else {
    EXPECT_EQ(tree, reinterpret_cast<AMITREE*>(0x1)) << text;
  }
  return result;
}

TEST(AmiTreeParse, ResultCodes) {
  struct Case {
    const char* text;
    int32_t result;
  };
  const Case cases[] = {
      {"(root (a 1)) xyz", 0},
      {"  \n\t(root (a 1))", 0},
      {"", 2},
      {"    ", 2},
      {"root (a 1)", 2},
      {"(root (a 1)", 1},
      {"(root (a \"1)\")", 1},
      {"(root (a 1)))", 1},
      {"(a 1)", 3},
      {"(root 5 (a 1))", 3},  // no list survives the first pass
      {"()", 6},
      {"(a)", 6},
      {"(root (a))", 6},
      {"(root (a) (b 1))", 6},
      {"(root (a ) (b 1))", 8},
      {"(a (x 1)) (b (y 2))", 5},
      {"(root (a 1)) (b 2)", 5},
      {"(root (a 1) x (b 2))", 5},
      {"(root (a 1)) x (b 2)", 7},
      {"())(", 6},
  };
  for (const Case& c : cases) EXPECT_EQ(Result(c.text), c.result) << "«" << c.text << "»";
  AMITREE* tree = nullptr;
  EXPECT_EQ(AMITREE_Parse(nullptr, &tree), 3);
  EXPECT_EQ(AMITREE_Parse("(root (a 1))", nullptr), 3);
}

TEST(AmiTreeParse, ModelStringGivesRootWithThreeLeaves) {
  AMITREE* tree = nullptr;
  ASSERT_EQ(AMITREE_Parse("(tessalune_tx (emphasis 0.5)(Vreg 3)(corner 1))", &tree), 0);
  ASSERT_EQ(tree->slots, 4);
  const AMINODE& root = tree->nodes[0];
  EXPECT_EQ(root.kind, AMINODE_BRANCH);
  EXPECT_EQ(root.level, 1);
  const AMIBRANCH* branch = static_cast<const AMIBRANCH*>(root.body);
  EXPECT_STREQ(branch->name, "tessalune_tx");
  ASSERT_EQ(branch->child_count, 3);
  const char* names[] = {"emphasis", "Vreg", "corner"};
  const char* texts[] = {"0.5", "3", "1"};
  const int32_t kinds[] = {AMIVALUE_FLOAT, AMIVALUE_INTEGER, AMIVALUE_INTEGER};
  for (int i = 0; i < 3; ++i) {
    const AMINODE& child = branch->children[i];
    EXPECT_EQ(child.kind, AMINODE_LEAF);
    EXPECT_EQ(child.level, 2);
    EXPECT_EQ(child.body, tree->nodes[i + 1].body);  // children share the records' bodies
    const AMILEAF* leaf = static_cast<const AMILEAF*>(child.body);
    EXPECT_STREQ(leaf->name, names[i]);
    EXPECT_EQ(leaf->property, 0);
    ASSERT_EQ(leaf->value_count, 1);
    EXPECT_STREQ(leaf->values[0].text, texts[i]);
    EXPECT_EQ(leaf->values[0].kind, kinds[i]);
    EXPECT_EQ(leaf->values[0].keyword, -1);
  }
  AMITREE_Free(&tree);
  EXPECT_EQ(tree, nullptr);
  AMITREE_Free(&tree);    // null pointer: nothing to do
  AMITREE_Free(nullptr);  // null address: nothing to do
}

TEST(AmiTreeParse, TreeShapes) {
  struct Case {
    const char* text;
    const char* tree;
  };
  const Case cases[] = {
      {"(root (x (y 1)) (w 2))", "root{x{y[1:1]} w[2:1]}"},
      {"(root (a 1 2 3) (b \"hello world\"))", "root{a[1:1|2:1|3:1] b[hello world:0]}"},
      {"(root(a 1))", "root{a[1:1]}"},
      {"( (a 1))", "{a[1:1]}"},
      {"(root (a 1 (b 2)) (d 3))", "root{d[3:1]}"},  // the mixed list is dropped with b
      {"(root (a \"x) y\" 1))", "root{a[x) y:0|1:1]}"},
      {"(root (a \"\" 3))", "root{a[:-1|3:1]}"},
      {"(root (Description \"Some text  \"))", "root{Description[Some text:0]}"},
      {"(root (Description \"  lead\"))", "root{Description[  lead:0]}"},
      {"(root (a ab\"cd ef\" 2))", "root{a[cd ef:0|2:1]}"},
      {"(root (a 1) (a 2))", "root{a[1:1] a[2:1]}"},
      {"(root\n\t(a 1)\n\t(b x))", "root{a[1:1] b[x:0]}"},
      {"(root (a 1 ))", "root{a[1:1]}"},
      {"(root (a \"x(\" 1 \")\"))", "root{a[x(:0|1:1|):0]}"},
      {"(root (a 1 (b \"(\" 2)) (d 3))", "root{d[3:1]}"},
      {"(r (b (c (d (e 1)))) (f 2))", "r{b{c{d{e[1:1]}}} f[2:1]}"},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseText(c.text), c.tree) << "«" << c.text << "»";

  // Newlines and tabs between lists act as blanks.
  EXPECT_EQ(ParseText("(root\n(a 1)\n(b 2))"), ParseText("(root (a 1) (b 2))"));
}

TEST(AmiTreeParse, LevelsPropertiesAndKeywords) {
  AMITREE* tree = nullptr;
  ASSERT_EQ(AMITREE_Parse("(m (p (Usage In) (Type Float) (Format Range 0 1 2) (Default 0.5)"
                          " (Labels a b) (Description \"d\")) (q (In Out)))",
                          &tree),
            0);
  const AMIBRANCH* m = static_cast<const AMIBRANCH*>(tree->nodes[0].body);
  ASSERT_EQ(m->child_count, 2);
  EXPECT_EQ(m->children[0].level, 2);
  const AMIBRANCH* p = static_cast<const AMIBRANCH*>(m->children[0].body);
  ASSERT_EQ(p->child_count, 6);
  const int32_t properties[] = {1, 2, 3, 4, 6, 5};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(p->children[i].level, 3);
    EXPECT_EQ(static_cast<const AMILEAF*>(p->children[i].body)->property, properties[i]) << i;
  }
  const AMILEAF* usage = static_cast<const AMILEAF*>(p->children[0].body);
  EXPECT_EQ(usage->values[0].keyword, 0);
  const AMILEAF* format = static_cast<const AMILEAF*>(p->children[2].body);
  EXPECT_EQ(format->values[0].keyword, 11);
  EXPECT_EQ(format->values[1].keyword, -1);  // numbers carry no keyword
  const AMIBRANCH* q = static_cast<const AMIBRANCH*>(m->children[1].body);
  const AMILEAF* in = static_cast<const AMILEAF*>(q->children[0].body);
  EXPECT_EQ(in->property, 0);  // "In" is a keyword, not a property name
  EXPECT_EQ(in->values[0].keyword, 1);
  AMITREE_Free(&tree);
}

TEST(AmiTreeParse, DroppedListLeavesNullRecordsBehind) {
  AMITREE* tree = nullptr;
  ASSERT_EQ(AMITREE_Parse("(root (a 1 (b 2)) (d 3))", &tree), 0);
  EXPECT_EQ(tree->slots, 4);
  EXPECT_NE(tree->nodes[1].body, nullptr);  // d reused the record of a
  EXPECT_EQ(tree->nodes[2].body, nullptr);
  EXPECT_EQ(tree->nodes[3].body, nullptr);
  AMITREE_Free(&tree);
}

TEST(AmiTreeParse, LongWhitespaceRunsAreSkippedWhole) {
  std::string blanks(500, ' ');
  std::string text = blanks + "(" + blanks + "root" + blanks + "(" + blanks + "a 1)" + blanks + "(b" + blanks + "2" +
                     blanks + ")" + blanks + ")" + blanks;
  EXPECT_EQ(ParseText(text.c_str()), "root{a[1:1] b[2:1]}");
}

TEST(AmiTreeParse, TextIsNeverModified) {
  const std::string original = "(root (a \"q v\" 1 (z 1)) (b \"x\"))";
  std::string text = original;
  AMITREE* tree = nullptr;
  ASSERT_EQ(AMITREE_Parse(text.c_str(), &tree), 0);
  EXPECT_EQ(text, original);
  AMITREE_Free(&tree);
}

TEST(AmiTreeParse, EveryExhaustedAllocationGivesFourAndLeaksNothing) {
  // Fails the first, second, ... allocation of a parse until one succeeds
  // throughout; the leak checker of the sanitizer build covers the release.
  const char* texts[] = {
      "(root (a 1 2 3) (x (y \"s\") (z 1)) (b 1 (c 2)) (d 4))",
      "(root (a 1))",
  };
  for (const char* text : texts) {
    MsgCapture capture;
    int32_t errors = glErrorCount;
    bool succeeded = false;
    for (long budget = 0; budget < 200 && !succeeded; ++budget) {
      AMITREE* tree = nullptr;
      CMN_FailAllocationsAfter(budget);
      int32_t result = AMITREE_Parse(text, &tree);
      CMN_FailAllocationsAfter(-1);
      if (result == AMITREE_OK) {
        succeeded = true;
        EXPECT_GT(budget, 3);
        AMITREE_Free(&tree);
      } else {
        EXPECT_EQ(result, AMITREE_NO_MEMORY) << "budget " << budget;
        EXPECT_EQ(tree, nullptr);
      }
    }
    EXPECT_TRUE(succeeded);
    EXPECT_GT(glErrorCount, errors);  // CMN_Alloc / CMN_Realloc reported it
    EXPECT_NE(capture.Text().find("ERROR - Memory "), std::string::npos);
  }
}

}  // namespace

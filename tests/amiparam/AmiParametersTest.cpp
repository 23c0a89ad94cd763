#include "amiparam/AmiParameters.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "tests/NestedText.h"

namespace {

const char* kModel = "(tessalune_tx (emphasis 0.5) (Vreg 3) (corner 1))";

TEST(AmiParameters, ReadsTheModelParameters) {
  AmiParameters params(kModel);
  ASSERT_TRUE(params.valid);
  ASSERT_NE(params.tree, nullptr);
  double value = -1;
  EXPECT_TRUE(params.GetDouble(value, "tessalune_tx.emphasis"));
  EXPECT_EQ(value, 0.5);
  EXPECT_TRUE(params.GetDouble(value, "tessalune_tx.Vreg"));
  EXPECT_EQ(value, 3.0);
  EXPECT_TRUE(params.GetDouble(value, "tessalune_tx.corner"));
  EXPECT_EQ(value, 1.0);
}

TEST(AmiParameters, PathsAreExactAndNameLeavesOnly) {
  AmiParameters params(kModel);
  double value = 42;
  EXPECT_FALSE(params.GetDouble(value, "tessalune_tx.Emphasis"));
  EXPECT_FALSE(params.GetDouble(value, "emphasis"));
  EXPECT_FALSE(params.GetDouble(value, "tessalune_tx"));
  EXPECT_FALSE(params.GetDouble(value, "tessalune_tx."));
  EXPECT_FALSE(params.GetDouble(value, "tessalune_tx.emphasis.x"));
  EXPECT_FALSE(params.GetDouble(value, ""));
  EXPECT_FALSE(params.GetDouble(value, nullptr));
  EXPECT_EQ(value, 42);
  EXPECT_EQ(params.Find("tessalune_tx"), nullptr);
  ASSERT_NE(params.Find("tessalune_tx.corner"), nullptr);
  EXPECT_STREQ(params.Find("tessalune_tx.corner")->name, "corner");
}

TEST(AmiParameters, DepthFirstFirstMatchWins) {
  AmiParameters nested("(root (x (y 1)) (y 2))");
  int32_t value = 0;
  EXPECT_TRUE(nested.GetInt(value, "root.y"));
  EXPECT_EQ(value, 2);
  EXPECT_TRUE(nested.GetInt(value, "root.x.y"));
  EXPECT_EQ(value, 1);

  AmiParameters twice("(root (a 1) (a 2))");
  EXPECT_TRUE(twice.GetInt(value, "root.a"));
  EXPECT_EQ(value, 1);

  // A dotted name at one level competes with the same path through a branch.
  AmiParameters dotted("(root (x (y 1)) (x.y 2))");
  EXPECT_TRUE(dotted.GetInt(value, "root.x.y"));
  EXPECT_EQ(value, 1);

  AmiParameters unnamed("( (a 7) (b (c 8)))");
  EXPECT_TRUE(unnamed.GetInt(value, "a"));
  EXPECT_EQ(value, 7);
  EXPECT_TRUE(unnamed.GetInt(value, "b.c"));
  EXPECT_EQ(value, 8);
}

TEST(AmiParameters, ReadersAcceptOnlyTheirKindsAndReadTheFirstValue) {
  AmiParameters params(
      "(p (t True) (f False) (lower true) (s \"a b\") (n 2.9) (m -2.9) (corner 1 2) (big 1e12)"
      " (neg -3e9) (e \"\") (word Float))");
  ASSERT_TRUE(params.valid);
  double d = 0;
  EXPECT_FALSE(params.GetDouble(d, "p.t"));
  EXPECT_FALSE(params.GetDouble(d, "p.s"));
  EXPECT_FALSE(params.GetDouble(d, "p.e"));
  EXPECT_TRUE(params.GetDouble(d, "p.corner"));
  EXPECT_EQ(d, 1.0);

  int32_t i = 5;
  EXPECT_TRUE(params.GetInt(i, "p.n"));
  EXPECT_EQ(i, 2);
  EXPECT_TRUE(params.GetInt(i, "p.m"));
  EXPECT_EQ(i, -2);
  EXPECT_TRUE(params.GetInt(i, "p.big"));
  EXPECT_EQ(i, INT32_MIN);
  EXPECT_TRUE(params.GetInt(i, "p.neg"));
  EXPECT_EQ(i, INT32_MIN);
  i = 5;
  EXPECT_FALSE(params.GetInt(i, "p.f"));
  EXPECT_EQ(i, 5);

  bool b = false;
  EXPECT_TRUE(params.GetBool(b, "p.t"));
  EXPECT_TRUE(b);
  EXPECT_TRUE(params.GetBool(b, "p.f"));
  EXPECT_FALSE(b);
  b = true;
  EXPECT_FALSE(params.GetBool(b, "p.lower"));  // "true" is a string
  EXPECT_TRUE(b);

  char* s = nullptr;
  EXPECT_TRUE(params.GetString(s, "p.s"));
  EXPECT_STREQ(s, "a b");
  EXPECT_TRUE(params.GetString(s, "p.word"));  // replaces and releases the old text
  EXPECT_STREQ(s, "Float");
  EXPECT_FALSE(params.GetString(s, "p.n"));
  EXPECT_FALSE(params.GetString(s, "p.t"));
  EXPECT_STREQ(s, "Float");
  delete[] s;
}

TEST(AmiParameters, FailedParseMakesEveryReaderFail) {
  for (const char* text : {"root (a 1)", "", "(a 1)", "(root 5 (a 1))", static_cast<const char*>(nullptr)}) {
    AmiParameters params(text);
    EXPECT_FALSE(params.valid);
    EXPECT_EQ(params.tree, nullptr);
    double d = 9;
    int32_t i = 9;
    bool b = true;
    char* s = nullptr;
    EXPECT_FALSE(params.GetDouble(d, "root.a"));
    EXPECT_FALSE(params.GetInt(i, "root.a"));
    EXPECT_FALSE(params.GetBool(b, "root.a"));
    EXPECT_FALSE(params.GetString(s, "root.a"));
    EXPECT_EQ(params.Find("root.a"), nullptr);
    EXPECT_EQ(d, 9);
    EXPECT_EQ(i, 9);
    EXPECT_TRUE(b);
    EXPECT_EQ(s, nullptr);
  }
}

TEST(AmiParameters, FindLeafOnItsOwn) {
  EXPECT_EQ(AmiParameters::FindLeaf(nullptr, "a", ""), nullptr);
  AmiParameters params("(root (x (y 1)))");
  const AMIBRANCH* root = static_cast<const AMIBRANCH*>(params.tree->nodes[0].body);
  const AMIBRANCH* x = static_cast<const AMIBRANCH*>(root->children[0].body);
  EXPECT_NE(AmiParameters::FindLeaf(x, "root.x.y", "root"), nullptr);
  EXPECT_NE(AmiParameters::FindLeaf(x, "x.y", ""), nullptr);
  EXPECT_EQ(AmiParameters::FindLeaf(x, "root.x.y", ""), nullptr);
}

TEST(AmiParameters, DeepNestingDoesNotExhaustTheStack) {
  const int depth = 200000;
  std::string text;
  std::string path;
  for (int i = 0; i < depth; ++i) text += "(";
  text += "a 1";
  for (int i = 0; i < depth; ++i) text += ")";
  AmiParameters params(text.c_str());
  ASSERT_TRUE(params.valid);
  int32_t value = 0;
  EXPECT_TRUE(params.GetInt(value, "a"));  // every branch has an empty name
  EXPECT_EQ(value, 1);
  EXPECT_FALSE(params.GetInt(value, "b"));
}

// A leaf a million named levels down, read by its full path. The parse and
// the release walk the lists in text order, and the search keeps no copy of
// the path per level (that would take terabytes here), only how much of the
// path each open branch matches.
TEST(AmiParameters, LeavesAMillionNamedLevelsDownAreFoundByTheirPath) {
  const std::string text = "(m " + Nest(kDeepNesting, "(x 1.5) (y 2)") + " (z 3))";
  AmiParameters params(text.c_str());
  ASSERT_TRUE(params.valid);
  ASSERT_EQ(params.tree->slots, static_cast<int32_t>(kDeepNesting) + 4);
  EXPECT_EQ(params.tree->nodes[kDeepNesting + 1].level, static_cast<int32_t>(kDeepNesting) + 2);  // x
  const std::string deep = "m." + NestPath(kDeepNesting);
  double value = 0;
  EXPECT_TRUE(params.GetDouble(value, (deep + ".y").c_str()));
  EXPECT_EQ(value, 2.0);
  EXPECT_TRUE(params.GetDouble(value, "m.z"));
  EXPECT_EQ(value, 3.0);
  value = 0;
  EXPECT_FALSE(params.GetDouble(value, (deep + "x").c_str()));
  EXPECT_EQ(value, 0.0);
}

TEST(AmiParameters, FullNamesFollowTheJoiningRules) {
  // An empty name joins with "." under a named branch, but a name under an
  // empty full name has no "." before it.
  AmiParameters params("(m ( (x 1)) (n (p (q 2))) (r (s 3)))");
  ASSERT_TRUE(params.valid);
  int32_t value = 0;
  EXPECT_TRUE(params.GetInt(value, "m..x"));
  EXPECT_EQ(value, 1);
  EXPECT_FALSE(params.GetInt(value, "m.x"));
  EXPECT_TRUE(params.GetInt(value, "m.n.p.q"));
  EXPECT_EQ(value, 2);
  EXPECT_FALSE(params.GetInt(value, "m.n.p"));
  EXPECT_FALSE(params.GetInt(value, "m.n.pq"));
  EXPECT_FALSE(params.GetInt(value, "m.r.s.t"));
  const AMIBRANCH* root = static_cast<const AMIBRANCH*>(params.tree->nodes[0].body);
  const AMIBRANCH* n = static_cast<const AMIBRANCH*>(root->children[1].body);
  EXPECT_NE(AmiParameters::FindLeaf(n, "m.n.p.q", "m"), nullptr);
  EXPECT_EQ(AmiParameters::FindLeaf(n, "m.n.p.q", "mm"), nullptr);
  EXPECT_EQ(AmiParameters::FindLeaf(n, "m.n.p.q", "m.n"), nullptr);
  EXPECT_NE(AmiParameters::FindLeaf(n, "x.y.n.p.q", "x.y"), nullptr);
}

}  // namespace

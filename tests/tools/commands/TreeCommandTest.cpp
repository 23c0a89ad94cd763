#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cstdio>
#include <string>

#include "tests/NestedText.h"
#include "tests/TestFolder.h"
#include "tests/tools/CliRun.h"

namespace {

// One shell word holding `text` exactly.
std::string Word(const std::string& text) {
  std::string out = "'";
  for (char c : text) {
    if (c == '\'') {
      out += "'\\''";
    } else {
      out += c;
    }
  }
  return out + "'";
}

CliResult Tree(const std::string& text, const std::string& more = "") {
  return RunCli("tree " + Word(text) + (more.empty() ? "" : " " + more));
}

TEST(TreeCommand, PrintsTheTreeAsOneJsonLine) {
  CliResult r = Tree("(tessalune_tx (emphasis 0.5) (Vreg 2))");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.output,
            "{\"result\":0,\"slots\":3,\"root\":{\"kind\":\"branch\",\"name\":\"tessalune_tx\",\"level\":1,"
            "\"children\":[{\"kind\":\"leaf\",\"name\":\"emphasis\",\"level\":2,\"property\":0,\"values\":"
            "[{\"text\":\"0.5\",\"kind\":3,\"keyword\":-1}]},{\"kind\":\"leaf\",\"name\":\"Vreg\",\"level\":2,"
            "\"property\":0,\"values\":[{\"text\":\"2\",\"kind\":1,\"keyword\":-1}]}]}}\n");
}

TEST(TreeCommand, NestingEscapingAndKeywords) {
  CliResult r = Tree("(m (p (Type Float) (Description \"say \\\"x\\\" \ttab\")) (w 1))");
  ASSERT_EQ(r.status, 0) << r.output;
  nlohmann::json j = nlohmann::json::parse(r.output);
  EXPECT_EQ(j["slots"], 5);
  const nlohmann::json& p = j["root"]["children"][0];
  EXPECT_EQ(p["kind"], "branch");
  EXPECT_EQ(p["level"], 2);
  EXPECT_EQ(p["children"][0]["property"], 2);
  EXPECT_EQ(p["children"][0]["values"][0]["keyword"], 4);
  EXPECT_EQ(p["children"][1]["property"], 5);
  EXPECT_EQ(p["children"][1]["values"][0]["text"], "say \\");
  EXPECT_EQ(j["root"]["children"][1]["name"], "w");
  EXPECT_EQ(j["root"]["children"][1]["level"], 2);
}

TEST(TreeCommand, FailureGivesResultOnlyAndStatusOne) {
  EXPECT_EQ(Tree("(root (a 1)").output, "{\"result\":1}\n");
  EXPECT_EQ(Tree("(root (a 1)").status, 1);
  EXPECT_EQ(Tree("").output, "{\"result\":2}\n");
  EXPECT_EQ(Tree("(a 1)").output, "{\"result\":3}\n");
  EXPECT_EQ(Tree("(root (a ) (b 1))").output, "{\"result\":8}\n");
}

TEST(TreeCommand, ReadsTheTextFromAFile) {
  TestFolder folder("tree");
  std::string path = folder.Write("params.ami", "(tessalune_tx\n  (emphasis 0.25)\n  (name \"a b\")\n)\n");
  CliResult r = RunCli("tree -f " + Word(path) + " --get tessalune_tx.emphasis");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.output, "0.25\n");
  EXPECT_EQ(RunCli("tree -f " + Word(path)).status, 0);
  std::remove(path.c_str());
  EXPECT_EQ(RunCli("tree -f " + Word(path)).status, 2);  // no such file: usage error
}

TEST(TreeCommand, GetReadsTypedValues) {
  const std::string text = "(m (d 0.1) (i -2.9) (s \"a b\") (b True) (l true))";
  EXPECT_EQ(Tree(text, "--get m.d").output, "0.10000000000000001\n");
  EXPECT_EQ(Tree(text, "--get m.i --as double").output, "-2.8999999999999999\n");
  EXPECT_EQ(Tree(text, "--get m.i --as int").output, "-2\n");
  EXPECT_EQ(Tree(text, "--get m.s --as string").output, "a b\n");
  EXPECT_EQ(Tree(text, "--get m.b --as bool").output, "true\n");
  CliResult missing = Tree(text, "--get m.l --as bool");
  EXPECT_EQ(missing.output, "not found\n");
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(Tree(text, "--get m.D").output, "not found\n");
  EXPECT_EQ(Tree("root (a 1)", "--get root.a").output, "not found\n");
}

TEST(TreeCommand, UsageErrorsExitWithTwo) {
  EXPECT_EQ(RunCli("tree").status, 2);
  EXPECT_EQ(RunCli("tree '(m (a 1))' --get m.a --as float").status, 2);
  EXPECT_EQ(RunCli("tree '(m (a 1))' --as int").status, 2);
}

TEST(TreeCommand, DeepNestingPrints) {
  std::string text(20000, '(');
  text += "a 1";
  text += std::string(20000, ')');
  TestFolder folder("tree");
  CliResult r = RunCli("tree -f " + Word(folder.Write("deep.ami", text)));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.output.rfind("{\"result\":0,\"slots\":20000,", 0), 0u);
}

// A million named levels: the JSON is written with an explicit stack, one
// branch object inside the other, exactly as for a shallow tree.
TEST(TreeCommand, AMillionNamedLevelsPrintAsNestedObjects) {
  TestFolder folder("tree");
  CliResult r = RunCli("tree -f " + Word(folder.Write("deep.ami", Nest(kDeepNesting, "(x 1)", "b"))));
  EXPECT_EQ(r.status, 0);
  std::string expected = "{\"result\":0,\"slots\":" + std::to_string(kDeepNesting + 1) + ",\"root\":";
  for (size_t level = 1; level <= kDeepNesting; ++level)
    expected += "{\"kind\":\"branch\",\"name\":\"b\",\"level\":" + std::to_string(level) + ",\"children\":[";
  expected += "{\"kind\":\"leaf\",\"name\":\"x\",\"level\":" + std::to_string(kDeepNesting + 1) +
              ",\"property\":0,\"values\":[{\"text\":\"1\",\"kind\":1,\"keyword\":-1}]}";
  for (size_t level = 1; level <= kDeepNesting; ++level) expected += "]}";
  expected += "}\n";
  EXPECT_TRUE(r.output == expected) << "got " << r.output.size() << " bytes, expected " << expected.size();
}

// An endless or huge input is refused with a reason, never an abort.
TEST(TreeCommand, EndlessInputIsRefusedWithStatusOne) {
  CliResult r = RunCli("tree -f /dev/zero", true);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.output, "tree: /dev/zero holds more than 16 MiB, more than a parameter file may hold\n");
  EXPECT_EQ(RunCli("tree -f /dev/zero --get m.a").status, 1);
}

}  // namespace

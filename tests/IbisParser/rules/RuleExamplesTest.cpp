// Every rule row that holds an example: the example, checked as a file,
// gives that row's code at that row's level. The test is made from the rows:
// a new row with an example is tested without a line written here. Every
// row has an example but those that no file can reach, and the rows say
// which those are.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "IbisParser/IbisCheck.h"
#include "IbisParser/Parse.h"
#include "IbisParser/ami/AlgMod.h"
#include "IbisParser/rules/FileCheckRules.h"
#include "IbisParser/rules/RelationRules.h"
#include "IbisParser/rules/RuleBook.h"
#include "IbisParser/rules/RuleReport.h"
#include "amiparam/Msg.h"
#include "tests/TestFolder.h"
#include "tests/amiparam/MsgCapture.h"

namespace {

struct Heard {
  int code;
  int level;
};

void Listen(int level, int code, unsigned long, const char*, void* context) {
  static_cast<std::vector<Heard>*>(context)->push_back({code, level});
}

// One file of an example: its name, its text, whether it is written and, for
// the one checked, the extension of the kind it is checked as ("@t.txt as
// .ebd"; empty: the name's own).
struct ExampleFile {
  std::string name;
  std::string text;
  bool written;
  std::string kind;
};

// The text with each "$R<n>{piece}" replaced by the piece n times.
std::string Repeated(std::string text) {
  for (size_t at = text.find("$R"); at != std::string::npos; at = text.find("$R", at)) {
    const size_t open = text.find('{', at);
    const size_t close = text.find('}', open);
    const long count = std::stol(text.substr(at + 2, open - at - 2));
    const std::string piece = text.substr(open + 1, close - open - 1);
    std::string all;
    all.reserve(piece.size() * count);
    for (long i = 0; i < count; ++i) all += piece;
    text.replace(at, close + 1 - at, all);
    at += all.size();
  }
  return text;
}

// The text with "$H" replaced by a 4.2 header naming file `name`.
std::string WithHeader(std::string text, const std::string& name) {
  const std::string header = "[IBIS Ver] 4.2\n[File Name] " + name + "\n[File Rev] 1\n";
  for (size_t at = text.find("$H"); at != std::string::npos; at = text.find("$H", at + header.size()))
    text.replace(at, 2, header);
  return text;
}

// The files of an example, the one checked first.
std::vector<ExampleFile> FilesOf(const char* example) {
  const std::string text = Repeated(example);
  if (text.empty() || text[0] != '@') return {{"t.ibs", WithHeader(text, "t.ibs"), true, std::string()}};
  std::vector<ExampleFile> files;
  for (size_t at = 0; at < text.size();) {
    const size_t end = text.find('\n', at);
    ExampleFile file{text.substr(at + 1, (end == std::string::npos ? text.size() : end) - at - 1), "",
                     end != std::string::npos, std::string()};
    const size_t as = file.name.find(" as ");
    if (as != std::string::npos) {
      file.kind = file.name.substr(as + 4);
      file.name.erase(as);
    }
    const size_t next = file.written ? text.find("\n@", end) : std::string::npos;
    if (file.written) {
      const size_t stop = next == std::string::npos ? text.size() : next + 1;
      file.text = WithHeader(text.substr(end + 1, stop - end - 1), file.name);
    }
    files.push_back(file);
    at = next == std::string::npos ? text.size() : next + 1;
  }
  return files;
}

// Writes the example's files into `folder`; returns the path of the one checked.
std::string WriteFiles(const TestFolder& folder, const std::vector<ExampleFile>& files) {
  for (const ExampleFile& file : files) {
    if (!file.name.empty() && file.name.back() == '/') {
      std::filesystem::create_directories(folder.path / file.name);
    } else if (file.written) {
      folder.Write(file.name, file.text);
    }
  }
  std::string name = files.front().name;
  if (!name.empty() && name.back() == '/') name.pop_back();
  return (folder.path / name).string();
}

// The codes and levels printed while checking the example's first file as
// the kind its name gives. The file is named relative to its folder, as a
// name given on a command line in that folder: the checker's limits on names
// count the path as given.
std::vector<Heard> CheckExample(const char* example) {
  TestFolder folder{"ruleexamples"};
  const std::vector<ExampleFile> files = FilesOf(example);
  const std::filesystem::path checked = WriteFiles(folder, files);
  const std::filesystem::path wasIn = std::filesystem::current_path();
  std::filesystem::current_path(folder.path);
  const std::string path = checked.filename().string();
  const int kind = IBIS_FileKind(files.front().kind.empty() ? path.c_str() : files.front().kind.c_str());
  std::vector<Heard> heard;
  // Not quiet, so that the notes only a full report gives are heard too; the
  // "Checking" lines go to the standard output, which is dropped.
  const int wasQuiet = gbParseQuiet;
  gbParseQuiet = 0;
  testing::internal::CaptureStdout();
  {
    MsgCapture capture;
    MSG_SetListener(Listen, &heard);
    if (kind == PARSE_MODE_AMI) {
      ALGMOD_CheckAmiFile(path.c_str());
    } else {
      PARSE_CheckFile(path.c_str(), kind == 0 ? PARSE_MODE_IBS : kind);
    }
    MSG_SetListener(nullptr, nullptr);
  }
  testing::internal::GetCapturedStdout();
  gbParseQuiet = wasQuiet;
  std::filesystem::current_path(wasIn);
  return heard;
}

bool NoFileReaches(const CHECK_RULE& rule) { return rule.example && std::strcmp(rule.example, CHECK_NO_FILE) == 0; }

}  // namespace

TEST(RuleExamples, EachExampleGivesItsRowsCodeAtItsLevel) {
  int withExample = 0;
  for (int i = 0; i < RULES_Count(); ++i) {
    const CHECK_RULE& rule = RULES_At(i);
    if (!rule.example || NoFileReaches(rule)) continue;
    ++withExample;
    bool found = false;
    for (const Heard& h : CheckExample(rule.example)) {
      if (h.code != rule.code) continue;
      found = true;
      EXPECT_EQ(h.level / 2, CHECK_LevelOf(rule.code) / 2) << rule.code;  // with or without the line
    }
    EXPECT_TRUE(found) << "the example of rule " << rule.code << " does not give it:\n"
                       << FilesOf(rule.example).front().text.substr(0, 2000);
  }
  EXPECT_GT(withExample, 0);
  std::printf("%d of %d rules have an example\n", withExample, RULES_Count());
}

// The rows without an example are exactly those no file can reach: the
// checker's own faults (PROGRAM BUG) and those whose source says why no file
// reaches them (memory running out, a case the callers rule out first).
TEST(RuleExamples, ExactlyTheRowsNoFileReachesLackAnExample) {
  int unreachable = 0;
  for (int i = 0; i < RULES_Count(); ++i) {
    const CHECK_RULE& rule = RULES_At(i);
    const bool byNature =
        std::strcmp(rule.severity, "PROGRAM BUG") == 0 || std::strstr(rule.source, "no file reaches it") != nullptr;
    EXPECT_NE(rule.example, nullptr) << rule.code << " has no example";
    EXPECT_EQ(NoFileReaches(rule), byNature) << rule.code;
    unreachable += NoFileReaches(rule) ? 1 : 0;
  }
  std::printf("%d of %d rules no file can reach\n", unreachable, RULES_Count());
}

// The example format: files beside the one checked, a missing file, a
// directory, repeated text and the header naming each file.
TEST(RuleExamples, ExamplesAreMadeOfTheirFiles) {
  const std::vector<ExampleFile> files = FilesOf("@b.txt as .ebd\n$H[End]\n@chip.ibs\n\n@d/\n@gone.ibs");
  ASSERT_EQ(files.size(), 4u);
  EXPECT_EQ(files[0].name, "b.txt");
  EXPECT_EQ(files[0].kind, ".ebd");
  EXPECT_EQ(files[0].text, "[IBIS Ver] 4.2\n[File Name] b.txt\n[File Rev] 1\n[End]\n");
  EXPECT_EQ(files[1].name, "chip.ibs");
  EXPECT_EQ(files[1].text, "\n");
  EXPECT_TRUE(files[2].written);
  EXPECT_EQ(files[2].name, "d/");
  EXPECT_FALSE(files[3].written);
  EXPECT_EQ(FilesOf("$R3{ab}c").front().text, "abababc");
  EXPECT_EQ(FilesOf("x").front().name, "t.ibs");
}

TEST(RuleExamples, TheRuleBookHoldsEveryRowOnce) {
  EXPECT_EQ(RULES_Count(), giCheckRuleCount + giModelCheckRuleCount + giFileCheckRuleCount + giRelationRuleCount);
  for (int i = 0; i < RULES_Count(); ++i) EXPECT_EQ(RULES_Find(RULES_At(i).code), &RULES_At(i));
}

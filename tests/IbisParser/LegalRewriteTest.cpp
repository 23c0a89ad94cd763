// Every IBIS file of the corpus written again in forms the standard allows
// gets no ERROR, and no finding of the rule checks, that the file as written
// does not get: "=" with and without
// blanks, keywords in upper case with "_" for blanks, NA in an inner typ row
// of each I-V table, CR LF line ends, comment and blank lines between table
// rows, E-notation in either case, scale letters, tabs between columns. Each
// rewrite is checked on its own, so a failure names it. Skipped when the
// corpus is absent.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "IbisParser/Parse.h"
#include "IbisParser/base/CmnWords.h"
#include "tests/IbisParser/SeverityAudit.h"
#include "tests/TestFolder.h"
#include "tests/amiparam/MsgCapture.h"

namespace fs = std::filesystem;

namespace {

// A file as lines (line ends dropped) with what a rewrite needs to know of
// each: is it a data row of an I-V or V-T table, and which comment character
// is in force.
struct Line {
  std::string text;
  int table = 0;  // 0 no table row, 1 an I-V table row, 2 a V-T table row
  int rowInTable = 0;
  int rowsInTable = 0;
  char comment = '|';
};

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (char& c : s)
    if (c == '_') c = ' ';
  return s;
}

int TableKind(const std::string& keyword) {
  for (const char* iv : {"pulldown", "pullup", "gnd clamp", "power clamp"})
    if (keyword == iv) return 1;
  for (const char* vt : {"rising waveform", "falling waveform"})
    if (keyword == vt) return 2;
  return 0;
}

// Numbers each table row within its table; rows of the table that ends get
// the table's row count.
void CloseTable(std::vector<Line>* lines, size_t start) {
  int rows = 0;
  for (size_t i = start; i < lines->size(); ++i) rows += (*lines)[i].table ? 1 : 0;
  for (size_t i = start; i < lines->size(); ++i) (*lines)[i].rowsInTable = rows;
}

bool StartsNumber(const std::string& text) {
  const size_t at = text.find_first_not_of(" \t");
  if (at == std::string::npos) return false;
  const char c = text[at];
  return std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '+' || c == '.';
}

std::vector<Line> ReadLines(const std::string& bytes) {
  std::vector<Line> lines;
  int table = 0, row = 0;
  char comment = '|';
  size_t tableStart = 0;
  for (size_t from = 0; from < bytes.size();) {
    size_t end = bytes.find('\n', from);
    if (end == std::string::npos) end = bytes.size();
    Line line;
    line.text = bytes.substr(from, end - from);
    if (!line.text.empty() && line.text.back() == '\r') line.text.pop_back();
    from = end + 1;
    const std::string& t = line.text;
    if (!t.empty() && t[0] == '[' && t.find(']') != std::string::npos) {
      const std::string keyword = Lower(t.substr(1, t.find(']') - 1));
      if (keyword == "comment char" && t.find("_char") != std::string::npos) comment = t[t.find("_char") - 1];
      CloseTable(&lines, tableStart);
      table = TableKind(keyword), row = 0, tableStart = lines.size() + 1;
    } else if (table && StartsNumber(t)) {
      line.table = table;
      line.rowInTable = row++;
    }
    line.comment = comment;
    lines.push_back(line);
  }
  CloseTable(&lines, tableStart);
  return lines;
}

std::string Join(const std::vector<Line>& lines, const char* end = "\n") {
  std::string out;
  for (const Line& line : lines) out += line.text + end;
  return out;
}

std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  size_t at = 0;
  while ((at = text.find_first_not_of(" \t", at)) != std::string::npos) {
    const size_t end = text.find_first_of(" \t", at);
    words.push_back(text.substr(at, end == std::string::npos ? std::string::npos : end - at));
    at = end;
  }
  return words;
}

// A subparameter line «name = value» (any blanks around "="): name and the rest.
bool Assignment(const std::string& text, std::string* name, std::string* rest) {
  size_t at = text.find_first_not_of(" \t");
  if (at == std::string::npos || !std::isalpha(static_cast<unsigned char>(text[at]))) return false;
  size_t end = at;
  while (end < text.size() && (std::isalnum(static_cast<unsigned char>(text[end])) || text[end] == '_')) ++end;
  size_t eq = text.find_first_not_of(" \t", end);
  if (eq == std::string::npos || text[eq] != '=') return false;
  *name = text.substr(0, end);
  const size_t value = text.find_first_not_of(" \t", eq + 1);
  *rest = value == std::string::npos ? std::string() : text.substr(value);
  return !rest->empty();
}

// The shortest spelling of `value` in E-notation that reads back exactly.
std::string ENotation(double value, bool upper) {
  char text[40];
  for (int digits = 0; digits <= 17; ++digits) {
    std::snprintf(text, sizeof text, upper ? "%.*E" : "%.*e", digits, value);
    if (std::strtod(text, nullptr) == value) break;
  }
  return text;
}

// `value` with a scale letter («1.5m»), or "" when no short spelling reads back.
std::string Scaled(double value) {
  static const struct {
    char letter;
    double factor;
  } kScales[] = {{'k', 1e3}, {'m', 1e-3}, {'u', 1e-6}, {'n', 1e-9}, {'p', 1e-12}, {'f', 1e-15}};
  const double magnitude = value < 0 ? -value : value;
  for (const auto& s : kScales) {
    if (magnitude < s.factor || magnitude >= s.factor * 1000.0) continue;
    char text[40];
    for (int digits = 1; digits <= 17; ++digits) {
      std::snprintf(text, sizeof text, "%.*g", digits, value / s.factor);
      if (std::strtod(text, nullptr) * s.factor == value) return std::string(text) + s.letter;
    }
  }
  return "";
}

// Rewrites every number of a table row with `spell`, keeping the row when the
// result would pass 80 characters (the shortest line limit).
void RewriteNumbers(std::vector<Line>* lines, const std::function<std::string(double, size_t)>& spell) {
  size_t n = 0;
  for (Line& line : *lines) {
    if (!line.table) continue;
    std::string out;
    for (const std::string& word : Words(line.text)) {
      double value = 0.0;
      std::string spelled;
      if (!CMN_EqualNoCase(word.c_str(), "NA") && CMN_ReadNumber(word.c_str(), &value) == CMN_NUMBER_OK)
        spelled = spell(value, n++);
      out += (out.empty() ? "" : " ") + (spelled.empty() ? word : spelled);
    }
    if (out.size() <= 80) line.text = out;
  }
}

struct Rewrite {
  const char* name;
  std::function<std::string(std::vector<Line>)> apply;
};

std::string EqualsTight(std::vector<Line> lines) {
  std::string name, rest;
  for (Line& line : lines)
    if (!line.table && Assignment(line.text, &name, &rest)) line.text = name + "=" + rest;
  return Join(lines);
}

std::string EqualsLoose(std::vector<Line> lines) {
  std::string name, rest;
  for (Line& line : lines)
    if (!line.table && Assignment(line.text, &name, &rest)) line.text = name + " = " + rest;
  return Join(lines);
}

std::string KeywordsUpper(std::vector<Line> lines) {
  for (Line& line : lines) {
    if (line.text.empty() || line.text[0] != '[') continue;
    const size_t close = line.text.find(']');
    for (size_t i = 1; i < close && close != std::string::npos; ++i) {
      char& c = line.text[i];
      c = c == ' ' ? '_' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
  }
  return Join(lines);
}

std::string InnerTypNA(std::vector<Line> lines) {
  for (Line& line : lines) {
    if (line.table != 1 || line.rowsInTable < 3 || line.rowInTable != line.rowsInTable / 2) continue;
    std::vector<std::string> words = Words(line.text);
    if (words.size() != 4) continue;
    line.text = words[0] + " NA " + words[2] + " " + words[3];
  }
  return Join(lines);
}

std::string CommentsBetweenRows(std::vector<Line> lines) {
  std::vector<Line> out;
  for (const Line& line : lines) {
    out.push_back(line);
    if (line.table && line.rowInTable % 8 == 0) {
      out.push_back(Line{""});
      out.push_back(Line{std::string(1, line.comment) + " a comment between rows"});
    }
  }
  return Join(out);
}

std::string TabsBetweenColumns(std::vector<Line> lines) {
  for (Line& line : lines) {
    if (!line.table) continue;
    std::string out;
    for (const std::string& word : Words(line.text)) out += (out.empty() ? "" : "\t") + word;
    line.text = out;
  }
  return Join(lines);
}

const std::vector<Rewrite>& Rewrites() {
  static const std::vector<Rewrite> kRewrites = {
      {"name=value", EqualsTight},
      {"name = value", EqualsLoose},
      {"keywords upper case with _", KeywordsUpper},
      {"NA in an inner typ row", InnerTypNA},
      {"CR LF line ends", [](std::vector<Line> l) { return Join(l, "\r\n"); }},
      {"comment and blank lines between rows", CommentsBetweenRows},
      {"E-notation",
       [](std::vector<Line> l) {
         RewriteNumbers(&l, [](double v, size_t n) { return ENotation(v, n % 2 == 0); });
         return Join(l);
       }},
      {"scale letters",
       [](std::vector<Line> l) {
         RewriteNumbers(&l, [](double v, size_t) { return Scaled(v); });
         return Join(l);
       }},
      {"tabs between columns", TabsBetweenColumns},
  };
  return kRewrites;
}

// The [File Name] of an IBIS file's text, or "".
std::string FileNameOf(const std::string& bytes) {
  for (const Line& line : ReadLines(bytes)) {
    if (line.text.size() < 11 || Lower(line.text.substr(0, 11)) != "[file name]") continue;
    std::vector<std::string> words = Words(line.text.substr(11));
    return words.empty() ? "" : words.back();
  }
  return "";
}

// What a check of a file printed: its ERROR texts, and the texts of the rule
// checks (ids 5000 on, warnings too), without line numbers.
struct Printed {
  std::map<std::string, int> errors, rules;
};

// Checks `bytes` as `name` in `dir`, auditing the severities printed.
Printed CheckText(const fs::path& dir, const std::string& name, const std::string& bytes, int mode,
                  std::set<std::string>* faults) {
  { std::ofstream(dir / name, std::ios::binary) << bytes; }
  SeverityAudit audit;
  MsgCapture capture;
  PARSE_CheckFile((dir / name).string().c_str(), mode);
  faults->insert(audit.faults.begin(), audit.faults.end());
  // Texts that name another line («of line 1358») name it as "line N": the
  // rewrites that add lines move them.
  auto withoutLines = [](const std::map<std::string, int>& texts) {
    static const std::regex kLine("line [0-9]+");
    std::map<std::string, int> out;
    for (const auto& [text, count] : texts) out[std::regex_replace(text, kLine, "line N")] += count;
    return out;
  };
  return Printed{withoutLines(audit.errors), withoutLines(audit.ruleFindings)};
}

// Each text of `now` not printed as often in `before`, as failures.
void ExpectNoMore(const std::map<std::string, int>& now, const std::map<std::string, int>& before,
                  const std::string& what) {
  for (const auto& [text, count] : now) {
    auto known = before.find(text);
    EXPECT_LE(count, known == before.end() ? 0 : known->second) << what << ": " << text;
  }
}

std::vector<fs::path> CorpusFiles(const fs::path& root) {
  std::vector<fs::path> files;
  std::error_code ec;
  for (const auto& entry : fs::recursive_directory_iterator(root, ec)) {
    const std::string ext = entry.path().extension().string();
    if (entry.is_regular_file() && (ext == ".ibs" || ext == ".pkg")) files.push_back(entry.path());
  }
  return files;
}

}  // namespace

TEST(LegalRewrite, NoRewriteTheStandardAllowsAddsAnError) {
  const fs::path root = TESSALUNE_CORPUS_DIR;
  std::error_code ec;
  if (!fs::is_directory(root, ec)) GTEST_SKIP() << "no corpus at " << root;
  gbParseQuiet = 1;
  std::set<std::string> faults;
  std::vector<int> changed(Rewrites().size(), 0);  // files each rewrite changed
  int checked = 0;
  for (const fs::path& file : CorpusFiles(root)) {
    TestFolder folder("rewrite");
    // A set's .ami files go with its .ibs file.
    if (file.parent_path().parent_path().filename() == "sets")
      for (const auto& other : fs::directory_iterator(file.parent_path(), ec))
        fs::copy_file(other.path(), folder.path / other.path().filename(), ec);
    const std::string bytes = ReadFile(file.string());
    std::string name = FileNameOf(bytes);
    if (name.empty()) name = file.filename().string();
    const int mode = file.extension() == ".pkg" ? PARSE_MODE_PKG : PARSE_MODE_IBS;
    const Printed original = CheckText(folder.path, name, bytes, mode, &faults);
    const std::vector<Line> lines = ReadLines(bytes);
    for (size_t r = 0; r < Rewrites().size(); ++r) {
      const Rewrite& rewrite = Rewrites()[r];
      const std::string written = rewrite.apply(lines);
      changed[r] += written != Join(lines) ? 1 : 0;
      const Printed now = CheckText(folder.path, name, written, mode, &faults);
      const std::string what = file.filename().string() + " rewritten with " + rewrite.name;
      ExpectNoMore(now.errors, original.errors, what + ": ERROR");
      ExpectNoMore(now.rules, original.rules, what + ": finding");
    }
    ++checked;
  }
  gbParseQuiet = 0;
  EXPECT_GE(checked, 20);
  for (size_t r = 0; r < Rewrites().size(); ++r) EXPECT_GE(changed[r], 10) << Rewrites()[r].name;
  for (const std::string& fault : faults) ADD_FAILURE() << "message " << fault;
}

// The rewrites themselves: each changes what it says and keeps the rest.
TEST(LegalRewrite, RewritesSpellTheSameFile) {
  const std::string text =
      "[IBIS Ver] 4.2\n[Model] m\nVinl = 0.8\n[Pulldown]\n-1 -1m NA NA\n0 0 NA NA\n1 1.5m NA NA\n"
      "[Rising Waveform]\nR_fixture=50\n0 0 NA NA\n";
  const std::vector<Line> lines = ReadLines(text);
  EXPECT_EQ(EqualsTight(lines).substr(25, 9), "Vinl=0.8\n");
  EXPECT_NE(EqualsLoose(lines).find("R_fixture = 50"), std::string::npos);
  EXPECT_NE(KeywordsUpper(lines).find("[RISING_WAVEFORM]\n"), std::string::npos);
  EXPECT_NE(InnerTypNA(lines).find("\n0 NA NA NA\n"), std::string::npos);
  EXPECT_NE(TabsBetweenColumns(lines).find("\n1\t1.5m\tNA\tNA\n"), std::string::npos);
  EXPECT_EQ(Scaled(1.5e-3), "1.5m");
  EXPECT_EQ(ENotation(0.0015, true), "1.5E-03");
  EXPECT_EQ(FileNameOf("[IBIS Ver] 7.1\n[File Name] Example_Rx.ibs\r\n"), "Example_Rx.ibs");
}

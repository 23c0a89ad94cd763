#include "IbisParser/base/NamedFile.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "IbisParser/base/CmnFile.h"
#include "IbisParser/base/CmnWords.h"
#include "IbisParser/base/LineWords.h"

namespace {

// Longest line kept while looking for keywords; the rest of a line is dropped.
constexpr size_t kKept = 1023;

// `text` with blanks turned into '_' (keyword names compare that way).
std::string Underscored(std::string text) {
  std::replace(text.begin(), text.end(), ' ', '_');
  return text;
}

}  // namespace

int NAMED_Kind(const char* dir, const std::string& name, std::string* path) {
  char joined[2048];
  if (name.empty() || !CMN_JoinPath(dir ? dir : "", name.c_str(), joined, sizeof joined)) return NAMED_MISSING;
  if (path) *path = joined;
  const CMN_FILE_KIND kind = CMN_FileKind(joined, nullptr);
  if (kind == CMN_FILE_SPECIAL) return NAMED_SPECIAL;
  if (kind != CMN_FILE_REGULAR) return NAMED_MISSING;
  FILE* f = std::fopen(joined, "rb");
  if (!f) return NAMED_MISSING;
  std::fclose(f);
  return NAMED_FILE;
}

std::vector<std::string> NAMED_Defined(const std::string& path, const char* keyword) {
  std::vector<std::string> names;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return names;
  const std::string wanted = Underscored(keyword);
  std::string line;
  while (CMN_ReadLine(f, line, kKept, nullptr, nullptr, nullptr)) {
    const size_t open = line.find_first_not_of(" \t");
    if (open == std::string::npos || line[open] != '[') continue;
    const size_t close = line.find(']', open);
    if (close == std::string::npos) continue;
    if (!CMN_EqualNoCase(Underscored(line.substr(open + 1, close - open - 1)).c_str(), wanted.c_str())) continue;
    std::vector<std::string> words = LINE_Words(line.c_str() + close + 1);
    if (!words.empty()) names.push_back(words[0]);
  }
  std::fclose(f);
  return names;
}

std::vector<std::string> NAMED_FilesWithExtension(const char* dir, const char* extension) {
  namespace fs = std::filesystem;
  std::vector<std::string> names;
  std::error_code ec;
  const fs::path folder = (dir && *dir) ? fs::path(dir) : fs::path(".");
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (CMN_EqualNoCase(it->path().extension().string().c_str(), extension)) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

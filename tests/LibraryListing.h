// What the tools of the toolchain say about a built model library: its
// exported names (nm) and the instructions in its machine code (objdump).
#pragma once

#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

// The names of the defined dynamic symbols of the library at `path`;
// `ok` false when nm could not be run or failed.
inline std::set<std::string> ExportedNames(const std::string& path, bool& ok) {
  std::set<std::string> names;
  FILE* nm = popen(("nm -D --defined-only '" + path + "'").c_str(), "r");
  ok = nm != nullptr;
  if (!ok) return names;
  char line[1024];
  while (std::fgets(line, sizeof line, nm) != nullptr) {
    char address[64], type[8], name[900];
    if (std::sscanf(line, "%63s %7s %899s", address, type, name) == 3) names.insert(name);
  }
  ok = pclose(nm) == 0;
  return names;
}

// Counts, in the disassembly of the library at `path`, the lines that hold
// each group of texts (a line counts once per group): e.g. the fused
// multiply-add mnemonics. `ok` false when objdump could not be run or failed.
inline std::vector<int> CountInstructions(const std::string& path, const std::vector<std::vector<std::string>>& groups,
                                          bool& ok) {
  std::vector<int> counts(groups.size(), 0);
  FILE* listing = popen(("objdump -d --no-show-raw-insn '" + path + "'").c_str(), "r");
  ok = listing != nullptr;
  if (!ok) return counts;
  char line[512];
  while (std::fgets(line, sizeof line, listing) != nullptr) {
    for (size_t g = 0; g < groups.size(); ++g) {
      bool all = true;
      for (const std::string& text : groups[g]) all = all && std::strstr(line, text.c_str()) != nullptr;
      counts[g] += all;
    }
  }
  ok = pclose(listing) == 0;
  return counts;
}

// The fused multiply-add mnemonics of x86-64, one group each, for
// CountInstructions; FusedCount adds their counts up.
inline std::vector<std::vector<std::string>> FusedMultiplyAddGroups() {
  return {{"vfmadd"}, {"vfmsub"}, {"vfnmadd"}, {"vfnmsub"}};
}
inline int FusedCount(const std::vector<int>& counts) {
  int fused = 0;
  for (size_t g = 0; g < 4 && g < counts.size(); ++g) fused += counts[g];
  return fused;
}

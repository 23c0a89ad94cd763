#include "IbisParser/base/LineWords.h"

#include <cstdlib>

#include "IbisParser/base/CmnWords.h"

std::vector<std::string> LINE_Words(const char* text) {
  std::vector<std::string> words;
  if (!text) return words;
  const char* p = text;
  while (*p) {
    while (*p == ' ' || *p == '\t') ++p;
    const char* start = p;
    while (*p && *p != ' ' && *p != '\t') ++p;
    if (p > start) words.emplace_back(start, p);
  }
  return words;
}

std::vector<std::string> LINE_AssignWords(const char* text) {
  std::vector<std::string> words = LINE_Words(text);
  if (words.empty()) return words;
  const size_t eq = words[0].find('=');
  if (eq != std::string::npos && eq > 0) {
    std::string value = words[0].substr(eq + 1);
    words[0].erase(eq);
    if (!value.empty()) words.insert(words.begin() + 1, value);
  } else if (words.size() > 1 && words[1][0] == '=') {
    words[1].erase(0, 1);
    if (words[1].empty()) words.erase(words.begin() + 1);
  }
  return words;
}

int LINE_IsNumberOrNA(const std::string& text) {
  if (CMN_EqualNoCase(text.c_str(), "NA")) return 1;
  double value = 0.0;
  return CMN_ReadNumber(text.c_str(), &value) == CMN_NUMBER_OK ? 1 : 0;
}

long long LINE_WholeNumber(const std::string& text, long long least) {
  if (text.empty() || text.size() > 18) return -1;
  for (char c : text)
    if (c < '0' || c > '9') return -1;
  const long long n = std::atoll(text.c_str());
  return n >= least ? n : -1;
}

std::string LINE_Lower(const std::string& text) {
  std::string out = text;
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

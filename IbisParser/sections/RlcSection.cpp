#include "IbisParser/sections/RlcSection.h"

#include "IbisParser/base/CmnWords.h"
#include "IbisParser/base/LineWords.h"
#include "IbisParser/rules/RuleReport.h"
#include "amiparam/Msg.h"

std::vector<RLC_ITEM> RLC_Items(const char* text) {
  // Blanks around '=' are dropped and '/' stands apart, so that «Len = 1»,
  // «Len=1» and «C=1p/» read alike.
  std::string joined;
  for (const char* p = text ? text : ""; *p; ++p) {
    if (*p == '=') {
      while (!joined.empty() && (joined.back() == ' ' || joined.back() == '\t')) joined.pop_back();
      joined += '=';
      while (p[1] == ' ' || p[1] == '\t') ++p;
    } else if (*p == '/') {
      joined += " / ";
    } else {
      joined += *p;
    }
  }
  std::vector<RLC_ITEM> items;
  for (const std::string& word : LINE_Words(joined.c_str())) {
    if (word == "/") {
      items.push_back({RLC_ITEM::SLASH, word, std::string()});
      continue;
    }
    const size_t eq = word.find('=');
    if (eq == std::string::npos)
      items.push_back({RLC_ITEM::WORD, word, std::string()});
    else
      items.push_back({RLC_ITEM::ASSIGN, word.substr(0, eq), word.substr(eq + 1)});
  }
  return items;
}

void RLC_Assign(RLC_SECTION* section, const RLC_ITEM& item, const char* where) {
  // IBIS 2.1 package modeling ([Pin Numbers]) and 3.2 board description
  // ([Path Description]): a section is Len, L, R and C, each once.
  static const char* const kNames[] = {"Len", "L", "R", "C"};
  if (!section->open) {
    *section = RLC_SECTION{};
    section->open = true;
    section->line = gulLineNumber;
  }
  int k = 0;
  while (k < 4 && !CMN_EqualNoCase(item.name.c_str(), kNames[k])) ++k;
  if (k == 4) {
    CHECK_Report(5450, where, item.name.c_str());
    return;
  }
  if (section->given[k]) CHECK_Report(5451, where, kNames[k]);
  section->given[k] = true;
  double value = 0.0;
  if (CMN_ReadNumber(item.value.c_str(), &value) == CMN_NUMBER_NONE || value < 0.0)
    CHECK_Report(5452, where, kNames[k], item.value.c_str());
}

int RLC_Close(RLC_SECTION* section, const char* where) {
  if (!section->open) {
    CHECK_Report(5453, where);
    return 0;
  }
  section->open = false;
  return 1;
}

void RLC_Interrupt(RLC_SECTION* section, const char* where) {
  if (!section->open) return;
  CHECK_Report(5454, where);
  section->open = false;
}

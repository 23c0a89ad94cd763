#include "IbisParser/base/CmnWords.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "IbisParser/rules/RuleReport.h"
#include "amiparam/Cmn.h"
#include "amiparam/Msg.h"

namespace {

// Engineering scale letters, case counting: "M" is mega, "m" milli.
struct Scale {
  char letter;
  double factor;
};
constexpr Scale kScales[] = {
    {'T', 1e12}, {'G', 1e9}, {'M', 1e6}, {'k', 1e3}, {'m', 1e-3}, {'u', 1e-6}, {'n', 1e-9}, {'p', 1e-12}, {'f', 1e-15},
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Length of the decimal number at `p` (sign, digits, optional fraction,
// optional exponent with at least one digit); 0 when there is none.
size_t ScanDecimal(const char* p) {
  size_t i = 0;
  if (p[i] == '+' || p[i] == '-') ++i;
  size_t digits = 0;
  while (IsDigit(p[i])) ++i, ++digits;
  if (p[i] == '.') {
    ++i;
    while (IsDigit(p[i])) ++i, ++digits;
  }
  if (digits == 0) return 0;
  if (p[i] == 'e' || p[i] == 'E') {
    size_t j = i + 1;
    if (p[j] == '+' || p[j] == '-') ++j;
    if (IsDigit(p[j])) {
      while (IsDigit(p[j])) ++j;
      i = j;
    }
  }
  return i;
}

// Stores a copy of [start, start + length) in the list's next slot.
int StoreWord(CMN_WORDS* list, const char* start, size_t length) {
  char* copy = nullptr;
  if (!CMN_Alloc(&copy, length + 1)) {
    CHECK_ReportFile(1908, CMN_BaseName(__FILE__), __LINE__);
    return 0;
  }
  std::memcpy(copy, start, length);
  list->words[list->stored++] = copy;
  return 1;
}

}  // namespace

int CMN_SplitWords(const char* text, int maxWords, char separator, CMN_WORDS* list) {
  CMN_ASSERT(text != nullptr);
  CMN_ASSERT(list != nullptr);
  list->maxWords = maxWords < 0 ? 0 : maxWords;
  list->stored = 0;
  list->found = 0;
  list->words = nullptr;
  if (list->maxWords >= 1 && !CMN_Alloc(&list->words, sizeof(char*) * list->maxWords)) {
    list->maxWords = 0;
    CHECK_ReportFile(1908, CMN_BaseName(__FILE__), __LINE__);
    return 0;
  }
  const char* p = text;
  while (*p) {
    CMN_SkipSpace(&p);
    if (!*p) break;
    size_t length = 1;
    if (separator == '\0' || *p != separator) {
      while (p[length] && p[length] != ' ' && p[length] != '\t' && (separator == '\0' || p[length] != separator))
        ++length;
    }
    if (list->stored < list->maxWords && !StoreWord(list, p, length)) return 0;
    ++list->found;
    p += length;
  }
  return 1;
}

void CMN_FreeWords(CMN_WORDS* list) {
  if (!list) return;
  if (list->words) {
    for (int32_t i = 0; i < list->maxWords; ++i)
      if (list->words[i]) CMN_Free(&list->words[i]);
    CMN_Free(&list->words);
  }
  list->maxWords = 0;
  list->stored = 0;
  list->found = 0;
}

int CMN_ReadNumber(const char* text, double* place) {
  CMN_ASSERT(text != nullptr);
  CMN_ASSERT(place != nullptr);
  const char* p = text;
  CMN_SkipSpace(&p);
  size_t length = ScanDecimal(p);
  if (length == 0) return CMN_NUMBER_NONE;

  // from_chars reads no leading '+' and ignores the locale's decimal point.
  const char* first = (*p == '+') ? p + 1 : p;
  double value = 0.0;
  std::from_chars_result read = std::from_chars(first, p + length, value);
  if (read.ec == std::errc::result_out_of_range) {
    // Too small for a double reads as zero; too large is not a number.
    const char* e = std::strpbrk(first, "eE");
    if (!e || e >= p + length || e[1] != '-') return CMN_NUMBER_NONE;
    value = 0.0;
  } else if (read.ec != std::errc() || read.ptr != p + length) {
    return CMN_NUMBER_NONE;
  }

  const char* rest = p + length;
  double factor = 1.0;
  int result = CMN_NUMBER_OK;
  if (*rest) {
    if (!IsLetter(*rest)) return CMN_NUMBER_NONE;
    for (const Scale& s : kScales)
      if (s.letter == *rest) factor = s.factor;
    for (const char* q = rest; *q; ++q)
      if (IsDigit(*q)) result = CMN_NUMBER_DIGITS_IN_SCALE;
  }
  double scaled = value * factor;
  if (!std::isfinite(scaled)) return CMN_NUMBER_NONE;
  *place = scaled;
  return result;
}

int CMN_GetValueOrNA(const char* text, const char* context, const char* name, double* place, int32_t* status) {
  CMN_ASSERT(place != nullptr);
  CMN_ASSERT(status != nullptr);
  *status = CMN_VALUE_NOT_GIVEN;
  if (!text) return 1;
  if (CMN_EqualNoCase(text, "NA")) {
    *place = 0.0;
    *status = CMN_VALUE_NA;
    return 1;
  }
  switch (CMN_ReadNumber(text, place)) {
    case CMN_NUMBER_NONE:
      CHECK_Report(1909, name, text);
      return 0;
    case CMN_NUMBER_DIGITS_IN_SCALE:
      CHECK_Report(1910, name, context, text);
      break;
    default:
      break;
  }
  *status = CMN_VALUE_NUMBER;
  return 1;
}

#include "amiparam/AmiValue.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <system_error>

#include "amiparam/Cmn.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Leading whitespace and one sign, as the C conversions accept them.
const char* SkipBlanksAndSign(const char* p, bool* negative) {
  while (*p != '\0' && CMN_IsSpace(static_cast<unsigned char>(*p))) ++p;
  *negative = false;
  if (*p == '+' || *p == '-') {
    *negative = *p == '-';
    ++p;
  }
  return p;
}

bool IsInteger(const char* text) {
  bool negative = false;
  const char* p = SkipBlanksAndSign(text, &negative);
  if (!IsDigit(*p)) return false;
  while (IsDigit(*p)) ++p;
  return *p == '\0';
}

// Decimal notation: digits with an optional fraction (at least one digit in
// all), then an optional exponent with at least one digit.
bool IsDecimal(const char* text) {
  bool negative = false;
  const char* p = SkipBlanksAndSign(text, &negative);
  int digits = 0;
  while (IsDigit(*p)) ++p, ++digits;
  if (*p == '.') {
    ++p;
    while (IsDigit(*p)) ++p, ++digits;
  }
  if (digits == 0) return false;
  if (*p == 'e' || *p == 'E') {
    ++p;
    if (*p == '+' || *p == '-') ++p;
    if (!IsDigit(*p)) return false;
    while (IsDigit(*p)) ++p;
  }
  return *p == '\0';
}

// Decimal exponent of the leading non-zero digit of a decimal number that
// did not fit a double; positive means too large, otherwise too small. The
// digit counts are 64-bit whatever `long` is (32 bits on Windows), so no
// string a caller can hold overflows them.
int64_t LeadingExponent(const char* p) {
  int64_t magnitude = 0;
  int64_t integerDigits = 0;
  int64_t fractionZeros = 0;
  bool seenNonZero = false;
  while (IsDigit(*p)) {
    if (*p != '0') seenNonZero = true;
    if (seenNonZero) ++integerDigits;
    ++p;
  }
  if (*p == '.') {
    ++p;
    while (*p == '0' && !seenNonZero) ++fractionZeros, ++p;
    while (IsDigit(*p)) ++p;
  }
  magnitude = integerDigits > 0 ? integerDigits - 1 : -(fractionZeros + 1);
  if (*p == 'e' || *p == 'E') {
    ++p;
    bool negative = *p == '-';
    if (*p == '+' || *p == '-') ++p;
    int64_t exponent = 0;
    while (IsDigit(*p)) {
      if (exponent < 100000000) exponent = exponent * 10 + (*p - '0');
      ++p;
    }
    magnitude += negative ? -exponent : exponent;
  }
  return magnitude;
}

const char* const kKeywords[] = {
    "In",    "Out",   "Info", "InOut",  "Float",     "Integer", "String", "Boolean",  "Tap",        "UI",
    "Value", "Range", "List", "Corner", "Increment", "Steps",   "Table",  "Gaussian", "Dual-Dirac", "DjRj",
};

const char* const kProperties[] = {
    "Usage", "Type", "Format", "Default", "Description", "Labels",
};

}  // namespace

int32_t AMIVALUE_Kind(const char* text) {
  if (!text || *text == '\0') return AMIVALUE_EMPTY;
  if (IsInteger(text)) return AMIVALUE_INTEGER;
  if (IsDecimal(text)) return AMIVALUE_FLOAT;
  if (std::strcmp(text, "True") == 0 || std::strcmp(text, "False") == 0) return AMIVALUE_BOOLEAN;
  return AMIVALUE_STRING;
}

int32_t AMIVALUE_Keyword(const char* text) {
  if (!text) return -1;
  for (size_t i = 0; i < sizeof(kKeywords) / sizeof(kKeywords[0]); ++i) {
    if (std::strcmp(text, kKeywords[i]) == 0) return static_cast<int32_t>(i);
  }
  return -1;
}

int32_t AMIVALUE_Property(const char* name) {
  if (!name) return 0;
  for (size_t i = 0; i < sizeof(kProperties) / sizeof(kProperties[0]); ++i) {
    if (std::strcmp(name, kProperties[i]) == 0) return static_cast<int32_t>(i + 1);
  }
  return 0;
}

double AMIVALUE_ToDouble(const char* text) {
  if (!text || !IsDecimal(text)) return 0.0;  // integers are decimals too
  bool negative = false;
  const char* p = SkipBlanksAndSign(text, &negative);
  const char* end = p + std::strlen(p);
  double value = 0.0;
  std::from_chars_result r = std::from_chars(p, end, value, std::chars_format::general);
  if (r.ec == std::errc::result_out_of_range) {
    value = LeadingExponent(p) > 0 ? HUGE_VAL : 0.0;
  } else if (r.ec != std::errc()) {
    value = 0.0;
  }
  return negative ? -value : value;
}

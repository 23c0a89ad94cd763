#include "tools/common/Numbers.h"

#include <cmath>
#include <cstdio>

std::string SiPrefixed(double value, const std::string& unit, int digits) {
  static const char* const kPrefixes[] = {"", "k", "M", "G", "T"};
  int prefix = 0;
  while (prefix < 4 && std::fabs(value) >= 1000.0) {
    value /= 1000.0;
    ++prefix;
  }
  char text[64];
  std::snprintf(text, sizeof text, "%.*g %s", digits, value, kPrefixes[prefix]);
  return text + unit;
}

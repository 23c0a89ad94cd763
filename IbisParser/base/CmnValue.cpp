#include "IbisParser/base/CmnValue.h"

#include <cstring>

#include "IbisParser/base/CmnWords.h"
#include "IbisParser/rules/RuleReport.h"
#include "amiparam/Cmn.h"
#include "amiparam/Msg.h"

namespace {

// The longest value text a message shows, so that the formatted message
// fits the printer's buffer.
constexpr size_t kShownMax = 2176;

// Shared body of the two store operations; `tooLongCode` and `keep` differ.
int Store(char* dest, const char* value, size_t maxLength, const char* keyword, int tooLongCode, size_t keep) {
  CMN_ASSERT(dest != nullptr);
  CMN_ASSERT(value != nullptr);
  if (dest[0] != '\0') {
    CHECK_Report(1911, keyword);
    return 0;
  }
  size_t length = std::strlen(value);
  if (length > maxLength) {
    char shown[kShownMax + 1];
    size_t n = length < kShownMax ? length : kShownMax;
    std::memcpy(shown, value, n);
    shown[n] = '\0';
    CHECK_Report(tooLongCode, keyword, shown, static_cast<unsigned>(maxLength));
    length = length < keep ? length : keep;
  }
  if (length == 0) {
    CHECK_Report(1913, keyword);
    return 0;
  }
  std::memcpy(dest, value, length);
  dest[length] = '\0';
  return 1;
}

}  // namespace

int CMN_StoreValue(char* dest, const char* value, size_t maxLength, const char* keyword) {
  return Store(dest, value, maxLength, keyword, 1912, maxLength);
}

int CMN_StoreValueMax(char* dest, const char* value, size_t maxLength, const char* keyword) {
  return Store(dest, value, maxLength, keyword, 1914, CMN_VALUE_KEEP_MAX);
}

int CMN_IsReservedWord(const char* value) {
  static const char* const kReserved[] = {"GND", "NC", "POWER", "CIRCUITCALL", "NA"};
  for (const char* word : kReserved)
    if (CMN_EqualNoCase(value, word)) return 1;
  return 0;
}

void CMN_CheckReservedWord(const char* value) {
  if (value && CMN_IsReservedWord(value)) CHECK_Report(1916, value);
}

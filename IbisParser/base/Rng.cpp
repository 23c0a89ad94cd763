#include "IbisParser/base/Rng.h"

#include "IbisParser/base/CmnWords.h"
#include "IbisParser/rules/RuleReport.h"
#include "amiparam/Cmn.h"
#include "amiparam/Msg.h"

int RNG_ReadTriple(const char* text, const char* context, RNG** ppRng) {
  CMN_ASSERT(text != nullptr);
  CMN_ASSERT(ppRng != nullptr);
  CMN_WORDS list{};
  if (!CMN_SplitWords(text, 3, '\0', &list)) {
    CHECK_Report(3900, context, CMN_BaseName(__FILE__), __LINE__);
    CMN_FreeWords(&list);
    return 0;
  }
  switch (list.found) {
    case 1:
      CHECK_Report(3901, "minimum", context);
      CHECK_Report(3901, "maximum", context);
      break;
    case 2:
      CHECK_Report(3901, "maximum", context);
      break;
    case 3:
      break;
    default:
      CHECK_Report(3902, static_cast<int>(list.found), context, 3);
      break;
  }
  if (!CMN_Alloc(ppRng, sizeof(RNG))) {
    CHECK_ReportFile(3904, CMN_BaseName(__FILE__), __LINE__);
    CMN_FreeWords(&list);
    return 0;
  }
  RNG* rng = *ppRng;
  auto word = [&list](int i) -> const char* { return i < list.stored ? list.words[i] : nullptr; };
  // All three columns are read, so that every invalid one is reported.
  int ok = CMN_GetValueOrNA(word(0), context, "Typical", &rng->typ.value, &rng->typ.status);
  ok &= CMN_GetValueOrNA(word(1), context, "Minimum", &rng->min.value, &rng->min.status);
  ok &= CMN_GetValueOrNA(word(2), context, "Maximum", &rng->max.value, &rng->max.status);

  if (rng->typ.status == CMN_VALUE_NUMBER && rng->min.status == CMN_VALUE_NUMBER &&
      rng->max.status == CMN_VALUE_NUMBER) {
    double typ = rng->typ.value, lo = rng->min.value, hi = rng->max.value;
    // Minimum and maximum may come in either order.
    if ((typ < lo && typ < hi) || (typ > lo && typ > hi)) CHECK_Report(3903);
  }
  CMN_FreeWords(&list);
  return ok;
}

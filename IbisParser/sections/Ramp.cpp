#include "IbisParser/sections/Ramp.h"

#include <string>

#include "IbisParser/base/CmnWords.h"
#include "IbisParser/base/LineWords.h"
#include "IbisParser/base/ParseContext.h"
#include "IbisParser/records/ModelData.h"
#include "IbisParser/rules/RuleReport.h"
#include "IbisParser/sections/IvTable.h"
#include "amiparam/Msg.h"

namespace {

const char* const kCorners[] = {"typ", "min", "max"};
const char* const kRatios[] = {"dV/dt_r", "dV/dt_f"};

// One column «1.2/0.5n»: both parts positive numbers; NA allowed for min
// and max (IBIS 2.1 §6 [Ramp]: each entry is a ratio dV/dt).
void ReadRatio(MODEL_RAMP* ramp, int edge, int corner, const std::string& word, const char* owner) {
  if (CMN_EqualNoCase(word.c_str(), "NA")) {
    ramp->dv[edge][corner].status = ramp->dt[edge][corner].status = CMN_VALUE_NA;
    if (corner == 0) CHECK_Report(5205, owner, kRatios[edge]);
    return;
  }
  const size_t slash = word.find('/');
  double dv = 0.0, dt = 0.0;
  if (slash == std::string::npos || TABLE_Value(word.substr(0, slash).c_str(), &dv) != CMN_VALUE_NUMBER ||
      TABLE_Value(word.substr(slash + 1).c_str(), &dt) != CMN_VALUE_NUMBER) {
    CHECK_Report(5201, owner, kRatios[edge], kCorners[corner], word.c_str());
    return;
  }
  if (!(dv > 0.0) || !(dt > 0.0)) {
    CHECK_Report(5202, owner, kRatios[edge], kCorners[corner], word.c_str());
    return;
  }
  ramp->dv[edge][corner] = MODEL_VALUE{dv, CMN_VALUE_NUMBER};
  ramp->dt[edge][corner] = MODEL_VALUE{dt, CMN_VALUE_NUMBER};
}

}  // namespace

void RAMP_Line(MODEL_RAMP* ramp, const char* text, const char* owner) {
  std::vector<std::string> words = LINE_AssignWords(text);
  if (words.empty()) return;
  if (CMN_EqualNoCase(words[0].c_str(), "R_load")) {
    const std::string value = words.size() > 1 ? words[1] : std::string();
    double r = 0.0;
    if (TABLE_Value(value.c_str(), &r) != CMN_VALUE_NUMBER || !(r > 0.0)) {
      CHECK_Report(5203, owner, value.c_str());
      return;
    }
    ramp->rLoad = r;
    ramp->rLoadGiven = true;
    return;
  }
  int edge = CMN_EqualNoCase(words[0].c_str(), "dV/dt_r") ? 0 : CMN_EqualNoCase(words[0].c_str(), "dV/dt_f") ? 1 : -1;
  if (edge < 0) {
    CHECK_Report(5204, owner, words[0].c_str());
    return;
  }
  ramp->rowLine[edge] = gulLineNumber;
  if (words.size() < 2) {
    CHECK_Report(5205, owner, kRatios[edge]);
    return;
  }
  for (int corner = 0; corner < 3 && corner + 1 < static_cast<int>(words.size()); ++corner)
    ReadRatio(ramp, edge, corner, words[corner + 1], owner);
}

void RAMP_Check(const MODEL_RAMP& ramp, const char* owner) {
  for (int edge = 0; edge < 2; ++edge)
    if (!ramp.rowLine[edge]) CHECK_ReportAt(ramp.line, 5200, owner, kRatios[edge]);
}

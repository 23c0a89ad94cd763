#include "rxami/RxParameterIntake.h"

#include "amiparam/AmiParameters.h"
#include "rxmodel/tessalune_rx.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

void NotFound(tessalune_rx& model, const char* name) {
  model.MessageText += std::string("The IBIS-AMI model, tessalune_rx, is unable to initialize the parameter ") + name +
                       " from the AMI_Init arguments.  The model will use the default setting. ";
}

void Refused(tessalune_rx& model, const std::string& what) {
  model.MessageText += "The IBIS-AMI model, tessalune_rx, cannot use " + what + ". ";
}

// The numbers of a dfe_initial_taps text, separated by blanks; false when a
// word is not a finite number or there are more than `limit`.
bool ParseTaps(const char* text, double* taps, int32_t limit, int32_t& count) {
  count = 0;
  const char* p = text;
  while (true) {
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == ',') ++p;
    if (*p == '\0') return true;
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(p, &end);
    if (end == p || errno == ERANGE || !std::isfinite(value) || count >= limit) return false;
    taps[count++] = value;
    p = end;
  }
}

}  // namespace

bool ReadRxParameters(const AmiParameters& parameters, tessalune_rx& model) {
  struct DoubleItem {
    double* member;
    const char* name;
  };
  struct BoolItem {
    bool* member;
    const char* name;
  };
  auto readBool = [&](const BoolItem& item) {
    if (!parameters.GetBool(*item.member, (std::string("tessalune_rx.") + item.name).c_str()))
      NotFound(model, item.name);
  };
  auto readDouble = [&](const DoubleItem& item) {
    if (!parameters.GetDouble(*item.member, (std::string("tessalune_rx.") + item.name).c_str()))
      NotFound(model, item.name);
  };

  bool ok = true;
  readBool({&model.CtleEnable, "ctle_enable"});
  for (const DoubleItem& item :
       {DoubleItem{&model.CtleDcGain, "ctle_dc_gain"}, DoubleItem{&model.CtlePeakFrequency, "ctle_peak_freq"},
        DoubleItem{&model.CtlePeaking, "ctle_peaking"}})
    readDouble(item);

  if (!parameters.GetInt(model.DfeTaps, "tessalune_rx.dfe_taps")) NotFound(model, "dfe_taps");
  if (model.DfeTaps < 0 || model.DfeTaps > tessalune_rx::MaxDfeTaps) {
    std::ostringstream what;
    what << "dfe_taps " << model.DfeTaps << ": it takes 0 to " << tessalune_rx::MaxDfeTaps << " taps";
    Refused(model, what.str());
    model.DfeTaps = 0;
    ok = false;
  }
  readDouble({&model.DfeStep, "dfe_step"});
  readBool({&model.DfeAdapt, "dfe_adapt"});

  char* initial = nullptr;
  if (parameters.GetString(initial, "tessalune_rx.dfe_initial_taps")) {
    if (!ParseTaps(initial, model.DfeInitialTaps, model.DfeTaps, model.DfeInitialCount)) {
      Refused(model, std::string("dfe_initial_taps \"") + initial + "\": it takes up to dfe_taps numbers");
      model.DfeInitialCount = 0;
      ok = false;
    }
    delete[] initial;
  } else if (parameters.Find("tessalune_rx.dfe_initial_taps") == nullptr) {
    NotFound(model, "dfe_initial_taps");
  }  // else given empty (""): no starting values, all taps from 0

  for (const DoubleItem& item :
       {DoubleItem{&model.CdrPhaseStep, "cdr_phase_step"}, DoubleItem{&model.CdrFrequencyStep, "cdr_freq_step"}})
    readDouble(item);
  return ok;
}

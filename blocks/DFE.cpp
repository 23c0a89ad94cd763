#include "blocks/DFE.h"

#include "dataflow/ReportError.h"

#include <cmath>
#include <sstream>

namespace OrvennModelBuilder {

bool DFE::Setup() {
  bool ok = true;
  auto fail = [&](const std::string& text) {
    ReportError(this, text);
    ok = false;
  };
  if (NumTaps < 0 || NumTaps > MaxTaps) {
    std::ostringstream text;
    text << "NumTaps must be between 0 and " << MaxTaps;
    fail(text.str());
  } else if (NumInitialTaps < 0 || NumInitialTaps > NumTaps || (NumInitialTaps > 0 && InitialTaps == nullptr)) {
    fail("InitialTaps must hold NumInitialTaps values, 0 .. NumTaps");
  }
  if (!(Step >= 0.0 && std::isfinite(Step))) fail("Step must be >= 0 and finite");
  if (!(TapLimit > 0.0 && std::isfinite(TapLimit))) fail("TapLimit must be > 0 and finite");
  if (!(LevelLimit > 0.0 && std::isfinite(LevelLimit))) fail("LevelLimit must be > 0 and finite");
  if (ok && !(InitialLevel >= 0.0 && InitialLevel <= LevelLimit)) fail("InitialLevel must be between 0 and LevelLimit");
  if (ok) {
    for (int32_t i = 0; i < NumInitialTaps; ++i)
      if (!(std::fabs(InitialTaps[i]) <= TapLimit)) fail("InitialTaps must lie within +-TapLimit");
  }
  if (!ok) return false;
  tapCount = NumTaps;
  for (int32_t i = 0; i < MaxTaps; ++i) startTaps[i] = i < NumInitialTaps ? InitialTaps[i] : 0.0;
  startLevel = InitialLevel;
  step = Step;
  tapLimit = TapLimit;
  levelLimit = LevelLimit;
  adapt = Adapt;
  for (auto* pin : {&Input, &Sample, &Output}) pin->SetBlockSize(1);
  Event.SetBlockSize(1);
  return true;
}

bool DFE::Initialize() {
  for (int32_t i = 0; i < MaxTaps; ++i) {
    taps[i] = startTaps[i];
    history[i] = 0.0;
  }
  level = startLevel;
  feedback = pending = 0.0;
  decisions = 0;
  return true;
}

void DFE::OnData(double s) {
  const double d = s >= 0.0 ? 1.0 : -1.0;
  if (adapt) {
    const double e = s - level * d;
    const double sign = e > 0.0 ? 1.0 : (e < 0.0 ? -1.0 : 0.0);
    if (sign != 0.0) {
      const double delta = step * sign;
      for (int32_t i = 0; i < tapCount; ++i) {
        double t = taps[i] + delta * history[i];
        if (t > tapLimit) t = tapLimit;
        if (t < -tapLimit) t = -tapLimit;
        taps[i] = t;
      }
      double a = level + delta * d;
      if (a > levelLimit) a = levelLimit;
      if (a < 0.0) a = 0.0;
      level = a;
    }
  }
  for (int32_t i = tapCount - 1; i > 0; --i) history[i] = history[i - 1];
  if (tapCount > 0) history[0] = d;
  double sum = 0.0;
  for (int32_t i = 0; i < tapCount; ++i) sum += taps[i] * history[i];
  pending = sum;
  ++decisions;
}

bool DFE::Run() {
  const int event = Event.data[Event.position];
  if (event == kDataSample) {
    OnData(Sample.data[Sample.position]);
  } else if (event == kEdgeSample) {
    feedback = pending;
  }
  Output.data[Output.position] = Input.data[Input.position] - feedback;
  return true;
}

}  // namespace OrvennModelBuilder

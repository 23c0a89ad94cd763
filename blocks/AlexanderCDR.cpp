#include "blocks/AlexanderCDR.h"

#include "dataflow/ReportError.h"

#include <cmath>
#include <limits>

namespace OrvennModelBuilder {

namespace {

constexpr double kNever = std::numeric_limits<double>::infinity();

bool Within(double x, double low, double high) { return x >= low && x <= high; }

}  // namespace

bool AlexanderCDR::Setup() {
  bool ok = true;
  if (!(SamplesPerBit > 0.0 && std::isfinite(SamplesPerBit))) {
    ReportError(this, "SamplesPerBit must be > 0 and finite");
    ok = false;
  }
  if (!Within(PhaseStep, 0.0, 0.25)) {
    ReportError(this, "PhaseStep must be between 0 and 0.25 UI");
    ok = false;
  }
  if (!Within(FrequencyLimit, 0.0, 0.25)) {
    ReportError(this, "FrequencyLimit must be between 0 and 0.25");
    ok = false;
  }
  if (!Within(FrequencyStep, 0.0, FrequencyLimit)) {
    ReportError(this, "FrequencyStep must be between 0 and FrequencyLimit");
    ok = false;
  }
  if (!Within(InitialPhase, 0.0, 1.0)) {
    ReportError(this, "InitialPhase must be between 0 and 1 UI");
    ok = false;
  }
  if (ok && !(SamplesPerBit * ((1.0 - FrequencyLimit) / 2.0 - PhaseStep) >= 2.0)) {
    ReportError(this,
                "SamplesPerBit is too small: an edge instant needs two samples to the data instants around it "
                "(SamplesPerBit * ((1 - FrequencyLimit) / 2 - PhaseStep) >= 2)");
    ok = false;
  }
  if (!ok) return false;
  spb = SamplesPerBit;
  phaseStep = PhaseStep * spb;
  frequencyStep = FrequencyStep;
  frequencyLimit = FrequencyLimit;
  initialPhase = InitialPhase;
  for (auto* pin : {&Input, &Sample, &Offset}) pin->SetBlockSize(1);
  Event.SetBlockSize(1);
  return true;
}

bool AlexanderCDR::Initialize() {
  // Relative to the sample before the first one, which the first firing's
  // decrement turns into the first sample.
  dataAt = 1.0 + initialPhase * spb;
  edgeAt = dataAt - spb / 2.0;
  if (edgeAt < 1.0) edgeAt = kNever;  // before the first sample: this UI has no edge sample
  previous = 0.0;
  edgeValue = 0.0;
  haveEdge = haveData = lastBit = false;
  frequency = 0.0;
  period = spb;
  early = late = dataCount = 0;
  return true;
}

// A data sample `value` at `at` (relative to the current sample): the
// Alexander vote, the loop update and the next two instants.
void AlexanderCDR::OnData(double value, double at) {
  const bool bit = value >= 0.0;
  int vote = 0;
  if (haveData && haveEdge && bit != lastBit) {
    const bool edgeBit = edgeValue >= 0.0;
    vote = edgeBit == lastBit ? 1 : -1;  // 1: early, sample later; -1: late, sample earlier
    if (vote > 0) {
      ++early;
    } else {
      ++late;
    }
  }
  frequency += double(vote) * frequencyStep;
  if (frequency > frequencyLimit) frequency = frequencyLimit;
  if (frequency < -frequencyLimit) frequency = -frequencyLimit;
  period = spb * (1.0 + frequency);
  dataAt = at + period + double(vote) * phaseStep;
  edgeAt = dataAt - period / 2.0;
  haveEdge = false;
  haveData = true;
  lastBit = bit;
  ++dataCount;
}

bool AlexanderCDR::Run() {
  const double x = Input.data[Input.position];
  edgeAt -= 1.0;
  dataAt -= 1.0;
  int32_t event = kNoSample;
  if (edgeAt <= 0.0) {
    const double value = previous + (x - previous) * (1.0 + edgeAt);
    edgeValue = value;
    haveEdge = true;
    event = kEdgeSample;
    Sample.data[Sample.position] = value;
    Offset.data[Offset.position] = edgeAt;
    edgeAt = kNever;
  } else if (dataAt <= 0.0) {
    const double value = previous + (x - previous) * (1.0 + dataAt);
    event = kDataSample;
    Sample.data[Sample.position] = value;
    Offset.data[Offset.position] = dataAt;
    OnData(value, dataAt);
  }
  Event.data[Event.position] = event;
  previous = x;
  return true;
}

}  // namespace OrvennModelBuilder

#include "model/ResponseArea.h"

#include "model/ResponseTables.h"
#include "model/tessalune_tx.h"

#include <cmath>
#include <limits>

using OrvennModelBuilder::TimeResponseFIR;

double ResponseAreaDeviation(const TimeResponseFIR& filter, int k) {
  double sum = 0.0;
  for (int32_t i = 0; i < filter.NumTaps; ++i) sum += filter.Taps[i];
  const double area = ResponseTableArea(k);
  return std::fabs(sum - area) / area;
}

double ResponseAreaDeviationOnGrid(int k, int32_t samplesPerBit, double bitTime) {
  // Rates the model does not build its bank for cannot work (and their tap
  // arrays could be huge).
  const double rate = double(samplesPerBit) / bitTime;
  if (!(rate > 0.0 && rate <= tessalune_tx::MaxSampleRate)) return std::numeric_limits<double>::infinity();
  TimeResponseFIR filter;
  double values[kResponseTableSize];
  double stamps[kResponseTableSize];
  tessalune_tx::LoadResponse(filter, k, values, stamps, rate);
  if (!filter.Setup()) return std::numeric_limits<double>::infinity();
  return ResponseAreaDeviation(filter, k);
}

int32_t CoarsestGridKeepingArea(int k, int32_t samplesPerBit, double bitTime, int32_t maxSamplesPerBit) {
  // From the finest grid down to the first that misses the area.
  int32_t n = maxSamplesPerBit;
  while (n > samplesPerBit && ResponseAreaDeviationOnGrid(k, n, bitTime) <= kResponseAreaTolerance) --n;
  return n == maxSamplesPerBit ? 0 : n + 1;
}

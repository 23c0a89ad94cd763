#pragma once

#include "blocks/FIR.h"

#include <cstdint>

namespace OrvennModelBuilder {

// FIR filter whose taps come from a sampled analogue response (impulse or
// step) at strictly increasing time stamps. Setup resamples the response on
// the grid of SampleRate (impulse: local cubic through four stamps; step:
// slope of the parabola through three stamps), divides by SampleRate and
// configures the inherited filter, so each output is the Riemann sum of the
// convolution of the input with the impulse response.
class TimeResponseFIR : public FIR<double, 0> {
 public:
  static constexpr int32_t ImpulseResponse = 0;
  static constexpr int32_t StepResponse = 1;
  // Largest tap count Setup accepts: the taps and the filter history must
  // each stay within the 4 GiB a single kit allocation may take.
  static constexpr int32_t MaxTaps = int32_t(UINT32_MAX / sizeof(double)) - 2;

  TimeResponseFIR() = default;
  ~TimeResponseFIR() override;

  // Computes Taps and NumTaps, then sets the filter up. Shifts
  // ResponseTimeStamps in place so that the first stamp is 0.
  bool Setup() override;

  double* Response = nullptr;            // response values, not owned
  double* ResponseTimeStamps = nullptr;  // seconds, any origin, not owned
  int32_t ResponseSize = 0;
  int32_t ResponseTimeStampsSize = 0;
  int32_t ResponseType = StepResponse;
  double SampleRate = 1e12;  // tap grid, samples per second

 private:
  bool CheckResponse();
  bool ShiftTimeStamps();
};

}  // namespace OrvennModelBuilder

#pragma once

#include "dataflow/CircularBuffer.h"
#include "dataflow/DFModel.h"

#include <complex>
#include <cstdint>

namespace OrvennModelBuilder {

// Rational-rate polyphase FIR filter. Each firing consumes Decimation input
// samples and produces Interpolation output samples; output m of the stream
// is sum over k < NumTaps of Taps[k] * u[DecimationPhase + m*Decimation - k],
// u being the input up-sampled by Interpolation with zeros (never multiplied).
//
// Every output starts from +0.0 and adds its products one by one, newest
// sample first, without fused multiply-add.
//
// Provided for <double, 1>, <double, 0> and <std::complex<double>, 0>; the
// flag changes nothing in the behaviour.
template <class T, int Flag>
class FIR : public DFModel {
 public:
  FIR() = default;
  FIR(const FIR&) = delete;
  FIR& operator=(const FIR&) = delete;
  ~FIR() override;

  bool Setup() override;
  bool Initialize() override;
  bool Run() override;
  bool Finalize() override;

  CircularBuffer<T> Input;
  CircularBuffer<T> Output;

 private:
  CircularBuffer<T> delayLine;  // ring of the last L input samples
  T* delayStorage = nullptr;    // storage of delayLine, owned

 public:
  T* Taps = nullptr;  // NumTaps coefficients, not owned; Taps[0] weighs the newest sample
  int32_t NumTaps = 0;
  int32_t Decimation = 1;       // input samples per firing
  int32_t DecimationPhase = 0;  // 0 .. Decimation - 1
  int32_t Interpolation = 1;    // output samples per firing
  int32_t tapsPerPhase = 0;     // taps in one polyphase branch, set by Setup

 private:
  // The configuration accepted by the last successful Setup; Run relies on
  // it, not on parameters the owner may have rewritten since.
  struct Config {
    uint32_t numTaps = 0;
    uint32_t decimation = 0;
    uint32_t phase = 0;
    uint32_t interpolation = 0;
    uint32_t ringLength = 0;
  };
  Config config;

  void ReleaseHistory();
};

extern template class FIR<double, 1>;
extern template class FIR<double, 0>;
extern template class FIR<std::complex<double>, 0>;

}  // namespace OrvennModelBuilder

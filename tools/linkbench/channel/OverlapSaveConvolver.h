// Convolution of a sample stream with a fixed impulse response, y = h * x,
// by FFT overlap-save: the stream is cut into hops of L = N - M + 1 new
// samples (N the FFT length, M the response length); each hop is transformed
// together with the M - 1 samples before it, multiplied by the response's
// spectrum and transformed back, and the L outputs that do not wrap around
// are kept.
//
// Push takes blocks of any size and gives as many outputs as inputs, in
// order, each Latency() = L - 1 samples late: the output written for input
// t is y[t - Latency()] (zero before the stream starts). Every hop is
// computed from the same samples whatever the block sizes, so the outputs
// are bit for bit the same however the stream is cut; the FFTs are planned
// once, when the convolver is made. Push allocates nothing.
#pragma once

#include <complex>
#include <cstddef>
#include <memory>
#include <vector>

#include "tools/linkbench/channel/RealFft.h"

class OverlapSaveConvolver {
 public:
  // `impulse` must not be empty. `fftSize` 0 picks a power of two of at
  // least four times the response length (and 1024); a given one must
  // exceed the response length.
  explicit OverlapSaveConvolver(const std::vector<double>& impulse, size_t fftSize = 0);

  size_t FftSize() const { return fft_->Size(); }
  size_t Hop() const { return hop_; }
  size_t Latency() const { return hop_ - 1; }

  // Reads `count` inputs and writes `count` outputs (in and out may be the
  // same buffer).
  void Push(const double* in, size_t count, double* out);

  // Back to the state of a new convolver: a stream of zeros so far.
  void Reset();

  // The plain sum y[t] = sum_m h[m] x[t - m] over the whole of `x` (as long
  // as `x`), the reference the FFT path is checked against.
  static std::vector<double> ConvolveDirect(const std::vector<double>& impulse, const std::vector<double>& x);

 private:
  void RunHop();

  size_t taps_;
  size_t hop_;
  std::unique_ptr<RealFft> fft_;
  std::vector<std::complex<double>> response_;  // spectrum of h, divided by N
  std::vector<double> window_;                  // M - 1 earlier samples, then the hop being filled
  std::vector<double> ready_;                   // outputs of the last hop
  size_t fill_ = 0;                             // samples of the current hop received
};

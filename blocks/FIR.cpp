#include "blocks/FIR.h"

#include "dataflow/ReportError.h"

#include <algorithm>

namespace OrvennModelBuilder {

namespace {

// Dot product of `count` taps (stride `tapStride`) with ring samples walking
// backwards from storage index `start`, wrapping once from 0 to `length` - 1.
// Sums from +0.0 in tap order into a local accumulator.
double DotBackwards(const double* ring, uint32_t length, uint32_t start, const double* taps, uint32_t tapStride,
                    uint32_t count) {
  double acc = 0.0;
  uint32_t idx = start;
  for (uint32_t j = 0; j < count; ++j) {
    acc = acc + ring[idx] * taps[size_t(j) * tapStride];
    idx = idx == 0 ? length - 1 : idx - 1;
  }
  return acc;
}

// Complex form: full products (tr*xr - ti*xi, tr*xi + ti*xr), real and
// imaginary parts summed separately.
std::complex<double> DotBackwards(const std::complex<double>* ring, uint32_t length, uint32_t start,
                                  const std::complex<double>* taps, uint32_t tapStride, uint32_t count) {
  double re = 0.0;
  double im = 0.0;
  uint32_t idx = start;
  for (uint32_t j = 0; j < count; ++j) {
    const std::complex<double>& t = taps[size_t(j) * tapStride];
    const double tr = t.real(), ti = t.imag();
    const double xr = ring[idx].real(), xi = ring[idx].imag();
    re = re + (tr * xr - ti * xi);
    im = im + (tr * xi + ti * xr);
    idx = idx == 0 ? length - 1 : idx - 1;
  }
  return {re, im};
}

}  // namespace

template <class T, int Flag>
FIR<T, Flag>::~FIR() {
  delete[] delayStorage;
}

template <class T, int Flag>
bool FIR<T, Flag>::Setup() {
  bool ok = true;
  if (NumTaps < 1) {
    ReportError(this, "There must be at least one Tap");
    ok = false;
  }
  if (Decimation < 1) {
    ReportError(this, "Decimation must be > 0");
    ok = false;
  }
  if (DecimationPhase < 0) {
    ReportError(this, "DecimationPhase must be >= 0");
    ok = false;
  }
  if (DecimationPhase >= Decimation) {
    ReportError(this, "DecimationPhase must be < Decimation ratio");
    ok = false;
  }
  if (Interpolation < 1) {
    ReportError(this, "Interpolation must be > 0");
    ok = false;
  }
  if (NumTaps >= 1 && Taps == nullptr) {
    ReportError(this, "Taps must point at NumTaps coefficients");
    ok = false;
  }
  if (!ok) return false;

  const uint32_t n = uint32_t(NumTaps);
  const uint32_t d = uint32_t(Decimation);
  const uint32_t i = uint32_t(Interpolation);
  // At most 2^31 - 1 + 2^31 - 1 + 1: fits 32 bits unsigned.
  const uint32_t ring = std::max(n / i + d + 1, d);

  Input.SetBlockSize(d);
  Output.SetBlockSize(i);
  delayLine.maxBlockSize = ring;
  delayLine.blockSize = d;
  tapsPerPhase = int32_t(n / i + (n % i != 0 ? 1 : 0));
  config = Config{n, d, uint32_t(DecimationPhase), i, ring};
  return true;
}

template <class T, int Flag>
bool FIR<T, Flag>::Initialize() {
  ReleaseHistory();
  const uint32_t ring = delayLine.maxBlockSize;
  delayStorage = static_cast<T*>(delayLine.Allocate(ring));
  delayLine.Attach(delayStorage, ring, delayLine.blockSize, 0);
  delayLine.ZeroFill(0, ring, 0);
  return true;
}

template <class T, int Flag>
bool FIR<T, Flag>::Run() {
  const Config& c = config;
  // A firing needs a configuration, a ring sized for it, taps of the
  // configured count and pin storage; anything else (Run before Initialize
  // or after Finalize, Setup changed without a new Initialize, taps
  // replaced by a Setup that then failed) is refused rather than read out
  // of bounds.
  if (c.ringLength == 0 || delayStorage == nullptr || delayLine.capacity != c.ringLength ||
      uint32_t(NumTaps) != c.numTaps || Input.data == nullptr || Output.data == nullptr) {
    ReportError(this,
                "FIR fired without a history for its configuration: Initialize must "
                "follow Setup, and pins need storage");
    return false;
  }

  const uint32_t L = c.ringLength;
  const uint32_t D = c.decimation;
  const uint32_t I = c.interpolation;
  const uint32_t N = c.numTaps;
  const uint32_t P = uint32_t(tapsPerPhase);
  T* ring = delayLine.data;

  for (uint32_t k = 0; k < D; ++k) ring[delayLine.Index(L - D + k)] = Input.data[Input.Index(k)];

  uint32_t a = c.phase;
  uint32_t b = 0;
  for (uint32_t i = 1; i <= D; ++i) {
    const uint32_t start = delayLine.Index(L - D + i - 1);
    while (a < I) {
      // Taps a, a + I, a + 2I, ... below N; the rest of the branch is skipped.
      const uint32_t count = a < N ? std::min(P, (N - a + I - 1) / I) : 0;
      Output.data[Output.Index(b)] = DotBackwards(ring, L, start, count != 0 ? Taps + a : Taps, I, count);
      ++b;
      a += D;
    }
    a -= I;
  }
  delayLine.Advance();
  return true;
}

template <class T, int Flag>
bool FIR<T, Flag>::Finalize() {
  ReleaseHistory();
  return true;
}

template <class T, int Flag>
void FIR<T, Flag>::ReleaseHistory() {
  // The ring view forgets the storage too, so nothing can reach it after release.
  delete[] delayStorage;
  delayStorage = nullptr;
  delayLine.Attach(nullptr, 0, delayLine.blockSize, 0);
}

template class FIR<double, 1>;
template class FIR<double, 0>;
template class FIR<std::complex<double>, 0>;

}  // namespace OrvennModelBuilder

#pragma once

#include "dataflow/CircularBuffer.h"
#include "dataflow/DFModel.h"

#include <complex>
#include <cstdint>

namespace OrvennModelBuilder {

// Continuous-time linear equaliser: the analogue transfer function
//
//   H(s) = G * prod_i (1 + s / wz_i) / prod_j (1 + s / wp_j),  G = 10^(DcGainDb / 20)
//
// with real zeros wz_i = 2 pi Zeros[i] and poles wp_j = 2 pi Poles[j] in the
// left half plane, one output sample per input sample.
//
// Peaking form (UsePolesZeros false, the default): two poles at the peaking
// frequency fp and one zero placed so that the gain at fp is PeakingDb above
// the DC gain: |H(j 2 pi fp)| / G = sqrt(1 + (fp / fz)^2) / 2 = 10^(PeakingDb / 20),
// so fz = fp / sqrt(4 * 10^(PeakingDb / 10) - 1). The highest gain lies close
// to fp (exactly at fp only in the limit of a large peaking).
// Pole-zero form (UsePolesZeros true): NumPoles poles (0 to MaxPoles) and at
// most as many zeros, in hertz; no poles and no zeros is a flat gain G.
//
// Realisation: a cascade of IIR biquads (direct form II transposed), two
// poles and up to two zeros per section in the order given, obtained by the
// bilinear transform prewarped at the peaking frequency (pole-zero form: at
// the first pole), so that the digital response equals the analogue one
// exactly there and at DC. The response at frequency f is the analogue
// response at K tan(pi f / SampleRate) / (2 pi), K the prewarping constant.
// An IIR rather than a FIR of the impulse response: the zero of a CTLE sits
// well below the data rate, so its impulse response decays over many unit
// intervals (hundreds to thousands of samples at 32 samples per UI), which a
// FIR pays for on every sample, while a biquad costs five products per
// section whatever the time constants, and the bilinear transform keeps
// every stable analogue pole stable.
//
// Every output adds its products in a fixed order without fused
// multiply-add, so that identical inputs give identical bits.
class CTLE : public DFModel {
 public:
  static constexpr int32_t MaxPoles = 8;
  static constexpr int32_t MaxSections = MaxPoles / 2;

  bool Setup() override;
  bool Initialize() override;  // clears the sections' state
  bool Run() override;
  // The Setup checks, each failure reported on its own line.
  bool CheckParameters() override;

  // One sample through the filter, as Run does between its pins.
  double Filter(double x) {
    double y = x;
    for (int32_t k = 0; k < sectionCount; ++k) y = sections[k].Step(y);
    return y * gain;
  }

  // The analogue closed form H(j 2 pi f) of the configuration accepted by
  // the last successful Setup, and the response of the biquads realising it
  // at the same frequency (both 0 before a successful Setup).
  std::complex<double> AnalogResponse(double f) const;
  std::complex<double> DigitalResponse(double f) const;
  // Frequency at which the analogue response equals the digital one at f.
  double WarpedFrequency(double f) const;
  int32_t SectionCount() const { return sectionCount; }
  double ZeroFrequency(int32_t i) const { return i >= 0 && i < zeroCount ? zeroHz[i] : 0.0; }
  double PoleFrequency(int32_t i) const { return i >= 0 && i < poleCount ? poleHz[i] : 0.0; }

  CircularBuffer<double> Input;
  CircularBuffer<double> Output;

  double SampleRate = 3.2e11;     // samples per second; > 0
  double DcGainDb = 0.0;          // gain at DC, dB; finite
  double PeakingFrequency = 5e9;  // peaking form: hertz, 0 < fp < SampleRate / 2
  double PeakingDb = 6.0;         // peaking form: gain at fp over DC, dB; 0 .. 60
  bool UsePolesZeros = false;     // pole-zero form instead of the peaking form
  const double* Poles = nullptr;  // pole-zero form: NumPoles frequencies in hertz, not owned
  int32_t NumPoles = 0;           // 0 .. MaxPoles
  const double* Zeros = nullptr;  // pole-zero form: NumZeros frequencies in hertz, not owned
  int32_t NumZeros = 0;           // 0 .. NumPoles

 private:
  struct Section {
    double b0 = 1.0, b1 = 0.0, b2 = 0.0, a1 = 0.0, a2 = 0.0;  // a0 = 1
    double s1 = 0.0, s2 = 0.0;
    double Step(double x) {
      const double y = b0 * x + s1;
      s1 = b1 * x - a1 * y + s2;
      s2 = b2 * x - a2 * y;
      return y;
    }
  };

  void Design(double prewarpHz);

  Section sections[MaxSections];
  int32_t sectionCount = 0;
  double gain = 1.0;  // G, applied after the sections
  double zeroHz[MaxPoles] = {};
  double poleHz[MaxPoles] = {};
  int32_t zeroCount = 0;
  int32_t poleCount = 0;
  double warp = 0.0;  // K / (2 pi), hertz
  double rate = 0.0;  // SampleRate accepted by Setup
  bool designed = false;
};

}  // namespace OrvennModelBuilder

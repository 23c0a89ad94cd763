#include "blocks/CTLE.h"

#include "dataflow/ReportError.h"

#include <cmath>
#include <sstream>

namespace OrvennModelBuilder {

namespace {

constexpr double kPi = 3.14159265358979323846;

bool PositiveFinite(double x) { return x > 0.0 && std::isfinite(x); }

// Product of two polynomials in z^-1 of degree <= 2 (the result keeps
// degree <= 2 because every section has at most two factors).
void Multiply(double p[3], const double q[2]) {
  const double r0 = p[0] * q[0];
  const double r1 = p[0] * q[1] + p[1] * q[0];
  const double r2 = p[1] * q[1] + p[2] * q[0];
  p[0] = r0;
  p[1] = r1;
  p[2] = r2;
}

}  // namespace

bool CTLE::CheckParameters() {
  bool ok = true;
  auto fail = [&](const std::string& text) {
    ReportError(this, text);
    ok = false;
  };
  if (!PositiveFinite(SampleRate)) fail("SampleRate must be > 0.0");
  if (!std::isfinite(DcGainDb)) fail("DcGainDb must be finite");
  if (!UsePolesZeros) {
    if (!PositiveFinite(PeakingFrequency) || !(PeakingFrequency < SampleRate / 2.0))
      fail("PeakingFrequency must be > 0 and below half the SampleRate");
    if (!(PeakingDb >= 0.0 && PeakingDb <= 60.0)) fail("PeakingDb must be between 0 and 60");
    return ok;
  }
  if (NumPoles < 0 || NumPoles > MaxPoles) {
    std::ostringstream text;
    text << "NumPoles must be between 0 and " << MaxPoles;
    fail(text.str());
  } else if (NumZeros < 0 || NumZeros > NumPoles) {
    fail("NumZeros must be between 0 and NumPoles");
  } else if ((NumPoles > 0 && Poles == nullptr) || (NumZeros > 0 && Zeros == nullptr)) {
    fail("Poles and Zeros must hold NumPoles and NumZeros frequencies");
  } else {
    for (int32_t i = 0; i < NumPoles; ++i)
      if (!PositiveFinite(Poles[i])) fail("Pole frequencies must be > 0 and finite");
    for (int32_t i = 0; i < NumZeros; ++i)
      if (!PositiveFinite(Zeros[i])) fail("Zero frequencies must be > 0 and finite");
    if (ok && NumPoles > 0 && !(Poles[0] < SampleRate / 2.0)) fail("The first pole must lie below half the SampleRate");
  }
  return ok;
}

bool CTLE::Setup() {
  if (!CheckParameters()) return false;
  rate = SampleRate;
  gain = std::pow(10.0, DcGainDb / 20.0);
  if (UsePolesZeros) {
    poleCount = NumPoles;
    zeroCount = NumZeros;
    for (int32_t i = 0; i < poleCount; ++i) poleHz[i] = Poles[i];
    for (int32_t i = 0; i < zeroCount; ++i) zeroHz[i] = Zeros[i];
    Design(poleCount > 0 ? poleHz[0] : 0.0);
  } else {
    poleCount = 2;
    zeroCount = 1;
    poleHz[0] = poleHz[1] = PeakingFrequency;
    zeroHz[0] = PeakingFrequency / std::sqrt(4.0 * std::pow(10.0, PeakingDb / 10.0) - 1.0);
    Design(PeakingFrequency);
  }
  designed = true;
  Input.SetBlockSize(1);
  Output.SetBlockSize(1);
  return true;
}

// Bilinear transform s = K (1 - z^-1) / (1 + z^-1), K = 2 pi fw / tan(pi fw / fs).
// A factor (1 + s / w) becomes ((1 + r) + (1 - r) z^-1) / (1 + z^-1) with
// r = K / w; each pole brings its (1 + z^-1) to the numerator, each zero to
// the denominator, and a section has at least as many poles as zeros.
void CTLE::Design(double prewarpHz) {
  warp = prewarpHz > 0.0 ? prewarpHz / std::tan(kPi * prewarpHz / rate) : rate / kPi;
  sectionCount = (poleCount + 1) / 2;
  for (int32_t k = 0; k < sectionCount; ++k) {
    double num[3] = {1.0, 0.0, 0.0}, den[3] = {1.0, 0.0, 0.0};
    int32_t poles = 0, zeros = 0;
    for (int32_t i = 2 * k; i < 2 * k + 2; ++i) {
      if (i < poleCount) {
        const double r = warp / poleHz[i];
        const double factor[2] = {1.0 + r, 1.0 - r};
        Multiply(den, factor);
        ++poles;
      }
      if (i < zeroCount) {
        const double r = warp / zeroHz[i];
        const double factor[2] = {1.0 + r, 1.0 - r};
        Multiply(num, factor);
        ++zeros;
      }
    }
    const double plusOne[2] = {1.0, 1.0};
    for (int32_t i = zeros; i < poles; ++i) Multiply(num, plusOne);
    Section& s = sections[k];
    s = Section();
    s.b0 = num[0] / den[0];
    s.b1 = num[1] / den[0];
    s.b2 = num[2] / den[0];
    s.a1 = den[1] / den[0];
    s.a2 = den[2] / den[0];
  }
}

bool CTLE::Initialize() {
  for (Section& s : sections) s.s1 = s.s2 = 0.0;
  return true;
}

bool CTLE::Run() {
  Output.data[Output.position] = Filter(Input.data[Input.position]);
  return true;
}

std::complex<double> CTLE::AnalogResponse(double f) const {
  if (!designed) return 0.0;
  std::complex<double> h = gain;
  for (int32_t i = 0; i < zeroCount; ++i) h *= std::complex<double>(1.0, f / zeroHz[i]);
  for (int32_t i = 0; i < poleCount; ++i) h /= std::complex<double>(1.0, f / poleHz[i]);
  return h;
}

std::complex<double> CTLE::DigitalResponse(double f) const {
  if (!designed) return 0.0;
  const std::complex<double> z1 = std::polar(1.0, -2.0 * kPi * f / rate);  // z^-1
  const std::complex<double> z2 = z1 * z1;
  std::complex<double> h = gain;
  for (int32_t k = 0; k < sectionCount; ++k) {
    const Section& s = sections[k];
    h *= (s.b0 + s.b1 * z1 + s.b2 * z2) / (1.0 + s.a1 * z1 + s.a2 * z2);
  }
  return h;
}

double CTLE::WarpedFrequency(double f) const { return warp * std::tan(kPi * f / rate); }

}  // namespace OrvennModelBuilder

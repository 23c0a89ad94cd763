#include "tools/linkbench/channel/LossyLine.h"

#include "tools/common/Numbers.h"

#include "tools/linkbench/channel/Touchstone.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr double kLight = 299792458.0;  // m/s
constexpr double kReferenceFrequency = 1e9;
// The permittivity's loss is flat between these angular frequencies.
constexpr double kLowCorner = 1e4;    // rad/s
constexpr double kHighCorner = 1e13;  // rad/s

std::complex<double> DebyeLog(double f) {
  const std::complex<double> jw(0.0, 2.0 * kPi * f);
  return std::log((kHighCorner + jw) / (kLowCorner + jw));
}

}  // namespace

std::complex<double> LossyLine::Permittivity(double f) const {
  // eps(f) = epsInf + k ln((w2 + jw) / (w1 + jw)), with k and epsInf set by
  // the real part and the loss tangent at the reference frequency.
  const std::complex<double> atReference = DebyeLog(kReferenceFrequency);
  const double k = -lossTangent * permittivity / atReference.imag();
  const double infinity = permittivity - k * atReference.real();
  return infinity + k * DebyeLog(f);
}

void LossyLine::Mode(double f, double impedance, std::complex<double>& s11, std::complex<double>& s21) const {
  const double zr = referenceImpedance;
  if (f <= 0.0) {
    const double r = dcResistance * length;
    s11 = r / (2.0 * zr + r);
    s21 = 2.0 * zr / (2.0 * zr + r);
    return;
  }
  const double w = 2.0 * kPi * f;
  const double root = std::sqrt(permittivity);
  const double inductance = impedance * root / kLight;
  const double capacitance = 1.0 / (impedance * kLight * root);  // per unit permittivity
  const double fd = 0.5 * kReferenceFrequency * (dcResistance / skinResistance) * (dcResistance / skinResistance);
  const std::complex<double> z =
      dcResistance * std::sqrt(std::complex<double>(1.0, f / fd)) + std::complex<double>(0.0, w * inductance);
  const std::complex<double> y = std::complex<double>(0.0, w * capacitance) * Permittivity(f);
  const std::complex<double> gamma = std::sqrt(z * y) * length;
  const std::complex<double> zc = std::sqrt(z / y);
  const std::complex<double> sh = std::sinh(gamma), ch = std::cosh(gamma);
  const std::complex<double> d = 2.0 * zc * zr * ch + (zc * zc + zr * zr) * sh;
  s21 = 2.0 * zc * zr / d;
  s11 = (zc * zc - zr * zr) * sh / d;
}

void LossyLine::S(double f, std::complex<double> s[16]) const {
  std::complex<double> e11, e21, o11, o21;
  Mode(f, evenImpedance, e11, e21);
  Mode(f, oddImpedance, o11, o21);
  // Mode matrices between the pair's near end (0) and far end (1).
  const std::complex<double> even[2][2] = {{e11, e21}, {e21, e11}};
  const std::complex<double> odd[2][2] = {{o11, o21}, {o21, o11}};
  const int p[2] = {0, 1}, n[2] = {2, 3};  // 0-based ports of each strip's ends
  for (int i = 0; i < 2; ++i) {
    for (int j = 0; j < 2; ++j) {
      const std::complex<double> same = 0.5 * (even[i][j] + odd[i][j]);
      const std::complex<double> other = 0.5 * (even[i][j] - odd[i][j]);
      s[p[i] * 4 + p[j]] = same;
      s[n[i] * 4 + n[j]] = same;
      s[p[i] * 4 + n[j]] = other;
      s[n[i] * 4 + p[j]] = other;
    }
  }
}

std::complex<double> LossyLine::Sdd21(double f) const {
  std::complex<double> s11, s21;
  Mode(f, oddImpedance, s11, s21);
  return s21;
}

double LossyLine::LengthForLoss(double lossDb, double f) const {
  LossyLine line = *this;
  double low = 0.0, high = 0.01;
  line.length = high;
  while (line.LossDb(f) < lossDb && high < 1e4) {
    low = high;
    high *= 2.0;
    line.length = high;
  }
  for (int i = 0; i < 200 && high - low > 1e-15 * high; ++i) {
    line.length = 0.5 * (low + high);
    (line.LossDb(f) < lossDb ? low : high) = line.length;
  }
  return 0.5 * (low + high);
}

std::vector<double> LossyLine::Frequencies(double step, double last) {
  std::vector<double> frequencies = {0.0};
  for (int k = 1; k < 20; ++k) frequencies.push_back(step * k / 20.0);
  const long points = static_cast<long>(std::floor(last / step + 1e-9));
  for (long k = 1; k <= points; ++k) frequencies.push_back(static_cast<double>(k) * step);
  return frequencies;
}

std::string LossyLine::Touchstone(const std::vector<double>& frequencies, const std::string& header) const {
  std::vector<std::string> comments;
  size_t start = 0;
  while (start < header.size()) {
    size_t end = header.find('\n', start);
    if (end == std::string::npos) end = header.size();
    comments.push_back(header.substr(start, end - start));
    start = end + 1;
  }
  comments.push_back("Uniform lossy stripline pair; ports: 1 p in, 2 p out, 3 n in, 4 n out.");
  comments.push_back(
      "Per strip and metre: Z = Rdc sqrt(1 + j f/fd) + j w L, fd = (Rdc/Rskin)^2 1GHz/2,  Y = j w C eps(f)/epsR,");
  comments.push_back(
      "eps(f) wideband Debye (1e4 .. 1e13 rad/s); SDD21 = odd-mode S21; SDD21(DC) = 2 Zr / (2 Zr + Rdc length).");
  char buffer[160];
  std::snprintf(buffer, sizeof buffer, "length %.6f m, odd %.6g ohm, even %.6g ohm, reference %.6g ohm", length,
                oddImpedance, evenImpedance, referenceImpedance);
  comments.push_back(buffer);
  std::snprintf(buffer, sizeof buffer, "epsR %.6g, tanDelta %.6g at 1 GHz, Rdc %.6g ohm/m, Rskin %.6g ohm/m at 1 GHz",
                permittivity, lossTangent, dcResistance, skinResistance);
  comments.push_back(buffer);
  TouchstoneNetwork network;
  network.ports = 4;
  network.reference.assign(4, referenceImpedance);
  network.frequency = frequencies;
  network.s.resize(frequencies.size() * 16);
  for (size_t point = 0; point < frequencies.size(); ++point) S(frequencies[point], &network.s[point * 16]);
  return WriteTouchstone(network, comments);
}

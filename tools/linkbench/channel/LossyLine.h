// A uniform lossy differential pair: the physical model behind the channels
// this project generates. Two identical coupled strips in a homogeneous
// dielectric (a stripline pair) carry two modes, odd (the differential
// signal) and even (the common mode); each is a transmission line with, per
// metre and per strip,
//   series  Z(f) = Rdc sqrt(1 + j f / fd) + j 2 pi f L,  fd = (Rdc / Rskin)^2 1 GHz / 2
//   shunt   Y(f) = j 2 pi f C eps(f) / epsR
// where the conductor's impedance is its DC resistance at low frequencies
// and, well above fd (3.3 MHz here), a good conductor's surface impedance
// Rskin sqrt(f / 1 GHz) (1 + j) (skin effect with its internal inductance;
// analytic in the right half-plane, so the line stays causal), and eps(f)
// is a wideband Debye (Djordjevic-Sarkar) permittivity whose real part is
// epsR and whose loss tangent is tanDelta at 1 GHz, nearly constant from
// 10 kHz to 100 GHz (poles at 1e4 and 1e13 rad/s), again causal; its real
// part falls slowly with frequency, as causality requires. L and C give the mode its impedance
// (oddImpedance or evenImpedance) and the speed c / sqrt(epsR) at 1 GHz.
//
// A mode of characteristic impedance Zc and propagation gamma between
// ports of reference Zr, over a length l, has
//   S21 = 2 Zc Zr / D,  S11 = (Zc^2 - Zr^2) sinh(gamma l) / D,
//   D = 2 Zc Zr cosh(gamma l) + (Zc^2 + Zr^2) sinh(gamma l),
// and the pair's single-ended 4-port follows from the two modes: the same
// strip (S_e + S_o) / 2, the other strip (S_e - S_o) / 2. So SDD21 is the
// odd mode's S21, and at DC the line is a series resistance:
// SDD21(0) = 2 Zr / (2 Zr + Rdc l).
#pragma once

#include <complex>
#include <string>
#include <vector>

struct LossyLine {
  double length = 0.1;             // m
  double oddImpedance = 50.0;      // ohm per strip; 100 ohm differential
  double evenImpedance = 60.0;     // ohm per strip
  double permittivity = 3.8;       // relative, real part at 1 GHz (FR-4)
  double lossTangent = 0.02;       // at 1 GHz
  double dcResistance = 9.8;       // ohm/m: a copper strip 100 um wide, 17.5 um thick
  double skinResistance = 120.0;   // ohm/m at 1 GHz: strip and return planes of that stripline
  double referenceImpedance = 50;  // ohm at each port

  // The complex relative permittivity eps' - j eps'' at `f` hertz.
  std::complex<double> Permittivity(double f) const;

  // One mode's S11 and S21 at `f` hertz (f >= 0).
  void Mode(double f, double impedance, std::complex<double>& s11, std::complex<double>& s21) const;

  // The 4-port S-matrix at `f`, row-major (row = port out), ports p-in 1,
  // p-out 2, n-in 3, n-out 4.
  void S(double f, std::complex<double> s[16]) const;

  std::complex<double> Sdd21(double f) const;
  double LossDb(double f) const { return -20.0 * std::log10(std::abs(Sdd21(f))); }
  double DcGain() const { return 2.0 * referenceImpedance / (2.0 * referenceImpedance + dcResistance * length); }

  // The length at which SDD21 loses `lossDb` (> 0) at `f` hertz.
  double LengthForLoss(double lossDb, double f) const;

  // The frequencies of a generated file: 0 (DC, which the model knows
  // exactly), every step / 20 up to `step` (the transition from DC
  // resistance to skin effect, which a response needs to stay causal), then
  // every `step` up to `last`.
  static std::vector<double> Frequencies(double step, double last);

  // A Touchstone 1.1 .s4p file at FREQUENCIES: a header of '!' comments
  // (HEADER's lines and the line's parameters), then the data in GHz, RI,
  // reference referenceImpedance.
  std::string Touchstone(const std::vector<double>& frequencies, const std::string& header) const;
};

#pragma once

#include <cstdint>

namespace OrvennModelBuilder {

// Scratch coefficients for evaluating cubic splines through small point sets.
class CubicSpline {
 public:
  CubicSpline() = default;
  CubicSpline(const CubicSpline&) = delete;
  CubicSpline& operator=(const CubicSpline&) = delete;
  ~CubicSpline();

  // Spline value at u of the n points (x[i], y[i]), no end slopes given;
  // 0.0 when the points admit no spline (status then says why).
  double Evaluate(int n, double u, const double* x, const double* y);

  uint32_t capacity = 0;
  double* s1 = nullptr;
  double* s2 = nullptr;
  double* s3 = nullptr;
  int32_t status = 0;  // result of the last SplineCoefficients
};

}  // namespace OrvennModelBuilder

#pragma once

namespace OrvennModelBuilder {

// Value at u of the spline with coefficients from SplineCoefficients.
// `last` remembers the interval of the previous call and is updated; points
// outside the table are extrapolated from the end pieces.
double SplineValue(int n, double u, const double* x, const double* y, const double* s1, const double* s2,
                   const double* s3, int& last);

}  // namespace OrvennModelBuilder

#pragma once

namespace OrvennModelBuilder {

// Coefficients of the cubic spline through the n points (x[i], y[i]):
// on [x[i], x[i+1]] the spline is y[i] + s1[i] w + s2[i] w^2 + s3[i] w^3,
// w = u - x[i]. An end whose flag (end1, end2) is 1 has the given slope;
// otherwise its third derivative equals that of the cubic through the four
// end points, so four points give that single cubic.
// Returns 0, or 1 when n < 2, 2 when x is not strictly increasing (then
// nothing is written). s1, s2 and s3 hold n entries each.
int SplineCoefficients(int n, int end1, int end2, double slope1, double slope2, const double* x, const double* y,
                       double* s1, double* s2, double* s3);

}  // namespace OrvennModelBuilder

#include "blocks/SplineCoefficients.h"

namespace OrvennModelBuilder {

int SplineCoefficients(int n, int end1, int end2, double slope1, double slope2, const double* x, const double* y,
                       double* s1, double* s2, double* s3) {
  if (n < 2) return 1;
  const int k = n - 1;
  for (int i = 1; i <= k; ++i)
    if (!(x[i - 1] < x[i]))  // a NaN stamp is not increasing either
      return 2;

  if (n == 2) {
    s1[0] = s1[1] = (y[1] - y[0]) / (x[1] - x[0]);
    s2[0] = s2[1] = s3[0] = s3[1] = 0.0;
    return 0;
  }

  // Tridiagonal system: s3 interval widths, s1 diagonal, s2 right-hand side.
  s3[0] = x[1] - x[0];
  s2[1] = (y[1] - y[0]) / s3[0];
  for (int i = 1; i < k; ++i) {
    s3[i] = x[i + 1] - x[i];
    s1[i] = 2.0 * (s3[i - 1] + s3[i]);
    s2[i + 1] = (y[i + 1] - y[i]) / s3[i];
    s2[i] = s2[i + 1] - s2[i];
  }
  s1[0] = -s3[0];
  s1[k] = -s3[k - 1];
  s2[0] = 0.0;
  s2[k] = 0.0;
  if (n > 3) {
    s2[0] = s2[2] / (x[3] - x[1]) - s2[1] / (x[2] - x[0]);
    s2[k] = s2[k - 1] / (x[k] - x[k - 2]) - s2[k - 2] / (x[k - 1] - x[k - 3]);
    s2[0] = s2[0] * s3[0] * s3[0] / (x[3] - x[0]);
    s2[k] = -s2[k] * s3[k - 1] * s3[k - 1] / (x[k] - x[k - 3]);
  }
  if (end1 == 1) {
    s1[0] = 2.0 * (x[1] - x[0]);
    s2[0] = (y[1] - y[0]) / (x[1] - x[0]) - slope1;
  }
  if (end2 == 1) {
    s1[k] = 2.0 * (x[k] - x[k - 1]);
    s2[k] = slope2 - (y[k] - y[k - 1]) / (x[k] - x[k - 1]);
  }

  for (int i = 1; i <= k; ++i) {
    const double f = s3[i - 1] / s1[i - 1];
    s1[i] = s1[i] - f * s3[i - 1];
    s2[i] = s2[i] - f * s2[i - 1];
  }
  s2[k] = s2[k] / s1[k];
  for (int i = k - 1; i >= 0; --i) s2[i] = (s2[i] - s3[i] * s2[i + 1]) / s1[i];

  s1[k] = (y[k] - y[k - 1]) / s3[k - 1] + s3[k - 1] * (s2[k - 1] + 2.0 * s2[k]);
  for (int i = 0; i < k; ++i) {
    s1[i] = (y[i + 1] - y[i]) / s3[i] - s3[i] * (s2[i + 1] + 2.0 * s2[i]);
    s3[i] = (s2[i + 1] - s2[i]) / s3[i];
    s2[i] = 3.0 * s2[i];
  }
  s2[k] = 3.0 * s2[k];
  s3[k] = s3[k - 1];
  return 0;
}

}  // namespace OrvennModelBuilder

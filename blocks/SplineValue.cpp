#include "blocks/SplineValue.h"

namespace OrvennModelBuilder {

double SplineValue(int n, double u, const double* x, const double* y, const double* s1, const double* s2,
                   const double* s3, int& last) {
  if (n < 2) return n == 1 ? y[0] : 0.0;
  int i = (last >= 0 && last < n - 1) ? last : 0;
  if (u < x[i] || u > x[i + 1]) {
    i = 0;
    int j = n;
    do {
      const int mid = (i + j) / 2;
      // A NaN u takes the upper half, so the search always ends.
      if (u < x[mid])
        j = mid;
      else
        i = mid;
    } while (j > i + 1);
  }
  last = i;
  const double w = u - x[i];
  return ((s3[i] * w + s2[i]) * w + s1[i]) * w + y[i];
}

}  // namespace OrvennModelBuilder

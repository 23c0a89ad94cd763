#include "blocks/CubicSpline.h"

#include "blocks/SplineCoefficients.h"
#include "blocks/SplineValue.h"

namespace OrvennModelBuilder {

CubicSpline::~CubicSpline() {
  delete[] s1;
  delete[] s2;
  delete[] s3;
}

double CubicSpline::Evaluate(int n, double u, const double* x, const double* y) {
  status = 0;
  if (n < 2) {
    status = 1;
    return 0.0;
  }
  if (capacity < uint32_t(n)) {
    delete[] s1;
    delete[] s2;
    delete[] s3;
    s1 = s2 = s3 = nullptr;
    capacity = 0;
    s1 = new double[n];
    s2 = new double[n];
    s3 = new double[n];
    capacity = uint32_t(n);
  }
  status = SplineCoefficients(n, 0, 0, 0.0, 0.0, x, y, s1, s2, s3);
  if (status != 0) return 0.0;
  int last = 0;
  return SplineValue(n, u, x, y, s1, s2, s3, last);
}

}  // namespace OrvennModelBuilder

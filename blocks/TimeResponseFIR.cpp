#include "blocks/TimeResponseFIR.h"

#include "blocks/CubicSpline.h"
#include "dataflow/ReportError.h"

#include <cmath>
#include <sstream>

namespace OrvennModelBuilder {

TimeResponseFIR::~TimeResponseFIR() {
  delete[] Taps;
  Taps = nullptr;
}

bool TimeResponseFIR::CheckResponse() {
  const int32_t n = ResponseSize;
  if (ResponseType == ImpulseResponse && n < 4) {
    ReportError(this, "At least 4 response coefficients are required for input impulse response");
    return false;
  }
  if (ResponseType == StepResponse && n < 4) {
    ReportError(this, "At least 4 response coefficients are required for input step response");
    return false;
  }
  if (ResponseType != ImpulseResponse && ResponseType != StepResponse) {
    ReportError(this,
                "Inavlid ResponseType is specified, it can be either Impulse Response or "
                "Step Response");
    return false;
  }
  if (ResponseTimeStampsSize != n) {
    ReportError(this,
                "Number of coefficients in response must be same as the number of "
                "values in time stamps");
    return false;
  }
  // NaN and infinity are no sample rate either.
  if (!(SampleRate > 0.0) || !std::isfinite(SampleRate)) {
    ReportError(this, "SampleRate must be > 0.0");
    return false;
  }
  if (Response == nullptr || ResponseTimeStamps == nullptr) {
    ReportError(this, "Response and ResponseTimeStamps must point at ResponseSize values");
    return false;
  }
  return true;
}

bool TimeResponseFIR::ShiftTimeStamps() {
  double* t = ResponseTimeStamps;
  const double t0 = t[0];
  t[0] = 0.0;
  for (int32_t i = 1; i < ResponseSize; ++i) {
    t[i] = t[i] - t0;
    // Written as "not increasing" so that a NaN stamp fails as well.
    if (!(t[i - 1] < t[i])) {
      std::ostringstream text;
      text << "ResponseTimeStamps[" << uint32_t(i + 1) << "] = " << t[i] + t0 << "  <= ResponseTimeStamps["
           << uint32_t(i) << "] = " << t[i - 1] + t0 << ". Time stamps must be in non-repeating ascending order.";
      ReportError(this, text.str());
      return false;
    }
  }
  return true;
}

bool TimeResponseFIR::Setup() {
  if (!CheckResponse() || !ShiftTimeStamps()) return false;

  const int32_t n = ResponseSize;
  const double* t = ResponseTimeStamps;
  const double* v = Response;
  const double R = SampleRate;

  // The tap count must be known to fit before it is converted or allocated.
  const double span = t[n - 1] * R;
  if (!(span < double(MaxTaps))) {
    std::ostringstream text;
    text << "ResponseTimeStamps span " << t[n - 1] << " s, which at SampleRate " << R << " needs more than " << MaxTaps
         << " taps";
    ReportError(this, text.str());
    return false;
  }
  const int32_t numTaps = int32_t(span) + 1;

  delete[] Taps;
  Taps = nullptr;
  NumTaps = 0;
  double* taps = new double[numTaps];
  Taps = taps;
  NumTaps = numTaps;

  CubicSpline spline;
  int32_t h = 0;
  for (int32_t i = 0; i < numTaps; ++i) {
    const double m = double(uint32_t(i)) / R;
    while (h < n - 1 && t[h] < m) ++h;
    if (ResponseType == ImpulseResponse && t[h] == m) {
      taps[i] = v[h];
      continue;
    }
    // Keep the spline's four and the parabola's three points inside the table.
    const int32_t c = h == 0 ? 1 : (h > n - 3 ? n - 3 : h);
    if (ResponseType == ImpulseResponse) {
      taps[i] = spline.Evaluate(4, m, t + c - 1, v + c - 1);
    } else {
      const double p = t[c - 1], q = t[c], r = t[c + 1];
      const double yp = v[c - 1], yq = v[c], yr = v[c + 1];
      const double m2 = m * 2.0;
      double slope = 0.0;
      slope = slope + (m2 - q - r) / ((p - r) * (p - q)) * yp;
      slope = slope + (m2 - p - r) / ((q - p) * (q - r)) * yq;
      slope = slope + (m2 - p - q) / ((r - p) * (r - q)) * yr;
      taps[i] = slope;
    }
    // The clamp is the cursor for the next grid time as well.
    h = c;
  }
  for (int32_t i = 0; i < numTaps; ++i) taps[i] = taps[i] / R;

  return FIR<double, 0>::Setup();
}

}  // namespace OrvennModelBuilder

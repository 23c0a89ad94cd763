// The ticks of a picture's axis: multiples of a step between two ends,
// counted as whole numbers so that a step too small to move a value (a
// span of 1e-30 V beside a fixed tolerance, a step lost in rounding) can
// never keep a drawing loop going.
#pragma once

class AxisTicks {
 public:
  // At most this many ticks on one axis; a step that would give more gives none.
  static constexpr long kMaxTicks = 1000;

  // Ticks at whole multiples of `step` from `low` to `high` (both ends
  // included up to a millionth of a step). No ticks when the step is not a
  // positive finite number, the ends are not finite or in order, or there
  // would be more than kMaxTicks.
  AxisTicks(double low, double high, double step);

  long Count() const { return count_; }
  // The value of tick `i`, 0 <= i < Count().
  double At(long i) const { return static_cast<double>(first_ + i) * step_; }
  double Step() const { return step_; }

  // A step of 1, 2 or 5 times a power of ten giving about `target` ticks over
  // `span`; 0 when the span is not a positive finite number.
  static double NiceStep(double span, int target);

 private:
  double step_ = 0.0;
  long first_ = 0;
  long count_ = 0;
};

#include "tools/linkbench/eye/EyeDensity.h"

#include <algorithm>
#include <cmath>

namespace {

// Cells per picture pixel in each direction.
constexpr long kFineness = 2;
// Headroom above and below the voltages of the latency search's prefix.
constexpr double kHeadroom = 0.1;

}  // namespace

EyeDensity::EyeDensity(int samplesPerBit, int columns, int rows)
    : samplesPerBit_(std::max(1, samplesPerBit)),
      // The picture shows two UI over columns - 1 pixel steps.
      cellsPerUi_(std::max(2L, kFineness * (std::max(columns, 2) - 1) / 2)),
      cellRows_(kFineness * std::max(rows, 2)),
      cellsPerSample_(static_cast<double>(cellsPerUi_) / samplesPerBit_),
      rowsPerVolt_(static_cast<double>(cellRows_) / span_),
      cells_(static_cast<size_t>(cellsPerUi_ * cellRows_), 0) {}

void EyeDensity::Begin(const EyeAlignment& a) {
  firstBit_ = a.firstBit;
  lastBit_ = a.endBit - 1;
  const double spread = a.high - a.low;
  if (std::isfinite(spread) && spread > 0) {
    top_ = a.high + kHeadroom * spread;
    span_ = (1 + 2 * kHeadroom) * spread;
  } else if (std::isfinite(a.high)) {
    top_ = a.high + 0.5;
  }
  rowsPerVolt_ = static_cast<double>(cellRows_) / span_;
}

void EyeDensity::Add(const BitWindow& w) {
  // Each bit draws its own UI; the first and the last also the UI before
  // and after it, as far as the run holds it.
  const long spb = samplesPerBit_;
  const long from = w.bit == firstBit_ ? -spb : 0;
  const long to = w.bit == lastBit_ ? std::min(2 * spb, w.end - 1) : spb;
  long phase = (from + spb) % spb;
  for (long t = from; t < to; ++t) {
    AddSegment(w.start[t], w.start[t + 1], phase);
    if (++phase == spb) phase = 0;
  }
}

void EyeDensity::AddSegment(double v0, double v1, long phase) {
  if (!Covers(v0) || !Covers(v1)) return;
  const double x0 = static_cast<double>(phase) * cellsPerSample_;
  const double dx = cellsPerSample_;
  const double y0 = (top_ - v0) * rowsPerVolt_;
  const double dy = (top_ - v1) * rowsPerVolt_ - y0;
  // One hit per cell along the segment, so that steep edges stay visible.
  const double length = std::max(dx, std::fabs(dy));
  const long steps = std::min(200000L, std::max(1L, static_cast<long>(std::ceil(length))));
  const double xStep = dx / static_cast<double>(steps), yStep = dy / static_cast<double>(steps);
  for (long s = 0; s < steps; ++s) {
    const long c = std::min(cellsPerUi_ - 1, static_cast<long>(x0 + xStep * static_cast<double>(s)));
    const long r = std::min(cellRows_ - 1, static_cast<long>(y0 + yStep * static_cast<double>(s)));
    uint32_t& cell = cells_[static_cast<size_t>(r * cellsPerUi_ + c)];
    if (cell != UINT32_MAX) ++cell;  // saturates on runs of billions of bits
  }
}

bool EyeDensity::Covers(double v) {
  if (!std::isfinite(v)) return false;
  for (int widenings = 0; v > top_ || v < top_ - span_; ++widenings) {
    if (widenings == 64) return false;
    Widen();
  }
  return true;
}

void EyeDensity::Widen() {
  // Twice the span, centred where it was: cell row r becomes (r + rows/2)/2.
  std::vector<uint32_t> wider(cells_.size(), 0);
  for (long r = 0; r < cellRows_; ++r) {
    const long to = (r + cellRows_ / 2) / 2;
    for (long c = 0; c < cellsPerUi_; ++c) {
      uint32_t& into = wider[static_cast<size_t>(to * cellsPerUi_ + c)];
      into = static_cast<uint32_t>(
          std::min<uint64_t>(UINT32_MAX, uint64_t{into} + cells_[static_cast<size_t>(r * cellsPerUi_ + c)]));
    }
  }
  cells_.swap(wider);
  top_ += span_ / 2;
  span_ *= 2;
  rowsPerVolt_ = static_cast<double>(cellRows_) / span_;
}

std::vector<double> EyeDensity::Spread(int columns, int rows, const VoltageRange& range, double centre) const {
  std::vector<double> hits(static_cast<size_t>(columns) * rows, 0.0);
  const long spb = samplesPerBit_;
  const double xScale = (columns - 1) / (2.0 * spb);            // pixels per sample
  const double yScale = (rows - 1) / (range.high - range.low);  // pixels per volt
  // Each cell's count goes to the four pixels around its centre, by distance.
  auto spread = [&](double x, double y, double count) {
    const long c0 = static_cast<long>(std::floor(x));
    const long r0 = static_cast<long>(std::floor(y));
    const double fx = x - c0, fy = y - r0;
    for (long r = r0; r <= r0 + 1; ++r)
      for (long c = c0; c <= c0 + 1; ++c)
        if (c >= 0 && c < columns && r >= 0 && r < rows)
          hits[static_cast<size_t>(r * columns + c)] += count * (c == c0 ? 1 - fx : fx) * (r == r0 ? 1 - fy : fy);
  };
  for (long row = 0; row < cellRows_; ++row) {
    const double y = (range.high - (top_ - (row + 0.5) / rowsPerVolt_)) * yScale;
    if (y <= -1 || y >= rows) continue;
    for (long column = 0; column < cellsPerUi_; ++column) {
      const uint32_t count = cells_[static_cast<size_t>(row * cellsPerUi_ + column)];
      if (count == 0) continue;
      const double t = (column + 0.5) / cellsPerSample_;  // samples into the UI
      // The folded UI appears at every whole UI across the two shown.
      for (long ui = -1; ui <= 2; ++ui) {
        const double x = (t + static_cast<double>(ui * spb) - centre + static_cast<double>(spb)) * xScale;
        if (x > -1 && x < columns) spread(x, y, count);
      }
    }
  }
  return hits;
}

std::vector<unsigned> EyeDensity::Render(int columns, int rows, const VoltageRange& range, double centre) const {
  std::vector<unsigned> counts(static_cast<size_t>(std::max(columns, 0)) * std::max(rows, 0), 0);
  if (columns < 2 || rows < 2 || !(range.high > range.low)) return counts;
  const std::vector<double> hits = Spread(columns, rows, range, centre);
  // Cells are finer than pixels: about that many hits per pixel of a trace.
  const double perHit = (columns - 1) / (2.0 * samplesPerBit_) / cellsPerSample_;
  auto at = [&](long r, long c) {
    return c >= 0 && c < columns && r >= 0 && r < rows ? hits[static_cast<size_t>(r * columns + c)] : 0.0;
  };
  for (long r = 0; r < rows; ++r) {
    for (long c = 0; c < columns; ++c) {
      const double n = perHit * (2 * at(r, c) + at(r, c - 1) + at(r, c + 1) + at(r - 1, c) + at(r + 1, c));
      if (n >= 0.5) counts[static_cast<size_t>(r * columns + c)] = static_cast<unsigned>(std::min(std::round(n), 4e9));
    }
  }
  return counts;
}

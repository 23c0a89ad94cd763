#include "EyePlot.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

struct Colour {
  double r, g, b;
};

// Density colour scale: dark blue for rare paths to white for the densest.
Colour DensityColour(double t) {
  static const Colour stops[] = {
      {0.16, 0.10, 0.42}, {0.10, 0.42, 0.85}, {0.15, 0.80, 0.65}, {0.95, 0.88, 0.20}, {1.00, 1.00, 1.00}};
  const int n = static_cast<int>(sizeof stops / sizeof stops[0]) - 1;
  t = std::clamp(t, 0.0, 1.0) * n;
  const int i = std::min(static_cast<int>(t), n - 1);
  const double f = t - i;
  return {stops[i].r + (stops[i + 1].r - stops[i].r) * f, stops[i].g + (stops[i + 1].g - stops[i].g) * f,
          stops[i].b + (stops[i + 1].b - stops[i].b) * f};
}

// A tick step of 1, 2 or 5 times a power of ten giving about `target` ticks.
double TickStep(double span, int target) {
  const double raw = span / std::max(1, target);
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 5.0, 10.0})
    if (m * power >= raw) return m * power;
  return 10.0 * power;
}

std::string Format(double v, double step) {
  char text[32];
  const int decimals = step >= 1.0 ? 0 : static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
  std::snprintf(text, sizeof text, "%.*f", decimals, std::fabs(v) < step * 1e-6 ? 0.0 : v);
  return text;
}

void Text(cairo_t* cr, double x, double y, const std::string& s, double alignX, double alignY) {
  cairo_text_extents_t e;
  cairo_text_extents(cr, s.c_str(), &e);
  cairo_move_to(cr, x - e.x_bearing - e.width * alignX, y - e.y_bearing - e.height * alignY);
  cairo_show_text(cr, s.c_str());
}

}  // namespace

EyePlot::EyePlot(const std::vector<double>& output, const EyeMeasurement& eye) : output_(output), eye_(eye) {}

double EyePlot::CentreUi() const { return eye_.widthUi > 0 ? 0.5 * (eye_.openFromUi + eye_.openToUi) : 0.0; }

EyePlot::Range EyePlot::DefaultRange() const {
  double low = eye_.outMin;
  double high = eye_.outMax;
  if (!(high > low)) {
    low -= 0.5;
    high += 0.5;
  }
  const double margin = 0.08 * (high - low);
  return {low - margin, high + margin};
}

std::vector<unsigned> EyePlot::Density(int columns, int rows, const Range& range) const {
  std::vector<unsigned> counts(static_cast<size_t>(std::max(columns, 0)) * std::max(rows, 0), 0);
  if (!eye_.valid || columns < 2 || rows < 2 || !(range.high > range.low)) return counts;
  const long spb = eye_.samplesPerBit;
  const long last = static_cast<long>(output_.size()) - 1;
  const double xScale = (columns - 1) / (2.0 * spb);            // pixels per sample
  const double yScale = (rows - 1) / (range.high - range.low);  // pixels per volt
  // Each hit also marks its four neighbours, so that one-pixel traces stay
  // visible when the image is scaled down.
  auto plot = [&](double px, double py) {
    const long c = std::lround(px);
    const long r = std::lround(py);
    if (c < 0 || c >= columns || r < 0 || r >= rows) return;
    counts[static_cast<size_t>(r) * columns + c] += 2;
    if (c > 0) counts[static_cast<size_t>(r) * columns + c - 1]++;
    if (c + 1 < columns) counts[static_cast<size_t>(r) * columns + c + 1]++;
    if (r > 0) counts[static_cast<size_t>(r - 1) * columns + c]++;
    if (r + 1 < rows) counts[static_cast<size_t>(r + 1) * columns + c]++;
  };
  const double shift = CentreUi() * spb;  // samples from the sampling instant to the plot centre
  for (long k = eye_.firstBit; k < eye_.endBit; ++k) {
    // One UI either side of the eye centre.
    const double centre = static_cast<double>(eye_.SampleIndex(k, eye_.bestPhase)) + shift;
    const long first = std::max(0L, static_cast<long>(std::floor(centre - spb)));
    const long end = std::min(last, static_cast<long>(std::ceil(centre + spb)));
    for (long j = first; j < end; ++j) {
      const double x0 = (j - (centre - spb)) * xScale;
      const double x1 = x0 + xScale;
      const double y0 = (range.high - output_[j]) * yScale;
      const double y1 = (range.high - output_[j + 1]) * yScale;
      // One hit per pixel along the segment, so steep edges stay visible.
      const double length = std::max(std::fabs(x1 - x0), std::fabs(y1 - y0));
      const int steps = std::min(100000, std::max(1, static_cast<int>(std::ceil(length))));
      for (int s = 0; s < steps; ++s) {
        const double f = static_cast<double>(s) / steps;
        plot(x0 + (x1 - x0) * f, y0 + (y1 - y0) * f);
      }
    }
  }
  return counts;
}

void EyePlot::Draw(cairo_t* cr, double x, double y, double width, double height, const Range& range,
                   const std::vector<std::string>& title) const {
  cairo_save(cr);
  const double fontSize = std::clamp(height / 34.0, 9.0, 15.0);
  cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, fontSize);

  // Layout: title lines on top, tick labels on the left and below.
  const double titleHeight = (title.size() + 0.6) * fontSize * 1.35;
  const double left = x + fontSize * 5.2;
  const double top = y + titleHeight;
  const double right = x + width - fontSize * 1.2;
  const double bottom = y + height - fontSize * 3.4;
  const int columns = std::max(2, static_cast<int>(right - left));
  const int rows = std::max(2, static_cast<int>(bottom - top));

  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_rectangle(cr, x, y, width, height);
  cairo_fill(cr);

  cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
  for (size_t i = 0; i < title.size(); ++i) {
    if (i == 0) cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    Text(cr, x + width / 2, y + fontSize * 0.5 + i * fontSize * 1.35, title[i], 0.5, 0.0);
    if (i == 0) cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  }

  // The density image, pixel for pixel.
  cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, columns, rows);
  if (cairo_surface_status(image) == CAIRO_STATUS_SUCCESS) {
    const std::vector<unsigned> counts = Density(columns, rows, range);
    const unsigned peak = counts.empty() ? 0 : *std::max_element(counts.begin(), counts.end());
    const double scale = peak > 0 ? 1.0 / std::log1p(static_cast<double>(peak)) : 0.0;
    cairo_surface_flush(image);
    unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    for (int r = 0; r < rows; ++r) {
      auto* row = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(r) * stride);
      for (int c = 0; c < columns; ++c) {
        const unsigned n = counts[static_cast<size_t>(r) * columns + c];
        Colour col =
            n ? DensityColour(0.08 + 0.92 * std::log1p(static_cast<double>(n)) * scale) : Colour{0.04, 0.04, 0.08};
        row[c] = (static_cast<uint32_t>(col.r * 255 + 0.5) << 16) | (static_cast<uint32_t>(col.g * 255 + 0.5) << 8) |
                 static_cast<uint32_t>(col.b * 255 + 0.5);
      }
    }
    cairo_surface_mark_dirty(image);
    cairo_set_source_surface(cr, image, left, top);
    cairo_paint(cr);
  }
  cairo_surface_destroy(image);

  const double ui = eye_.bitTime;
  const double uiPs = ui * 1e12;
  // Times are measured from the eye centre; the sampling instant lies
  // CentreUi() before it.
  auto xOf = [&](double ps) { return left + (ps / uiPs + 1.0) * 0.5 * (columns - 1); };
  const double samplingPs = -CentreUi() * uiPs;
  auto yOf = [&](double volts) { return top + (range.high - volts) / (range.high - range.low) * (rows - 1); };

  // Grid and ticks.
  cairo_set_line_width(cr, 1.0);
  const double xStep = TickStep(2 * uiPs, 8);
  const double yStep = TickStep(range.high - range.low, 8);
  for (double t = std::ceil(-uiPs / xStep) * xStep; t <= uiPs + 1e-9; t += xStep) {
    cairo_set_source_rgba(cr, 1, 1, 1, 0.12);
    cairo_move_to(cr, std::round(xOf(t)) + 0.5, top);
    cairo_line_to(cr, std::round(xOf(t)) + 0.5, top + rows);
    cairo_stroke(cr);
    cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
    Text(cr, xOf(t), top + rows + fontSize * 0.4, Format(t, xStep), 0.5, 0.0);
  }
  for (double v = std::ceil(range.low / yStep) * yStep; v <= range.high + 1e-12; v += yStep) {
    cairo_set_source_rgba(cr, 1, 1, 1, 0.12);
    cairo_move_to(cr, left, std::round(yOf(v)) + 0.5);
    cairo_line_to(cr, left + columns, std::round(yOf(v)) + 0.5);
    cairo_stroke(cr);
    cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
    Text(cr, left - fontSize * 0.4, yOf(v), Format(v, yStep), 1.0, 0.5);
  }
  cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
  Text(cr, left + columns / 2.0, top + rows + fontSize * 1.9, "time from the eye centre (ps)", 0.5, 0.0);
  cairo_save(cr);
  cairo_translate(cr, x + fontSize * 0.3, top + rows / 2.0);
  cairo_rotate(cr, -M_PI / 2);
  Text(cr, 0, 0, "output (V)", 0.5, 0.0);
  cairo_restore(cr);
  cairo_rectangle(cr, left - 0.5, top - 0.5, columns + 1, rows + 1);
  cairo_stroke(cr);

  // The measured opening: height at the sampling instant, width at the
  // threshold.
  if (eye_.valid) {
    cairo_set_source_rgb(cr, 1.0, 0.35, 0.35);
    cairo_set_line_width(cr, 2.0);
    const double half = eye_.heightV / 2;
    if (eye_.heightV > 0) {
      const double cx = xOf(samplingPs);
      const double yTop = yOf(eye_.threshold + half);
      const double yBottom = yOf(eye_.threshold - half);
      const double capWidth = fontSize * 0.5;
      cairo_move_to(cr, cx, yTop);
      cairo_line_to(cr, cx, yBottom);
      cairo_move_to(cr, cx - capWidth, yTop);
      cairo_line_to(cr, cx + capWidth, yTop);
      cairo_move_to(cr, cx - capWidth, yBottom);
      cairo_line_to(cr, cx + capWidth, yBottom);
      cairo_stroke(cr);
    }
    if (eye_.widthUi > 0) {
      const double ty = yOf(eye_.threshold);
      const double x0 = xOf(samplingPs + eye_.openFromUi * uiPs);
      const double x1 = xOf(samplingPs + eye_.openToUi * uiPs);
      const double capHeight = fontSize * 0.5;
      cairo_move_to(cr, x0, ty);
      cairo_line_to(cr, x1, ty);
      cairo_move_to(cr, x0, ty - capHeight);
      cairo_line_to(cr, x0, ty + capHeight);
      cairo_move_to(cr, x1, ty - capHeight);
      cairo_line_to(cr, x1, ty + capHeight);
      cairo_stroke(cr);
    }
  }
  cairo_restore(cr);
}

void EyePlot::ReleaseFontCaches() {
  cairo_debug_reset_static_data();
  FcFini();
}

bool EyePlot::SaveSurface(cairo_surface_t* surface, const std::string& path, std::string& error) {
  const cairo_status_t status = cairo_surface_write_to_png(surface, path.c_str());
  if (status != CAIRO_STATUS_SUCCESS) {
    error = "cannot write " + path + ": " + cairo_status_to_string(status);
    return false;
  }
  return true;
}

bool EyePlot::WritePng(const std::string& path, int width, int height, const std::vector<std::string>& title,
                       std::string& error) const {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, std::max(width, 64), std::max(height, 64));
  cairo_t* cr = cairo_create(surface);
  Draw(cr, 0, 0, std::max(width, 64), std::max(height, 64), DefaultRange(), title);
  cairo_destroy(cr);
  const bool ok = SaveSurface(surface, path, error);
  cairo_surface_destroy(surface);
  return ok;
}

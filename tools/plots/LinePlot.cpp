#include "tools/plots/LinePlot.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "tools/common/Numbers.h"
#include "tools/plots/AxisTicks.h"
#include "tools/plots/PlotText.h"

namespace {

struct Frame {
  double left, top, width, height;
  double x0, x1, y0, y1;
  double X(double x) const { return left + (x - x0) / (x1 - x0) * width; }
  double Y(double y) const { return top + height - (y - y0) / (y1 - y0) * height; }
};

// The curves' value range, widened a little; a flat or empty set gets +-1
// around its value.
void ValueRange(const LinePlotData& plot, double& low, double& high) {
  low = INFINITY;
  high = -INFINITY;
  for (const LineCurve& curve : plot.curves)
    for (double v : curve.values)
      if (std::isfinite(v)) low = std::min(low, v), high = std::max(high, v);
  if (!(low <= high)) low = high = 0.0;
  const double pad = high > low ? 0.06 * (high - low) : (low != 0 ? std::fabs(low) : 1.0);
  low -= pad;
  high += pad;
}

// Fixed decimals for steps from 1e-3 up; a tiny or huge axis (a difference
// of 1e-14) in powers of ten.
std::string Label(double value, double step) {
  char text[32];
  if (std::fabs(value) < step * 1e-6) value = 0.0;
  if (step < 1e-3 || step >= 1e6) {
    std::snprintf(text, sizeof text, "%.3g", value);
    return text;
  }
  const int decimals = step >= 1 ? 0 : static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

void DrawAxes(cairo_t* cr, const Frame& f, const LinePlotData& plot) {
  const double fontSize = 11.0;
  cairo_set_font_size(cr, fontSize);
  cairo_set_line_width(cr, 1.0);
  const AxisTicks xs(f.x0, f.x1, AxisTicks::NiceStep(f.x1 - f.x0, 8));
  const AxisTicks ys(f.y0, f.y1, AxisTicks::NiceStep(f.y1 - f.y0, 6));
  for (long i = 0; i < xs.Count(); ++i) {
    cairo_set_source_rgb(cr, 0.88, 0.88, 0.88);
    cairo_move_to(cr, std::round(f.X(xs.At(i))) + 0.5, f.top);
    cairo_line_to(cr, std::round(f.X(xs.At(i))) + 0.5, f.top + f.height);
    cairo_stroke(cr);
    cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
    PlotText(cr, f.X(xs.At(i)), f.top + f.height + 4, Label(xs.At(i), xs.Step()), 0.5, 0.0);
  }
  for (long i = 0; i < ys.Count(); ++i) {
    cairo_set_source_rgb(cr, 0.88, 0.88, 0.88);
    cairo_move_to(cr, f.left, std::round(f.Y(ys.At(i))) + 0.5);
    cairo_line_to(cr, f.left + f.width, std::round(f.Y(ys.At(i))) + 0.5);
    cairo_stroke(cr);
    cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
    PlotText(cr, f.left - 4, f.Y(ys.At(i)), Label(ys.At(i), ys.Step()), 1.0, 0.5);
  }
  PlotText(cr, f.left + f.width / 2, f.top + f.height + 20, plot.xLabel, 0.5, 0.0);
  cairo_save(cr);
  cairo_translate(cr, 14, f.top + f.height / 2);
  cairo_rotate(cr, -kPi / 2);
  PlotText(cr, 0, 0, plot.yLabel, 0.5, 0.5);
  cairo_restore(cr);
  cairo_rectangle(cr, f.left - 0.5, f.top - 0.5, f.width + 1, f.height + 1);
  cairo_stroke(cr);
}

void DrawCurves(cairo_t* cr, const Frame& f, const LinePlotData& plot) {
  static const double colours[][3] = {{0.12, 0.35, 0.75}, {0.85, 0.35, 0.1}, {0.2, 0.6, 0.25}, {0.55, 0.2, 0.6}};
  for (size_t c = 0; c < plot.curves.size(); ++c) {
    const double* rgb = colours[c % 4];
    cairo_set_source_rgb(cr, rgb[0], rgb[1], rgb[2]);
    cairo_set_line_width(cr, c == 0 ? 2.0 : 1.2);
    bool drawing = false;
    const std::vector<double>& values = plot.curves[c].values;
    for (size_t i = 0; i < values.size(); ++i) {
      if (!std::isfinite(values[i])) {
        drawing = false;
        continue;
      }
      const double x = f.X(static_cast<double>(i) * plot.xStep);
      const double y = f.Y(values[i]);
      drawing ? cairo_line_to(cr, x, y) : cairo_move_to(cr, x, y);
      drawing = true;
    }
    cairo_stroke(cr);
    PlotText(cr, f.left + f.width - 8, f.top + 8 + 15 * static_cast<double>(c), plot.curves[c].name, 1.0, 0.0);
  }
}

cairo_status_t Append(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

}  // namespace

std::string LinePlot::Png(const LinePlotData& plot, int width, int height) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  size_t longest = 1;
  for (const LineCurve& curve : plot.curves) longest = std::max(longest, curve.values.size());
  Frame frame{70, 34, width - 90.0, height - 80.0, 0, std::max(plot.xStep * static_cast<double>(longest - 1), 1e-30),
              0,  1};
  ValueRange(plot, frame.y0, frame.y1);
  cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
  PlotTitle(cr, width / 2.0, 8, 12.0, {plot.title});
  DrawAxes(cr, frame, plot);
  DrawCurves(cr, frame, plot);
  std::string bytes;
  cairo_destroy(cr);
  if (cairo_surface_write_to_png_stream(surface, Append, &bytes) != CAIRO_STATUS_SUCCESS) bytes.clear();
  cairo_surface_destroy(surface);
  return bytes;
}

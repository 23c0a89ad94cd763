#include "tools/plots/EyePlot.h"

#include "tools/common/AtomicFile.h"
#include "tools/common/Numbers.h"
#include "tools/plots/AxisTicks.h"
#include "tools/plots/PlotText.h"

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

// A tick's label with as many decimals as the step needs; steps finer than a
// picounit are labelled in scientific notation.
std::string Format(double v, double step) {
  char text[32];
  if (std::fabs(v) < step * 1e-6) v = 0.0;
  const int decimals = step >= 1.0 ? 0 : static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
  if (decimals > 12) {
    std::snprintf(text, sizeof text, "%.3g", v);
  } else {
    std::snprintf(text, sizeof text, "%.*f", decimals, v);
  }
  return text;
}

// Picture coordinates of times (ps from the eye centre) and voltages.
struct PlotAxes {
  const EyePlot::Layout& at;
  double uiPs;
  EyePlot::Range range;

  double X(double ps) const { return at.left + (ps / uiPs + 1.0) * 0.5 * (at.columns - 1); }
  double Y(double volts) const { return at.top + (range.high - volts) / (range.high - range.low) * (at.rows - 1); }
};

// Cairo's PNG writer hands the bytes to this, one piece at a time.
struct PngTarget {
  AtomicFile* file;
  std::string* error;
};

cairo_status_t WritePngPiece(void* closure, const unsigned char* data, unsigned int length) {
  auto* target = static_cast<PngTarget*>(closure);
  return target->file->Write(data, length, *target->error) ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_WRITE_ERROR;
}

}  // namespace

EyePlot::Layout EyePlot::LayOut(double x, double y, double width, double height, size_t titleLines) {
  // Title lines on top, tick labels on the left and below.
  Layout at;
  at.fontSize = std::clamp(height / 34.0, 9.0, 15.0);
  const double titleHeight = (static_cast<double>(titleLines) + 0.6) * at.fontSize * 1.35;
  at.left = x + at.fontSize * 5.2;
  at.top = y + titleHeight;
  const double right = x + width - at.fontSize * 1.2;
  const double bottom = y + height - at.fontSize * 3.4;
  at.columns = std::max(2, static_cast<int>(right - at.left));
  at.rows = std::max(2, static_cast<int>(bottom - at.top));
  return at;
}

EyePlot::Layout EyePlot::PictureLayout(int width, int height, size_t titleLines) {
  return LayOut(0, 0, std::max(width, 64), std::max(height, 64), titleLines);
}

EyePlot::EyePlot(const EyeDensity* density, const EyeMeasurement& eye) : density_(density), eye_(eye) {}

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
  if (!eye_.valid || !density_)
    return std::vector<unsigned>(static_cast<size_t>(std::max(columns, 0)) * std::max(rows, 0), 0);
  // The plot's centre, in samples from the start of a bit.
  const double centre = eye_.bestPhase + CentreUi() * eye_.samplesPerBit;
  return density_->Render(columns, rows, range, centre);
}

void EyePlot::Draw(cairo_t* cr, double x, double y, double width, double height, const Range& range,
                   const std::vector<std::string>& title) const {
  cairo_save(cr);
  const Layout at = LayOut(x, y, width, height, title.size());
  cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, at.fontSize);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_rectangle(cr, x, y, width, height);
  cairo_fill(cr);
  DrawTitle(cr, x, y, width, at, title);
  DrawDensity(cr, at, range);
  DrawAxes(cr, x, at, range);
  DrawOpening(cr, at, range);
  DrawContours(cr, at, range);
  cairo_restore(cr);
}

void EyePlot::DrawTitle(cairo_t* cr, double x, double y, double width, const Layout& at,
                        const std::vector<std::string>& title) const {
  cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
  PlotTitle(cr, x + width / 2, y, at.fontSize, title);
}

// The density image, pixel for pixel.
void EyePlot::DrawDensity(cairo_t* cr, const Layout& at, const Range& range) const {
  cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, at.columns, at.rows);
  if (cairo_surface_status(image) == CAIRO_STATUS_SUCCESS) {
    const std::vector<unsigned> counts = Density(at.columns, at.rows, range);
    const unsigned peak = counts.empty() ? 0 : *std::max_element(counts.begin(), counts.end());
    const double scale = peak > 0 ? 1.0 / std::log1p(static_cast<double>(peak)) : 0.0;
    cairo_surface_flush(image);
    unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    for (int r = 0; r < at.rows; ++r) {
      auto* row = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(r) * stride);
      for (int c = 0; c < at.columns; ++c) {
        const unsigned n = counts[static_cast<size_t>(r) * at.columns + c];
        Colour col =
            n ? DensityColour(0.08 + 0.92 * std::log1p(static_cast<double>(n)) * scale) : Colour{0.04, 0.04, 0.08};
        row[c] = (static_cast<uint32_t>(col.r * 255 + 0.5) << 16) | (static_cast<uint32_t>(col.g * 255 + 0.5) << 8) |
                 static_cast<uint32_t>(col.b * 255 + 0.5);
      }
    }
    cairo_surface_mark_dirty(image);
    cairo_set_source_surface(cr, image, at.left, at.top);
    cairo_paint(cr);
  }
  cairo_surface_destroy(image);
}

// Grid, ticks, axis labels and the frame. Times are measured from the eye
// centre.
void EyePlot::DrawAxes(cairo_t* cr, double x, const Layout& at, const Range& range) const {
  const double uiPs = eye_.bitTime * 1e12;
  const PlotAxes axes{at, uiPs, range};
  const double fontSize = at.fontSize;
  cairo_set_line_width(cr, 1.0);
  const AxisTicks times(-uiPs, uiPs, AxisTicks::NiceStep(2 * uiPs, 8));
  const AxisTicks volts(range.low, range.high, AxisTicks::NiceStep(range.high - range.low, 8));
  for (long i = 0; i < times.Count(); ++i) {
    const double t = times.At(i);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.12);
    cairo_move_to(cr, std::round(axes.X(t)) + 0.5, at.top);
    cairo_line_to(cr, std::round(axes.X(t)) + 0.5, at.top + at.rows);
    cairo_stroke(cr);
    cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
    PlotText(cr, axes.X(t), at.top + at.rows + fontSize * 0.4, Format(t, times.Step()), 0.5, 0.0);
  }
  for (long i = 0; i < volts.Count(); ++i) {
    const double v = volts.At(i);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.12);
    cairo_move_to(cr, at.left, std::round(axes.Y(v)) + 0.5);
    cairo_line_to(cr, at.left + at.columns, std::round(axes.Y(v)) + 0.5);
    cairo_stroke(cr);
    cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
    PlotText(cr, at.left - fontSize * 0.4, axes.Y(v), Format(v, volts.Step()), 1.0, 0.5);
  }
  cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
  PlotText(cr, at.left + at.columns / 2.0, at.top + at.rows + fontSize * 1.9, "time from the eye centre (ps)", 0.5,
           0.0);
  cairo_save(cr);
  cairo_translate(cr, x + fontSize * 0.3, at.top + at.rows / 2.0);
  cairo_rotate(cr, -kPi / 2);
  PlotText(cr, 0, 0, "output (V)", 0.5, 0.0);
  cairo_restore(cr);
  cairo_rectangle(cr, at.left - 0.5, at.top - 0.5, at.columns + 1, at.rows + 1);
  cairo_stroke(cr);
}

// The measured opening: height at the sampling instant, width at the
// threshold. The sampling instant lies CentreUi() before the eye centre.
void EyePlot::DrawOpening(cairo_t* cr, const Layout& at, const Range& range) const {
  if (!eye_.valid) return;
  const double uiPs = eye_.bitTime * 1e12;
  const PlotAxes axes{at, uiPs, range};
  const double samplingPs = -CentreUi() * uiPs;
  const double cap = at.fontSize * 0.5;
  cairo_set_source_rgb(cr, 1.0, 0.35, 0.35);
  cairo_set_line_width(cr, 2.0);
  if (eye_.heightV > 0) {
    const double cx = axes.X(samplingPs);
    const double yTop = axes.Y(eye_.threshold + eye_.heightV / 2);
    const double yBottom = axes.Y(eye_.threshold - eye_.heightV / 2);
    cairo_move_to(cr, cx, yTop);
    cairo_line_to(cr, cx, yBottom);
    cairo_move_to(cr, cx - cap, yTop);
    cairo_line_to(cr, cx + cap, yTop);
    cairo_move_to(cr, cx - cap, yBottom);
    cairo_line_to(cr, cx + cap, yBottom);
    cairo_stroke(cr);
  }
  if (eye_.widthUi > 0) {
    const double ty = axes.Y(eye_.threshold);
    const double x0 = axes.X(samplingPs + eye_.openFromUi * uiPs);
    const double x1 = axes.X(samplingPs + eye_.openToUi * uiPs);
    cairo_move_to(cr, x0, ty);
    cairo_line_to(cr, x1, ty);
    cairo_move_to(cr, x0, ty - cap);
    cairo_line_to(cr, x0, ty + cap);
    cairo_move_to(cr, x1, ty - cap);
    cairo_line_to(cr, x1, ty + cap);
    cairo_stroke(cr);
  }
}

void EyePlot::ContourColour(size_t index, double rgb[3]) {
  static const double colours[][3] = {{0.35, 1.0, 0.35}, {1.0, 0.65, 0.1}, {1.0, 0.3, 0.95}, {0.3, 0.9, 1.0}};
  const double* c = colours[index % 4];
  for (int i = 0; i < 3; ++i) rgb[i] = c[i];
}

// The BER contours, in the plot's time axis (ps from the eye centre), clipped
// to the density image, and their legend in its lower right corner.
void EyePlot::DrawContours(cairo_t* cr, const Layout& at, const Range& range) const {
  if (!eye_.valid || !ber_ || !ber_->valid || ber_->contours.empty()) return;
  const double uiPs = eye_.bitTime * 1e12;
  const PlotAxes axes{at, uiPs, range};
  // The plot's centre in UI from the start of a bit.
  const double centreUi = (eye_.bestPhase + CentreUi() * eye_.samplesPerBit) / eye_.samplesPerBit;
  cairo_save(cr);
  cairo_rectangle(cr, at.left, at.top, at.columns, at.rows);
  cairo_clip(cr);
  cairo_set_line_width(cr, 1.3);
  double rgb[3];
  for (size_t i = 0; i < ber_->contours.size(); ++i) {
    ContourColour(i, rgb);
    cairo_set_source_rgb(cr, rgb[0], rgb[1], rgb[2]);
    for (const BerSegment& g : ber_->contours[i]) {
      cairo_move_to(cr, axes.X((g.phase0 - centreUi) * uiPs), axes.Y(g.volts0));
      cairo_line_to(cr, axes.X((g.phase1 - centreUi) * uiPs), axes.Y(g.volts1));
    }
    cairo_stroke(cr);
  }
  cairo_restore(cr);
  const double line = at.fontSize * 1.3;
  const double count = static_cast<double>(std::min(ber_->targets.size(), ber_->contours.size()));
  double y = at.top + at.rows - line * (count + 0.4);
  const double x = at.left + at.columns - at.fontSize * 9.0;
  cairo_set_source_rgba(cr, 0.04, 0.04, 0.08, 0.85);
  cairo_rectangle(cr, x - at.fontSize * 0.5, y - line * 0.2, at.fontSize * 9.5, line * (count + 0.4));
  cairo_fill(cr);
  for (size_t i = 0; i < ber_->targets.size() && i < ber_->contours.size(); ++i, y += line) {
    ContourColour(i, rgb);
    cairo_set_source_rgb(cr, rgb[0], rgb[1], rgb[2]);
    cairo_move_to(cr, x, y + line / 2);
    cairo_line_to(cr, x + at.fontSize * 1.8, y + line / 2);
    cairo_stroke(cr);
    PlotText(cr, x + at.fontSize * 2.3, y + line / 2, "BER " + StatisticalEye::BerText(ber_->targets[i].ber), 0.0, 0.5);
  }
}

void EyePlot::ReleaseFontCaches() {
  cairo_debug_reset_static_data();
  FcFini();
}

bool EyePlot::SaveSurface(cairo_surface_t* surface, AtomicFile& file, std::string& error) {
  error.clear();
  if (!file.IsOpen() && !file.Open(error)) return false;
  PngTarget target{&file, &error};
  const cairo_status_t status = cairo_surface_write_to_png_stream(surface, &WritePngPiece, &target);
  if (status != CAIRO_STATUS_SUCCESS) {
    if (error.empty()) error = "cannot write " + file.Path() + ": " + cairo_status_to_string(status);
    file.Discard();
    return false;
  }
  return file.Commit(error);
}

bool EyePlot::WritePng(const std::string& path, int width, int height, const std::vector<std::string>& title,
                       std::string& error) const {
  AtomicFile file(path);
  return WritePng(file, width, height, title, error);
}

bool EyePlot::WritePng(AtomicFile& file, int width, int height, const std::vector<std::string>& title,
                       std::string& error) const {
  width = std::max(width, 64);
  height = std::max(height, 64);
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cairo_t* cr = cairo_create(surface);
  Draw(cr, 0, 0, width, height, DefaultRange(), title);
  cairo_destroy(cr);
  const bool ok = SaveSurface(surface, file, error);
  cairo_surface_destroy(surface);
  return ok;
}

#include "tools/plots/BathtubPlot.h"

#include "tools/common/Numbers.h"
#include "tools/plots/AxisTicks.h"
#include "tools/plots/EyePlot.h"
#include "tools/plots/PlotText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// The BER axis: 10^0 at the top down to 10^kLowestDecade.
constexpr int kLowestDecade = -16;

}  // namespace

// The plot area and its scales: time in ps from the eye centre, log10 BER.
struct BathtubPlot::Frame {
  double left, top, width, height, fontSize, uiPs;
  double X(double ps) const { return left + (ps / uiPs + 0.5) * width; }
  double Y(double ber) const {
    const double decade = std::clamp(std::log10(std::max(ber, 1e-300)), double(kLowestDecade), 0.0);
    return top + (-decade / -kLowestDecade) * height;
  }
};

BathtubPlot::BathtubPlot(const BerResult& ber, double bitTime) : ber_(ber), uiPs_(bitTime * 1e12) {}

void BathtubPlot::Draw(cairo_t* cr, double x, double y, double width, double height,
                       const std::vector<std::string>& title) const {
  cairo_save(cr);
  const double fontSize = std::clamp(height / 34.0, 9.0, 15.0);
  const double titleHeight = (static_cast<double>(title.size()) + 0.6) * fontSize * 1.35;
  const Frame f{x + fontSize * 5.5,
                y + titleHeight,
                width - fontSize * 6.7,
                height - titleHeight - fontSize * 3.6,
                fontSize,
                uiPs_};
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_rectangle(cr, x, y, width, height);
  cairo_fill(cr);
  cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, fontSize);
  cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
  PlotTitle(cr, x + width / 2, y, fontSize, title);
  DrawGrid(cr, f);
  DrawTargets(cr, f);
  DrawCurve(cr, f);
  cairo_restore(cr);
}

// Decades and time ticks, their labels, the axis titles and the frame.
void BathtubPlot::DrawGrid(cairo_t* cr, const Frame& f) const {
  cairo_set_line_width(cr, 1.0);
  for (int d = 0; d >= kLowestDecade; --d) {
    const double y = std::round(f.Y(std::pow(10.0, d))) + 0.5;
    cairo_set_source_rgb(cr, 0.88, 0.88, 0.88);
    cairo_move_to(cr, f.left, y);
    cairo_line_to(cr, f.left + f.width, y);
    cairo_stroke(cr);
    cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
    if (d % 2 == 0) PlotText(cr, f.left - f.fontSize * 0.4, y, d == 0 ? "1" : "1e" + std::to_string(d), 1.0, 0.5);
  }
  // A step of 1, 2 or 5 times a power of ten, some eight ticks over the UI.
  const double power = std::pow(10.0, std::floor(std::log10(uiPs_ / 8)));
  double step = 10 * power;
  for (double m : {5.0, 2.0, 1.0})
    if (m * power >= uiPs_ / 8) step = m * power;
  const AxisTicks times(-uiPs_ / 2, uiPs_ / 2, step);
  for (long i = 0; i < times.Count(); ++i) {
    const double t = times.At(i);
    const double x = std::round(f.X(t)) + 0.5;
    cairo_set_source_rgb(cr, 0.88, 0.88, 0.88);
    cairo_move_to(cr, x, f.top);
    cairo_line_to(cr, x, f.top + f.height);
    cairo_stroke(cr);
    cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
    char label[32];
    std::snprintf(label, sizeof label, "%.4g", std::fabs(t) < 1e-9 ? 0.0 : t);
    PlotText(cr, x, f.top + f.height + f.fontSize * 0.4, label, 0.5, 0.0);
  }
  PlotText(cr, f.left + f.width / 2, f.top + f.height + f.fontSize * 1.9, "sampling time from the eye centre (ps)", 0.5,
           0.0);
  cairo_save(cr);
  cairo_translate(cr, f.left - f.fontSize * 5.2, f.top + f.height / 2);
  cairo_rotate(cr, -kPi / 2);
  PlotText(cr, 0, 0, "bit error ratio", 0.5, 0.0);
  cairo_restore(cr);
  cairo_rectangle(cr, f.left - 0.5, f.top - 0.5, f.width + 1, f.height + 1);
  cairo_stroke(cr);
}

// Each target: a dashed line across, and the eye width at it.
void BathtubPlot::DrawTargets(cairo_t* cr, const Frame& f) const {
  double rgb[3];
  for (size_t i = 0; i < ber_.targets.size(); ++i) {
    const BerTargetFigures& t = ber_.targets[i];
    EyePlot::ContourColour(i, rgb);
    // The contour colours are for a dark eye; darker here on white.
    cairo_set_source_rgb(cr, rgb[0] * 0.75, rgb[1] * 0.75, rgb[2] * 0.75);
    const double y = f.Y(t.ber);
    const double dash[] = {6.0, 4.0};
    cairo_set_dash(cr, dash, 2, 0);
    cairo_set_line_width(cr, 1.5);
    cairo_move_to(cr, f.left, y);
    cairo_line_to(cr, f.left + f.width, y);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
    char text[96];
    if (t.open && t.widthUi > 0) {
      std::snprintf(text, sizeof text, "BER %s: width %.1f ps", StatisticalEye::BerText(t.ber).c_str(),
                    t.widthUi * uiPs_);
    } else {
      std::snprintf(text, sizeof text, "BER %s: closed", StatisticalEye::BerText(t.ber).c_str());
    }
    // Over the flat bottom of the tub, clear of the walls.
    PlotText(cr, f.left + f.width / 2, y - f.fontSize * 0.3, text, 0.5, 1.0);
    if (t.open && t.widthUi > 0) {
      // Where the bathtub crosses the target: the ends of the width.
      for (double edge : {t.fromUi, t.toUi}) {
        cairo_arc(cr, f.X((edge - ber_.centreUi) * uiPs_), y, f.fontSize * 0.3, 0, 2 * kPi);
        cairo_fill(cr);
      }
    }
  }
}

// The curve over one UI around the centre.
void BathtubPlot::DrawCurve(cairo_t* cr, const Frame& f) const {
  cairo_save(cr);
  cairo_rectangle(cr, f.left, f.top, f.width, f.height);
  cairo_clip(cr);
  cairo_set_source_rgb(cr, 0.1, 0.25, 0.75);
  cairo_set_line_width(cr, 2.2);
  bool started = false;
  for (size_t i = 0; i < ber_.bathtubPhaseUi.size(); ++i) {
    const double ps = (ber_.bathtubPhaseUi[i] - ber_.centreUi) * uiPs_;
    if (std::fabs(ps) > uiPs_ * 0.51) continue;
    const double x = f.X(ps), y = f.Y(ber_.bathtubBer[i]);
    if (started) {
      cairo_line_to(cr, x, y);
    } else {
      cairo_move_to(cr, x, y);
      started = true;
    }
  }
  cairo_stroke(cr);
  cairo_restore(cr);
}

bool BathtubPlot::WritePng(AtomicFile& file, int width, int height, const std::vector<std::string>& title,
                           std::string& error) const {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, std::max(width, 64), std::max(height, 64));
  cairo_t* cr = cairo_create(surface);
  Draw(cr, 0, 0, std::max(width, 64), std::max(height, 64), title);
  cairo_destroy(cr);
  const bool ok = EyePlot::SaveSurface(surface, file, error);
  cairo_surface_destroy(surface);
  return ok;
}

#include "tools/plots/EyeGrid.h"

#include <algorithm>

namespace {

// One voltage axis for all panels.
EyePlot::Range CommonRange(const std::vector<EyeGridPanel>& panels) {
  EyePlot::Range range{1e300, -1e300};
  for (const EyeGridPanel& p : panels) {
    if (!p.eye) continue;
    const EyePlot::Range r = EyePlot(p.density, *p.eye).DefaultRange();
    range.low = std::min(range.low, r.low);
    range.high = std::max(range.high, r.high);
  }
  return range;
}

// The heading, centred; a long heading gets a smaller font rather than
// losing its ends.
void DrawHeading(cairo_t* cr, int width, const std::string& heading) {
  cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
  cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_font_size(cr, 20);
  cairo_text_extents_t extents;
  cairo_text_extents(cr, heading.c_str(), &extents);
  const double room = width - 24.0;
  if (extents.width > room) {
    cairo_set_font_size(cr, 20 * room / extents.width);
    cairo_text_extents(cr, heading.c_str(), &extents);
  }
  cairo_move_to(cr, (width - extents.width) / 2 - extents.x_bearing, 36);
  cairo_show_text(cr, heading.c_str());
}

}  // namespace

EyePlot::Layout EyeGrid::PanelLayout() { return EyePlot::LayOut(0, 0, kPanelWidth, kPanelHeight, kPanelTitleLines); }

bool EyeGrid::WritePng(AtomicFile& file, int columns, int rows, const std::vector<EyeGridPanel>& panels,
                       const std::string& heading, std::string& error) {
  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, kPanelWidth * columns, kHeadingHeight + kPanelHeight * rows);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  DrawHeading(cr, kPanelWidth * columns, heading);
  const EyePlot::Range range = CommonRange(panels);
  for (int row = 0; row < rows; ++row) {
    for (int col = 0; col < columns; ++col) {
      const size_t index = static_cast<size_t>(row * columns + col);
      if (index >= panels.size() || !panels[index].eye) continue;
      const EyeGridPanel& p = panels[index];
      EyePlot plot(p.density, *p.eye);
      if (p.contours) plot.SetContours(p.contours);
      plot.Draw(cr, col * kPanelWidth, kHeadingHeight + row * kPanelHeight, kPanelWidth, kPanelHeight, range, p.title);
    }
  }
  cairo_destroy(cr);
  const bool ok = EyePlot::SaveSurface(surface, file, error);
  cairo_surface_destroy(surface);
  return ok;
}

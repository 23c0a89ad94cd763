#include "tools/plots/PlotText.h"

void PlotText(cairo_t* cr, double x, double y, const std::string& s, double alignX, double alignY) {
  cairo_text_extents_t e;
  cairo_text_extents(cr, s.c_str(), &e);
  cairo_move_to(cr, x - e.x_bearing - e.width * alignX, y - e.y_bearing - e.height * alignY);
  cairo_show_text(cr, s.c_str());
}

void PlotTitle(cairo_t* cr, double centreX, double y, double fontSize, const std::vector<std::string>& lines) {
  for (size_t i = 0; i < lines.size(); ++i) {
    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL,
                           i == 0 ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    PlotText(cr, centreX, y + fontSize * 0.5 + i * fontSize * 1.35, lines[i], 0.5, 0.0);
  }
  cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
}

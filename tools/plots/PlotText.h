// Text in the pictures: a label placed by its alignment, and the title lines
// over a picture.
#pragma once

#include <cairo.h>

#include <string>
#include <vector>

// Draws S with the point of it given by ALIGNX (0 left, 0.5 centre, 1 right)
// and ALIGNY (0 top, 0.5 middle, 1 bottom) at (x, y), in the current font
// and colour.
void PlotText(cairo_t* cr, double x, double y, const std::string& s, double alignX, double alignY);

// LINES centred on `centreX`, the first from `y` on, one every 1.35 font
// sizes, the first bold; leaves the normal sans-serif face selected.
void PlotTitle(cairo_t* cr, double centreX, double y, double fontSize, const std::vector<std::string>& lines);

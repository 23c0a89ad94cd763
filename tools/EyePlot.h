// Eye diagrams drawn with Cairo: the waveform folded over two unit
// intervals around the eye centre (the middle of the measured opening; the
// best sampling instant when the eye is closed), shown as a density image
// (how often the trace passes each pixel, on a logarithmic colour scale),
// with axes in picoseconds and volts, the measured opening marked, and a
// title.
#pragma once

#include "EyeMeasure.h"

#include <cairo.h>

#include <string>
#include <vector>

class EyePlot {
 public:
  struct Range {
    double low = 0.0;
    double high = 0.0;
  };

  // `output` must outlive the plot; `eye` is its measurement.
  EyePlot(const std::vector<double>& output, const EyeMeasurement& eye);

  // A vertical range that holds the whole waveform with a margin.
  Range DefaultRange() const;

  // Draws the eye, its axes and the title lines into the rectangle
  // (x, y, width, height) of `cr`. `range` is the voltage axis.
  void Draw(cairo_t* cr, double x, double y, double width, double height, const Range& range,
            const std::vector<std::string>& title) const;

  // Draws one eye into a new PNG file. Returns false and sets `error` when
  // the file cannot be written.
  bool WritePng(const std::string& path, int width, int height, const std::vector<std::string>& title,
                std::string& error) const;

  // The eye centre in UI from the best sampling instant.
  double CentreUi() const;

  // Density counts over a `columns` x `rows` grid spanning two UI (left to
  // right, centred on the eye centre) and `range` (top row = range.high):
  // the trace of every measured bit, drawn as connected line segments.
  std::vector<unsigned> Density(int columns, int rows, const Range& range) const;

  // Releases the font caches that drawing text fills (Cairo's and the font
  // configuration's), so that leak checkers see a clean exit. Call once,
  // after the last drawing of the process.
  static void ReleaseFontCaches();

  // Writes a Cairo surface to a PNG; false and `error` on failure.
  static bool SaveSurface(cairo_surface_t* surface, const std::string& path, std::string& error);

 private:
  const std::vector<double>& output_;
  EyeMeasurement eye_;
};

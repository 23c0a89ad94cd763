// Eye diagrams drawn with Cairo: the waveform folded over two unit
// intervals around the eye centre (the middle of the measured opening; the
// best sampling instant when the eye is closed), shown as a density image
// (how often the trace passes each pixel, on a logarithmic colour scale),
// with axes in picoseconds and volts, the measured opening marked, and a
// title; optionally with the BER contour lines of a statistical eye.
#pragma once

#include "tools/common/AtomicFile.h"
#include "tools/linkbench/eye/EyeDensity.h"
#include "tools/linkbench/eye/EyeMeasure.h"
#include "tools/linkbench/eye/StatisticalEye.h"

#include <cairo.h>

#include <string>
#include <vector>

class EyePlot {
 public:
  using Range = VoltageRange;

  // Where the parts of one eye go in its rectangle.
  struct Layout {
    double fontSize = 0.0;
    double left = 0.0;  // top left corner of the density image
    double top = 0.0;
    int columns = 0;  // size of the density image in pixels
    int rows = 0;
  };
  // The layout of an eye drawn into the rectangle (x, y, width, height) with
  // `titleLines` lines of title; Draw uses the same.
  static Layout LayOut(double x, double y, double width, double height, size_t titleLines);
  // The layout of a picture of one eye as WritePng draws it.
  static Layout PictureLayout(int width, int height, size_t titleLines);

  // `density` (the measured bits' traces; null: none) must outlive the plot;
  // `eye` is their measurement.
  EyePlot(const EyeDensity* density, const EyeMeasurement& eye);

  // Draws the contour lines of `ber` (must outlive the plot; null: none)
  // over the eye, one colour per target, with a legend.
  void SetContours(const BerResult* ber) { ber_ = ber; }
  // The colour of the contour of the `index`th target, as red, green, blue.
  static void ContourColour(size_t index, double rgb[3]);

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
  // The same into `file`, opened here unless the caller opened it already
  // (as a run does before it starts, to refuse an unwritable path at once).
  bool WritePng(AtomicFile& file, int width, int height, const std::vector<std::string>& title,
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

  // Writes a Cairo surface to a PNG in `file` (opened here unless it is
  // already); false and `error` on failure, and then no file is left behind.
  static bool SaveSurface(cairo_surface_t* surface, AtomicFile& file, std::string& error);

 private:
  void DrawTitle(cairo_t* cr, double x, double y, double width, const Layout& at,
                 const std::vector<std::string>& title) const;
  void DrawDensity(cairo_t* cr, const Layout& at, const Range& range) const;
  void DrawAxes(cairo_t* cr, double x, const Layout& at, const Range& range) const;
  void DrawOpening(cairo_t* cr, const Layout& at, const Range& range) const;
  void DrawContours(cairo_t* cr, const Layout& at, const Range& range) const;

  const EyeDensity* density_;
  EyeMeasurement eye_;
  const BerResult* ber_ = nullptr;
};

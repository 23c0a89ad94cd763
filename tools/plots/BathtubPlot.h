// The bathtub picture (Cairo): BER against sampling phase at the decision
// threshold, over one UI around the eye centre, on a logarithmic axis from 1
// down to 1e-16, with the target BERs marked as dashed lines and the eye
// width at each of them.
#pragma once

#include "tools/common/AtomicFile.h"
#include "tools/linkbench/eye/StatisticalEye.h"

#include <cairo.h>

#include <string>
#include <vector>

class BathtubPlot {
 public:
  // `ber` must outlive the plot; `bitTime` in seconds.
  BathtubPlot(const BerResult& ber, double bitTime);

  // Draws into the rectangle (x, y, width, height) of `cr`.
  void Draw(cairo_t* cr, double x, double y, double width, double height, const std::vector<std::string>& title) const;
  // Writes the picture to a PNG file (whole or not at all), opened here
  // unless the caller opened it already.
  bool WritePng(AtomicFile& file, int width, int height, const std::vector<std::string>& title,
                std::string& error) const;

 private:
  struct Frame;
  void DrawGrid(cairo_t* cr, const Frame& f) const;
  void DrawTargets(cairo_t* cr, const Frame& f) const;
  void DrawCurve(cairo_t* cr, const Frame& f) const;

  const BerResult& ber_;
  double uiPs_;
};

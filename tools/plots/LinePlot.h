// A picture of curves over a common axis, drawn with Cairo into PNG bytes
// (for a self-contained HTML page, which carries them as data: URIs). Takes
// plain data; values that are no finite numbers are left out of the lines.
#pragma once

#include <string>
#include <vector>

struct LineCurve {
  std::string name;
  std::vector<double> values;
};

struct LinePlotData {
  std::string title;
  std::string xLabel;  // the axis' quantity and unit
  std::string yLabel;
  double xStep = 1.0;  // x of values[i] is i * xStep
  std::vector<LineCurve> curves;
};

namespace LinePlot {

// The PNG file's bytes; empty when Cairo fails.
std::string Png(const LinePlotData& plot, int width = 720, int height = 300);

}  // namespace LinePlot

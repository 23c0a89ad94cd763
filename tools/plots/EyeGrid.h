// Eyes side by side in one picture: a heading over a grid of panels, each an
// eye with its title lines, all on one voltage axis so that swings compare
// at a glance. Takes plain data: what each panel shows and says.
#pragma once

#include "tools/common/AtomicFile.h"
#include "tools/linkbench/eye/EyeDensity.h"
#include "tools/linkbench/eye/EyeMeasure.h"
#include "tools/linkbench/eye/StatisticalEye.h"
#include "tools/plots/EyePlot.h"

#include <string>
#include <vector>

struct EyeGridPanel {
  const EyeMeasurement* eye = nullptr;  // null: the panel is left empty
  const EyeDensity* density = nullptr;  // the traces (null: none)
  const BerResult* contours = nullptr;  // BER contours drawn over the eye (null: none)
  std::vector<std::string> title;       // kPanelTitleLines lines
};

class EyeGrid {
 public:
  static constexpr int kPanelWidth = 520;
  static constexpr int kPanelHeight = 360;
  static constexpr int kHeadingHeight = 56;
  static constexpr size_t kPanelTitleLines = 2;

  // Where a panel's eye goes; its density image is columns x rows.
  static EyePlot::Layout PanelLayout();

  // Writes `columns` x `rows` panels (row by row) under `heading` as a PNG
  // into `file`; false and `error` when it cannot be written.
  static bool WritePng(AtomicFile& file, int columns, int rows, const std::vector<EyeGridPanel>& panels,
                       const std::string& heading, std::string& error);
};

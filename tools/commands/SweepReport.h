// What `tessalune sweep` prints after its setup lines, and `tessalune merge`
// prints from result files: per channel the table, the summary per emphasis
// level and the best emphasis; with several channels each under a heading,
// then the summary across channels. Both print from PointFigures, so that a
// merged report is the single-machine one byte for byte.
#pragma once

#include "tools/commands/SweepRecords.h"

#include <functional>
#include <string>
#include <vector>

class SweepReport {
 public:
  // The header's axes and channels (one empty label: no channel file); each
  // channel's description heads its tables when there are several.
  SweepReport(const SweepOptions& o, const SweepHeader& header);

  // The points of the next channel, in the sweep's order; prints its
  // tables. Returns how many of its runs failed or gave no eye.
  int AddChannel(const std::vector<const PointFigures*>& figures);
  // Every channel's tables from the figures of point 0 .. `points` - 1
  // (`at` gives them), then the summary across channels; returns how many
  // runs failed or gave no eye.
  int PrintAll(size_t points, const std::function<PointFigures(size_t)>& at);
  // With several channels: per setting, the worst and mean eye at --ber
  // over the channels, and the setting whose worst channel is best.
  void PrintAcross() const;

 private:
  // Least and sum of a figure at --ber over the channels, per setting.
  struct Across {
    double leastHeight = 1e300, leastWidth = 1e300, sumHeight = 0, sumWidth = 0;
  };

  // A setting's values: emphasis, Vreg, corner, and the receiver's value
  // (empty without --rx-sweep).
  std::vector<std::string> Setting(size_t i) const;

  const SweepOptions& o_;
  SweepAxes axes_;
  bool receiver_ = false;
  std::vector<std::string> channels_;
  std::vector<std::vector<std::string>> describe_;
  size_t next_ = 0;
  std::vector<Across> across_;
};

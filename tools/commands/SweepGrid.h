// The picture of a sweep: the nine responses' eyes of one channel, at
// --grid-emphasis or at each one's best emphasis at --ber (those runs again,
// gathering their eye densities and contours). Shared by `sweep` and
// `merge`.
#pragma once

#include "tools/commands/SweepPoints.h"
#include "tools/common/AtomicFile.h"

#include <vector>

// Whether the grid shows each response at its best emphasis.
bool BestGrid(const SweepOptions& o);

// Draws the grid of one channel's `points` (in the sweep's order; at
// --grid-emphasis, the drawn points hold their densities) into `file`;
// returns the exit status, with "COMMAND: ..." printed on failure.
int DrawSweepGrid(const char* command, const SweepOptions& o, AtomicFile& file, const AmiFileParams& ami,
                  const SweepAxes& axes, const std::vector<SweepPoint>& points, const LinkModels& models,
                  unsigned jobs);

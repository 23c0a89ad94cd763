// The tables `tessalune sweep` prints: its setup, one row per run, the
// summary per emphasis level, the best emphasis, the throughput.
#pragma once

#include "tools/commands/SweepPoints.h"

#include <string>
#include <vector>

// `noisePath`: where --noise acts (RunReport::NoisePath).
void PrintSetup(const SweepOptions& o, size_t runs, unsigned jobs, const std::string& memoryNote,
                NoiseReferral::Path noisePath);

// One row per run; returns how many runs failed or gave no eye.
int PrintTable(const std::vector<SweepPoint>& points, const SweepOptions& o);

// Per emphasis level: the eyes' mean and least height and width, and with
// BER figures the mean height and width at --ber (closed eyes count as 0).
void PrintSummary(const SweepAxes& axes, const std::vector<SweepPoint>& points, const SweepOptions& o);

void PrintBest(const SweepOptions& o, const SweepAxes& axes, const std::vector<const SweepPoint*>& best);

void PrintThroughput(const SimSettings& s, const std::vector<SweepPoint>& points, double wall);

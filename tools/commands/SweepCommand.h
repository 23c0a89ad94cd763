// `tessalune sweep`: every combination of emphasis, Vreg and corner that the
// .ami file allows (7 x 3 x 3 = 63 runs for tessalune_tx), on all cores with
// one model instance per run; prints eye height and width per combination
// and a summary per emphasis level, and draws the nine responses' eyes at
// one emphasis level as a PNG grid.
#pragma once

#include <CLI/CLI.hpp>

#include <functional>

void AddSweepCommand(CLI::App& app, std::function<int()>& action);

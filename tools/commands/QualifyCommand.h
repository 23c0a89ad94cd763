// `tessalune qualify LIBRARY --ami FILE`: tests a model library the way
// simulators use it. Each check runs the library in a child process
// (IsolatedRun) with a time and a memory limit; the program itself never
// loads the library. Prints one line per check and a
// summary (or --json), writes an HTML page with the figures (--report), and
// exits 1 when a check fails.
#pragma once

#include <CLI/CLI.hpp>

#include <functional>

void AddQualifyCommand(CLI::App& app, std::function<int()>& action);

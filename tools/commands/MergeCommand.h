// `tessalune merge FILE...`: the results files of a sweep's shards (written
// by `tessalune sweep --results`) into the tables a single-machine sweep
// prints (`sweep --tables-only`, byte for byte). It refuses files of
// different sweeps, counts a point run twice once, ignores a last line cut
// short with a note, and lists missing points; --missing prints the shards
// to rerun as a job-array list. Files are read line by line: memory holds a
// few dozen bytes per point of the sweep, whatever the files' size.
#pragma once

#include <CLI/CLI.hpp>

#include <functional>

void AddMergeCommand(CLI::App& app, std::function<int()>& action);

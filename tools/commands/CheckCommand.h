// `tessalune check [-q] [--json] FILE...`: checks IBIS files (.ibs, .pkg, .ebd)
// and AMI parameter files (.ami), and prints the checker's messages and its
// summary on standard output, or with --json one JSON document (CheckReport).
// Exit status 0 when the files passed, 1 when they failed, 2 for a usage error.
#pragma once

#include <CLI/CLI.hpp>

#include <functional>
#include <string>

void AddCheckCommand(CLI::App& app, std::function<int()>& action);

// File kind of the checker for a file name by its extension, without regard
// to case (PARSE_MODE_*), or 0 when the checker does not read such files.
int CheckModeOf(const std::string& path);

// `tessalune tree TEXT | -f FILE [--get PATH [--as double|int|string|bool]]`:
// parses an AMI parameter string and prints its tree as one line of JSON,
// or reads one parameter by dotted path the way the model does.
#pragma once

#include <CLI/CLI.hpp>

#include <functional>
#include <string>

#include "amiparam/AmiTree.h"

void AddTreeCommand(CLI::App& app, std::function<int()>& action);

// The JSON line for a parse result: {"result":R} on failure, else
// {"result":0,"slots":S,"root":NODE}.
std::string TreeJson(int32_t result, const AMITREE* tree);

// `tessalune version`: prints the project version.
#pragma once

#include <CLI/CLI.hpp>

#include <functional>

void AddVersionCommand(CLI::App& app, std::function<int()>& action);

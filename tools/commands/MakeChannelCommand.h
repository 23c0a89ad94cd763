// `tessalune make-channel OUT.s4p [--loss DB] [--bit-time S] [--step HZ]
// [--last HZ]`: writes the 4-port S-parameters of a lossy stripline pair
// (LossyLine) whose length gives SDD21 the asked loss at the Nyquist
// frequency of the bit time, and prints its figures.
#pragma once

#include <CLI/CLI.hpp>

#include <functional>

void AddMakeChannelCommand(CLI::App& app, std::function<int()>& action);

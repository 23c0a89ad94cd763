// `tessalune channel FILE [--ports P] [--bit-time S] [--samples-per-bit N]
// [--fft-size N] [--csv OUT]`: reads a Touchstone channel (.s2p through S21,
// .s4p through SDD21), prints what was read and the channel's figures on the
// simulation grid (loss at Nyquist, DC gain, delay, energy before t = 0),
// and writes its impulse and step responses as CSV. Exit status 0, 1 when
// the file cannot be read or used, 2 for a usage error.
#pragma once

#include <CLI/CLI.hpp>

#include <functional>

void AddChannelCommand(CLI::App& app, std::function<int()>& action);

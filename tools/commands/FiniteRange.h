// The check of a floating option: a finite number between two bounds. CLI11's
// own Range lets "nan" through (every comparison with it is false), so a
// floating option takes this one instead.
#pragma once

#include <CLI/CLI.hpp>

// Accepts a number in [min, max]; rejects the rest, "nan" and "inf" included,
// as a usage error.
CLI::Validator FiniteRange(double min, double max);

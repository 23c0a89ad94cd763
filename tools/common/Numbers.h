// The numbers and number words the tools share: pi, and a value with an SI
// prefix ("1.25 GHz", "3.2 Gsamples/s").
#pragma once

#include <string>

constexpr double kPi = 3.14159265358979323846;

// VALUE in thousands up to tera (k, M, G, T) with `digits` significant
// digits, a space and the prefix before UNIT.
std::string SiPrefixed(double value, const std::string& unit, int digits);

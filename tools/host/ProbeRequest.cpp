#include "tools/host/ProbeRequest.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace {

std::string Exact(double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

}  // namespace

std::string InitSetting::Encode() const {
  return label + "\t" + Exact(sampleInterval) + "\t" + Exact(bitTime) + "\t" + std::to_string(rowSize) + "\t" +
         std::to_string(aggressors) + "\t" + parameters;
}

bool InitSetting::Decode(const std::string& text, InitSetting& setting) {
  std::vector<std::string> fields;
  size_t from = 0;
  for (int i = 0; i < 5; ++i) {
    const size_t tab = text.find('\t', from);
    if (tab == std::string::npos) return false;
    fields.push_back(text.substr(from, tab - from));
    from = tab + 1;
  }
  setting.label = fields[0];
  setting.sampleInterval = std::strtod(fields[1].c_str(), nullptr);
  setting.bitTime = std::strtod(fields[2].c_str(), nullptr);
  setting.rowSize = std::strtol(fields[3].c_str(), nullptr, 10);
  setting.aggressors = std::strtol(fields[4].c_str(), nullptr, 10);
  setting.parameters = text.substr(from);
  return setting.sampleInterval > 0 && setting.bitTime > 0 && setting.rowSize > 0 && setting.rowSize <= (1L << 24) &&
         setting.aggressors >= 0 && setting.aggressors <= 16;
}

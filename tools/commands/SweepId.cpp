#include "tools/commands/SweepId.h"

#include <cstdio>
#include <fstream>
#include <vector>

void SweepId::Mix(const void* data, size_t size) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  for (size_t i = 0; i < size; ++i) {
    a_ = (a_ ^ bytes[i]) * 0x100000001b3ull;
    b_ = (b_ ^ bytes[i]) * 0x100000001b3ull;
    b_ ^= b_ >> 29;
  }
}

void SweepId::AddText(const std::string& name, const std::string& value) {
  const std::string item = name + "=" + std::to_string(value.size()) + ":" + value + ";";
  Mix(item.data(), item.size());
}

void SweepId::AddNumber(const std::string& name, double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", value);
  AddText(name, text);
}

bool SweepId::AddFile(const std::string& name, const std::string& path, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot read " + path + " for the sweep id";
    return false;
  }
  AddText(name, path.substr(path.find_last_of('/') + 1));
  std::vector<char> chunk(1 << 16);
  while (in) {
    in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    Mix(chunk.data(), static_cast<size_t>(in.gcount()));
  }
  if (in.bad()) {
    error = "cannot read " + path + " for the sweep id";
    return false;
  }
  return true;
}

std::string SweepId::Text() const {
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(a_ ^ (b_ * 0x9e3779b97f4a7c15ull)));
  return text;
}

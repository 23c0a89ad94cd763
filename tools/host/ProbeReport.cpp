#include "tools/host/ProbeReport.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "tools/host/ProbePlatform.h"

using ProbePlatform::WriteAll;

bool ProbeReport::Open(const std::string& path) {
  fd_ = ProbePlatform::OpenAppend(path);
  return fd_ >= 0;
}

ProbeReport::~ProbeReport() {
  if (fd_ >= 0) ProbePlatform::Close(fd_);
}

void ProbeReport::Line(const std::string& key, const std::string& text) const {
  std::string line = key + " " + Escape(text) + "\n";
  if (fd_ >= 0) WriteAll(fd_, line.data(), line.size());
}

void ProbeReport::Number(const std::string& key, double value) const { Line(key, Exact(value)); }

std::string ProbeReport::Exact(double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

void ProbeReport::Fields(const std::string& key, const std::vector<std::string>& fields) const {
  std::string line = key;
  for (size_t i = 0; i < fields.size(); ++i) line += (i == 0 ? " " : "\t") + Escape(fields[i]);
  line += "\n";
  if (fd_ >= 0) WriteAll(fd_, line.data(), line.size());
}

void ProbeReport::Values(const std::string& key, const std::vector<double>& values, size_t points) const {
  const size_t step = values.size() > points ? (values.size() + points - 1) / points : 1;
  std::string line = key + " " + std::to_string(step);
  char text[32];
  for (size_t i = 0; i < values.size(); i += step) {
    std::snprintf(text, sizeof text, " %.9g", values[i]);
    line += text;
  }
  line += "\n";
  if (fd_ >= 0) WriteAll(fd_, line.data(), line.size());
}

std::vector<std::string> ProbeReport::Split(const std::string& fields) {
  std::vector<std::string> out;
  size_t from = 0;
  for (;;) {
    const size_t tab = fields.find('\t', from);
    out.push_back(Unescape(fields.substr(from, tab == std::string::npos ? std::string::npos : tab - from)));
    if (tab == std::string::npos) return out;
    from = tab + 1;
  }
}

std::vector<double> ProbeReport::Numbers(const std::string& values, size_t* stride) {
  std::vector<double> out;
  std::istringstream in(values);
  std::string word;
  size_t first = 1;
  in >> first;
  if (stride) *stride = first;
  while (in >> word) out.push_back(std::strtod(word.c_str(), nullptr));
  return out;
}

std::string ProbeReport::Unescape(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '\\') {
      out += '\\';
      ++i;
    } else if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x') {
      out += static_cast<char>(std::strtol(text.substr(i + 2, 2).c_str(), nullptr, 16));
      i += 3;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string ProbeReport::Escape(const std::string& text, size_t limit) {
  std::string out;
  const size_t shown = text.size() < limit ? text.size() : limit;
  for (size_t i = 0; i < shown; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '\\') {
      out += "\\\\";
    } else if (c < 0x20 || c == 0x7f) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
      out += escaped;
    } else {
      out += static_cast<char>(c);
    }
  }
  if (shown < text.size()) out += " ... (" + std::to_string(text.size()) + " bytes)";
  return out;
}

ProbeReport::Lines ProbeReport::Parse(const std::string& text) {
  Lines lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    const size_t blank = line.find(' ');
    const std::string key = line.substr(0, blank);
    const std::string value = blank == std::string::npos ? "" : line.substr(blank + 1);
    if (key == "done") {
      lines.done = true;
    } else if (key == "start") {
      lines.lastStart = value;
    } else {
      lines.values.emplace(key, value);
    }
  }
  return lines;
}

std::string ProbeReport::Lines::First(const std::string& key) const {
  auto it = values.find(key);
  return it == values.end() ? "" : it->second;
}

std::vector<std::string> ProbeReport::Lines::All(const std::string& key) const {
  std::vector<std::string> all;
  auto range = values.equal_range(key);
  for (auto it = range.first; it != range.second; ++it) all.push_back(it->second);
  return all;
}

double ProbeReport::Lines::Number(const std::string& key, double otherwise) const {
  const std::string text = First(key);
  if (text.empty()) return otherwise;
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  return end == text.c_str() ? otherwise : value;
}

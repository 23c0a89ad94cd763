#include "tools/host/ProbeRequest.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

#include "tools/host/ProbeReport.h"

namespace {

// Texts whole: a parameter string may be long.
constexpr size_t kTextLimit = size_t{1} << 24;

std::string Text(const std::string& text) { return ProbeReport::Escape(text, kTextLimit); }

bool Number(const std::string& text, double low, double high, double& value) {
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return !text.empty() && *end == '\0' && std::isfinite(value) && value >= low && value <= high;
}

bool Whole(const std::string& text, long low, long high, long& value) {
  double number = 0.0;
  if (!Number(text, static_cast<double>(low), static_cast<double>(high), number) || number != std::floor(number))
    return false;
  value = static_cast<long>(number);
  return true;
}

bool ReadInit(const std::string& fields, InitSetting& setting) {
  const std::vector<std::string> f = ProbeReport::Split(fields);
  if (f.size() != 6) return false;
  setting.label = f[0];
  setting.parameters = f[5];
  return Number(f[1], 1e-18, 1.0, setting.sampleInterval) && Number(f[2], 1e-18, 1.0, setting.bitTime) &&
         Whole(f[3], 1, 1L << 24, setting.rowSize) && Whole(f[4], 0, 64, setting.aggressors);
}

// One line "KEY VALUE" into the request; false when the value does not fit.
bool ReadLine(const std::string& key, const std::string& value, ProbeRequest& request) {
  long number = 0;
  if (key == "probe") return !(request.probe = value).empty();
  if (key == "library") return !(request.library = ProbeReport::Unescape(value)).empty();
  if (key == "getwave") return (request.getWaveExpected = value == "1") || value == "0";
  if (key == "samples") return Whole(value, 1, 1L << 24, request.samples);
  if (key == "cycles") return Whole(value, 1, 10000000, request.cycles);
  if (key == "threads") {
    if (!Whole(value, 1, 64, number)) return false;
    request.threads = static_cast<int>(number);
    return true;
  }
  if (key != "init") return false;
  InitSetting setting;
  if (!ReadInit(value, setting)) return false;
  request.inits.push_back(setting);
  return true;
}

}  // namespace

std::string ProbeRequestText::Write(const ProbeRequest& request) {
  std::ostringstream out;
  out << kFormat << "\nprobe " << request.probe << "\nlibrary " << Text(request.library) << "\ngetwave "
      << (request.getWaveExpected ? 1 : 0) << "\nsamples " << request.samples << "\nthreads " << request.threads
      << "\ncycles " << request.cycles << "\n";
  for (const InitSetting& s : request.inits) {
    out << "init " << Text(s.label) << "\t" << ProbeReport::Exact(s.sampleInterval) << "\t"
        << ProbeReport::Exact(s.bitTime) << "\t" << s.rowSize << "\t" << s.aggressors << "\t" << Text(s.parameters)
        << "\n";
  }
  return out.str();
}

bool ProbeRequestText::Read(const std::string& text, ProbeRequest& request, std::string& error) {
  std::istringstream in(text);
  std::string line;
  if (!std::getline(in, line) || line != kFormat) {
    error = "the request does not begin with '" + std::string(kFormat) + "' (a request of another tessalune?)";
    return false;
  }
  request = ProbeRequest{};
  for (long number = 2; std::getline(in, line); ++number) {
    const size_t blank = line.find(' ');
    if (blank == std::string::npos || !ReadLine(line.substr(0, blank), line.substr(blank + 1), request)) {
      error = "line " + std::to_string(number) +
              " of the request is none this probe reads: " + ProbeReport::Escape(line, 80);
      return false;
    }
  }
  if (request.probe.empty() || request.library.empty()) {
    error = "the request names no probe or no library";
    return false;
  }
  return true;
}

#include "tools/commands/SweepChannels.h"

#include "tools/common/ParameterFileText.h"

#include <sstream>

namespace {

std::string Folder(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// One line of a list: "PATH" or "PATH --ports ORDER"; false when it is
// neither.
bool ReadLine(const std::string& line, const std::string& folder, const std::string& defaultPorts,
              SweepChannel& channel) {
  std::istringstream words(line);
  std::string path, option, ports, extra;
  words >> path >> option >> ports >> extra;
  if (path.empty() || !extra.empty()) return false;
  if (!option.empty() && (option != "--ports" || ports.empty())) return false;
  channel.label = path;
  channel.path = path[0] == '/' ? path : folder + path;
  channel.ports = option.empty() ? defaultPorts : ports;
  return true;
}

}  // namespace

namespace SweepChannels {

bool ReadList(const std::string& listPath, const std::string& defaultPorts, std::vector<SweepChannel>& channels,
              std::string& error) {
  // Read whole with the parameter files' cap, so that an endless input
  // (/dev/zero) is refused.
  std::string text;
  const ParameterFileRead read = ReadParameterFile(listPath, text);
  if (read != ParameterFileRead::kOk) {
    error = "the channel list: " + ParameterFileError(read, listPath);
    return false;
  }
  std::istringstream in(text);
  std::string line;
  size_t number = 0;
  while (std::getline(in, line)) {
    ++number;
    const size_t hash = line.find('#');
    if (hash != std::string::npos) line.erase(hash);
    if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
    SweepChannel channel;
    if (!ReadLine(line, Folder(listPath), defaultPorts, channel)) {
      error = listPath + " line " + std::to_string(number) + ": not a Touchstone path with an optional --ports ORDER";
      return false;
    }
    channels.push_back(std::move(channel));
  }
  if (channels.empty()) error = listPath + ": no channel in the list";
  return !channels.empty();
}

bool Load(const SimSettings& base, std::vector<SweepChannel>& channels, std::string& error,
          const std::function<bool(size_t)>& wanted) {
  for (size_t i = 0; i < channels.size(); ++i) {
    SweepChannel& c = channels[i];
    c.settings = base;
    c.settings.channelPath = c.path;
    if (wanted && !wanted(i)) continue;
    std::string why;
    if (ChannelResponse::ParsePorts(c.ports, c.settings.ports, why)) why = SimulationRun::LoadChannel(c.settings);
    if (!why.empty()) {
      error = "channel " + c.label + ": " + why;
      return false;
    }
  }
  return true;
}

}  // namespace SweepChannels

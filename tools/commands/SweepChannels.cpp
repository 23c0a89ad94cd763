#include "tools/commands/SweepChannels.h"

#include "tools/common/ParameterFileText.h"

#include <sstream>
#include <vector>

namespace {

std::string Folder(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The words of a line: blanks separate them, "double quotes" hold blanks
// and # (a backslash in them takes the next character as it is), and # out
// of quotes starts a comment. Empty `why` when the line reads, else why not.
std::vector<std::string> Words(const std::string& line, std::string& why) {
  std::vector<std::string> words;
  for (size_t i = 0; i < line.size();) {
    if (line[i] == ' ' || line[i] == '\t' || line[i] == '\r') {
      ++i;
      continue;
    }
    if (line[i] == '#') break;
    std::string word;
    if (line[i] != '"') {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r' && line[i] != '#')
        word += line[i++];
    } else {
      for (++i; i < line.size() && line[i] != '"'; ++i)
        word += line[i] == '\\' && i + 1 < line.size() ? line[++i] : line[i];
      if (i++ >= line.size()) {
        why = "a quote is not closed";
        return {};
      }
      if (word.empty()) {
        why = "an empty quoted name";
        return {};
      }
    }
    words.push_back(word);
  }
  return words;
}

// One line of a list: "PATH" or "PATH --ports ORDER"; empty when it reads
// (or holds no channel: `channel.label` stays empty), else why it does not.
std::string ReadLine(const std::string& line, const std::string& folder, const std::string& defaultPorts,
                     SweepChannel& channel) {
  std::string why;
  const std::vector<std::string> words = Words(line, why);
  if (!why.empty() || words.empty()) return why;
  if (words.size() >= 2 && words[1] != "--ports")
    return "'" + words[1] + "' after the path: only --ports ORDER may follow it (quote a name with blanks or #)";
  if (words.size() == 2) return "--ports needs its ORDER";
  if (words.size() > 3) return "'" + words[3] + "' after --ports " + words[2] + ": nothing may follow";
  const std::string& path = words[0];
  channel.label = path;
  channel.path = path[0] == '/' ? path : folder + path;
  channel.ports = words.size() == 3 ? words[2] : defaultPorts;
  return {};
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
    SweepChannel channel;
    const std::string why = ReadLine(line, Folder(listPath), defaultPorts, channel);
    if (!why.empty()) {
      error = listPath + " line " + std::to_string(number) +
              ": not a Touchstone path with an optional --ports ORDER: " + why;
      return false;
    }
    if (!channel.label.empty()) channels.push_back(std::move(channel));
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

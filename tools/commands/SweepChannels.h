// The channels of a sweep: `--channel` repeated, or `--channels FILE`, one
// Touchstone path per line, relative to that file's folder; `#` starts a
// comment; a line may end with its own `--ports p-in,p-out,n-in,n-out`
// (otherwise the command line's --ports holds).
#pragma once

#include "tools/host/SimulationRun.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

struct SweepChannel {
  std::string label;     // the path as the command line or the list gives it
  std::string path;      // the path the file is read from
  std::string ports;     // its 4-port order, as given
  SimSettings settings;  // the sweep's settings with this channel loaded
};

namespace SweepChannels {

// The channels a list file names; false with `error` ("FILE line N: ...")
// when it cannot be read or a line is not a path with an optional --ports.
bool ReadList(const std::string& listPath, const std::string& defaultPorts, std::vector<SweepChannel>& channels,
              std::string& error);

// Reads the file of each channel `wanted` takes (every channel when it is
// empty) into a copy of `base`; the others keep no channel. False with
// `error` naming the channel when a file cannot be read.
bool Load(const SimSettings& base, std::vector<SweepChannel>& channels, std::string& error,
          const std::function<bool(size_t)>& wanted = {});

}  // namespace SweepChannels

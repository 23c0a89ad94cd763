// What one `tessalune sweep` process does, decided before any run: the
// channels, the points in the sweep's fixed order (channel outermost, then
// emphasis, Vreg and corner), the shard it runs, each point's stimulus seed,
// and the sweep id and header its results file carries.
#pragma once

#include "tools/commands/SweepChannels.h"
#include "tools/commands/SweepRecords.h"
#include "tools/commands/SweepShard.h"

#include <string>
#include <vector>

struct SweepPlan {
  std::vector<SweepChannel> channels;  // empty: no channel file (none, or --channel-loss)
  SweepAxes axes;
  SweepShard shard;
  SweepHeader header;              // id, axes, channels; what merge needs
  std::vector<SweepPoint> points;  // this process's points, in order

  std::vector<std::string> Labels() const;
};

// Reads the channels, settles the shard and builds this process's points.
// Returns 0, or prints "COMMAND: reason" and returns the exit status.
// With a receiver (--rx), every point becomes one per --rx-sweep value,
// innermost.
int PlanSweep(const char* command, SweepOptions& o, const AmiFileParams& ami, const AmiFileParams& rxAmi,
              const std::string& gridEmphasis, bool grid, SweepPlan& plan);

// The sweep id of these options and channels (see SweepId); false with
// `error` when a file cannot be read.
bool SweepIdOf(const SweepOptions& o, const std::vector<SweepChannel>& channels, std::string& id, std::string& error);

// The settings of a header's "run" (SweepHeader::run) back into options,
// with the channels' paths and port orders; false when it lacks a field.
bool OptionsFromRun(const nlohmann::json& run, SweepOptions& o, std::vector<SweepChannel>& channels);

// The PRBS register's first contents for a point: all ones without --seed;
// with it, a hash of the seed, the channel and the point's parameters, so
// that a point's stimulus is the same however the sweep is split.
uint32_t PointSeed(const SweepOptions& o, const std::string& channel, const std::string& parameters);

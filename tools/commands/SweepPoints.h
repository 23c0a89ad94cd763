// The points of `tessalune sweep`: every emphasis, Vreg and corner
// combination the .ami file gives, each one run of the simulation host, run
// on several threads.
#pragma once

#include "tools/commands/SimOptions.h"
#include "tools/host/AmiFileParams.h"
#include "tools/host/AmiModelLoader.h"
#include "tools/host/SimulationRun.h"
#include "tools/linkbench/eye/EyeDensity.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

struct SweepOptions {
  SimCommandLine line;
  std::string gridPath;
  int gridEmphasis = 0;
  bool gridEmphasisGiven = false;
  double ber = 1e-12;   // the BER the best emphasis is chosen at
  std::string rxSweep;  // NAME=V1,V2,...: a receiver parameter's values, one more axis
  unsigned jobs = 0;
  std::vector<std::string> channelPaths;  // --channel, repeated
  std::string channelList;                // --channels FILE
  std::string shard;                      // --shard I/N
  size_t shards = 0;                      // --shards N (the index from the array task)
  std::string resultsPath;                // --results FILE
  bool tablesOnly = false;                // --tables-only
  uint64_t seed = 0;                      // --seed
  bool seedGiven = false;
};

// The values each parameter takes in the sweep.
struct SweepAxes {
  std::vector<std::string> emphases, vregs, corners;
  std::string rxName;                 // the receiver parameter --rx-sweep varies (empty: none)
  std::vector<std::string> rxValues;  // its values, the innermost axis
  size_t RxCount() const { return rxValues.empty() ? 1 : rxValues.size(); }
  size_t PerLevel() const { return vregs.size() * corners.size() * RxCount(); }
};

struct SweepPoint {
  std::string emphasis, vreg, corner;
  std::string parameters;                 // the AMI parameter string
  std::string rxValue;                    // the --rx-sweep value (empty: none)
  std::string rxParameters;               // the receiver's AMI parameter string (empty: no receiver)
  bool drawn = false;                     // a panel of the grid
  size_t index = 0;                       // in the sweep's point order
  size_t channel = 0;                     // of the sweep's channels
  const SimSettings* settings = nullptr;  // this point's, when not the sweep's shared ones
  uint32_t seed = 0xFFFFFFFFu;            // the stimulus PRBS register's first contents
  std::unique_ptr<EyeDensity> density;
  SimResult result;
};

// The values a parameter takes in the sweep: every integer of a Range, or
// the entries of a List; 0 .. `fallbackLast` when the .ami file does not say.
std::vector<std::string> SweepValues(const AmiFileParams& ami, const std::string& name, int fallbackLast);

// Every combination, emphasis outermost, with its parameter string.
bool BuildPoints(const AmiFileParams& ami, const SweepAxes& axes, const std::string& gridEmphasis, bool grid,
                 std::vector<SweepPoint>& points, std::string& error);

// The BER targets of a sweep's runs: 1e-6, 1e-9, 1e-12 and `ber`, highest
// first.
std::vector<double> SweepBerTargets(double ber);

// Whether a run gave an eye.
bool Measured(const SweepPoint& p);

// One point's run (with its eye density when it is drawn), in this thread;
// out of memory fails it alone.
void RunPoint(const LinkModels& models, const SimSettings& shared, double ber, SweepPoint& p);

// Runs every point on `jobs` threads (fewer when the system gives fewer),
// each with its own settings where it has them; `done` (may be empty) gets
// each point as it finishes, on the thread that ran it. Returns the wall
// time in seconds.
double RunPoints(const LinkModels& models, const SimSettings& s, double ber, std::vector<SweepPoint>& points,
                 unsigned jobs, const std::function<void(const SweepPoint&)>& done = {});

// The grid at the best emphasis per Vreg and corner: those runs again, now
// gathering their eye densities and contours.
std::vector<SweepPoint> RunBest(const LinkModels& models, const SimSettings& s, double ber,
                                const std::vector<const SweepPoint*>& best, unsigned jobs);

// The threads a sweep runs on: --jobs (default one per core, no more than
// the runs), or fewer when that many runs at once would not fit in the
// memory the system has; `note` then says so.
unsigned SizeJobs(const SweepOptions& o, size_t runs, std::string& note);

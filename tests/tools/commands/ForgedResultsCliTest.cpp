// Hostile input on the command line and in results files: empty file
// options are usage errors; a results header is checked before its sizes
// are used, its settings as the options would be, and merge --grid loads
// only the library the user names.
#include "tools/commands/SweepPlan.h"

#include "tests/TestFolder.h"
#include "tests/tools/CliRun.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

using nlohmann::json;

TEST(ForgedResultsCli, AnEmptyFileOptionIsAUsageError) {
  const char* commands[] = {"sim --model ''",         "sim --ami ''",       "sim --rx ''",
                            "sim --rx x --rx-ami ''", "sweep --channel ''", "sweep --channels ''",
                            "sweep --results ''",     "sim --eye ''",       "merge x --model ''"};
  for (const char* command : commands) {
    const CliResult r = RunCli(command, true);
    EXPECT_EQ(r.status, 2) << command << "\n" << r.output;
    EXPECT_NE(r.output.find("an empty path names no file"), std::string::npos) << command << "\n" << r.output;
  }
}

// Axes whose sizes multiply past 2^64 (the point count a forger writes is
// the wrapped product): refused as a header, not an abort; --missing then
// has no sweep to speak of.
TEST(ForgedResultsCli, AHeaderWhoseAxesOverflowIsRefused) {
  TestFolder folder;
  const std::vector<std::string> values(70000, "1");
  uint64_t points = 1;
  for (int i = 0; i < 4; ++i) points *= values.size();
  const json header = {{"sweep", "0123456789abcdef"},
                       {"header",
                        {{"points", points},
                         {"shards", 1},
                         {"ber", 1e-12},
                         {"bitTime", 1e-10},
                         {"wantsBer", false},
                         {"receiver", true},
                         {"axes", json::array({json::array({"emphasis", values}), json::array({"Vreg", values}),
                                               json::array({"corner", values}), json::array({"rx:x", values})})},
                         {"channels", json::array({{{"label", ""}, {"describe", json::array()}}})}}}};
  const std::string path = folder.Write("forged.jsonl", header.dump() + "\n");
  for (const char* more : {"", " --missing"}) {
    const CliResult r = RunCli("merge '" + path + "'" + more, true);
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_NE(r.output.find("is a sweep header whose channels, axes and point count do not agree"), std::string::npos)
        << r.output;
    EXPECT_NE(r.output.find("no results of a sweep in the files given"), std::string::npos) << r.output;
  }
}

#ifdef TESSALUNE_MODEL_BUILT

namespace {

// A sweep's results file, and the same file with its header's run settings
// changed and every sweep id recomputed for them, as anyone can.
struct ForgedSweep {
  TestFolder folder;
  std::string results;
  std::string ami = std::string(TESSALUNE_SOURCE_DIR) + "/ibis/tessalune_tx.ami";

  ForgedSweep() {
    results = (folder.path / "a.jsonl").string();
    const CliResult r = RunCli("sweep --bits 200 --samples-per-bit 8 --results '" + results + "'", true);
    EXPECT_EQ(r.status, 0) << r.output;
  }

  std::string Named() const { return std::string(" --model '") + TESSALUNE_TX_LIBRARY + "' --ami '" + ami + "' "; }

  std::string Forge(const std::string& name, const std::string& field, const json& value) const {
    std::istringstream in(ReadFile(results));
    std::string line, out, id;
    while (std::getline(in, line)) {
      json j = json::parse(line);
      if (j.contains("header")) {
        j["header"]["run"][field] = value;
        SweepOptions o;
        std::vector<SweepChannel> channels;
        if (OptionsFromRun(j["header"]["run"], o, channels)) {
          o.ber = j["header"]["ber"].get<double>();
          std::string error;
          EXPECT_TRUE(SweepIdOf(o, channels, id, error)) << error;
        }
      }
      if (!id.empty()) j["sweep"] = id;
      out += j.dump() + "\n";
    }
    return folder.Write(name, out);
  }
};

}  // namespace

TEST(ForgedResultsCli, MergeGridHoldsTheHeaderToTheOptionsRanges) {
  ForgedSweep sweep;
  const std::pair<const char*, json> forged[] = {{"samplesPerBit", 0}, {"prbs", 5},      {"bits", 0},
                                                 {"block", 0},         {"bitTime", 0.0}, {"samplesPerBit", 1e300}};
  for (const auto& f : forged) {
    const std::string path = sweep.Forge("forged.jsonl", f.first, f.second);
    const CliResult r = RunCli(
        "merge '" + path + "'" + sweep.Named() + "--grid '" + (sweep.folder.path / "g.png").string() + "'", true);
    EXPECT_EQ(r.status, 1) << f.first << "\n" << r.output;
    // 1e300 is no whole number: a field of no value rather than one out of range.
    const bool outOfRange = f.second.is_number_integer() || f.second == 0.0;
    EXPECT_NE(r.output.find(outOfRange ? "--grid: the results' header holds settings no sweep runs with"
                                       : "--grid: the results do not say how the sweep ran"),
              std::string::npos)
        << f.first << "\n"
        << r.output;
    EXPECT_FALSE(std::filesystem::exists(sweep.folder.path / "g.png")) << f.first;
  }
}

// The library merge --grid loads is the one named on the command line, and
// it must be the sweep's: a header cannot choose it.
TEST(ForgedResultsCli, MergeGridLoadsOnlyTheNamedLibrary) {
  ForgedSweep sweep;
  const std::string png = " --grid '" + (sweep.folder.path / "g.png").string() + "'";
  const CliResult unnamed = RunCli("merge '" + sweep.results + "'" + png, true);
  EXPECT_EQ(unnamed.status, 1);
  EXPECT_NE(unnamed.output.find("--grid runs the sweep's model again: name its library with --model"),
            std::string::npos)
      << unnamed.output;
  const std::string forged = sweep.Forge("other.jsonl", "model", FAKE_AMI_MODEL);
  const CliResult other = RunCli("merge '" + forged + "'" + sweep.Named() + png, true);
  EXPECT_EQ(other.status, 1);
  EXPECT_NE(other.output.find(std::string(TESSALUNE_TX_LIBRARY) + " is not the file the sweep ran"), std::string::npos)
      << other.output;
  const CliResult named = RunCli("merge '" + sweep.results + "'" + sweep.Named() + png, true);
  EXPECT_EQ(named.status, 0) << named.output;
}

#endif

#ifdef TESSALUNE_MODEL_BUILT

// The same point twice with other figures: neither file is to be trusted
// with the other, and both are named.
TEST(ForgedResultsCli, DuplicatesThatDisagreeAreRefused) {
  ForgedSweep sweep;
  std::istringstream in(ReadFile(sweep.results));
  std::string header, point;
  std::getline(in, header);
  std::getline(in, point);
  json j = json::parse(point);
  j["eye"]["heightV"] = j["eye"]["heightV"].get<double>() + 0.25;
  const std::string other = sweep.folder.Write("b.jsonl", header + "\n" + j.dump() + "\n");
  const CliResult r = RunCli("merge '" + sweep.results + "' '" + other + "'", true);
  EXPECT_EQ(r.status, 1) << r.output;
  // Points are recorded as they finish, so the first line is any point.
  const std::string index = std::to_string(j["point"].get<long long>());
  EXPECT_NE(r.output.find("point " + index + " is recorded twice with different figures, in " + sweep.results +
                          " and in " + other + " line 2"),
            std::string::npos)
      << r.output;
  const std::string same = sweep.folder.Write("c.jsonl", header + "\n" + point + "\n");
  EXPECT_EQ(RunCli("merge '" + sweep.results + "' '" + same + "'").status, 0);
}

#endif

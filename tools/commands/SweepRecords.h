// The JSON Lines results of a sweep: a header record when a process opens
// the file, then one record per point as each finishes. A record is one
// line, written with one write() (whole or not at all), so that a process
// stopped half way loses only the points it had not finished.
//
// Header: {"sweep": ID, "header": {"points", "shards", "ber", "bitTime",
//   "wantsBer", "receiver", "axes": [["emphasis", [values]], ["Vreg", ...],
//   ["corner", ...], and with --rx-sweep ["rx:NAME", ...]], "channels": [{"label",
//   "describe": [lines]}, ...], "run": {"model", "ami", "prbs", "bits",
//   "bitTime", "samplesPerBit", "block", "channelLoss", "noise", "rj",
//   "berAsked", "seed", "params", "channels": [{"path", "ports"}]}}}
// Point:  {"sweep": ID, "point": INDEX, "channel": LABEL, "axes": {NAME:
//   VALUE, ..., "rx:NAME": VALUE with --rx-sweep}, "parameters": the AMI
//   string, "rxParameters": the receiver's (empty without one), "ok": {"init", "getWave",
//   "close", "stream"}, "message", "error", "eye": {"valid", "problem",
//   "heightV", "widthUi", "bitTime"}, "atBer": {"ber", "open", "heightV",
//   "widthUi"} or null, "berValid", "seed" (the PRBS register's first
//   contents), "getWaveSeconds", "seconds" (the run's), "finished" (Unix
//   time), "host"}
// A point's meaning rests on its axes' names and values, not on the index
// alone: a sweep over more axes adds names, and the index (innermost axis
// fastest) stays the key within one sweep id.
#pragma once

#include "tools/commands/SweepPoints.h"

#include <nlohmann/json.hpp>

#include <mutex>
#include <string>
#include <vector>

// What the tables need of one point's run, and what its record carries.
struct PointFigures {
  bool initOk = false, getWaveOk = false, closeOk = false, streamOk = false;
  std::string message, error;
  bool eyeValid = false;
  std::string eyeProblem;
  double eyeHeightV = 0, eyeWidthUi = 0, eyeBitTime = 0;
  bool berValid = false;
  bool atBer = false;  // figures at --ber follow
  bool berOpen = false;
  double berHeightV = 0, berWidthUi = 0;
  double getWaveSeconds = 0;

  static PointFigures Of(const SimResult& r, double ber);
  // The run as far as the tables read it.
  SimResult Result(double ber) const;
};

// What every results file of one sweep states once: enough to print its
// tables without the channel files or the model.
struct SweepHeader {
  // The most points a sweep may have: merge keeps a few dozen bytes for each.
  static constexpr size_t kMaxPoints = 100'000'000;

  std::string id;
  size_t points = 0;
  size_t shards = 1;
  double ber = 1e-12;
  double bitTime = 0;
  bool wantsBer = false;
  bool receiver = false;  // the points ran with a receiver (--rx)
  SweepAxes axes;
  std::vector<std::string> channels;
  std::vector<std::vector<std::string>> describe;  // per channel
  // How the runs were made (absolute paths of the model, .ami and channel
  // files, the stimulus options), for a picture that runs points again.
  nlohmann::json run;

  size_t PerChannel() const { return axes.emphases.size() * axes.PerLevel(); }
  // The points of `channels` channels over `axes`; false when they are more
  // than kMaxPoints (the product is checked before it can wrap around).
  static bool CountPoints(size_t channels, const SweepAxes& axes, size_t& points);
  nlohmann::json Json() const;
  static bool FromJson(const nlohmann::json& j, SweepHeader& header);
};

namespace SweepRecords {

// A figure that is not finite, as a record writes it ("inf", "-inf" or
// "nan"; a null, as older records have it, reads as NaN); false for any
// other text.
bool NonFinite(const std::string& text, double& value);

// `rxName`: the --rx-sweep parameter (empty: none).
nlohmann::json PointRecord(const std::string& id, size_t index, const std::string& channel, const SweepPoint& p,
                           double ber, const std::string& host, const std::string& rxName = {});

}  // namespace SweepRecords

// Appends records to a results file, one write() per line; safe to call from
// several threads. A file whose last line was cut short gets a line end
// first, so that the next record starts on a line of its own.
class ResultsWriter {
 public:
  ~ResultsWriter();
  bool Open(const std::string& path, std::string& error);
  bool Write(const nlohmann::json& record, std::string& error);

 private:
  std::mutex mutex_;
  int fd_ = -1;
  bool failed_ = false;
  std::string path_;
};

// Reads one line of a sweep's results file without building a JSON tree:
// the fields a point's record must have are taken as the parser meets them
// (a few microseconds a record, so that `merge` reads 10^6 records in
// seconds). A header line is only recognised; its few fields are read as a
// tree (SweepHeader::FromJson).
#pragma once

#include "tools/commands/SweepRecords.h"

#include <string>

struct RecordLine {
  enum class Kind { kUnreadable, kHeader, kPoint };
  Kind kind = Kind::kUnreadable;
  std::string sweep;    // the sweep id (a point's)
  std::string channel;  // a point's channel
  size_t index = 0;     // a point's index
  PointFigures figures;
};

// A point's record with every field it must have, of the right kind, is
// kPoint; a JSON object with a "header" is kHeader; anything else kUnreadable.
RecordLine ReadRecordLine(const std::string& line);

// A sweep's records: a point's figures come back from its JSON line bit for
// bit (so that merged tables are the single-machine ones), a record missing
// a field is refused, and the writer keeps a cut line from spoiling the
// next record.
#include "tools/commands/SweepRecords.h"

#include "tools/commands/SweepRecordReader.h"

#include "tests/TestFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

SweepPoint Point() {
  SweepPoint p;
  p.emphasis = "3";
  p.vreg = "1";
  p.corner = "2";
  p.parameters = "(m (emphasis 3) (Vreg 1) (corner 2))";
  p.seed = 12345;
  SimResult& r = p.result;
  r.initOk = r.getWaveOk = r.closeOk = r.streamOk = true;
  r.message = "a \"quoted\" message\nwith a line end";
  r.eye.valid = true;
  r.eye.heightV = 0.1 + 0.2;  // not a short decimal
  r.eye.widthUi = 1.0 / 3.0;
  r.eye.bitTime = 1e-10;
  r.ber.valid = true;
  r.ber.targets.push_back(BerTargetFigures{1e-12, true, -2.5e-300, 0.25, 0.0, 0.6640625, 0, 0});
  r.getWaveSeconds = 0.125;
  return p;
}

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

TEST(SweepRecords, APointComesBackBitForBit) {
  const SweepPoint p = Point();
  const std::string line = SweepRecords::PointRecord("abc", 17, "lane 1.s4p", p, 1e-12, "node7").dump();
  ASSERT_EQ(line.find('\n'), std::string::npos);  // one record, one line
  const RecordLine read = ReadRecordLine(line);
  ASSERT_EQ(read.kind, RecordLine::Kind::kPoint);
  EXPECT_EQ(read.index, 17u);
  EXPECT_EQ(read.sweep, "abc");
  EXPECT_EQ(read.channel, "lane 1.s4p");
  const PointFigures& f = read.figures;
  const PointFigures want = PointFigures::Of(p.result, 1e-12);
  EXPECT_TRUE(f.initOk && f.getWaveOk && f.closeOk && f.streamOk && f.eyeValid && f.berValid && f.atBer && f.berOpen);
  EXPECT_EQ(f.message, want.message);
  EXPECT_TRUE(SameBits(f.eyeHeightV, want.eyeHeightV));
  EXPECT_TRUE(SameBits(f.eyeWidthUi, want.eyeWidthUi));
  EXPECT_TRUE(SameBits(f.berHeightV, want.berHeightV));
  EXPECT_TRUE(SameBits(f.berWidthUi, want.berWidthUi));
  // What the tables read of the result is what the run gave.
  const SimResult r = f.Result(1e-12);
  ASSERT_NE(r.ber.At(1e-12), nullptr);
  EXPECT_TRUE(SameBits(r.ber.At(1e-12)->widthUi, 0.6640625));
  EXPECT_TRUE(SameBits(r.eye.WidthSeconds(), p.result.eye.WidthSeconds()));
  const auto j = nlohmann::json::parse(line);
  EXPECT_EQ(j["axes"]["emphasis"], "3");
  EXPECT_EQ(j["seed"], 12345);
  EXPECT_EQ(j["host"], "node7");
}

// Figures that are not finite come back as what they were (inf stays inf,
// not the NaN a JSON null would give), so that merge prints what the sweep
// printed; a channel named like one stays a name.
TEST(SweepRecords, FiguresThatAreNotFiniteComeBackAsThemselves) {
  SweepPoint p = Point();
  p.result.eye.heightV = HUGE_VAL;
  p.result.eye.widthUi = -HUGE_VAL;
  p.result.ber.targets[0].heightV = std::nan("");
  const RecordLine read = ReadRecordLine(SweepRecords::PointRecord("abc", 1, "inf", p, 1e-12, "h").dump());
  ASSERT_EQ(read.kind, RecordLine::Kind::kPoint);
  EXPECT_EQ(read.channel, "inf");
  EXPECT_EQ(read.figures.eyeHeightV, HUGE_VAL);
  EXPECT_EQ(read.figures.eyeWidthUi, -HUGE_VAL);
  EXPECT_TRUE(std::isnan(read.figures.berHeightV));
}

TEST(SweepRecords, ARecordMissingAFigureIsRefused) {
  const auto j = SweepRecords::PointRecord("abc", 1, "", Point(), 1e-12, "h");
  ASSERT_EQ(ReadRecordLine(j.dump()).kind, RecordLine::Kind::kPoint);
  for (const char* field : {"sweep", "point", "channel", "ok", "eye", "atBer", "message", "berValid"}) {
    auto k = j;
    k.erase(field);
    EXPECT_EQ(ReadRecordLine(k.dump()).kind, RecordLine::Kind::kUnreadable) << field;
  }
  // Wrong kinds, a figure at --ber missing, and lines that are not records.
  auto k = j;
  k["eye"]["heightV"] = "0.3";
  EXPECT_EQ(ReadRecordLine(k.dump()).kind, RecordLine::Kind::kUnreadable);
  k = j;
  k["point"] = -1;
  EXPECT_EQ(ReadRecordLine(k.dump()).kind, RecordLine::Kind::kUnreadable);
  k = j;
  k["atBer"].erase("open");
  EXPECT_EQ(ReadRecordLine(k.dump()).kind, RecordLine::Kind::kUnreadable);
  k = j;
  k["atBer"] = nullptr;  // no figures at --ber is a record
  EXPECT_EQ(ReadRecordLine(k.dump()).kind, RecordLine::Kind::kPoint);
  const std::string line = j.dump();
  for (const std::string& bad : {line.substr(0, line.size() - 1), line + "x", line + line, std::string("[]"),
                                 std::string(""), std::string("{\"header\":{}} trailing")})
    EXPECT_EQ(ReadRecordLine(bad).kind, RecordLine::Kind::kUnreadable) << bad;
  // A header is recognised (its fields are read as a tree), a message that
  // quotes one is not a header.
  EXPECT_EQ(ReadRecordLine("{\"header\":{\"points\":1},\"sweep\":\"abc\"}").kind, RecordLine::Kind::kHeader);
  k = j;
  k["message"] = "{\"header\":{}}";
  EXPECT_EQ(ReadRecordLine(k.dump()).kind, RecordLine::Kind::kPoint);
}

TEST(SweepRecords, AHeaderComesBack) {
  SweepHeader h;
  h.id = "0123456789abcdef";
  h.axes = SweepAxes{{"0", "1"}, {"0"}, {"0", "1", "2"}, "gain", {"1", "2"}};  // a receiver's axis, innermost
  h.channels = {"a.s4p", "b.s4p"};
  h.describe = {{"a"}, {"b"}};
  h.points = 24;
  h.receiver = true;
  h.shards = 4;
  h.ber = 1e-9;
  h.bitTime = 5e-11;
  h.wantsBer = true;
  SweepHeader back;
  ASSERT_TRUE(SweepHeader::FromJson(nlohmann::json::parse(h.Json().dump()), back));
  EXPECT_EQ(back.id, h.id);
  EXPECT_EQ(back.axes.corners, h.axes.corners);
  EXPECT_EQ(back.axes.rxName, "gain");
  EXPECT_EQ(back.axes.rxValues, h.axes.rxValues);
  EXPECT_TRUE(back.receiver);
  EXPECT_EQ(back.channels, h.channels);
  EXPECT_EQ(back.shards, 4u);
  auto wrong = h.Json();
  wrong["header"]["points"] = 12;  // not channels x settings
  EXPECT_FALSE(SweepHeader::FromJson(wrong, back));
}

TEST(SweepRecords, TheWriterEndsALineCutShort) {
  TestFolder folder;
  const std::string path = folder.Write("r.jsonl", "{\"sweep\":\"x\",\"po");
  std::string error;
  {
    ResultsWriter w;
    ASSERT_TRUE(w.Open(path, error)) << error;
    ASSERT_TRUE(w.Write(nlohmann::json{{"a", 1}}, error)) << error;
  }
  EXPECT_EQ(ReadFile(path), "{\"sweep\":\"x\",\"po\n{\"a\":1}\n");
  ResultsWriter folderAsFile;
  EXPECT_FALSE(folderAsFile.Open(folder.path.string(), error));
  EXPECT_NE(error.find("cannot open the results file"), std::string::npos);
}

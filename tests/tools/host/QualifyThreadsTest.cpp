// The probe of `qualify`'s instances.threads run in this process, without
// the child a check runs it in: our two models on four threads at once give
// one instance's output. Its own program, so that the ThreadSanitizer build
// (preset tsan) runs it and watches the threads of the probe and the models.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/TestFolder.h"
#include "tools/host/ProbeReport.h"
#include "tools/host/QualifyProbes.h"

namespace {

// The threads probe's fields: count, worst difference, first differing
// sample (-1: none), thread.
std::vector<std::string> RunThreads(const std::string& library, const std::string& parameters) {
  TestFolder folder;
  const std::string path = folder.path.string() + "/report";
  ProbeRequest request;
  request.probe = "threads";
  request.library = library;
  request.samples = 4096;
  InitSetting setting;
  setting.label = "the defaults";
  setting.parameters = parameters;
  request.inits = {setting};
  {
    ProbeReport report;
    EXPECT_TRUE(report.Open(path));
    EXPECT_TRUE(QualifyProbes::RunProbe(request, report));
  }
  const ProbeReport::Lines lines = ProbeReport::Parse(ReadFile(path));
  EXPECT_TRUE(lines.First("error").empty()) << lines.First("error");
  return ProbeReport::Split(lines.First("threads"));
}

}  // namespace

TEST(QualifyThreads, OurTransmitterOnFourThreadsGivesOneInstancesOutput) {
  EXPECT_EQ(RunThreads(TESSALUNE_TX_LIBRARY, "(tessalune_tx)"), (std::vector<std::string>{"4", "0", "-1", "0"}));
}

TEST(QualifyThreads, OurReceiverOnFourThreadsGivesOneInstancesOutput) {
  EXPECT_EQ(RunThreads(TESSALUNE_RX_LIBRARY, "(tessalune_rx)"), (std::vector<std::string>{"4", "0", "-1", "0"}));
}

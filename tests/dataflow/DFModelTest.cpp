#include "dataflow/DFModel.h"
#include "dataflow/ReportError.h"

#include <gtest/gtest.h>

#include <vector>

using namespace OrvennModelBuilder;

namespace {

struct Plain : DFModel {};

// Records each call and answers with a fixed Initialize result.
struct Member : DFModel {
  Member(std::vector<int>& log, int id, bool ok) : log(log), id(id), ok(ok) {}
  bool Initialize() override {
    log.push_back(id);
    return ok;
  }
  std::vector<int>& log;
  int id;
  bool ok;
};

// A network that ANDs its members without stopping at the first failure.
struct Composite : DFModel {
  Composite(std::vector<int>& log) : a(log, 1, true), b(log, 2, false), c(log, 3, true) {}
  bool Initialize() override {
    bool ok = true;
    ok = a.Initialize() && ok;
    ok = b.Initialize() && ok;
    ok = c.Initialize() && ok;
    return ok;
  }
  Member a, b, c;
};

}  // namespace

TEST(DFModel, DefaultLifecycleSucceeds) {
  Plain p;
  DFModel& m = p;
  EXPECT_TRUE(m.Setup());
  EXPECT_TRUE(m.Initialize());
  EXPECT_TRUE(m.Run());
  EXPECT_TRUE(m.Finalize());
  EXPECT_TRUE(m.CheckParameters());
}

TEST(DFModel, CompositeVisitsEveryMemberAfterAFailure) {
  std::vector<int> log;
  Composite net(log);
  EXPECT_FALSE(net.Initialize());
  EXPECT_EQ(log, (std::vector<int>{1, 2, 3}));
}

TEST(ReportError, WritesOneBareLineToStandardError) {
  Plain p;
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  ReportError(&p, "BlockSize must be >= 1");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "BlockSize must be >= 1\n");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

#include "PinStorage.h"

#include "blocks/Mux.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace OrvennModelBuilder;

namespace {

// A multiplexer over `values.size()` one-sample inputs.
struct MuxFixture {
  explicit MuxFixture(std::vector<double> values) : inputs(values.size()) {
    mux.Input.Resize(uint32_t(values.size()));
    for (size_t i = 0; i < values.size(); ++i) {
      inputs[i] = {values[i]};
      AttachPin(*mux.Input.At(uint32_t(i)), inputs[i]);
    }
    AttachPin(mux.Output, out);
  }
  // Runs with `control`; returns what was written to standard error.
  std::string RunWith(int32_t control, bool expected) {
    mux.Control = control;
    testing::internal::CaptureStderr();
    EXPECT_EQ(mux.Run(), expected);
    return testing::internal::GetCapturedStderr();
  }
  Mux<CircularBuffer<double>> mux;
  std::vector<std::vector<double>> inputs;
  std::vector<double> out{-9.0};
};

}  // namespace

TEST(Mux, SetupRejectsBlockSizeBelowOne) {
  for (int32_t bad : {0, -5}) {
    Mux<CircularBuffer<double>> mux;
    mux.Input.Resize(2);
    mux.BlockSize = bad;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(mux.Setup());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "BlockSize must be >= 1\n");
    EXPECT_EQ(mux.Output.maxBlockSize, 1u);
  }
}

TEST(Mux, SetupSetsEveryPinBlockSize) {
  Mux<CircularBuffer<double>> mux;
  mux.Input.Resize(3);
  mux.BlockSize = 4;
  ASSERT_TRUE(mux.Setup());
  EXPECT_EQ(mux.Output.blockSize, 4u);
  for (uint32_t i = 0; i < 3; ++i) {
    EXPECT_EQ(mux.Input.At(i)->blockSize, 4u);
    EXPECT_EQ(mux.Input.At(i)->maxBlockSize, 4u);
  }
}

TEST(Mux, PassesTheSelectedInput) {
  MuxFixture f({0.1, 0.2, 0.3});
  ASSERT_TRUE(f.mux.Setup());
  EXPECT_EQ(f.RunWith(2, true), "");
  EXPECT_EQ(f.out[0], 0.3);
  EXPECT_EQ(f.RunWith(0, true), "");
  EXPECT_EQ(f.out[0], 0.1);
}

TEST(Mux, ControlOutOfRangeReportsTheValidRange) {
  MuxFixture f({0.1, 0.2, 0.3});
  ASSERT_TRUE(f.mux.Setup());
  f.RunWith(1, true);
  EXPECT_EQ(f.RunWith(3, false),
            "Control input signal value is equal to 3.  There are 3 inputs connected.  "
            "The valid control input range is [0,2].\n");
  EXPECT_EQ(f.out[0], 0.2);  // the output keeps its value
  EXPECT_EQ(f.RunWith(-1, false),
            "Control input signal value is equal to -1.  There are 3 inputs connected.  "
            "The valid control input range is [0,2].\n");
  EXPECT_EQ(f.RunWith(INT32_MIN, false),
            "Control input signal value is equal to -2147483648.  There are 3 inputs "
            "connected.  The valid control input range is [0,2].\n");
  EXPECT_EQ(f.RunWith(0, true), "");  // recovers at the next valid firing
  EXPECT_EQ(f.out[0], 0.1);
}

TEST(Mux, SingleInputUsesSingularWording) {
  MuxFixture f({0.5});
  ASSERT_TRUE(f.mux.Setup());
  EXPECT_EQ(f.RunWith(1, false),
            "Control input signal value is equal to 1.  There is 1 input connected.  "
            "The valid control input range is [0,0].\n");
}

TEST(Mux, NoInputsRejectsEveryControlValue) {
  MuxFixture f({});
  ASSERT_TRUE(f.mux.Setup());
  EXPECT_EQ(f.RunWith(0, false),
            "Control input signal value is equal to 0.  There are no inputs connected, so no "
            "control input value is valid.\n");
  EXPECT_EQ(f.out[0], -9.0);
}

TEST(Mux, BlockSizeTwoWrapsTheOutput) {
  Mux<CircularBuffer<double>> mux;
  mux.Input.Resize(2);
  mux.BlockSize = 2;
  std::vector<double> a{1.0, 2.0, 3.0}, b{4.0, 5.0, 6.0}, out(4, 0.0);
  AttachPin(*mux.Input.At(0), a);
  AttachPin(*mux.Input.At(1), b, 2);
  ASSERT_TRUE(mux.Setup());
  AttachPin(mux.Output, out, 3);
  mux.Control = 1;
  EXPECT_TRUE(mux.Run());
  EXPECT_EQ(out, (std::vector<double>{4.0, 0.0, 0.0, 6.0}));
}

#include "PinStorage.h"

#include "blocks/Add.h"
#include "blocks/ConstUnTimed.h"
#include "blocks/Fork.h"
#include "blocks/ScalarToScalar.h"
#include "blocks/TypeConverterRound.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace OrvennModelBuilder;

TEST(Add, SumsBranchesFromPositiveZero) {
  Add<double> add;
  add.Input.Resize(2);
  std::vector<double> a{1.5}, b{-0.25}, out{7.0};
  AttachPin(*add.Input.At(0), a);
  AttachPin(*add.Input.At(1), b);
  AttachPin(add.Output, out);
  ASSERT_TRUE(add.Setup());
  EXPECT_TRUE(add.Run());
  EXPECT_EQ(out[0], 1.25);

  a[0] = -0.0;
  b[0] = -0.0;
  EXPECT_TRUE(add.Run());
  EXPECT_EQ(out[0], 0.0);
  EXPECT_FALSE(std::signbit(out[0]));
}

TEST(Add, EmptyBusWritesZero) {
  Add<double> add;
  std::vector<double> out{3.0};
  AttachPin(add.Output, out);
  EXPECT_TRUE(add.Run());
  EXPECT_EQ(out[0], 0.0);
}

TEST(Add, ReadsEachBranchAtItsPosition) {
  Add<double> add;
  add.Input.Resize(2);
  std::vector<double> a{0.0, 2.0}, b{0.0, 0.0, 3.0}, out{0.0, 0.0};
  AttachPin(*add.Input.At(0), a, 1);
  AttachPin(*add.Input.At(1), b, 2);
  AttachPin(add.Output, out, 1);
  add.Run();
  EXPECT_EQ(out, (std::vector<double>{0.0, 5.0}));
}

TEST(Fork, CopiesInputToEveryBranch) {
  Fork<CircularBuffer<int>> fork;
  fork.Output.Resize(3);
  std::vector<int> in{42}, o0{0}, o1{0, 0}, o2{0};
  AttachPin(fork.Input, in);
  AttachPin(*fork.Output.At(0), o0);
  AttachPin(*fork.Output.At(1), o1, 1);
  AttachPin(*fork.Output.At(2), o2);
  EXPECT_TRUE(fork.Run());
  EXPECT_EQ(o0[0], 42);
  EXPECT_EQ(o1, (std::vector<int>{0, 42}));
  EXPECT_EQ(o2[0], 42);

  Fork<CircularBuffer<double>> none;
  std::vector<double> x{1.0};
  AttachPin(none.Input, x);
  EXPECT_TRUE(none.Run());
}

TEST(ConstUnTimed, EmitsDelayZerosThenValueAndRestarts) {
  ConstUnTimed<double> src;
  EXPECT_EQ(src.Value, 0.0);
  std::vector<double> out{-1.0};
  AttachPin(src.Output, out);
  src.Value = 5.0;
  src.InitialDelay = 2;
  ASSERT_TRUE(src.Setup());
  ASSERT_TRUE(src.Initialize());
  std::vector<double> seen;
  for (int i = 0; i < 4; ++i) {
    EXPECT_TRUE(src.Run());
    seen.push_back(out[0]);
  }
  EXPECT_EQ(seen, (std::vector<double>{0.0, 0.0, 5.0, 5.0}));
  ASSERT_TRUE(src.Initialize());
  src.Run();
  EXPECT_EQ(out[0], 0.0);

  ConstUnTimed<double> now;
  AttachPin(now.Output, out);
  now.Value = -2.5;
  ASSERT_TRUE(now.Initialize());
  now.Run();
  EXPECT_EQ(out[0], -2.5);
}

TEST(ConstUnTimed, NegativeDelayFailsInitialize) {
  ConstUnTimed<double> src;
  src.InitialDelay = -1;
  EXPECT_TRUE(src.Setup());  // the delay is checked by Initialize only
  testing::internal::CaptureStderr();
  EXPECT_FALSE(src.Initialize());
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "InitialDelay must be >= 0\n");
}

TEST(TypeConverterRound, HalvesRoundAwayFromZero) {
  EXPECT_EQ(TypeConverterRound::Round(2.5), 3.0);
  EXPECT_EQ(TypeConverterRound::Round(-2.5), -3.0);
  EXPECT_EQ(TypeConverterRound::Round(0.49), 0.0);
  EXPECT_EQ(TypeConverterRound::Round(-0.5), -1.0);
  EXPECT_TRUE(std::isnan(TypeConverterRound::Round(std::nan(""))));
}

TEST(ScalarToScalar, RoundsToInt32WithMinimumForOutOfRange) {
  ScalarToScalar<CircularBuffer<double>, CircularBuffer<int>, TypeConverterRound> conv;
  std::vector<double> in{0.0};
  std::vector<int> out{99};
  AttachPin(conv.Input, in);
  AttachPin(conv.Output, out);
  const double inf = std::numeric_limits<double>::infinity();
  const std::vector<std::pair<double, int>> cases = {
      {2.0, 2},
      {1.5, 2},
      {1.4999, 1},
      {-1.5, -2},
      {-0.4, 0},
      {0.5, 1},
      {3e9, INT32_MIN},
      {-3e9, INT32_MIN},
      {2147483647.0, 2147483647},
      {-2147483648.0, INT32_MIN},
      {2147483647.5, INT32_MIN},
      {std::nan(""), INT32_MIN},
      {inf, INT32_MIN},
      {-inf, INT32_MIN},
  };
  for (const auto& [x, expected] : cases) {
    in[0] = x;
    EXPECT_TRUE(conv.Run());
    EXPECT_EQ(out[0], expected) << "input " << x;
  }
}

TEST(TypeConverter, BareConverterProducesNothing) {
  TypeConverter<CircularBuffer<double>, CircularBuffer<int>, TypeConverterRound> conv;
  std::vector<double> in{4.0};
  std::vector<int> out{-7};
  AttachPin(conv.Input, in);
  AttachPin(conv.Output, out);
  EXPECT_TRUE(conv.Run());
  EXPECT_EQ(out[0], -7);
}

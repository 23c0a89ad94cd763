#include "dataflow/CircularBufferBusT.h"

#include <gtest/gtest.h>

#include <new>

using namespace OrvennModelBuilder;

TEST(CircularBufferBus, StartsEmpty) {
  CircularBufferBusT<CircularBuffer<double>> bus;
  EXPECT_EQ(bus.count, 0u);
  EXPECT_EQ(bus.buffers, nullptr);
}

TEST(CircularBufferBus, ResizeToTheSameWidthKeepsSettings) {
  CircularBufferBusT<CircularBuffer<int>> bus;
  bus.Resize(3);
  bus.At(1)->SetBlockSize(4);
  bus.Resize(3);
  EXPECT_EQ(bus.At(1)->blockSize, 4u);
}

TEST(CircularBufferBus, ResizeToAnotherWidthGivesDefaultBranches) {
  CircularBufferBusT<CircularBuffer<std::complex<double>>> bus;
  bus.Resize(3);
  bus.At(2)->SetBlockSize(5);
  bus.Resize(2);
  bus.Resize(3);
  ASSERT_EQ(bus.count, 3u);
  for (uint32_t i = 0; i < 3; ++i) {
    EXPECT_EQ(bus.At(i)->blockSize, 1u);
    EXPECT_EQ(bus.At(i)->maxBlockSize, 1u);
    EXPECT_EQ(bus.At(i)->data, nullptr);
  }
  bus.Resize(0);
  EXPECT_EQ(bus.count, 0u);
  EXPECT_EQ(bus.buffers, nullptr);
}

TEST(CircularBufferBus, AFailedResizeLeavesAnEmptyBus) {
  CircularBufferBusT<CircularBuffer<double>> bus;
  bus.Resize(2);
  EXPECT_THROW(bus.Resize(UINT32_MAX), std::bad_alloc);
  EXPECT_EQ(bus.count, 0u);
  EXPECT_EQ(bus.buffers, nullptr);
}

TEST(CircularBufferBus, AtThroughTheBaseReachesTheBranch) {
  CircularBufferBusT<CircularBuffer<double>> bus;
  bus.Resize(2);
  CircularBufferBus& base = bus;
  EXPECT_EQ(base.At(1), static_cast<CircularBufferBase*>(bus.buffers + 1));
}

#include "dataflow/CircularBuffer.h"

#include <gtest/gtest.h>

#include <complex>
#include <new>
#include <vector>

using namespace OrvennModelBuilder;

namespace {

template <class T>
void ExpectDefaults(int elementSize) {
  CircularBuffer<T> b;
  EXPECT_EQ(b.blockSize, 1u);
  EXPECT_EQ(b.maxBlockSize, 1u);
  EXPECT_EQ(b.position, 0u);
  EXPECT_EQ(b.data, nullptr);
  EXPECT_EQ(b.capacity, 0u);
  EXPECT_TRUE(b.IsConnected());
  EXPECT_EQ(b.elementSize, elementSize);
}

// Attaches `storage` to `b` at `position`, one element per firing.
template <class T>
void Attach(CircularBuffer<T>& b, std::vector<T>& storage, uint32_t position) {
  b.Attach(storage.data(), uint32_t(storage.size()), 1, position);
}

}  // namespace

TEST(CircularBuffer, Defaults) {
  ExpectDefaults<int>(4);
  ExpectDefaults<double>(8);
  ExpectDefaults<std::complex<double>>(16);
}

TEST(CircularBuffer, BlockSizeNeverLowersTheMaximum) {
  CircularBuffer<double> b;
  b.SetBlockSize(3);
  b.SetBlockSize(2);
  EXPECT_EQ(b.GetBlockSize(), 2u);
  EXPECT_EQ(b.GetMaxBlockSize(), 3u);
}

TEST(CircularBuffer, AttachSetsTheWholeWindowInOneStep) {
  std::vector<double> s{1, 2, 3, 4};
  CircularBuffer<double> b;
  b.SetBlockSize(5);
  b.Attach(s.data(), 4, 2, 3);
  EXPECT_EQ(b.GetData(), s.data());
  EXPECT_EQ(b.GetCapacity(), 4u);
  EXPECT_EQ(b.GetBlockSize(), 2u);
  EXPECT_EQ(b.GetMaxBlockSize(), 5u);  // as with SetBlockSize: never lowered
  EXPECT_EQ(b.position, 3u);
  EXPECT_EQ(*b.ElementAt(1), 1.0);
  b.Advance();
  EXPECT_EQ(b.position, 1u);

  // Attaching again replaces the whole window; a larger block raises the maximum.
  std::vector<double> t(8);
  b.Attach(t.data(), 8, 7, 0);
  EXPECT_EQ(b.GetData(), t.data());
  EXPECT_EQ(b.GetCapacity(), 8u);
  EXPECT_EQ(b.position, 0u);
  EXPECT_EQ(b.GetMaxBlockSize(), 7u);
  EXPECT_TRUE(b.IsConnected());
}

TEST(CircularBuffer, AttachKeepsTheWindowInsideTheStorage) {
  std::vector<std::complex<double>> s(3);
  CircularBuffer<std::complex<double>> b;
  b.Attach(s.data(), 3, 1, 7);  // beyond the capacity: reduced modulo 3
  EXPECT_EQ(b.position, 1u);
  EXPECT_EQ(b.ElementAt(0), s.data() + 1);

  // No elements, or no storage, leave the view without storage at all, so
  // nothing can address a zero-length array.
  b.Attach(s.data(), 0, 1, 2);
  EXPECT_EQ(b.GetData(), nullptr);
  EXPECT_EQ(b.GetCapacity(), 0u);
  EXPECT_EQ(b.position, 0u);
  b.Attach(nullptr, 3, 1, 2);
  EXPECT_EQ(b.GetData(), nullptr);
  EXPECT_EQ(b.GetCapacity(), 0u);
  EXPECT_EQ(b.position, 0u);
  EXPECT_TRUE(b.ZeroFill(0, 3, 0));  // touches nothing
  EXPECT_EQ(b.Index(5), 0u);
}

TEST(CircularBuffer, WrapIsOneSubtraction) {
  std::vector<int> s(5);
  CircularBuffer<int> b;
  Attach(b, s, 3);
  EXPECT_EQ(b.ElementAt(0), s.data() + 3);
  EXPECT_EQ(b.ElementAt(1), s.data() + 4);
  EXPECT_EQ(b.ElementAt(2), s.data() + 0);  // exactly the capacity wraps to 0
  EXPECT_EQ(b.ElementAt(4), s.data() + 2);

  b.blockSize = 2;
  b.Advance();
  EXPECT_EQ(b.position, 0u);
  b.Advance();
  EXPECT_EQ(b.position, 2u);
  b.blockSize = 0;
  b.Advance();
  EXPECT_EQ(b.position, 2u);
}

TEST(CircularBuffer, OffsetsOutsideTheContractStayInsideTheStorage) {
  std::vector<int> s(4);
  CircularBuffer<int> b;
  Attach(b, s, 3);
  EXPECT_LT(b.Index(9), 4u);
  EXPECT_LT(b.Index(UINT32_MAX), 4u);
  CircularBuffer<int> empty;
  EXPECT_EQ(empty.Index(7), 0u);
}

TEST(CircularBuffer, CopyToRunsWrapOnBothStorages) {
  std::vector<double> src{10, 11, 12, 13};
  std::vector<double> dst(6, -1.0);
  CircularBuffer<double> a, b;
  Attach(a, src, 2);
  Attach(b, dst, 3);
  a.CopyTo(0, b, 0, 5);
  // Source indices 2, 3, 0, 1, 2 land on destination indices 3, 4, 5, 0, 1.
  EXPECT_EQ(dst, (std::vector<double>{11, 12, -1, 12, 13, 10}));
}

TEST(CircularBuffer, CopyToWithOffsetsAndSingleElement) {
  std::vector<int> src{1, 2, 3};
  std::vector<int> dst(3, 0);
  CircularBuffer<int> a, b;
  Attach(a, src, 2);
  Attach(b, dst, 1);
  a.CopyTo(1, b, 2, 1);  // source index 0 to destination index 0
  EXPECT_EQ(dst, (std::vector<int>{1, 0, 0}));
  a.CopyTo(0, b, 0, 0);
  EXPECT_EQ(dst, (std::vector<int>{1, 0, 0}));
}

TEST(CircularBuffer, CopyThroughTheBaseChecksTheElementType) {
  std::vector<double> src{4.5};
  std::vector<double> dst{0.0};
  std::vector<int> other{7};
  CircularBuffer<double> a, b;
  CircularBuffer<int> c;
  Attach(a, src, 0);
  Attach(b, dst, 0);
  Attach(c, other, 0);
  CircularBufferBase& base = a;
  base.CopyTo(0, static_cast<CircularBufferBase&>(b), 0, 1);
  EXPECT_EQ(dst[0], 4.5);
  base.CopyTo(0, static_cast<CircularBufferBase&>(c), 0, 1);
  EXPECT_EQ(other[0], 7);
}

TEST(CircularBuffer, CopyWithoutStorageDoesNothing) {
  std::vector<double> dst{1.0, 2.0};
  CircularBuffer<double> none, b;
  Attach(b, dst, 0);
  none.CopyTo(0, b, 0, 2);
  b.CopyTo(0, none, 0, 2);
  EXPECT_EQ(dst, (std::vector<double>{1.0, 2.0}));
}

TEST(CircularBuffer, CopyElementsIsARawCopy) {
  CircularBuffer<std::complex<double>> b;
  std::complex<double> src[2] = {{1, 2}, {3, 4}};
  std::complex<double> dst[2];
  b.CopyElements(src, dst, 2);
  EXPECT_EQ(dst[1], std::complex<double>(3, 4));
}

TEST(CircularBuffer, ZeroFillClearsEveryElementFromAnyPosition) {
  std::vector<double> s{1, 2, 3, 4, 5};
  CircularBuffer<double> b;
  Attach(b, s, 3);
  EXPECT_TRUE(b.ZeroFill(0, b.capacity, 0));
  EXPECT_EQ(s, std::vector<double>(5, 0.0));

  std::vector<int> t{1, 2, 3, 4};
  CircularBuffer<int> c;
  Attach(c, t, 3);
  c.ZeroFill(1, 2, 0);  // indices 0 and 1
  EXPECT_EQ(t, (std::vector<int>{0, 0, 3, 4}));
}

TEST(CircularBuffer, AllocateAndFree) {
  CircularBuffer<std::complex<double>> c;
  auto* z = static_cast<std::complex<double>*>(c.Allocate(3));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(z[i], std::complex<double>(0.0, 0.0));

  CircularBuffer<double> b;
  b.Attach(static_cast<double*>(b.Allocate(4)), 4, 1, 2);
  auto* other = static_cast<double*>(b.Allocate(2));
  b.Free(other);  // releases only `other`
  EXPECT_NE(b.data, nullptr);
  EXPECT_EQ(b.capacity, 4u);
  EXPECT_EQ(b.position, 2u);
  b.Free(nullptr);  // releases the buffer's own storage
  EXPECT_EQ(b.data, nullptr);
  EXPECT_EQ(b.capacity, 0u);
  EXPECT_EQ(b.position, 0u);
  c.Free(z);
}

TEST(CircularBuffer, AllocateBeyond32BitBytesFails) {
  CircularBuffer<double> b;
  EXPECT_THROW(b.Allocate(0x20000000u), std::bad_alloc);
}

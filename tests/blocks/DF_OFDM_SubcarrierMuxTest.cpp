#include "blocks/DF_OFDM_SubcarrierMux.h"

#include "DataIndexFiles.h"
#include "PinStorage.h"

#include <gtest/gtest.h>

#include <complex>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

using namespace OrvennModelBuilder;
using C = std::complex<double>;
using Ints = std::vector<int32_t>;

namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

// Sample j of input branch i: distinct for every branch and offset.
C Sample(int i, uint32_t j) { return C(100.0 * (i + 1) + j, -1.0 - j); }

// Owns a block, the parameter arrays it points at and its pin storages.
struct Rig {
  explicit Rig(int32_t branches, int32_t dftSize = 8, int32_t centred = 1) {
    mux.NumInput = branches;
    mux.Input.Resize(uint32_t(branches));
    mux.DFTSize = dftSize;
    mux.CenteredSymbol = centred;
  }

  void Branch(int i, Ints carriers, int32_t type, Ints index) {
    cps[i] = std::move(carriers);
    idx[i] = std::move(index);
    mux.CarriersPerSym[i] = cps[i].data();
    mux.CarriersPerSymSize[i] = int32_t(cps[i].size());
    mux.CarrierIndexType[i] = type;
    mux.CarrierIndex[i] = idx[i].data();
    mux.CarrierIndexSize[i] = int32_t(idx[i].size());
  }

  void Reference(Ints carriers, int32_t type, Ints index) {
    refCps = std::move(carriers);
    refIdx = std::move(index);
    mux.EVMRefExplicit = 1;
    mux.EVMRef_NumCarriers = refCps.data();
    mux.EVMRef_NumCarriersSize = int32_t(refCps.size());
    mux.EVMRef_CarrierIndexType = type;
    mux.EVMRef_CarrierIndex = refIdx.data();
    mux.EVMRef_CarrierIndexSize = int32_t(refIdx.size());
  }

  // Runs Setup and keeps what it wrote on the error stream.
  bool Setup() {
    testing::internal::CaptureStderr();
    const bool ok = mux.Setup();
    err = testing::internal::GetCapturedStderr();
    return ok;
  }

  std::string SetupError() {
    EXPECT_FALSE(Setup());
    return err;
  }

  // Gives every connected pin storage of its maximum block size, fills the
  // inputs with Sample() and the outputs with a stale value.
  void Attach() {
    for (uint32_t i = 0; i < mux.Input.count; ++i) {
      auto& pin = *mux.Input.At(i);
      if (!pin.IsConnected()) continue;
      in[i].resize(pin.maxBlockSize);
      for (uint32_t j = 0; j < pin.maxBlockSize; ++j) in[i][j] = Sample(int(i), j);
      AttachPin(pin, in[i]);
    }
    if (mux.Output.IsConnected()) {
      out.assign(mux.Output.maxBlockSize, C(99, 99));
      AttachPin(mux.Output, out);
    }
    if (mux.EVMRef.IsConnected()) {
      ref.assign(mux.EVMRef.maxBlockSize, C(99, 99));
      AttachPin(mux.EVMRef, ref);
    }
  }

  // Setup, storage, one firing.
  void Fire() {
    ASSERT_TRUE(Setup()) << err;
    Attach();
    ASSERT_TRUE(mux.Initialize());
    ASSERT_TRUE(mux.Run());
  }

  // The frame a firing must produce: branch i's sample j at its j-th
  // position, zero elsewhere.
  std::vector<C> ExpectedFrame(const std::vector<Ints>& positions) const {
    std::vector<C> frame(size_t(mux.mapper.frameLength));
    for (size_t i = 0; i < positions.size(); ++i)
      for (size_t j = 0; j < positions[i].size(); ++j) frame[size_t(positions[i][j])] = Sample(int(i), uint32_t(j));
    return frame;
  }

  DF_OFDM_SubcarrierMux mux;
  Ints cps[4], idx[4], refCps, refIdx;
  std::vector<C> in[4], out, ref;
  std::string err;
};

TEST(DF_OFDM_SubcarrierMux, ParameterChecksStopAtTheFirstFailure) {
  const std::string dftText = "DFTSize should be a positive even integer (>=4)\n";
  for (int32_t size : {5, 2, -4, 0}) {
    Rig rig(1, size);
    rig.Branch(0, {2}, 0, {-1, 1});
    EXPECT_EQ(rig.SetupError(), dftText) << size;
  }
  Rig six(1, 6);
  six.Branch(0, {2}, 0, {-1, 1});
  EXPECT_TRUE(six.Setup()) << six.err;

  DF_OFDM_SubcarrierMux unconfigured;
  testing::internal::CaptureStderr();
  EXPECT_FALSE(unconfigured.Setup());
  EXPECT_EQ(testing::internal::GetCapturedStderr(), dftText);

  for (int32_t n : {0, 5}) {
    Rig rig(n);
    EXPECT_EQ(rig.SetupError(), "NumInput must be in the range of [1,4]\n");
  }
  Rig wide(1);
  wide.mux.Input.Resize(2);
  EXPECT_EQ(wide.SetupError(), "Bus width of pin Input must equals to parameter NumInput\n");

  Rig none(2);
  none.mux.Input.At(0)->connected = false;
  none.mux.Input.At(1)->connected = false;
  EXPECT_EQ(none.SetupError(), "At least one branch of pin Input must be connected.\n\n");
}

TEST(DF_OFDM_SubcarrierMux, ShiftThatOverflowsTheSymbolFailsSetup) {
  const std::string text = "DFTSizeShift must be >= 0 and keep DFTSize*2^DFTSizeShift within 2147483647\n";
  for (int32_t shift : {-1, 28, 29, 32, 33}) {
    Rig rig(1);  // DFTSize 8: 8 * 2^28 is already 2^31
    rig.Branch(0, {2}, 0, {-1, 1});
    rig.mux.DFTSizeShift = shift;
    EXPECT_EQ(rig.SetupError(), text) << shift;
  }
  EXPECT_EQ(SubcarrierMapper::SymbolLength(8, 27), int64_t(1) << 30);
  EXPECT_EQ(SubcarrierMapper::SymbolLength(6, 28), int64_t(6) << 28);

  Rig twice(1);
  twice.Branch(0, {2}, 0, {-1, 1});
  twice.mux.DFTSizeShift = 1;  // L = 16: sub-carriers -8 .. 7
  twice.Fire();
  EXPECT_EQ(twice.mux.mapper.symbolLength, 16);
  EXPECT_EQ(twice.mux.mapper.branchPositions[0], (Ints{7, 9}));
}

TEST(DF_OFDM_SubcarrierMux, CentredAndUncentredSymbols) {
  for (int32_t centred : {1, 0}) {
    Rig rig(1, 8, centred);
    rig.Branch(0, {2}, 0, {-1, 1});
    rig.Fire();
    const Ints positions = centred ? Ints{3, 5} : Ints{7, 1};
    EXPECT_EQ(rig.mux.mapper.branchPositions[0], positions);
    EXPECT_EQ(rig.mux.mapper.frameLength, 8);
    EXPECT_EQ(rig.mux.Input.At(0)->blockSize, 2u);
    EXPECT_EQ(rig.mux.Output.blockSize, 8u);
    EXPECT_EQ(rig.mux.EVMRef.blockSize, 2u);
    EXPECT_EQ(rig.out, rig.ExpectedFrame({positions}));
    // Union reference: lowest frequency first, so 7, 1 when uncentred.
    EXPECT_EQ(rig.mux.mapper.referencePositions, positions);
    EXPECT_EQ(rig.ref, (std::vector<C>{Sample(0, 0), Sample(0, 1)}));
  }
}

TEST(DF_OFDM_SubcarrierMux, RangesListStartsThenEnds) {
  Rig rig(1);
  rig.Branch(0, {4}, 1, {-2, 1, -1, 2});  // -2..-1 and 1..2
  rig.Fire();
  EXPECT_EQ(rig.mux.mapper.branchPositions[0], (Ints{2, 3, 5, 6}));
  EXPECT_EQ(rig.out, rig.ExpectedFrame({{2, 3, 5, 6}}));

  const std::string mismatch = "Parameters of the0'th branch don't match.\n\n";
  for (Ints carriers : {Ints{3}, Ints{5}}) {
    Rig bad(1);
    bad.Branch(0, carriers, 1, {-2, 1, -1, 2});
    EXPECT_EQ(bad.SetupError(), mismatch);
  }
  Rig odd(1);
  odd.Branch(0, {2}, 1, {-2, 1, -1});
  EXPECT_EQ(odd.SetupError(), mismatch);
  Rig empty(1);  // a range whose end precedes its start holds nothing
  empty.Branch(0, {2}, 1, {2, -2, 1, 3});
  EXPECT_EQ(empty.SetupError(), mismatch);
}

TEST(DF_OFDM_SubcarrierMux, PatternsOfTwoAndThreeSymbolsFillSixSymbols) {
  Rig rig(2);
  rig.Branch(0, {1, 2}, 0, {0, -1, 1});
  rig.Branch(1, {1, 0, 1}, 0, {-2, 3});
  rig.Fire();
  const Ints first{4, 11, 13, 20, 27, 29, 36, 43, 45};  // three repeats of 16
  const Ints second{2, 23, 26, 47};                     // two repeats of 24
  EXPECT_EQ(rig.mux.mapper.symbolsPerFrame, 6);
  EXPECT_EQ(rig.mux.mapper.frameLength, 48);
  EXPECT_EQ(rig.mux.mapper.samplesPerFiring, (Ints{9, 4}));
  EXPECT_EQ(rig.mux.mapper.branchPositions[0], first);
  EXPECT_EQ(rig.mux.mapper.branchPositions[1], second);
  EXPECT_EQ(rig.mux.Input.At(0)->blockSize, 9u);
  EXPECT_EQ(rig.mux.Input.At(1)->blockSize, 4u);
  EXPECT_EQ(rig.out, rig.ExpectedFrame({first, second}));
  EXPECT_EQ(rig.mux.mapper.referencePositions, (Ints{2, 4, 11, 13, 20, 23, 26, 27, 29, 36, 43, 45, 47}));
  for (size_t i = 0; i < rig.ref.size(); ++i)
    EXPECT_EQ(rig.ref[i], rig.out[size_t(rig.mux.mapper.referencePositions[i])]);

  EXPECT_EQ(SubcarrierMapper::Lcm(4, 6), 12);
  EXPECT_EQ(SubcarrierMapper::Lcm(0, 5), 5);
  EXPECT_EQ(SubcarrierMapper::Lcm(7, 0), 7);
}

TEST(DF_OFDM_SubcarrierMux, SharedPositionCountsOnceAndLaterBranchWins) {
  Rig rig(2);
  rig.Branch(0, {1}, 0, {1});
  rig.Branch(1, {2}, 0, {1, -1});
  rig.Fire();
  EXPECT_EQ(rig.mux.mapper.referencePositions, (Ints{3, 5}));
  EXPECT_EQ(rig.out, rig.ExpectedFrame({{5}, {5, 3}}));
  EXPECT_EQ(rig.out[5], Sample(1, 0));
}

TEST(DF_OFDM_SubcarrierMux, UnionReferenceIsInFrequencyOrderPerSymbol) {
  Rig rig(1, 8, 0);
  rig.Branch(0, {2, 2}, 0, {1, -1, 2, -3});
  rig.Fire();
  EXPECT_EQ(rig.mux.mapper.branchPositions[0], (Ints{1, 7, 10, 13}));
  EXPECT_EQ(rig.mux.mapper.referencePositions, (Ints{7, 1, 13, 10}));
  EXPECT_EQ(rig.ref, (std::vector<C>{Sample(0, 1), Sample(0, 0), Sample(0, 3), Sample(0, 2)}));
}

TEST(DF_OFDM_SubcarrierMux, ExplicitReferenceRepeatsOverTheFrame) {
  for (int32_t centred : {1, 0}) {
    Rig rig(2, 8, centred);
    rig.Branch(0, {1, 2}, 0, {0, -1, 1});
    rig.Branch(1, {1, 0, 1}, 0, {-2, 3});
    rig.Reference({1, 1}, 0, {0, -1});
    rig.Fire();
    EXPECT_EQ(rig.mux.mapper.evmRefLength, 6);
    EXPECT_EQ(rig.mux.EVMRef.blockSize, 6u);
    EXPECT_EQ(rig.mux.mapper.referencePositions,
              centred ? (Ints{4, 11, 20, 27, 36, 43}) : (Ints{0, 15, 16, 31, 32, 47}));
    // Sub-carriers 0 and -1 are branch 0's carriers 0, 1, 3, 4, 6, 7.
    std::vector<C> expected;
    for (uint32_t j : {0, 1, 3, 4, 6, 7}) expected.push_back(Sample(0, j));
    EXPECT_EQ(rig.ref, expected) << centred;
  }
}

TEST(DF_OFDM_SubcarrierMux, ReferenceFailures) {
  auto error = [](Ints carriers, Ints index, bool missing = false) {
    Rig rig(2);
    rig.Branch(0, {1, 2}, 0, {0, -1, 1});
    rig.Branch(1, {1, 0, 1}, 0, {-2, 3});
    rig.Reference(carriers, 0, index);
    if (missing) rig.mux.EVMRef_NumCarriers = nullptr;
    return rig.SetupError();
  };
  EXPECT_EQ(error({1, 1, 1, 1}, {0, 0, 0, 0}), "The size of EVMRef_NumCarriers should be a factor of 6.\n\n");
  EXPECT_EQ(error({}, {}), "The size of EVMRef_NumCarriers should be a factor of 6.\n\n");
  EXPECT_EQ(error({1, -1}, {0}), "Negative CarrierPerSym found in the 1'th EVMRef output branch.\n\n");
  EXPECT_EQ(error({1, 1}, {0}), "Parameters of EVMRef don't match.\n\n");
  EXPECT_EQ(error({1, 1}, {0, 4}), "EVMRef_CarrierIndex beyond [-DFTSize/2, DFTSize/2-1].\n\n");
  EXPECT_EQ(error({1, 1}, {0, 0}, true), "EVMRef_NumCarriers is missing.\n\n");
  EXPECT_EQ(error({kMax, 1}, {}), "Too many carriers in EVMRef.\n\n");
}

TEST(DF_OFDM_SubcarrierMux, BranchFailures) {
  auto error = [](int branch, Ints carriers, Ints index, int32_t centred = 1) {
    Rig rig(2, 8, centred);
    rig.Branch(0, {1}, 0, {0});
    rig.Branch(1, {1}, 0, {0});
    rig.Branch(branch, carriers, 0, index);
    return rig.SetupError();
  };
  EXPECT_EQ(error(0, {-1, 2}, {0}), "Negative CarriersPerSym found in the 0'th input branch.\n\n");
  EXPECT_EQ(error(1, {2, -1}, {0}), "Negative CarriersPerSym found in the 1'th input branch.\n\n");
  EXPECT_EQ(error(0, {1}, {-1, 1}), "Parameters of the0'th branch don't match.\n\n");
  EXPECT_EQ(error(1, {3}, {-1, 1}), "Parameters of the1'th branch don't match.\n\n");
  const std::string range0 = "Sub-carrier index of the0'th branch beyond [-DFTSize/2, DFTSize/2-1].\n\n";
  for (int32_t centred : {1, 0}) {
    EXPECT_EQ(error(0, {1}, {4}, centred), range0);
    EXPECT_EQ(error(0, {1}, {-5}, centred), range0);
    EXPECT_EQ(error(0, {1}, {8}, centred), range0);  // would alias to 0 uncentred
    EXPECT_EQ(error(0, {1}, {kMax}, centred), range0);
  }
  EXPECT_EQ(error(1, {2}, {0, -9}, 0), "Sub-carrier index of the1'th branch beyond [-DFTSize/2, DFTSize/2-1].\n\n");
}

TEST(DF_OFDM_SubcarrierMux, CountsThatCouldOverrunFailSetup) {
  Rig negativeSize(1);
  negativeSize.Branch(0, {1}, 0, {0});
  negativeSize.mux.CarriersPerSymSize[0] = -1;
  const std::string missing = "CarriersPerSym of the 0'th input branch is missing or has a negative size.\n\n";
  EXPECT_EQ(negativeSize.SetupError(), missing);
  Rig noCarriers(1);
  noCarriers.mux.CarriersPerSymSize[0] = 1;
  EXPECT_EQ(noCarriers.SetupError(), missing);

  const std::string mismatch = "Parameters of the0'th branch don't match.\n\n";
  Rig negativeIndexSize(1);
  negativeIndexSize.Branch(0, {0}, 0, {});
  negativeIndexSize.mux.CarrierIndexSize[0] = -1;
  EXPECT_EQ(negativeIndexSize.SetupError(), mismatch);
  Rig noIndex(1);
  noIndex.Branch(0, {2}, 0, {});
  noIndex.mux.CarrierIndex[0] = nullptr;
  noIndex.mux.CarrierIndexSize[0] = 2;
  EXPECT_EQ(noIndex.SetupError(), mismatch);

  for (int32_t type : {0, 2}) {  // a file is not even opened for such counts
    Rig tooMany(1);
    tooMany.Branch(0, {kMax, 1}, type, {});
    EXPECT_EQ(tooMany.SetupError(), "Too many carriers in the 0'th input branch.\n\n");
  }

  // 40000 and 39999 symbols: a frame of 1.6e9 symbols of 4 samples.
  Rig longFrame(2, 4);
  longFrame.Branch(0, Ints(40000, 0), 0, {});
  longFrame.Branch(1, Ints(39999, 0), 0, {});
  EXPECT_EQ(longFrame.SetupError(), "Frame length of the input branch patterns exceeds 2147483647 samples.\n\n");
}

TEST(DF_OFDM_SubcarrierMux, CollectedTextIsReportedAgainOnEveryLaterSetup) {
  Rig rig(1);
  rig.Branch(0, {1}, 0, {-1, 1});
  const std::string text = "Parameters of the0'th branch don't match.\n\n";
  EXPECT_EQ(rig.SetupError(), text);
  rig.Branch(0, {2}, 0, {-1, 1});
  EXPECT_EQ(rig.SetupError(), text);
  rig.mux.DFTSize = 3;  // the parameter checks still come first
  EXPECT_EQ(rig.SetupError(), "DFTSize should be a positive even integer (>=4)\n");

  // A failed Setup leaves no layout behind: a firing writes nothing.
  rig.out.assign(8, C(99, 99));
  AttachPin(rig.mux.Output, rig.out);
  EXPECT_TRUE(rig.mux.Run());
  EXPECT_EQ(rig.out, std::vector<C>(8, C(99, 99)));
}

TEST(DF_OFDM_SubcarrierMux, DataIndexFilesReplaceTheIndexList) {
  TempDir dir;
  const std::string binary = dir.Write("carriers.bin", LittleEndian({-1, 1}));
  const std::string text = dir.Write("carriers.txt", "  -1\n\t+1 \n 99");
  const std::string reference = dir.Write("reference.txt", "0\n");
  for (const std::string& file : {binary, text}) {
    Rig rig(1);
    rig.Branch(0, {2}, 2, {});
    rig.mux.DataIndexFile[0] = file.c_str();
    rig.mux.DataIndexFileFormat[0] = file == binary ? 1 : 0;
    rig.Reference({1}, 2, {});
    rig.mux.EVMRef_DataIndexFile = reference.c_str();
    rig.Fire();
    EXPECT_EQ(rig.out, rig.ExpectedFrame({{3, 5}}));
    EXPECT_EQ(rig.mux.mapper.referencePositions, (Ints{4}));
    EXPECT_TRUE(rig.mux.loadedCarrierIndex[0].empty());
    EXPECT_TRUE(rig.mux.loadedEVMRefIndex.empty());
  }
}

TEST(DF_OFDM_SubcarrierMux, DataIndexFileFailures) {
  TempDir dir;
  auto error = [&](const std::string& bytes, int32_t format) {
    Rig rig(1);
    rig.Branch(0, {2}, 2, {});
    const std::string file = dir.Write("carriers", bytes);
    rig.mux.DataIndexFile[0] = file.c_str();
    rig.mux.DataIndexFileFormat[0] = format;
    return rig.SetupError();
  };
  const std::string notEnough = "Not enough data in Data index file.\n\n";
  const std::string notInteger = "Data index file holds a value that is not a 32-bit decimal integer.\n\n";
  EXPECT_EQ(error("-1\n", 0), notEnough);
  EXPECT_EQ(error("", 0), notEnough);
  EXPECT_EQ(error(LittleEndian({-1}) + std::string("\1\0\0", 3), 1), notEnough);
  EXPECT_EQ(error("-1 x", 0), notInteger);
  EXPECT_EQ(error("1.5 2", 0), notInteger);
  EXPECT_EQ(error("0x1 2", 0), notInteger);
  EXPECT_EQ(error("2147483648 1", 0), notInteger);
  EXPECT_EQ(error("- 1", 0), notInteger);

  const std::string cannotOpen = "Can't open Data index file.\n\n";
  const std::string absent = (dir.path / "absent").string();
  Rig two(2);  // both files are missing: the first one ends the stage
  for (int i : {0, 1}) {
    two.Branch(i, {1}, 2, {});
    two.mux.DataIndexFile[i] = absent.c_str();
  }
  EXPECT_EQ(two.SetupError(), cannotOpen);
  Rig noPath(1);
  noPath.Branch(0, {1}, 2, {});
  EXPECT_EQ(noPath.SetupError(), cannotOpen);
  Rig reference(1);
  reference.Branch(0, {1}, 0, {0});
  reference.Reference({1}, 2, {});
  reference.mux.EVMRef_DataIndexFile = absent.c_str();
  EXPECT_EQ(reference.SetupError(), cannotOpen);

  // An unconnected branch's file is never read.
  Rig skipped(2);
  skipped.Branch(0, {1}, 0, {0});
  skipped.Branch(1, {1}, 2, {});
  skipped.mux.DataIndexFile[1] = absent.c_str();
  skipped.mux.Input.At(1)->connected = false;
  EXPECT_TRUE(skipped.Setup()) << skipped.err;
}

TEST(DF_OFDM_SubcarrierMux, RunClearsUnnamedPositionsAndWrapsAtThePosition) {
  Rig rig(1);
  rig.Branch(0, {2}, 0, {-1, 1});
  ASSERT_TRUE(rig.Setup());
  rig.in[0] = {Sample(0, 1), Sample(0, 0)};
  AttachPin(*rig.mux.Input.At(0), rig.in[0], 1);
  rig.out.assign(8, C(99, 99));
  AttachPin(rig.mux.Output, rig.out, 5);
  rig.ref.assign(2, C(99, 99));
  AttachPin(rig.mux.EVMRef, rig.ref, 1);
  ASSERT_TRUE(rig.mux.Run());
  std::vector<C> frame(8);
  frame[(5 + 3) % 8] = Sample(0, 0);
  frame[(5 + 5) % 8] = Sample(0, 1);
  EXPECT_EQ(rig.out, frame);
  EXPECT_EQ(rig.ref, (std::vector<C>{Sample(0, 1), Sample(0, 0)}));

  rig.out.assign(8, C(99, 99));  // stale samples from elsewhere
  ASSERT_TRUE(rig.mux.Run());
  EXPECT_EQ(rig.out, frame);
}

TEST(DF_OFDM_SubcarrierMux, ReferenceWithoutOutputUsesTheBlocksOwnFrame) {
  Rig rig(1);
  rig.Branch(0, {2}, 0, {-1, 1});
  rig.mux.Output.connected = false;
  rig.Fire();
  EXPECT_EQ(rig.mux.Output.data, nullptr);
  EXPECT_EQ(rig.ref, (std::vector<C>{Sample(0, 0), Sample(0, 1)}));

  rig.mux.EVMRef.connected = false;  // nothing to produce
  rig.ref.assign(2, C(99, 99));
  EXPECT_TRUE(rig.mux.Run());
  EXPECT_EQ(rig.ref, std::vector<C>(2, C(99, 99)));
}

TEST(DF_OFDM_SubcarrierMux, UnconnectedBranchIsLeftOut) {
  Rig rig(2);
  rig.Branch(0, {2}, 0, {-1, 1});
  rig.Branch(1, {1, 1, 1}, 0, {0, 0, 0});
  rig.mux.Input.At(1)->connected = false;
  rig.Fire();  // branch 1 has no storage: reading it would fault
  EXPECT_EQ(rig.mux.mapper.frameLength, 8);
  EXPECT_EQ(rig.mux.mapper.samplesPerFiring, (Ints{2, 0}));
  EXPECT_EQ(rig.mux.Input.At(1)->blockSize, 1u);
  EXPECT_EQ(rig.out, rig.ExpectedFrame({{3, 5}}));
}

TEST(DF_OFDM_SubcarrierMux, RunRefusesStorageSmallerThanOneFiring) {
  Rig rig(1);
  rig.Branch(0, {2}, 0, {-1, 1});
  ASSERT_TRUE(rig.Setup());
  rig.Attach();
  rig.out.resize(4);
  AttachPin(rig.mux.Output, rig.out);
  *rig.mux.Input.At(0) = DF_OFDM_SubcarrierMux::ComplexBuffer();
  testing::internal::CaptureStderr();
  EXPECT_FALSE(rig.mux.Run());
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Storage of pin Output holds fewer elements than one firing moves\n"
            "Storage of branch 0 of pin Input holds fewer elements than one firing moves\n");
  EXPECT_EQ(rig.ref, std::vector<C>(2, C(99, 99)));
}

}  // namespace

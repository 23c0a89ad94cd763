#pragma once

#include <cstdint>
#include <sstream>
#include <vector>

namespace OrvennModelBuilder {

// One sub-carrier pattern: how many carriers each symbol of the pattern
// uses and the sub-carrier numbers that fill them, in symbol order.
struct CarrierPattern {
  const int32_t* carriersPerSym = nullptr;
  int32_t symbols = 0;    // entries of carriersPerSym: the pattern length
  int32_t indexType = 0;  // 1: ranges; anything else: one number per carrier
  const int32_t* index = nullptr;
  int32_t indexCount = 0;
};

// Configuration and frame layout of the OFDM sub-carrier multiplexer.
//
// Positions are indices into one frame of symbolsPerFrame symbols of
// symbolLength samples. Every routine that can fail writes its message into
// errorText, which collects text for the whole life of the mapper.
class SubcarrierMapper {
 public:
  // Results of BuildCarrierPositions.
  enum { kPositionsBuilt = 0, kCountMismatch = 1, kOutOfRange = 2 };
  // Results of ReadDataIndexFile.
  enum { kFileRead = 0, kCannotOpen = 1, kNotEnoughData = 2, kNotAnInteger = 3, kBadCarrierCounts = 4 };

  // DFTSize * 2^shift, or -1 if the shift is negative or the length does
  // not fit in a 32-bit signed integer.
  static int64_t SymbolLength(int32_t dftSize, int32_t shift);
  // Sum of counts[0 .. size-1]; -1 if size is negative, counts is missing
  // or an entry is negative.
  static int64_t SumCounts(const int32_t* counts, int32_t size);
  // Whether counts describe a pattern of at most 2^31 - 1 carriers.
  static bool UsableCounts(const int32_t* counts, int32_t size);
  // Least common multiple of two non-negative numbers; the larger one if
  // either is zero.
  static int64_t Lcm(int64_t a, int64_t b);

  void SetDFTSize(int32_t n) { DFTSize = n; }
  // Every per-branch list gets n entries (empty lists, unconnected).
  void SetBranchCount(int32_t n);
  void SetConnected(int32_t branch, bool isConnected);
  // Sets the symbol length; callers check the shift with SymbolLength.
  void SetDFTSizeShift(int32_t shift);
  void SetCenteredSymbol(int32_t centred) { CenteredSymbol = centred; }
  // Forgets the layout (lists and lengths); errorText keeps its text.
  void ClearLayout();

  bool HasErrors() { return errorText.tellp() > 0; }

  // Reads one pattern period of sub-carrier numbers (sum of
  // carriersPerSym[0 .. symbols-1] integers) from a data index file:
  // format 1 raw little-endian 32-bit integers, any other format decimal
  // text separated by white space. On failure `out` is left empty.
  int ReadDataIndexFile(const int32_t* carriersPerSym, int32_t symbols, std::vector<int32_t>& out, int32_t format,
                        const char* path);

  // Positions of one pattern of `symbols` symbols of length L holding n
  // carriers in total; `out` grows to n entries if shorter.
  static int BuildCarrierPositions(int32_t L, int32_t symbols, int32_t n, int32_t centred,
                                   const int32_t* carriersPerSym, int32_t type, const int32_t* list, int32_t listCount,
                                   std::vector<int32_t>& out);

  // The stages of the layout. Each returns false once it has written a
  // message into errorText.
  // Frame length from the connected patterns, then each branch's list.
  bool BuildBranchPositions(const CarrierPattern* patterns);
  // Reference positions given explicitly (always numbered centred).
  bool BuildExplicitReference(const CarrierPattern& reference);
  // Reference positions: every position some branch names, in frequency
  // order within each symbol.
  void BuildUnionReference();
  // Frame positions no branch names; the block clears them each firing.
  void ListUnnamedPositions();

  std::vector<int32_t> samplesPerFiring;
  int32_t frameLength = 0;
  int32_t evmRefLength = 0;
  std::vector<std::vector<int32_t>> branchPositions;
  std::vector<int32_t> referencePositions;
  int32_t DFTSize = 0;
  int32_t symbolLength = 0;
  int32_t branchCount = 0;
  std::vector<bool> connected;
  int32_t DFTSizeShift = 0;
  int32_t CenteredSymbol = 0;
  int32_t symbolsPerFrame = 1;
  bool explicitReference = false;
  std::ostringstream errorText;
  std::vector<int32_t> unnamedPositions;

 private:
  // One flag per frame position: named by at least one branch.
  std::vector<char> NamedPositions() const;
  void RepeatPattern(std::vector<int32_t>& list, int32_t period, int64_t step, int32_t repeats) const;
};

}  // namespace OrvennModelBuilder

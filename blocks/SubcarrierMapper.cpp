#include "blocks/SubcarrierMapper.h"

#include <algorithm>
#include <fstream>
#include <limits>
#include <string>

namespace OrvennModelBuilder {

namespace {

constexpr int64_t kMaxLength = std::numeric_limits<int32_t>::max();

// A whole token of optional sign and decimal digits that fits in 32 bits.
bool ParseDecimal(const std::string& token, int32_t& value) {
  size_t i = 0;
  bool negative = false;
  if (i < token.size() && (token[i] == '+' || token[i] == '-')) negative = token[i++] == '-';
  if (i == token.size()) return false;
  int64_t magnitude = 0;
  for (; i < token.size(); ++i) {
    if (token[i] < '0' || token[i] > '9') return false;
    magnitude = magnitude * 10 + (token[i] - '0');
    if (magnitude > kMaxLength + 1) return false;
  }
  const int64_t v = negative ? -magnitude : magnitude;
  if (v > kMaxLength) return false;
  value = int32_t(v);
  return true;
}

int ReadBinary(std::ifstream& file, int64_t total, std::vector<int32_t>& out) {
  unsigned char b[4];
  while (int64_t(out.size()) < total) {
    if (!file.read(reinterpret_cast<char*>(b), 4)) return SubcarrierMapper::kNotEnoughData;
    const uint32_t u = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
    out.push_back(int32_t(u));
  }
  return SubcarrierMapper::kFileRead;
}

int ReadText(std::ifstream& file, int64_t total, std::vector<int32_t>& out) {
  std::string token;
  int32_t value = 0;
  while (int64_t(out.size()) < total) {
    if (!(file >> token)) return SubcarrierMapper::kNotEnoughData;
    if (!ParseDecimal(token, value)) return SubcarrierMapper::kNotAnInteger;
    out.push_back(value);
  }
  return SubcarrierMapper::kFileRead;
}

}  // namespace

int64_t SubcarrierMapper::SymbolLength(int32_t dftSize, int32_t shift) {
  if (dftSize < 0 || shift < 0 || shift > 31) return -1;
  const int64_t length = int64_t(dftSize) << shift;
  return length > kMaxLength ? -1 : length;
}

int64_t SubcarrierMapper::SumCounts(const int32_t* counts, int32_t size) {
  if (size < 0 || (size > 0 && counts == nullptr)) return -1;
  int64_t sum = 0;
  for (int32_t j = 0; j < size; ++j) {
    if (counts[j] < 0) return -1;
    sum += counts[j];
  }
  return sum;
}

bool SubcarrierMapper::UsableCounts(const int32_t* counts, int32_t size) {
  const int64_t sum = SumCounts(counts, size);
  return sum >= 0 && sum <= kMaxLength;
}

int64_t SubcarrierMapper::Lcm(int64_t a, int64_t b) {
  if (a == 0 || b == 0) return std::max(a, b);
  int64_t x = std::max(a, b), y = std::min(a, b);
  while (y != 0) {
    const int64_t r = x % y;
    x = y;
    y = r;
  }
  return std::max(a, b) / x * std::min(a, b);
}

void SubcarrierMapper::SetBranchCount(int32_t n) {
  branchCount = std::max(n, 0);
  samplesPerFiring.assign(size_t(branchCount), 0);
  branchPositions.assign(size_t(branchCount), {});
  connected.assign(size_t(branchCount), false);
}

void SubcarrierMapper::SetConnected(int32_t branch, bool isConnected) {
  if (branch >= 0 && branch < branchCount) connected[size_t(branch)] = isConnected;
}

void SubcarrierMapper::SetDFTSizeShift(int32_t shift) {
  DFTSizeShift = shift;
  const int64_t length = SymbolLength(DFTSize, shift);
  symbolLength = length < 0 ? 0 : int32_t(length);
}

void SubcarrierMapper::ClearLayout() {
  std::fill(samplesPerFiring.begin(), samplesPerFiring.end(), 0);
  for (std::vector<int32_t>& list : branchPositions) std::vector<int32_t>().swap(list);
  std::vector<int32_t>().swap(referencePositions);
  std::vector<int32_t>().swap(unnamedPositions);
  frameLength = 0;
  evmRefLength = 0;
  symbolsPerFrame = 1;
}

int SubcarrierMapper::ReadDataIndexFile(const int32_t* carriersPerSym, int32_t symbols, std::vector<int32_t>& out,
                                        int32_t format, const char* path) {
  std::vector<int32_t>().swap(out);
  if (!UsableCounts(carriersPerSym, symbols)) {
    errorText << "Carrier counts for Data index file are negative or too large.\n";
    return kBadCarrierCounts;
  }
  std::ifstream file;
  if (path != nullptr) file.open(path, format == 1 ? std::ios::in | std::ios::binary : std::ios::in);
  if (!file.is_open()) {
    errorText << "Can't open Data index file.\n";
    return kCannotOpen;
  }
  const int64_t total = SumCounts(carriersPerSym, symbols);
  const int result = format == 1 ? ReadBinary(file, total, out) : ReadText(file, total, out);
  if (result == kNotEnoughData)
    errorText << "Not enough data in Data index file.\n";
  else if (result == kNotAnInteger)
    errorText << "Data index file holds a value that is not a 32-bit decimal integer.\n";
  if (result != kFileRead) std::vector<int32_t>().swap(out);
  return result;
}

int SubcarrierMapper::BuildCarrierPositions(int32_t L, int32_t symbols, int32_t n, int32_t centred,
                                            const int32_t* carriersPerSym, int32_t type, const int32_t* list,
                                            int32_t listCount, std::vector<int32_t>& out) {
  // The counts must describe n carriers in a pattern that fits in 32 bits,
  // and the list must hold what its count says.
  if (L <= 0 || n < 0 || SumCounts(carriersPerSym, symbols) != n || int64_t(L) * symbols > kMaxLength)
    return kCountMismatch;
  if (listCount < 0 || (listCount > 0 && list == nullptr)) return kCountMismatch;
  if (type == 1 && listCount % 2 != 0) return kCountMismatch;
  if (out.size() < size_t(n)) out.resize(size_t(n));

  // Sub-carrier k must lie in [-L/2, L/2 - 1] in either layout.
  const int64_t half = L / 2;
  bool outOfRange = false;
  auto position = [&](int64_t k) -> int32_t {
    if (k < -half || k >= half) {
      outOfRange = true;
      return 0;
    }
    if (centred != 0) return int32_t(half + k);
    return int32_t(k < 0 ? k + L : k);
  };

  if (type == 1) {
    const int32_t ranges = listCount / 2;
    int32_t written = 0;
    for (int32_t r = 0; r < ranges; ++r) {
      for (int64_t k = list[r]; k <= list[ranges + r]; ++k) {
        if (written == n) return kCountMismatch;
        out[size_t(written++)] = position(k);
      }
    }
    if (written < n) return kCountMismatch;
  } else {
    if (listCount != n) return kCountMismatch;
    for (int32_t i = 0; i < n; ++i) out[size_t(i)] = position(list[i]);
  }
  if (outOfRange) return kOutOfRange;

  size_t i = 0;
  for (int32_t j = 0; j < symbols; ++j)
    for (int32_t c = 0; c < carriersPerSym[j]; ++c) out[i++] += j * L;
  return kPositionsBuilt;
}

void SubcarrierMapper::RepeatPattern(std::vector<int32_t>& list, int32_t period, int64_t step, int32_t repeats) const {
  for (int32_t u = 1; u < repeats; ++u)
    for (int32_t m = 0; m < period; ++m)
      list[size_t(u) * size_t(period) + size_t(m)] = int32_t(list[size_t(m)] + u * step);
}

bool SubcarrierMapper::BuildBranchPositions(const CarrierPattern* patterns) {
  const int32_t L = symbolLength;
  int64_t S = 1;
  for (int32_t i = 0; i < branchCount; ++i) {
    if (!connected[size_t(i)]) continue;
    const CarrierPattern& p = patterns[i];
    if (p.symbols < 0 || (p.symbols > 0 && p.carriersPerSym == nullptr)) {
      errorText << "CarriersPerSym of the " << i << "'th input branch is missing or has a negative size.\n";
      return false;
    }
    S = Lcm(S, p.symbols);
    if (L <= 0 || S > kMaxLength / L) {
      errorText << "Frame length of the input branch patterns exceeds " << kMaxLength << " samples.\n";
      return false;
    }
  }
  symbolsPerFrame = int32_t(S);
  frameLength = int32_t(S * L);

  for (int32_t i = 0; i < branchCount; ++i) {
    std::vector<int32_t>& list = branchPositions[size_t(i)];
    samplesPerFiring[size_t(i)] = 0;
    list.clear();
    if (!connected[size_t(i)]) continue;
    const CarrierPattern& p = patterns[i];
    const int64_t h = SumCounts(p.carriersPerSym, p.symbols);
    if (h < 0) {
      errorText << "Negative CarriersPerSym found in the " << i << "'th input branch.\n";
      return false;
    }
    const int32_t repeats = p.symbols == 0 ? 0 : int32_t(S / p.symbols);
    if (h > kMaxLength || h * repeats > kMaxLength) {
      errorText << "Too many carriers in the " << i << "'th input branch.\n";
      return false;
    }
    samplesPerFiring[size_t(i)] = int32_t(h * repeats);
    list.assign(size_t(h * repeats), 0);
    const int result = BuildCarrierPositions(L, p.symbols, int32_t(h), CenteredSymbol, p.carriersPerSym, p.indexType,
                                             p.index, p.indexCount, list);
    if (result == kCountMismatch) {
      errorText << "Parameters of the" << i << "'th branch don't match.\n";
      return false;
    }
    if (result == kOutOfRange) {
      errorText << "Sub-carrier index of the" << i << "'th branch beyond [-DFTSize/2, DFTSize/2-1].\n";
      return false;
    }
    RepeatPattern(list, int32_t(h), int64_t(p.symbols) * L, repeats);
  }
  return true;
}

bool SubcarrierMapper::BuildExplicitReference(const CarrierPattern& reference) {
  const int32_t L = symbolLength;
  const int32_t S = symbolsPerFrame;
  const int32_t q = reference.symbols;
  if (q <= 0 || S % q != 0) {
    errorText << "The size of EVMRef_NumCarriers should be a factor of " << S << ".\n";
    return false;
  }
  if (reference.carriersPerSym == nullptr) {
    errorText << "EVMRef_NumCarriers is missing.\n";
    return false;
  }
  int64_t e = 0;
  for (int32_t j = 0; j < q; ++j) {
    if (reference.carriersPerSym[j] < 0) {
      errorText << "Negative CarrierPerSym found in the " << j << "'th EVMRef output branch.\n";
      return false;
    }
    e += reference.carriersPerSym[j];
  }
  const int32_t repeats = S / q;
  if (e > kMaxLength || e * repeats > kMaxLength) {
    errorText << "Too many carriers in EVMRef.\n";
    return false;
  }
  evmRefLength = int32_t(e * repeats);
  referencePositions.assign(size_t(evmRefLength), 0);
  const int result = BuildCarrierPositions(L, q, int32_t(e), 1, reference.carriersPerSym, reference.indexType,
                                           reference.index, reference.indexCount, referencePositions);
  if (result == kCountMismatch) {
    errorText << "Parameters of EVMRef don't match.\n";
    return false;
  }
  if (result == kOutOfRange) {
    errorText << "EVMRef_CarrierIndex beyond [-DFTSize/2, DFTSize/2-1].\n";
    return false;
  }
  if (CenteredSymbol == 0) {
    for (int64_t m = 0; m < e; ++m) {
      const int32_t r = referencePositions[size_t(m)];
      referencePositions[size_t(m)] = (r % L + L / 2) % L + L * (r / L);
    }
  }
  RepeatPattern(referencePositions, int32_t(e), int64_t(q) * L, repeats);
  return true;
}

std::vector<char> SubcarrierMapper::NamedPositions() const {
  std::vector<char> named(size_t(frameLength), 0);
  for (const std::vector<int32_t>& list : branchPositions)
    for (int32_t p : list)
      if (p >= 0 && p < frameLength) named[size_t(p)] = 1;
  return named;
}

void SubcarrierMapper::BuildUnionReference() {
  const std::vector<char> named = NamedPositions();
  referencePositions.clear();
  auto take = [&](int64_t from, int64_t to) {
    for (int64_t p = from; p < to; ++p)
      if (named[size_t(p)]) referencePositions.push_back(int32_t(p));
  };
  if (CenteredSymbol != 0) {
    take(0, frameLength);
  } else {
    // Lowest frequency first: the negative half of each symbol sits at
    // its end in this layout.
    const int64_t L = symbolLength;
    for (int64_t s = 0; s < symbolsPerFrame; ++s) {
      take(s * L + L / 2, s * L + L);
      take(s * L, s * L + L / 2);
    }
  }
  evmRefLength = int32_t(referencePositions.size());
}

void SubcarrierMapper::ListUnnamedPositions() {
  const std::vector<char> named = NamedPositions();
  unnamedPositions.clear();
  for (int32_t p = 0; p < frameLength; ++p)
    if (!named[size_t(p)]) unnamedPositions.push_back(p);
}

}  // namespace OrvennModelBuilder

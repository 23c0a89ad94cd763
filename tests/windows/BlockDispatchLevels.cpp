// AMI_GetWave's block path against the per-sample network, bit for bit, at
// every lane level this processor runs, as a Windows program: the lane
// kernels' wide vectors meet the Windows stack and calling convention here,
// so every level must give the network's samples under Wine as on Linux.
// Prints one line per level and exits 0 when every output agrees.
#include "ami/AmiEntryPoints.h"
#include "blocks/FIRLanes.h"
#include "model/tessalune_tx.h"
#include "tests/AnySamples.h"

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

using OrvennModelBuilder::FIRLanes;

namespace {

// The wave through one instance in calls of the sizes given (cycled); the
// level runs the block path there, or -1 the per-sample network. The bit
// time is 100 ps, shortened at few samples per bit so that the sample
// interval stays fine enough for the response filters (at most 16 ps).
bool Drive(const std::string& params, int samplesPerBit, int level, const std::vector<long>& calls,
           std::vector<double>& wave) {
  std::vector<char> text(params.begin(), params.end());
  text.push_back('\0');
  void* handle = nullptr;
  char* msg = nullptr;
  const double bitTime = samplesPerBit < 7 ? 16e-12 * samplesPerBit : 1e-10;
  bool ok = AMI_Init(nullptr, 0, 0, bitTime / samplesPerBit, bitTime, text.data(), nullptr, &handle, &msg) == 1;
  tessalune_tx* model = static_cast<tessalune_tx*>(handle);
  if (ok && level < 0) model->BlockPath.UseNetwork();
  if (ok && level >= 0) ok = model->BlockPath.SelectLevel(FIRLanes::Level(level));
  double clocks[1];
  for (size_t at = 0, c = 0; ok && at < wave.size(); ++c) {
    const long n = std::min(calls[c % calls.size()], long(wave.size() - at));
    ok = AMI_GetWave(wave.data() + at, n, clocks, nullptr, handle) == 1;
    at += size_t(n);
  }
  AMI_Close(handle);
  return ok;
}

}  // namespace

int main() {
  const int samplesPerBit[] = {1, 2, 3, 7, 32, 33, 64, 128};
  std::mt19937 rng(2026);
  int failures = 0;
  for (int level = 0; level < FIRLanes::LevelCount; ++level) {
    const char* name = FIRLanes::Name(FIRLanes::Level(level));
    if (!FIRLanes::Supported(FIRLanes::Level(level))) {
      std::printf("%-9s not run: this processor lacks it\n", name);
      continue;
    }
    int cases = 0, levelFailures = 0;
    for (int e = 0; e <= 6; ++e) {
      for (int s = 0; s <= 8; ++s) {
        const std::string params = "(tessalune_tx (emphasis " + std::to_string(e) + ") (Vreg " + std::to_string(s / 3) +
                                   ") (corner " + std::to_string(s % 3) + "))";
        const int n = samplesPerBit[(e * 9 + s) % 8];
        const std::vector<double> input = AnySamples(3000, uint64_t(e * 9 + s));
        std::vector<long> calls(16);
        for (long& c : calls) c = long(rng() % 700);
        calls[0] = 1;
        std::vector<double> expected = input, got = input;
        const bool ran = Drive(params, n, -1, {long(input.size())}, expected) && Drive(params, n, level, calls, got);
        const std::string difference = ran ? FirstDifference(got, expected) : "the model refused to run";
        ++cases;
        if (!difference.empty()) {
          ++levelFailures;
          std::printf("%s, %d samples per bit, %s: %s\n", params.c_str(), n, name, difference.c_str());
        }
      }
    }
    std::printf("%-9s %d of %d cases give the network's samples\n", name, cases - levelFailures, cases);
    failures += levelFailures;
  }
  return failures == 0 ? 0 : 1;
}

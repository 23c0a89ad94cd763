// Calls the built library as a simulator does: AMI_Init must accept the
// timing and the parameters, AMI_GetWave must return one clock time per
// unit interval of a pattern once the clock recovery has locked, in order
// and ended by -1, AMI_Close must succeed. Run: @NAME@_test path/to/the/library
#include "LoadModel.h"

#include <cmath>
#include <vector>

int main(int argc, char** argv) {
  LoadedModel model;
  if (argc < 2 || !LoadModel(argv[1], model) || model.getWave == nullptr) return 2;
  const int spb = 16;
  const double bitTime = 1e-10, sampleInterval = bitTime / spb;
  std::vector<double> impulse(size_t(8 * spb), 0.0);
  impulse[0] = 1.0;
  char parameters[] = "(@NAME@ (ctle_dc_gain 0) (ctle_peaking 6) (cdr_phase_step 0.015625))";
  char* out = nullptr;
  char* msg = nullptr;
  void* handle = nullptr;
  EXPECT(model.init(impulse.data(), long(impulse.size()), 0, sampleInterval, bitTime, parameters, &out, &handle,
                    &msg) == 1);
  // A pattern of pairs of bits (0011...) at the bit rate, in blocks.
  const int bits = 4000, block = 1024;
  std::vector<double> wave(size_t(bits * spb));
  for (size_t i = 0; i < wave.size(); ++i) wave[i] = (i / size_t(2 * spb)) % 2 == 0 ? 0.5 : -0.5;
  std::vector<double> clocks, times(static_cast<size_t>(block));
  for (size_t start = 0; start < wave.size(); start += block) {
    const long size = long(wave.size() - start < size_t(block) ? wave.size() - start : size_t(block));
    EXPECT(model.getWave(wave.data() + start, size, times.data(), &out, handle) == 1);
    size_t n = 0;
    while (n < times.size() && times[n] != -1.0) clocks.push_back(times[n++]);
    EXPECT(n < times.size());
  }
  EXPECT(clocks.size() > size_t(bits - 4) && clocks.size() <= size_t(bits));
  for (size_t i = clocks.size() / 2; i + 1 < clocks.size(); ++i)
    EXPECT(std::fabs(clocks[i + 1] - clocks[i] - bitTime) < 0.1 * bitTime);
  EXPECT(model.close(handle) == 1);
  if (gFailures == 0) std::printf("@NAME@: all checks passed\n");
  return gFailures == 0 ? 0 : 1;
}

// Calls the built library as a simulator does: AMI_Init must return the
// impulse response through the FFE (its three taps, one unit interval
// apart), AMI_GetWave must filter a step the same way, AMI_Close must
// succeed. Run: @NAME@_test path/to/the/library
#include "LoadModel.h"

#include <cmath>
#include <vector>

int main(int argc, char** argv) {
  LoadedModel model;
  if (argc < 2 || !LoadModel(argv[1], model) || model.getWave == nullptr) return 2;
  const int spb = 8;
  const double bitTime = 1e-10, sampleInterval = bitTime / spb;
  std::vector<double> impulse(size_t(4 * spb), 0.0);
  impulse[0] = 1.0;
  char parameters[] = "(@NAME@ (tap_pre -0.1) (tap_main 0.7) (tap_post -0.2))";
  char* out = nullptr;
  char* msg = nullptr;
  void* handle = nullptr;
  EXPECT(model.init(impulse.data(), long(impulse.size()), 0, sampleInterval, bitTime, parameters, &out, &handle,
                    &msg) == 1);
  for (size_t i = 0; i < impulse.size(); ++i) {
    const double expected = i == 0 ? -0.1 : i == size_t(spb) ? 0.7 : i == size_t(2 * spb) ? -0.2 : 0.0;
    EXPECT(impulse[i] == expected);
  }
  // A step settles at the taps' sum once all three have seen it.
  std::vector<double> wave(size_t(6 * spb), 1.0);
  EXPECT(model.getWave(wave.data(), long(wave.size()), nullptr, &out, handle) == 1);
  EXPECT(wave[0] == -0.1);
  EXPECT(std::fabs(wave.back() - 0.4) < 1e-12);
  EXPECT(model.close(handle) == 1);
  if (gFailures == 0) std::printf("@NAME@: all checks passed\n");
  return gFailures == 0 ? 0 : 1;
}

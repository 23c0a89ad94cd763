// A stand-in GetWave model for testing the simulation host apart from the
// real transmitter: it delays the waveform by a fixed number of samples.
// Its parameter string picks a behaviour: (fake (mode 0)) passes the signal
// on, (mode 1) fails AMI_Init with a message, (mode 2) fails the second
// AMI_GetWave call.
#include <cstring>
#include <deque>
#include <string>

#define EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr int kDelay = 5;

struct Fake {
  int mode = 0;
  int calls = 0;
  std::deque<double> line = std::deque<double>(kDelay, 0.0);
  std::string message;
};

}  // namespace

EXPORT long AMI_Init(double*, long, long, double, double, char* parameters, char**, void** handle, char** msg) {
  auto* fake = new Fake;
  const char* mode = std::strstr(parameters, "(mode ");
  if (mode) fake->mode = mode[6] - '0';
  *handle = fake;
  if (fake->mode == 1) {
    fake->message = "fake: init failed on purpose";
    *msg = &fake->message[0];
    return 0;
  }
  return 1;
}

EXPORT long AMI_GetWave(double* wave, long size, double* clocks, char**, void* handle) {
  auto* fake = static_cast<Fake*>(handle);
  if (fake->mode == 2 && ++fake->calls == 2) return 0;
  for (long i = 0; i < size; ++i) {
    fake->line.push_back(wave[i]);
    wave[i] = fake->line.front();
    fake->line.pop_front();
  }
  if (size > 0) clocks[0] = -1.0;
  return 1;
}

EXPORT long AMI_Close(void* handle) {
  delete static_cast<Fake*>(handle);
  return 1;
}

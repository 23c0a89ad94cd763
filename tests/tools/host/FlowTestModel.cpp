// Small models for testing the host's reference flows: a gain, applied by
// AMI_GetWave (built with FLOW_TEST_GETWAVE) and/or to the impulse response
// AMI_Init returns. The parameter string picks:
//   (gain G)          the gain, 1 when not given
//   (init_scales 1)   AMI_Init scales the impulse response by G (else leaves it)
//   (echo B)          with init_scales, AMI_Init's response is the two-tap
//   (echo_ui D)       FIR G + B z^-d, d the samples of D UI (GetWave keeps G)
//   (clock_phase P)   AMI_GetWave returns a clock tick at P UI into every UI
//                     (sampling then at P + 1/2 UI); none when not given
//   (clock_jitter J)  ticks alternately J UI late and J UI early
//   (clock_skip N)    every Nth tick left out
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#define EXPORT extern "C" __attribute__((visibility("default")))

namespace {

struct Gain {
  double gain = 1.0;
  bool initScales = false;
  bool clocks = false;
  double clockPhase = 0.0;
  double clockJitter = 0.0;
  long clockSkip = 0;
  double dt = 0.0;
  double bitTime = 0.0;
  long samples = 0;  // samples seen by AMI_GetWave so far
};

double Number(const char* text, const char* name, double fallback) {
  const char* at = text ? std::strstr(text, name) : nullptr;
  return at ? std::atof(at + std::strlen(name)) : fallback;
}

}  // namespace

EXPORT long AMI_Init(double* impulse, long rowSize, long, double dt, double bitTime, char* parameters, char**,
                     void** handle, char**) {
  auto* g = new Gain;
  g->gain = Number(parameters, "(gain ", 1.0);
  g->initScales = Number(parameters, "(init_scales ", 0.0) != 0.0;
  g->clocks = parameters && std::strstr(parameters, "(clock_phase ") != nullptr;
  g->clockPhase = Number(parameters, "(clock_phase ", 0.0);
  g->clockJitter = Number(parameters, "(clock_jitter ", 0.0);
  g->clockSkip = static_cast<long>(Number(parameters, "(clock_skip ", 0.0));
  g->dt = dt;
  g->bitTime = bitTime;
  const double echo = Number(parameters, "(echo ", 0.0);
  const long delay = std::lround(Number(parameters, "(echo_ui ", 0.0) * bitTime / dt);
  if (g->initScales) {
    for (long i = rowSize - 1; i >= 0; --i)
      impulse[i] = g->gain * impulse[i] + (i >= delay && delay > 0 ? echo * impulse[i - delay] : 0.0);
  }
  *handle = g;
  return 1;
}

#ifdef FLOW_TEST_GETWAVE
EXPORT long AMI_GetWave(double* wave, long size, double* clockTimes, char**, void* handle) {
  auto* g = static_cast<Gain*>(handle);
  for (long i = 0; i < size; ++i) wave[i] *= g->gain;
  long written = 0;
  if (g->clocks) {
    // Ticks k * UI + phase that fall within this call's samples.
    const double from = static_cast<double>(g->samples) * g->dt;
    const double to = static_cast<double>(g->samples + size) * g->dt;
    // Tick k belongs to the call that holds its undisturbed time.
    for (double k = std::ceil(from / g->bitTime - g->clockPhase);; k += 1.0) {
      const double nominal = (k + g->clockPhase) * g->bitTime;
      if (nominal >= to || written >= size) break;
      const long tick = static_cast<long>(k);
      const double t = nominal + (tick % 2 ? g->clockJitter : -g->clockJitter) * g->bitTime;
      if (g->clockSkip > 0 && tick % g->clockSkip == 0) continue;
      if (nominal >= from && t >= 0) clockTimes[written++] = t;
    }
  }
  clockTimes[written] = -1.0;
  g->samples += size;
  return 1;
}
#endif

EXPORT long AMI_Close(void* handle) {
  delete static_cast<Gain*>(handle);
  return 1;
}

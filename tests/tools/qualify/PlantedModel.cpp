// A small receiver-like model for testing `tessalune qualify`, built once
// sound and once per planted fault (PLANTED_FAULT, below). Sound, it is a
// linear two-tap filter with a gain: AMI_Init filters the impulse matrix
// with it, AMI_GetWave the wave, carrying its history from call to call; it
// returns one clock time per bit and its output energy as an output
// parameter. Each fault is one a model maker makes. The Windows build makes
// some of them as DLLs too (tests/windows/), which `qualify` runs under Wine.
#ifndef _WIN32
#include <unistd.h>
#endif
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
#define EXPORT extern "C" __declspec(dllexport)
#else
#define EXPORT extern "C" __attribute__((visibility("default")))
#endif

#define FAULT_NONE 0
#define FAULT_CLOCK_OVERRUN 1  // clears 8 clock-times entries past the array
#define FAULT_GLOBAL_STATE 2   // keeps the gain in a global: the last AMI_Init's wins
#define FAULT_LEAK 3           // AMI_Init takes 64 KiB that AMI_Close never frees
#define FAULT_BLOCK_SIZE 4     // forgets its history at every AMI_GetWave call
#define FAULT_CRASH 5          // AMI_Init writes through a null pointer at mode 2
#define FAULT_HANG 6           // AMI_Init never returns when the UI is no whole number of samples
#define FAULT_MISMATCH 7       // AMI_GetWave's gain is 0.8 of AMI_Init's
#define FAULT_BAD_OUTPUT 8     // AMI_GetWave's output parameter string does not parse
#define FAULT_STRAY_LIBRARY 9  // needs a shared library of its own at load
#define FAULT_EXIT 10          // AMI_Init calls exit(3) at mode 2
#define FAULT_RUNAWAY 11       // AMI_Init allocates without end at mode 2
#define FAULT_CORNERS 12       // AMI_Init crashes at gain 1.5 and calls exit(4) at mode 1

#ifndef PLANTED_FAULT
#define PLANTED_FAULT FAULT_NONE
#endif

#if PLANTED_FAULT == FAULT_STRAY_LIBRARY
extern "C" double PlantedHelperScale();
#else
static double PlantedHelperScale() { return 1.0; }
#endif

namespace {

struct Planted {
  double gain = 1.0;
  int mode = 0;
  double previous = 0.0;  // the filter's history
  long samples = 0;       // samples seen, for the clock times
  double sampleInterval = 0.0;
  double bitTime = 0.0;
  double energy = 0.0;
  std::string out;
  std::string message;
};

#if PLANTED_FAULT == FAULT_GLOBAL_STATE
double globalGain = 1.0;
#endif
#if PLANTED_FAULT == FAULT_LEAK
void* volatile lastTaken = nullptr;  // seen from outside, so the allocation stays
#endif

double Parameter(const char* text, const char* name, double otherwise) {
  const std::string key = std::string("(") + name + " ";
  const char* at = text ? std::strstr(text, key.c_str()) : nullptr;
  return at ? std::strtod(at + key.size(), nullptr) : otherwise;
}

double Gain(const Planted& p) {
#if PLANTED_FAULT == FAULT_GLOBAL_STATE
  (void)p;
  return globalGain * PlantedHelperScale();
#else
  return p.gain * PlantedHelperScale();
#endif
}

void PlantInitFault(Planted& p, double sampleInterval, double bitTime) {
  (void)p, (void)sampleInterval, (void)bitTime;
#if PLANTED_FAULT == FAULT_LEAK
  lastTaken = std::malloc(64 * 1024);
  std::memset(lastTaken, 1, 64 * 1024);
#elif PLANTED_FAULT == FAULT_CRASH
  if (p.mode == 2) *static_cast<volatile int*>(nullptr) = 1;
#elif PLANTED_FAULT == FAULT_EXIT
  if (p.mode == 2) std::exit(3);
#elif PLANTED_FAULT == FAULT_CORNERS
  if (p.gain > 1.25) *static_cast<volatile int*>(nullptr) = 1;
  if (p.mode == 1) std::exit(4);
#elif PLANTED_FAULT == FAULT_RUNAWAY
  // Until the allocation fails: std::bad_alloc then leaves through a C
  // function, which ends the process.
  for (std::vector<char*> blocks; p.mode == 2;) {
    blocks.push_back(new char[64 << 20]);
    std::memset(blocks.back(), 1, 64 << 20);
  }
#elif PLANTED_FAULT == FAULT_HANG
  const double ratio = bitTime / sampleInterval;
  while (std::fabs(ratio - std::round(ratio)) > 1e-9) std::this_thread::sleep_for(std::chrono::milliseconds(50));
#endif
}

#ifndef _WIN32
// With PLANTED_LOAD_LOG set, every process that loads the library appends
// "pid parent-pid" to that file: a test sees which processes loaded it.
__attribute__((constructor)) void LogLoad() {
  const char* log = std::getenv("PLANTED_LOAD_LOG");
  if (!log) return;
  if (FILE* file = std::fopen(log, "a")) {
    std::fprintf(file, "%ld %ld\n", static_cast<long>(getpid()), static_cast<long>(getppid()));
    std::fclose(file);
  }
}
#endif

}  // namespace

EXPORT long AMI_Init(double* impulse, long rows, long aggressors, double sampleInterval, double bitTime,
                     char* parameters, char** out, void** handle, char** message) {
  auto* p = new Planted;
  *handle = p;
  p->gain = Parameter(parameters, "gain", 1.0);
  p->mode = static_cast<int>(Parameter(parameters, "mode", 0));
  p->sampleInterval = sampleInterval;
  p->bitTime = bitTime;
#if PLANTED_FAULT == FAULT_GLOBAL_STATE
  globalGain = p->gain;
#endif
  PlantInitFault(*p, sampleInterval, bitTime);
  for (long column = 0; column <= aggressors; ++column) {
    double previous = 0.0;
    for (long i = 0; i < rows; ++i) {
      double& v = impulse[column * rows + i];
      const double x = v;
      v = Gain(*p) * (0.75 * x + 0.25 * previous);
      previous = x;
    }
  }
  p->out = "(planted (energy 0))";
  *out = &p->out[0];
  p->message = "planted: ready. ";
  *message = &p->message[0];
  return 1;
}

EXPORT long AMI_GetWave(double* wave, long size, double* clocks, char** out, void* handle) {
  auto* p = static_cast<Planted*>(handle);
#if PLANTED_FAULT == FAULT_BLOCK_SIZE
  p->previous = 0.0;
#endif
  double gain = Gain(*p);
#if PLANTED_FAULT == FAULT_MISMATCH
  gain *= 0.8;
#endif
  const long perBit = static_cast<long>(p->bitTime / p->sampleInterval + 0.5);
  long written = 0;
  for (long i = 0; i < size; ++i) {
    const double x = wave[i];
    wave[i] = gain * (0.75 * x + 0.25 * p->previous);
    p->previous = x;
    p->energy += wave[i] * wave[i];
    if (perBit > 0 && p->samples++ % perBit == perBit / 2)
      clocks[written++] = static_cast<double>(p->samples) * p->sampleInterval;
  }
  clocks[written] = -1.0;
#if PLANTED_FAULT == FAULT_CLOCK_OVERRUN
  // "The array has room for 8 more": it has not.
  for (long i = written + 1; i <= size + 8; ++i) clocks[i] = -1.0;
#endif
  char text[96];
#if PLANTED_FAULT == FAULT_BAD_OUTPUT
  std::snprintf(text, sizeof text, "(planted (energy %.6g)", p->energy);
#else
  std::snprintf(text, sizeof text, "(planted (energy %.6g))", p->energy);
#endif
  p->out = text;
  *out = &p->out[0];
  return 1;
}

EXPORT long AMI_Close(void* handle) {
  delete static_cast<Planted*>(handle);
  return 1;
}

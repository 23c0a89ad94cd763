// A model that misbehaves as a third party's might, for testing that the
// host survives it. Its parameter string picks how, (mode N):
//   0 behaves (passes the signal on)      1 AMI_GetWave returns a NaN
//   2 ... +infinity                       3 ... 1e308
//   4 AMI_Init returns a NaN impulse      5 AMI_GetWave never returns
//   6 AMI_GetWave dereferences null       7 AMI_GetWave calls exit(3)
//   8 AMI_Init succeeds, handle null      9 AMI_GetWave hands back 20 MiB
//  10 AMI_Init's message is 20 MiB       11 clock times of 1e300 s
//  12 AMI_Init refuses, with terminal escapes in its message
//  13 AMI_Init never returns
// The NaN or huge sample is sample 100 of the first block. With
// (only_emphasis K) it misbehaves only where its parameters say (emphasis K)
// and behaves elsewhere, so that a sweep has points of both.
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#define EXPORT extern "C" __attribute__((visibility("default")))

namespace {

struct Misbehaving {
  int mode = 0;
  std::string text;
  bool first = true;
};

constexpr size_t kHuge = 20u << 20;

}  // namespace

EXPORT long AMI_Init(double* impulse, long rows, long, double, double, char* parameters, char** out, void** handle,
                     char** msg) {
  const char* at = std::strstr(parameters, "(mode ");
  int mode = at ? std::atoi(at + 6) : 0;
  const char* only = std::strstr(parameters, "(only_emphasis ");
  const char* emphasis = std::strstr(parameters, "(emphasis ");
  if (only && (!emphasis || std::atoi(only + 15) != std::atoi(emphasis + 10))) mode = 0;
  if (mode == 13)
    for (;;) pause();
  if (mode == 8) return 1;  // success, and no handle
  auto* m = new Misbehaving;
  m->mode = mode;
  *handle = m;
  *out = nullptr;
  if (mode == 4 && rows > 3) impulse[3] = std::nan("");
  if (mode == 10) m->text.assign(kHuge, 'm');
  if (mode == 12) m->text = "refused \x1b[2J\x1b[31mred\x1b[0m\a on purpose";
  if (!m->text.empty()) *msg = &m->text[0];
  return mode == 12 ? 0 : 1;
}

EXPORT long AMI_GetWave(double* wave, long size, double* clocks, char** out, void* handle) {
  auto* m = static_cast<Misbehaving*>(handle);
  const double bad[] = {0, std::nan(""), HUGE_VAL, 1e308};
  if (m->first && m->mode >= 1 && m->mode <= 3 && size > 100) wave[100] = bad[m->mode];
  if (m->mode == 5)
    for (;;) pause();
  if (m->mode == 6) *static_cast<volatile int*>(nullptr) = 1;
  if (m->mode == 7) std::exit(3);
  if (m->mode == 9 && m->first) {
    m->text.assign(kHuge, 'p');
    *out = &m->text[0];
  }
  clocks[0] = -1.0;
  if (m->mode == 11 && size > 0) {
    clocks[0] = 1e300;
    clocks[1] = -1.0;
  }
  m->first = false;
  return 1;
}

EXPORT long AMI_Close(void* handle) {
  delete static_cast<Misbehaving*>(handle);
  return 1;
}

/* Runs the probe's aligned vector moves (UnalignedMoveProbe.c) on addresses
 * 8, 16 and 32 bytes past a 64-byte boundary, for every instruction set the
 * processor has. Assembled as the Windows build assembles them, every move
 * runs and copies right; left aligned, the first misaligned one faults.
 * Exits 0 when every copy is right. */
#include <stdio.h>
#include <string.h>

#include "UnalignedMoveProbe.h"

static double buffer[64] __attribute__((aligned(64)));

/* Copies from `p` by `move`; true when `copies` copies of `width` doubles
 * landed 8 doubles apart and nothing else changed. */
static int MovesRight(void (*move)(double*), double* p, int width, int copies) {
  for (int i = 0; i < 64; ++i) buffer[i] = 0.25 * i;
  double expected[64];
  memcpy(expected, buffer, sizeof buffer);
  const int at = (int)(p - buffer);
  for (int c = 1; c <= copies; ++c)
    for (int i = 0; i < width; ++i) expected[at + 8 * c + i] = buffer[at + i];
  move(p);
  return memcmp(expected, buffer, sizeof buffer) == 0;
}

int main(void) {
  __builtin_cpu_init();
  const struct {
    const char* name;
    int present;
    void (*move)(double*);
    int width, copies;
  } levels[] = {
      {"sse2", __builtin_cpu_supports("sse2"), tessalune_move_sse2, 2, 1},
      {"avx", __builtin_cpu_supports("avx"), tessalune_move_avx, 4, 1},
      {"avx2", __builtin_cpu_supports("avx2"), tessalune_move_avx2, 4, 1},
      {"avx512f", __builtin_cpu_supports("avx512f"), tessalune_move_avx512, 8, 2},
  };
  int failed = 0;
  for (unsigned k = 0; k < sizeof levels / sizeof levels[0]; ++k) {
    if (!levels[k].present) {
      printf("%s: not on this processor\n", levels[k].name);
      continue;
    }
    for (int offset = 1; offset <= 4; offset *= 2) {
      if (!MovesRight(levels[k].move, buffer + offset, levels[k].width, levels[k].copies)) {
        printf("%s: wrong copy at %d bytes past a 64-byte boundary\n", levels[k].name, 8 * offset);
        failed = 1;
      }
    }
    printf("%s: aligned moves ran at 8, 16 and 32 bytes past a 64-byte boundary\n", levels[k].name);
  }
  return failed;
}

/* A minimal simulator host in plain C: loads the model library with dlopen,
 * looks the three entry points up by their plain names and drives two
 * instances side by side. Exits 0 when every check holds; prints the first
 * failed check otherwise. */
#include "ami/AmiEntryPoints.h"
#include "tests/AmiLibrary.h"

#include <math.h>
#include <stdio.h>
#include <string.h>

#define N 2048

static AMI_Init_Function init_fn;
static AMI_GetWave_Function getwave_fn;
static AMI_Close_Function close_fn;

/* A bit pattern at 32 samples per bit: +-0.5 levels. */
static void fill_pattern(double* wave, long n) {
  unsigned lfsr = 0x5Au;
  double level = 0.5;
  for (long i = 0; i < n; ++i) {
    if (i % 32 == 0) {
      unsigned bit = ((lfsr >> 6) ^ (lfsr >> 5)) & 1u;
      lfsr = ((lfsr << 1) | bit) & 0x7Fu;
      level = bit ? 0.5 : -0.5;
    }
    wave[i] = level;
  }
}

int main(void) {
  void* lib = load_ami_library(TESSALUNE_MODEL_PATH, &init_fn, &getwave_fn, &close_fn);
  if (lib == NULL) return 1;
  CHECK(dlsym(lib, "ReportError") == NULL);

  double impulse[4] = {1.0, 2.0, 3.0, 4.0};
  char params[] = "(tessalune_tx (emphasis 3) (Vreg 1) (corner 0))";
  char* out_params = (char*)"untouched";
  char* msg = (char*)"untouched";
  void* handle = NULL;

  /* Full success: message pointer and impulse matrix untouched. */
  CHECK(init_fn(impulse, 4, 0, 3.125e-12, 1e-10, params, &out_params, &handle, &msg) == 1);
  CHECK(handle != NULL);
  CHECK(strcmp(msg, "untouched") == 0);
  CHECK(strcmp(out_params, "untouched") == 0);
  CHECK(impulse[0] == 1.0 && impulse[3] == 4.0);

  /* A second instance with missing parameters gets the three sentences. */
  char empty[] = "";
  void* other = NULL;
  char* other_msg = NULL;
  CHECK(init_fn(impulse, 4, 0, 3.125e-12, 1e-10, empty, &out_params, &other, &other_msg) == 1);
  CHECK(other != NULL && other != handle);
  CHECK(other_msg != NULL);
  CHECK(strstr(other_msg, "parameter emphasis") < strstr(other_msg, "parameter Vreg"));
  CHECK(strstr(other_msg, "parameter Vreg") < strstr(other_msg, "parameter corner"));

  /* Same waveform through instance 1 in one call and in uneven pieces
   * interleaved with instance 2: bit-identical results. */
  static double whole[N], pieces[N], noise[N];
  double clocks[4] = {5.0, 5.0, 5.0, 5.0};
  fill_pattern(whole, N);
  memcpy(pieces, whole, sizeof whole);
  CHECK(getwave_fn(whole, N, clocks, &out_params, handle) == 1);
  CHECK(clocks[0] == -1.0 && clocks[1] == 5.0);
  for (long i = 0; i < 32; ++i) CHECK(whole[i] == 0.0); /* one unit interval of model delay */
  double peak = 0.0;
  for (long i = 0; i < N; ++i) peak = fmax(peak, fabs(whole[i]));
  CHECK(peak > 0.1 && peak < 4.0);

  void* again = NULL;
  CHECK(init_fn(impulse, 4, 0, 3.125e-12, 1e-10, params, &out_params, &again, &msg) == 1);
  long sizes[] = {1, 0, 7, 100, 1000, 940};
  long at = 0;
  for (unsigned k = 0; k < sizeof sizes / sizeof sizes[0]; ++k) {
    fill_pattern(noise, N);
    CHECK(getwave_fn(noise, N, clocks, &out_params, other) == 1);
    CHECK(getwave_fn(pieces + at, sizes[k], clocks, &out_params, again) == 1);
    at += sizes[k];
  }
  CHECK(at == N);
  CHECK(memcmp(whole, pieces, sizeof whole) == 0);

  /* Faults: negative count, null handle. */
  clocks[0] = 5.0;
  CHECK(getwave_fn(pieces, -1, clocks, &out_params, again) == 0);
  CHECK(clocks[0] == 5.0);
  CHECK(getwave_fn(pieces, 4, clocks, &out_params, NULL) == 0);

  /* Failed AMI_Init (129 samples per bit): the instance is handed over,
   * never runs, and closes cleanly. */
  void* failed = NULL;
  char* failed_msg = NULL;
  CHECK(init_fn(impulse, 4, 0, 1e-10 / 129, 1e-10, params, &out_params, &failed, &failed_msg) == 0);
  CHECK(failed != NULL && failed_msg != NULL);
  CHECK(strcmp(failed_msg, "Error occurred in tessalune_tx::Setup(). ") == 0);
  double probe[3] = {1.0, 2.0, 3.0};
  CHECK(getwave_fn(probe, 3, clocks, &out_params, failed) == 0);
  CHECK(probe[0] == 1.0 && probe[1] == 2.0 && probe[2] == 3.0);
  CHECK(close_fn(failed) == 1);

  CHECK(close_fn(handle) == 1);
  CHECK(close_fn(other) == 1);
  CHECK(close_fn(again) == 1);
  CHECK(dlclose(lib) == 0);
  printf("dlopen host: all checks passed\n");
  return 0;
}

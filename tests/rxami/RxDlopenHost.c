/* A minimal simulator host in plain C that plays the IBIS-AMI flow with the
 * reference receiver by hand: loads the library with dlopen, finds the three
 * entry points by their plain names, hands AMI_Init the channel's impulse
 * response (a one-pole RC line whose time constant is one unit interval,
 * 32 samples per UI) and takes back the equalised one, then sends the
 * channel's output for a PRBS7 pattern through AMI_GetWave in blocks of
 * 1,024 samples, collecting the clock times, and samples the returned wave
 * half a bit time after each. A second instance takes the whole wave in one
 * call and must give the same bits and clock times. Exits 0 when every check
 * holds; prints the first failed check otherwise. */
#include "amiframe/AmiExports.h"
#include "tests/AmiLibrary.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define SPB 32
#define BITS 4000
#define SAMPLES (BITS * SPB)
#define ROW 2048
#define BLOCK 1024
#define UI 1e-10
#define DT (UI / SPB)

static AMI_Init_Function init_fn;
static AMI_GetWave_Function getwave_fn;
static AMI_Close_Function close_fn;

static double impulse[ROW], given[ROW];
static double wave[SAMPLES], whole[SAMPLES], clocks[SAMPLES], whole_clocks[SAMPLES + 1];
static double times[BITS + 16];
static int sent[BITS];

/* First post-cursor over main cursor of the one-UI pulse response. */
static double post_cursor_ratio(const double* h) {
  static double pulse[ROW];
  long peak = 0;
  for (long i = 0; i < ROW; ++i) {
    pulse[i] = 0.0;
    for (long j = 0; j < SPB && j <= i; ++j) pulse[i] += h[i - j];
    if (pulse[i] > pulse[peak]) peak = i;
  }
  return pulse[peak + SPB] / pulse[peak];
}

static double wave_at(const double* w, double t) {
  double x = t / DT;
  long i = (long)floor(x);
  if (i < 0) return w[0];
  if (i + 1 >= SAMPLES) return w[SAMPLES - 1];
  return w[i] + (w[i + 1] - w[i]) * (x - (double)i);
}

int main(void) {
  void* lib = load_ami_library(TESSALUNE_RX_MODEL_PATH, &init_fn, &getwave_fn, &close_fn);
  if (lib == NULL) return 1;
  CHECK(dlsym(lib, "ReportError") == NULL);

  /* The channel: impulse response sampled on the simulation grid. */
  const double alpha = 1.0 - exp(-1.0 / SPB);
  for (long i = 0; i < ROW; ++i) given[i] = impulse[i] = alpha * pow(1.0 - alpha, (double)i);

  char params[] =
      "(tessalune_rx (ctle_enable True) (ctle_dc_gain 0) (ctle_peak_freq 0) (ctle_peaking 6) (dfe_taps 4)"
      " (dfe_step 0.001) (dfe_adapt True) (dfe_initial_taps \"\") (cdr_phase_step 0.015625)"
      " (cdr_freq_step 0.0001220703125))";
  char* out = NULL;
  char* msg = (char*)"untouched";
  void* handle = NULL;

  /* AMI_Init: the impulse response comes back through the CTLE, with its
   * area (0 dB at DC) and less inter-symbol interference. */
  CHECK(init_fn(impulse, ROW, 0, DT, UI, params, &out, &handle, &msg) == 1);
  CHECK(handle != NULL);
  CHECK(strcmp(msg, "untouched") == 0);
  CHECK(out != NULL && strncmp(out, "(tessalune_rx (dfe_level 0) (dfe_tap1 0)", 40) == 0);
  double before = 0.0, after = 0.0;
  for (long i = 0; i < ROW; ++i) before += given[i], after += impulse[i];
  CHECK(fabs(after - before) < 1e-9);
  CHECK(post_cursor_ratio(impulse) < 0.5 * post_cursor_ratio(given));

  /* The channel's output for PRBS7 at +-0.5: the bits convolved with the
   * impulse response the host gave (the statistical flow would have used
   * the returned one instead). */
  unsigned lfsr = 0x7Fu;
  for (long k = 0; k < BITS; ++k) {
    lfsr = ((lfsr << 1) | (((lfsr >> 6) ^ (lfsr >> 5)) & 1u)) & 0x7Fu;
    sent[k] = (int)(lfsr & 1u);
  }
  for (long n = 0; n < SAMPLES; ++n) {
    double y = 0.0;
    for (long i = 0; i < ROW && i <= n; ++i) y += given[i] * (sent[(n - i) / SPB] ? 0.5 : -0.5);
    wave[n] = y;
  }
  memcpy(whole, wave, sizeof wave);

  /* AMI_GetWave block by block; each clock-times array has the block's
   * size and ends with the marker -1. */
  long count = 0;
  for (long at = 0; at < SAMPLES; at += BLOCK) {
    for (long i = 0; i < BLOCK; ++i) clocks[i] = 7.0;
    char* block_out = NULL;
    CHECK(getwave_fn(wave + at, BLOCK, clocks, &block_out, handle) == 1);
    CHECK(block_out != NULL && strstr(block_out, "(dfe_tap4 ") != NULL && strstr(block_out, "(dfe_tap5 ") == NULL);
    long i = 0;
    while (i < BLOCK && clocks[i] != -1.0) {
      CHECK(count < BITS + 16);
      times[count++] = clocks[i++];
    }
    CHECK(i < BLOCK);
    CHECK(i <= BLOCK / SPB + 1);
  }
  CHECK(labs(count - BITS) <= 2);
  for (long k = 1000; k < count; ++k) CHECK(fabs(times[k] - times[k - 1] - UI) < UI / 16);

  /* The eye at the clock times: after 1,000 bits every decision is a sent
   * bit, at one lag, with an opening. */
  int best = -1;
  for (int lag = 0; lag < 3; ++lag) {
    int right = 0;
    for (long k = 1000; k + 3 < count; ++k) right += (wave_at(wave, times[k] + UI / 2) >= 0.0) == sent[k - lag];
    if (right > best) best = right;
  }
  CHECK(best == (int)(count - 1003));
  double eye = 1e9;
  for (long k = 1000; k < count; ++k) eye = fmin(eye, fabs(wave_at(wave, times[k] + UI / 2)));
  CHECK(eye > 0.1);

  /* The figures a host reports, for comparing with `tessalune sim --rx`
   * (the test RxHostCompare): from bit 2,000 (the receiver's Ignore_Bits)
   * on, the eye's height at the clock times (lowest '1' less highest '0'),
   * and the sampling instants' mean place in the UI and spread about it. */
  int lag = 0;
  for (int l = 0, most = -1; l < 3; ++l) {
    int right = 0;
    for (long k = 1000; k + 3 < count; ++k) right += (wave_at(wave, times[k] + UI / 2) >= 0.0) == sent[k - l];
    if (right > most) most = right, lag = l;
  }
  double low_one = 1e9, high_zero = -1e9, sum = 0.0, squares = 0.0, first_place = -1.0;
  long used = 0;
  for (long k = 2000; k + 3 < count; ++k) {
    const double v = wave_at(wave, times[k] + UI / 2);
    if (sent[k - lag])
      low_one = fmin(low_one, v);
    else
      high_zero = fmax(high_zero, v);
    double place = fmod(times[k] + UI / 2, UI);
    if (first_place < 0) first_place = place;
    if (place - first_place > UI / 2) place -= UI;
    if (first_place - place > UI / 2) place += UI;
    sum += place, squares += place * place, ++used;
  }
  const double mean_place = sum / (double)used;
  double mean_phase = fmod(mean_place, UI);
  if (mean_phase < 0) mean_phase += UI;
  printf("figures: height %.6f V, clock mean phase %.4f ps, jitter %.4f ps RMS\n", low_one - high_zero,
         mean_phase * 1e12, sqrt(fmax(0.0, squares / (double)used - mean_place * mean_place)) * 1e12);

  /* The same wave in one call through a second instance: same bits, same
   * clock times. */
  void* other = NULL;
  char* other_out = NULL;
  CHECK(init_fn(NULL, 0, 0, DT, UI, params, &other_out, &other, &msg) == 1);
  CHECK(getwave_fn(whole, SAMPLES, whole_clocks, &other_out, other) == 1);
  CHECK(memcmp(whole, wave, sizeof wave) == 0);
  for (long k = 0; k < count; ++k) CHECK(memcmp(&whole_clocks[k], &times[k], sizeof(double)) == 0);
  CHECK(whole_clocks[count] == -1.0);

  /* The output string AMI_Init handed out is rewritten in place: it now
   * holds the adapted taps. */
  CHECK(strstr(out, "(dfe_tap1 0)") == NULL);
  printf("receiver dlopen host: %ld clock times, eye %.3f V at the clock times, all checks passed\n%s\n", count, eye,
         out);
  CHECK(close_fn(handle) == 1);
  CHECK(close_fn(other) == 1);
  CHECK(dlclose(lib) == 0);
  return 0;
}

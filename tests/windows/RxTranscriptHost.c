/* The reference receiver's transcript host in plain C, built for Linux
 * (dlopen) and for 64-bit Windows (LoadLibrary): loads the receiver library
 * named by its argument, drives it through a fixed list of cases and writes
 * to stdout the result codes, message texts, output parameter strings, the
 * impulse response AMI_Init returns, every clock time and every output
 * sample as the hex of its bits. Two platforms that compute the same bits
 * write the same transcript, byte for byte.
 *
 *   rx_transcript_host LIBRARY > transcript.txt
 *
 * Exits 0 once the transcript is complete; 1 when the library or one of the
 * three entry points cannot be found. */
#include "TranscriptIo.h"

#include <math.h>
#include <stdio.h>
#include <string.h>

#define MAX_SAMPLES 19200
#define ROW 256

static AMI_Init_Function init_fn;
static AMI_GetWave_Function getwave_fn;
static AMI_Close_Function close_fn;

static long cases, samples, nonzero;

/* PRBS7 at `per_bit` samples per bit, +-0.5, through a one-pole RC line with
 * a time constant of one bit, in exactly representable steps: the line's
 * recursion uses a power-of-two coefficient, so every platform builds the
 * same stimulus. */
static void Stimulus(double* wave, long n, long per_bit, unsigned seed) {
  unsigned lfsr = 0x5Au ^ (seed & 0x7Fu);
  double level = 0.5, y = 0.0;
  const double alpha = per_bit >= 32 ? 1.0 / 32.0 : 1.0 / 16.0;
  for (long i = 0; i < n; ++i) {
    if (i % per_bit == 0) {
      level = NextPrbs7Bit(&lfsr) ? 0.5 : -0.5;
    }
    y += alpha * (level - y);
    wave[i] = y;
  }
}

/* One receiver instance from AMI_Init to AMI_Close: an impulse matrix of
 * 1 + `aggressors` rows goes through AMI_Init, the wave through AMI_GetWave
 * in the pieces listed (their sum is `n`), each with a clock-times array of
 * its own size. */
static void RunCase(const char* name, const char* parameters, long per_bit, long aggressors, long n, const long* pieces,
                    int piece_count) {
  static double wave[MAX_SAMPLES], clocks[MAX_SAMPLES], impulse[3 * ROW];
  static char text[1024];
  const double bit_time = 1e-10, sample_interval = bit_time / (double)per_bit;
  char* out_params = NULL;
  char* msg = NULL;
  void* handle = NULL;

  ++cases;
  printf("case %s\n", name);
  PutText("parameters", parameters);
  for (long i = 0; i < (aggressors + 1) * ROW; ++i) impulse[i] = ldexp(1.0, -(int)(i % ROW) / 8 - 3) / (1 + i / ROW);
  snprintf(text, sizeof text, "%s", parameters);
  long rc = init_fn(impulse, ROW, aggressors, sample_interval, bit_time, text, &out_params, &handle, &msg);
  printf("init %ld handle %s\n", rc, handle != NULL ? "set" : "null");
  PutText("message", msg);
  PutText("parameters_out", out_params);
  for (long i = 0; i < (aggressors + 1) * ROW; ++i) PutBits(impulse[i]);

  Stimulus(wave, n, per_bit, (unsigned)cases);
  long at = 0;
  for (int k = 0; k < piece_count; ++k) {
    for (long i = 0; i < pieces[k]; ++i) clocks[i] = 7.0;
    rc = getwave_fn(wave + at, pieces[k], clocks, &out_params, handle);
    printf("getwave %ld size %ld\n", rc, pieces[k]);
    for (long i = 0; i < pieces[k]; ++i) {
      fputs("clock ", stdout);
      PutBits(clocks[i]);
      if (clocks[i] == -1.0) break;
    }
    PutText("parameters_out", out_params);
    at += pieces[k];
  }
  for (long i = 0; i < n; ++i) {
    PutBits(wave[i]);
    if (wave[i] != 0.0) ++nonzero;
  }
  samples += n;
  printf("close %ld\n", close_fn(handle));
}

static const char* const kDefault =
    "(tessalune_rx (ctle_enable True) (ctle_dc_gain 0) (ctle_peak_freq 0) (ctle_peaking 6) (dfe_taps 4)"
    " (dfe_step 0.001) (dfe_adapt True) (dfe_initial_taps \"\") (cdr_phase_step 0.015625)"
    " (cdr_freq_step 0.0001220703125))";

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: %s LIBRARY > transcript.txt\n", argv[0]);
    return 2;
  }
  BinaryStdio();
  Library lib = LoadModel(argv[1], &init_fn, &getwave_fn, &close_fn);
  if (lib == NULL) return 1;

  const long pieces[] = {1, 5, 1000, 18194};
  const long whole[] = {MAX_SAMPLES};
  const long short_run[] = {1, 2047};
  RunCase("default in pieces", kDefault, 32, 1, MAX_SAMPLES, pieces, 4);
  RunCase("default whole", kDefault, 32, 0, MAX_SAMPLES, whole, 1);
  RunCase("16 samples per bit, strong CTLE, 8 taps from given values",
          "(tessalune_rx (ctle_enable True) (ctle_dc_gain -3) (ctle_peak_freq 3e9) (ctle_peaking 12) (dfe_taps 8)"
          " (dfe_step 0.0005) (dfe_adapt True) (dfe_initial_taps \"0.1 0.05 -0.01\") (cdr_phase_step 0.03)"
          " (cdr_freq_step 0.0005))",
          16, 2, 9600, whole, 1);
  RunCase("no CTLE, fixed taps",
          "(tessalune_rx (ctle_enable False) (dfe_taps 2) (dfe_adapt False) (dfe_initial_taps \"0.2 0.1\"))", 32, 0,
          2048, short_run, 2);
  const char* const bad[] = {
      "(tessalune_rx (dfe_taps 9))",
      "(tessalune_rx (dfe_initial_taps \"0.1 x\"))",
      "(tessalune_rx (ctle_peak_freq 2e11))",
      "(tessalune_rx (ctle_peaking -1) (dfe_step -1) (cdr_phase_step 0.5))",
      "((((",
  };
  char name[32];
  for (unsigned k = 0; k < sizeof bad / sizeof bad[0]; ++k) {
    snprintf(name, sizeof name, "bad parameters %u", k);
    RunCase(name, bad[k], 32, 0, 64, short_run, 1);
  }
  RunCase("4 samples per bit", kDefault, 4, 0, 64, short_run, 1);

  printf("cases %ld samples %ld nonzero %ld\n", cases, samples, nonzero);
  CloseLibrary(lib);
  return fflush(stdout) == 0 ? 0 : 1;
}

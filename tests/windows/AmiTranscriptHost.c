/* A channel simulator's GetWave host in plain C, built for Linux (dlopen) and
 * for 64-bit Windows (LoadLibrary): loads the model library named by its
 * argument, drives it through a fixed list of cases and writes a transcript
 * to stdout: result codes, message texts and every output sample as the hex
 * of its bits; what the model reports as it runs goes to stderr. Two platforms that compute the same bits and say the
 * same things write the same transcript, byte for byte.
 *
 *   ami_transcript_host LIBRARY > transcript.txt
 *
 * Exits 0 once the transcript is complete; 1 when the library or one of the
 * three entry points cannot be found. */
#include "TranscriptIo.h"
#include "ami/AmiEntryPoints.h"

#include <math.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#define MAX_SAMPLES 4096

static AMI_Init_Function init_fn;
static AMI_GetWave_Function getwave_fn;
static AMI_Close_Function close_fn;

static long cases, samples, nonzero;

/* PRBS7 bits at `per_bit` samples per bit, +-0.5 levels with a small dither
 * in steps of 2^-16: values a double holds exactly, the same everywhere. */
static void Stimulus(double* wave, long n, long per_bit, unsigned seed) {
  unsigned lfsr = 0x5Au ^ (seed & 0x7Fu);
  unsigned lcg = 12345u + seed;
  double level = 0.5;
  for (long i = 0; i < n; ++i) {
    if (i % per_bit == 0) {
      level = NextPrbs7Bit(&lfsr) ? 0.5 : -0.5;
    }
    lcg = lcg * 1103515245u + 12345u;
    wave[i] = level + (double)((int)((lcg >> 16) & 0xFF) - 128) / 65536.0;
  }
}

/* One model instance from AMI_Init to AMI_Close. The wave goes through
 * AMI_GetWave in the pieces listed (their sum is `n`), and every output
 * sample is written out, also after a failed AMI_Init (the model must leave
 * the wave as it was then). */
static void RunCase(const char* name, const char* parameters, double sample_interval, double bit_time, long n,
                    long per_bit, const long* pieces, int piece_count) {
  static double wave[MAX_SAMPLES];
  static char text[1024];
  double impulse[4] = {1.0, 0.5, 0.25, 0.125};
  double clocks[2] = {7.0, 7.0};
  char* out_params = NULL;
  char* msg = NULL;
  void* handle = NULL;
  char* param_arg = NULL;

  ++cases;
  printf("case %s\n", name);
  PutText("parameters", parameters);
  fputs("sample_interval ", stdout);
  PutBits(sample_interval);
  fputs("bit_time ", stdout);
  PutBits(bit_time);
  if (parameters != NULL) {
    snprintf(text, sizeof text, "%s", parameters);
    param_arg = text;
  }
  long rc = init_fn(impulse, 4, 0, sample_interval, bit_time, param_arg, &out_params, &handle, &msg);
  printf("init %ld handle %s\n", rc, handle != NULL ? "set" : "null");
  PutText("message", msg);
  PutText("parameters_out", out_params);
  if (impulse[0] != 1.0 || impulse[3] != 0.125) printf("impulse changed\n");

  Stimulus(wave, n, per_bit > 0 ? per_bit : 1, (unsigned)cases);
  long at = 0;
  for (int k = 0; k < piece_count; ++k) {
    clocks[0] = 7.0;
    rc = getwave_fn(wave + at, pieces[k], clocks, &out_params, handle);
    printf("getwave %ld size %ld clock ", rc, pieces[k]);
    PutBits(clocks[0]);
    at += pieces[k];
  }
  for (long i = 0; i < n; ++i) {
    PutBits(wave[i]);
    if (wave[i] != 0.0) ++nonzero;
  }
  samples += n;
  /* The message pointer handed out by AMI_Init stays valid until AMI_Close,
   * with whatever a failing AMI_GetWave added. */
  PutText("message_after", msg);
  printf("close %ld\n", close_fn(handle));
}

static void Run(const char* name, const char* parameters, double sample_interval, double bit_time, long n,
                long per_bit) {
  const long whole[] = {n};
  RunCase(name, parameters, sample_interval, bit_time, n, per_bit, whole, 1);
}

static const char* const kDefault = "(tessalune_tx (emphasis 0) (Vreg 2) (corner 2))";
static const double kBitTime = 1e-10;

/* The default and other parameter strings at several sample rates: every
 * output sample must match. */
static void OutputCases(void) {
  const long pieces[] = {1, 0, 7, 100, 1000, 2988};
  Run("default", kDefault, kBitTime / 32, kBitTime, MAX_SAMPLES, 32);
  RunCase("non-default in pieces", "(tessalune_tx (emphasis 3) (Vreg 1) (corner 0))", kBitTime / 32, kBitTime,
          MAX_SAMPLES, 32, pieces, 6);
  char parameters[128];
  char name[64];
  for (int emphasis = 0; emphasis <= 6; ++emphasis) {
    for (int response = 0; response < 9; ++response) {
      snprintf(parameters, sizeof parameters, "(tessalune_tx (emphasis %d) (Vreg %d) (corner %d))", emphasis,
               response / 3, response % 3);
      snprintf(name, sizeof name, "sweep %d %d", emphasis, response);
      Run(name, parameters, kBitTime / 16, kBitTime, 512, 16);
    }
  }
  Run("one sample per bit", kDefault, kBitTime, kBitTime, 256, 1);
  Run("128 samples per bit", "(tessalune_tx (emphasis 6) (Vreg 0) (corner 1))", kBitTime / 128, kBitTime, 2048, 128);
  Run("ratio rounded", "(tessalune_tx (emphasis 2) (Vreg 1) (corner 1))", 1e-10 / 32.4, kBitTime, 1024, 32);
  Run("picosecond grid", "(tessalune_tx (emphasis 5) (Vreg 2) (corner 0))", 1e-12, 5e-11, 1000, 50);
  Run("no parameters", "(tessalune_tx)", kBitTime / 32, kBitTime, 512, 32);
  Run("odd values", "(tessalune_tx (emphasis 2.5) (Vreg \"1\") (corner three))", kBitTime / 32, kBitTime, 512, 32);
}

/* Bad parameter strings and hostile timing: the same result codes and the
 * same message texts on every platform. */
static void FaultCases(void) {
  const char* const bad[] = {
      NULL,
      "",
      "(tessalune_tx (emphasis 9) (Vreg 1) (corner 0))",
      "(tessalune_tx (emphasis -1) (Vreg 7) (corner 3))",
      "(tessalune_tx (emphasis",
      "((((",
      "(tessalune_tx (emphasis 1)))) trailing",
      "(another_model (emphasis 1))",
      "(tessalune_tx (emphasis 1e999) (Vreg -1e999) (corner 1e-999))",
      "(tessalune_tx (emphasis nan) (Vreg inf) (corner 0x1))",
  };
  char name[32];
  for (unsigned k = 0; k < sizeof bad / sizeof bad[0]; ++k) {
    snprintf(name, sizeof name, "bad parameters %u", k);
    Run(name, bad[k], kBitTime / 32, kBitTime, 64, 32);
  }
  const struct {
    const char* name;
    double sample_interval, bit_time;
  } timing[] = {
      {"sample interval 0", 0.0, kBitTime},
      {"sample interval NaN", NAN, kBitTime},
      {"sample interval negative", -kBitTime / 32, kBitTime},
      {"sample interval infinite", INFINITY, kBitTime},
      {"sample interval subnormal", 5e-324, kBitTime},
      {"bit time 0", kBitTime / 32, 0.0},
      {"bit time NaN", kBitTime / 32, NAN},
      {"bit time negative", kBitTime / 32, -kBitTime},
      {"bit time below sample interval", kBitTime / 32, kBitTime / 80},
      {"129 samples per bit", kBitTime / 129, kBitTime},
      {"2^31-1 samples per bit", 1e-3 / 2147483647.0, 1e-3},
      {"huge samples per bit", 1e-15, 1e-3},
      {"both NaN", NAN, NAN},
  };
  for (unsigned k = 0; k < sizeof timing / sizeof timing[0]; ++k)
    Run(timing[k].name, kDefault, timing[k].sample_interval, timing[k].bit_time, 64, 32);

  /* AMI_GetWave and AMI_Close with what a careless host may pass. */
  void* handle = NULL;
  char* msg = NULL;
  char* out_params = NULL;
  char parameters[64];
  snprintf(parameters, sizeof parameters, "%s", kDefault);
  double wave[8] = {0.5, 0.5, 0.5, 0.5, -0.5, -0.5, -0.5, -0.5};
  double clocks[2] = {7.0, 7.0};
  printf("case careless host\n");
  printf("init without handle %ld\n",
         init_fn(NULL, 0, 0, kBitTime / 32, kBitTime, parameters, &out_params, NULL, &msg));
  printf("init without message %ld\n", init_fn(NULL, 0, 0, kBitTime / 32, kBitTime, parameters, NULL, &handle, NULL));
  printf("getwave negative size %ld\n", getwave_fn(wave, -1, clocks, &out_params, handle));
  printf("getwave no handle %ld\n", getwave_fn(wave, 8, clocks, &out_params, NULL));
  printf("getwave no wave %ld\n", getwave_fn(NULL, 8, clocks, &out_params, handle));
  printf("getwave empty %ld\n", getwave_fn(NULL, 0, clocks, NULL, handle));
  printf("getwave no clock times %ld\n", getwave_fn(wave, 8, NULL, NULL, handle));
  fputs("clock ", stdout);
  PutBits(clocks[0]);
  for (int i = 0; i < 8; ++i) PutBits(wave[i]);
  printf("close %ld\n", close_fn(handle));
  printf("close no handle %ld\n", close_fn(NULL));
}

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: %s LIBRARY > transcript.txt\n", argv[0]);
    return 2;
  }
  BinaryStdio();
  Library lib = LoadModel(argv[1], &init_fn, &getwave_fn, &close_fn);
  if (lib == NULL) return 1;
  OutputCases();
  FaultCases();
  printf("cases %ld samples %ld nonzero %ld\n", cases, samples, nonzero);
  CloseLibrary(lib);
  return fflush(stdout) == 0 ? 0 : 1;
}

/* For the transcript hosts, built for Linux (dlopen) and for 64-bit Windows
 * (LoadLibrary): loading a model library and writing a transcript that two
 * platforms computing the same bits write byte for byte alike. */
#ifndef TESSALUNE_TESTS_WINDOWS_TRANSCRIPT_IO_H
#define TESSALUNE_TESTS_WINDOWS_TRANSCRIPT_IO_H

#include "amiframe/AmiExports.h"

#include <stdint.h>
#include <stdio.h>
#include <string.h>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
typedef HMODULE Library;
static Library OpenLibrary(const char* path) { return LoadLibraryA(path); }
static void* FindSymbol(Library lib, const char* name) { return (void*)GetProcAddress(lib, name); }
static void CloseLibrary(Library lib) { FreeLibrary(lib); }
#else
#include <dlfcn.h>
typedef void* Library;
static Library OpenLibrary(const char* path) { return dlopen(path, RTLD_NOW | RTLD_LOCAL); }
static void* FindSymbol(Library lib, const char* name) { return dlsym(lib, name); }
static void CloseLibrary(Library lib) { dlclose(lib); }
#endif

/* "\n" as on Linux on both streams, also in what the DLL writes to stderr
 * through the same C runtime. */
static void BinaryStdio(void) {
#ifdef _WIN32
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
#endif
}

/* Loads the library and its three entry points; NULL (the reason on stderr)
 * when the library or one of them cannot be found. */
static Library LoadModel(const char* path, AMI_Init_Function* init, AMI_GetWave_Function* getwave,
                         AMI_Close_Function* close_fn) {
  Library lib = OpenLibrary(path);
  if (lib == NULL) {
    fprintf(stderr, "cannot load %s\n", path);
    return NULL;
  }
  *(void**)init = FindSymbol(lib, "AMI_Init");
  *(void**)getwave = FindSymbol(lib, "AMI_GetWave");
  *(void**)close_fn = FindSymbol(lib, "AMI_Close");
  if (*init == NULL || *getwave == NULL || *close_fn == NULL) {
    fprintf(stderr, "%s lacks an AMI entry point\n", path);
    CloseLibrary(lib);
    return NULL;
  }
  return lib;
}

/* The bits of a double as 16 hex digits, without the C library's help. */
static void PutBits(double x) {
  uint64_t bits;
  memcpy(&bits, &x, sizeof bits);
  char text[18];
  for (int i = 15; i >= 0; --i, bits >>= 4) text[i] = "0123456789abcdef"[bits & 0xF];
  text[16] = '\n';
  text[17] = '\0';
  fputs(text, stdout);
}

static void PutText(const char* label, const char* text) { printf("%s %s\n", label, text != NULL ? text : "(none)"); }

/* The next bit of a PRBS7 sequence held in the low seven bits of *lfsr
 * (an all-zero state restarts at 1). */
static unsigned NextPrbs7Bit(unsigned* lfsr) {
  const unsigned bit = ((*lfsr >> 6) ^ (*lfsr >> 5)) & 1u;
  *lfsr = ((*lfsr << 1) | bit) & 0x7Fu;
  if (*lfsr == 0) *lfsr = 1;
  return bit;
}

#endif

/* For the plain C hosts of the tests: loads a model library with dlopen, as a
 * simulator does, and finds its three entry points by their plain names. */
#ifndef TESSALUNE_TESTS_AMI_LIBRARY_H
#define TESSALUNE_TESTS_AMI_LIBRARY_H

#include "amiframe/AmiExports.h"

#include <dlfcn.h>
#include <stdio.h>

/* In main (or a function returning int): prints the failed check and
 * returns 1. */
#define CHECK(cond)                                                            \
  do {                                                                         \
    if (!(cond)) {                                                             \
      fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
      return 1;                                                                \
    }                                                                          \
  } while (0)

/* The library's handle with the three functions filled in, or NULL (the
 * reason on stderr) when it does not load or lacks one of them. */
static void* load_ami_library(const char* path, AMI_Init_Function* init, AMI_GetWave_Function* getwave,
                              AMI_Close_Function* close_fn) {
  void* lib = dlopen(path, RTLD_NOW | RTLD_LOCAL);
  if (lib == NULL) {
    fprintf(stderr, "dlopen: %s\n", dlerror());
    return NULL;
  }
  *(void**)init = dlsym(lib, "AMI_Init");
  *(void**)getwave = dlsym(lib, "AMI_GetWave");
  *(void**)close_fn = dlsym(lib, "AMI_Close");
  if (*init == NULL || *getwave == NULL || *close_fn == NULL) {
    fprintf(stderr, "%s lacks an entry point\n", path);
    dlclose(lib);
    return NULL;
  }
  return lib;
}

#endif

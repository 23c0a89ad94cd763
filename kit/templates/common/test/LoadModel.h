#pragma once

// Loads a model library the way a simulator does and finds its three entry
// points (AMI_GetWave may be missing when the model has none).
#include "amiframe/AmiExports.h"

#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

struct LoadedModel {
  AMI_Init_Function init = nullptr;
  AMI_GetWave_Function getWave = nullptr;
  AMI_Close_Function close = nullptr;
};

inline bool LoadModel(const char* path, LoadedModel& model) {
#ifdef _WIN32
  HMODULE library = LoadLibraryA(path);
  auto find = [&](const char* name) { return reinterpret_cast<void*>(GetProcAddress(library, name)); };
#else
  void* library = dlopen(path, RTLD_NOW | RTLD_LOCAL);
  auto find = [&](const char* name) { return dlsym(library, name); };
#endif
  if (library == nullptr) {
    std::fprintf(stderr, "cannot load %s\n", path);
    return false;
  }
  model.init = reinterpret_cast<AMI_Init_Function>(find("AMI_Init"));
  model.getWave = reinterpret_cast<AMI_GetWave_Function>(find("AMI_GetWave"));
  model.close = reinterpret_cast<AMI_Close_Function>(find("AMI_Close"));
  return model.init != nullptr && model.close != nullptr;
}

// Counts a failed expectation, with its line.
inline int gFailures = 0;
#define EXPECT(condition)                                                           \
  do {                                                                              \
    if (!(condition)) {                                                             \
      std::fprintf(stderr, "%s:%d: expected %s\n", __FILE__, __LINE__, #condition); \
      ++gFailures;                                                                  \
    }                                                                               \
  } while (0)

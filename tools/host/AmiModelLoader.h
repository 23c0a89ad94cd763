// Loads an IBIS-AMI model library with dlopen and drives its three entry
// points the way a channel simulator does. The C signatures are those of the
// IBIS-AMI interface, with `long` for the integer arguments and results; a
// result is judged on its low 32 bits (1 success, 0 failure), which reads
// models that return a 32-bit int correctly on every ABI we run on.
#pragma once

#include <string>
#include <vector>

using AmiInitFunction = long (*)(double* impulse_matrix, long row_size, long aggressors, double sample_interval,
                                 double bit_time, char* AMI_parameters_in, char** AMI_parameters_out,
                                 void** AMI_memory_handle, char** msg);
using AmiGetWaveFunction = long (*)(double* wave, long wave_size, double* clock_times, char** AMI_parameters_out,
                                    void* AMI_memory);
using AmiCloseFunction = long (*)(void* AMI_memory);

// One model instance: the memory handle AMI_Init returned and the arrays the
// host keeps for it.
struct AmiInstance {
  void* memory = nullptr;
  bool open = false;
  std::vector<double> impulse;     // the impulse matrix handed to AMI_Init
  std::vector<double> clockTimes;  // wave size + 1 entries, as the interface asks
  char* parametersOut = nullptr;
  // Why the host counts AMI_Init failed though the model said it succeeded
  // (empty otherwise).
  std::string initProblem;
};

class AmiModelLoader {
 public:
  AmiModelLoader() = default;
  ~AmiModelLoader();
  AmiModelLoader(const AmiModelLoader&) = delete;
  AmiModelLoader& operator=(const AmiModelLoader&) = delete;

  // dlopen the library and find AMI_Init and AMI_Close, and AMI_GetWave
  // when it exports one (an Init-only model need not).
  bool Open(const std::string& path, std::string& error);
  bool IsOpen() const { return handle_ != nullptr; }
  bool HasGetWave() const { return getWave_ != nullptr; }
  const std::string& Path() const { return path_; }

  // AMI_Init with a unit impulse of `impulseLength` samples (one row, no
  // aggressors). `message` receives the model's message (empty when it
  // gives none). Returns the model's verdict; the instance is open (and must
  // be closed) whenever the model returned a memory handle or success. A
  // success with a null handle is a failure (instance.initProblem says so),
  // and AMI_Close is still called, with the handle the model gave.
  bool Init(AmiInstance& instance, double sampleInterval, double bitTime, const std::string& parameters,
            long impulseLength, std::string& message) const;

  // AMI_Init with `impulse` as its one row (no aggressors), sampled every
  // `sampleInterval`; afterwards instance.impulse holds the row as the model
  // left it (its returned impulse response, when it returns one).
  bool Init(AmiInstance& instance, std::vector<double> impulse, double sampleInterval, double bitTime,
            const std::string& parameters, std::string& message) const;

  // AMI_GetWave on `count` samples in place (false when the library has none).
  bool GetWave(AmiInstance& instance, double* wave, long count) const;

  // AMI_Close; a closed instance is left alone.
  bool Close(AmiInstance& instance) const;

  // The most of a model's text (its message, its output parameters) the
  // host keeps: a model may hand back any length, and a sweep keeps one per
  // point.
  static constexpr size_t kMaxTextBytes = 4096;
  // A model's text as the host keeps it: whole up to kMaxTextBytes, else
  // that much of it and its length ("... (N bytes in all)"); empty for null.
  static std::string KeptText(const char* text);

 private:
  void* handle_ = nullptr;
  std::string path_;
  AmiInitFunction init_ = nullptr;
  AmiGetWaveFunction getWave_ = nullptr;
  AmiCloseFunction close_ = nullptr;
};

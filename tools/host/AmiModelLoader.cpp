#include "tools/host/AmiModelLoader.h"

#include "tools/host/IsolatedRun.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <utility>

namespace {

// Models may share process-wide state while they parse their parameters
// (diagnostic counters and printing), so instances are created and released
// one at a time; AMI_GetWave calls of distinct instances run in parallel.
std::mutex& LifecycleMutex() {
  static std::mutex mutex;
  return mutex;
}

bool Succeeded(long result) { return static_cast<int32_t>(static_cast<uint64_t>(result) & 0xFFFFFFFFu) != 0; }

}  // namespace

AmiModelLoader::~AmiModelLoader() {
  if (handle_) dlclose(handle_);
}

bool AmiModelLoader::Open(const std::string& path, std::string& error) {
  if (handle_) {
    dlclose(handle_);
    handle_ = nullptr;
  }
  // dlopen searches the library path for a bare name; a model file is meant.
  const std::string target = path.find('/') == std::string::npos ? "./" + path : path;
  void* handle = dlopen(target.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* why = dlerror();
    // dlerror names the file itself.
    error = std::string("cannot load model library: ") + (why ? why : path.c_str());
    return false;
  }
  auto find = [&](const char* name) -> void* {
    void* symbol = dlsym(handle, name);
    if (!symbol) error = "model library " + path + " does not export " + name;
    return symbol;
  };
  void* init = find("AMI_Init");
  void* getWave = init ? dlsym(handle, "AMI_GetWave") : nullptr;
  void* close = init ? find("AMI_Close") : nullptr;
  if (!close) {
    dlclose(handle);
    return false;
  }
  handle_ = handle;
  path_ = path;
  init_ = reinterpret_cast<AmiInitFunction>(init);
  getWave_ = reinterpret_cast<AmiGetWaveFunction>(getWave);
  close_ = reinterpret_cast<AmiCloseFunction>(close);
  return true;
}

bool AmiModelLoader::Init(AmiInstance& instance, double sampleInterval, double bitTime, const std::string& parameters,
                          long impulseLength, std::string& message) const {
  // A channel that passes the signal through unchanged: a unit-area impulse.
  std::vector<double> impulse(static_cast<size_t>(impulseLength > 0 ? impulseLength : 1), 0.0);
  impulse[0] = sampleInterval > 0 ? 1.0 / sampleInterval : 1.0;
  return Init(instance, std::move(impulse), sampleInterval, bitTime, parameters, message);
}

bool AmiModelLoader::Init(AmiInstance& instance, std::vector<double> impulse, double sampleInterval, double bitTime,
                          const std::string& parameters, std::string& message) const {
  message.clear();
  if (!handle_ || instance.open) return false;
  instance.impulse = std::move(impulse);
  if (instance.impulse.empty()) instance.impulse.assign(1, sampleInterval > 0 ? 1.0 / sampleInterval : 1.0);
  std::vector<char> text(parameters.begin(), parameters.end());
  text.push_back('\0');
  char* msg = nullptr;
  void* memory = nullptr;
  long result = 0;
  {
    std::lock_guard<std::mutex> lock(LifecycleMutex());
    IsolatedRun::Enter(path_.c_str(), "AMI_Init");
    result = init_(instance.impulse.data(), static_cast<long>(instance.impulse.size()), 0, sampleInterval, bitTime,
                   text.data(), &instance.parametersOut, &memory, &msg);
    IsolatedRun::Leave();
    message = KeptText(msg);  // copied while the model still owns it
  }
  instance.memory = memory;
  instance.open = memory != nullptr || Succeeded(result);
  instance.initProblem.clear();
  if (Succeeded(result) && !memory) {
    instance.initProblem = "returned success but left the memory handle null";
    return false;
  }
  return Succeeded(result);
}

std::string AmiModelLoader::KeptText(const char* text) {
  if (!text) return {};
  // The length is looked for up to 1 GiB: a text that long is no message.
  constexpr size_t kLongest = size_t{1} << 30;
  const size_t length = strnlen(text, kLongest);
  // Control characters (terminal escapes, bells, carriage returns) as \xHH,
  // so that a message cannot drive the terminal it is printed on.
  std::string kept;
  for (size_t i = 0; i < std::min(length, kMaxTextBytes); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if ((c >= 0x20 && c != 0x7f) || c == '\n' || c == '\t') {
      kept += static_cast<char>(c);
      continue;
    }
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
    kept += escaped;
  }
  if (length <= kMaxTextBytes) return kept;
  return kept + " ... (" + (length == kLongest ? "more than 1 GiB" : std::to_string(length) + " bytes") + " in all)";
}

bool AmiModelLoader::GetWave(AmiInstance& instance, double* wave, long count) const {
  if (!instance.open || count < 0 || !getWave_) return false;
  if (instance.clockTimes.size() < static_cast<size_t>(count) + 1) instance.clockTimes.resize(count + 1, 0.0);
  IsolatedRun::Enter(path_.c_str(), "AMI_GetWave");
  const long result = getWave_(wave, count, instance.clockTimes.data(), &instance.parametersOut, instance.memory);
  IsolatedRun::Leave();
  return Succeeded(result);
}

bool AmiModelLoader::Close(AmiInstance& instance) const {
  if (!instance.open) return true;
  long result = 0;
  {
    std::lock_guard<std::mutex> lock(LifecycleMutex());
    IsolatedRun::Enter(path_.c_str(), "AMI_Close");
    result = close_(instance.memory);
    IsolatedRun::Leave();
  }
  instance.open = false;
  instance.memory = nullptr;
  return Succeeded(result);
}

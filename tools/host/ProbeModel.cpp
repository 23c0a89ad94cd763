#include "tools/host/ProbeModel.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

#include "tools/host/ProbePlatform.h"

// The library stays mapped: the child ends soon after, and what a model's
// own destructors do at dlclose is no part of a probe.
ProbeModel::~ProbeModel() = default;

bool ProbeModel::Open(const std::string& path, std::string& error) {
  handle_ = ProbePlatform::OpenLibrary(path, error);
  if (!handle_) return false;
  init_ = reinterpret_cast<AmiInitFunction>(ProbePlatform::Symbol(handle_, "AMI_Init"));
  getWave_ = reinterpret_cast<AmiGetWaveFunction>(ProbePlatform::Symbol(handle_, "AMI_GetWave"));
  close_ = reinterpret_cast<AmiCloseFunction>(ProbePlatform::Symbol(handle_, "AMI_Close"));
  if (!init_ || !close_) {
    error = init_ ? "AMI_Close is not exported" : "AMI_Init is not exported";
    return false;
  }
  return true;
}

void ProbeModel::Init(const InitSetting& setting, ProbeInstance& instance) const {
  const size_t rows = static_cast<size_t>(setting.rowSize);
  std::vector<double> impulse(rows * static_cast<size_t>(1 + setting.aggressors), 0.0);
  const double unit = 1.0 / setting.sampleInterval;
  impulse[0] = unit;
  for (long k = 1; k <= setting.aggressors; ++k) {
    impulse[static_cast<size_t>(k) * rows + std::min<size_t>(rows - 1, 4 * static_cast<size_t>(k))] = 0.1 * unit;
  }
  Init(setting, std::move(impulse), instance);
}

void ProbeModel::Init(const InitSetting& setting, std::vector<double> impulse, ProbeInstance& instance) const {
  instance.impulse = std::move(impulse);
  const long rows = setting.rowSize > 0 ? setting.rowSize : static_cast<long>(instance.impulse.size());
  const long aggressors = static_cast<long>(instance.impulse.size()) / rows - 1;
  std::vector<char> text(setting.parameters.begin(), setting.parameters.end());
  text.push_back('\0');
  char* message = nullptr;
  instance.parametersOutPointer = nullptr;
  instance.memory = nullptr;
  instance.initResult = init_(instance.impulse.data(), rows, aggressors, setting.sampleInterval, setting.bitTime,
                              text.data(), &instance.parametersOutPointer, &instance.memory, &message);
  instance.message = message ? message : "";
  instance.parametersOutSet = instance.parametersOutPointer != nullptr;
  instance.parametersOut = instance.parametersOutSet ? instance.parametersOutPointer : "";
}

long ProbeModel::GetWave(ProbeInstance& instance, double* wave, long size) const {
  // Twice the samples and more: a model that writes a clock time per sample
  // past the array's end still writes into this host's memory (the
  // clock-times probe alone holds models to the array's size).
  const size_t room = 2 * static_cast<size_t>(size) + 64;
  if (instance.clocks.size() < room) instance.clocks.assign(room, 0.0);
  return GetWave(instance, wave, size, instance.clocks.data());
}

long ProbeModel::GetWave(ProbeInstance& instance, double* wave, long size, double* clocks) const {
  if (!getWave_) return 0;
  return getWave_(wave, size, clocks, &instance.parametersOutPointer, instance.memory);
}

long ProbeModel::Close(ProbeInstance& instance) const {
  const long result = close_(instance.memory);
  instance.memory = nullptr;
  return result;
}

std::vector<double> ProbeModel::Run(const InitSetting& setting, std::vector<double> wave, long block) const {
  ProbeInstance instance;
  Init(setting, instance);
  if (!ProbeWave::Succeeded(instance.initResult) || instance.memory == nullptr) {
    if (instance.memory) Close(instance);
    return {};
  }
  const long size = static_cast<long>(wave.size());
  const long step = block > 0 ? block : size;
  for (long at = 0; at < size; at += step) GetWave(instance, wave.data() + at, std::min(step, size - at));
  Close(instance);
  return wave;
}

std::vector<double> ProbeWave::Stimulus(long samples, double samplesPerBit, unsigned seed) {
  std::vector<double> wave(static_cast<size_t>(samples > 0 ? samples : 0));
  unsigned lfsr = 0x5Au ^ (seed & 0x7Fu);
  if (lfsr == 0) lfsr = 1;
  unsigned lcg = 12345u + seed;
  long bit = -1;
  double level = 0.5;
  for (long i = 0; i < samples; ++i) {
    const long now = static_cast<long>(std::floor(static_cast<double>(i) / samplesPerBit));
    for (; bit < now; ++bit) {
      const unsigned next = ((lfsr >> 6) ^ (lfsr >> 5)) & 1u;
      lfsr = ((lfsr << 1) | next) & 0x7Fu;
      level = next ? 0.5 : -0.5;
    }
    lcg = lcg * 1103515245u + 12345u;
    wave[static_cast<size_t>(i)] = level + static_cast<double>(static_cast<int>((lcg >> 16) & 0xFF) - 128) / 65536.0;
  }
  return wave;
}

double ProbeWave::MaxDifference(const std::vector<double>& a, const std::vector<double>& b, long& first) {
  first = -1;
  if (a.size() != b.size()) {
    first = 0;
    return std::numeric_limits<double>::infinity();
  }
  double worst = 0.0;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i] == b[i] || (std::isnan(a[i]) && std::isnan(b[i]))) continue;
    if (first < 0) first = static_cast<long>(i);
    const double d = std::fabs(a[i] - b[i]);
    worst = std::isnan(d) ? std::numeric_limits<double>::infinity() : std::max(worst, d);
  }
  return worst;
}

bool ProbeWave::Succeeded(long result) {
  return static_cast<int32_t>(static_cast<uint64_t>(result) & 0xFFFFFFFFu) != 0;
}

// Throughput of the IBIS file checker: a generated file of typical shape
// (header, a component with many pins and its package, models with I-V and
// waveform tables), and the largest real file of the corpus when present.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <ostream>
#include <string>

#include "IbisParser/Parse.h"
#include "amiparam/Msg.h"

namespace fs = std::filesystem;

namespace {

// The generated file, written once and removed when the program ends.
struct Generated {
  std::string path;
  ~Generated() {
    std::error_code ec;
    fs::remove(path, ec);
  }
};

const std::string& GeneratedFile() {
  static const Generated generated{[] {
    std::string p = (fs::temp_directory_path() / ("bench_ibischeck_" + std::to_string(::getpid()) + ".ibs")).string();
    std::ofstream out(p, std::ios::binary);
    out << "[IBIS Ver] 4.2\n[File Name] " << fs::path(p).filename().string() << "\n[File Rev] 1.0\n"
        << "[Notes] generated\n[Component] U1\n[Manufacturer] bench\n[Package]\n"
        << "R_pkg 250m 200m 300m\nL_pkg 5nH 4nH 6nH\nC_pkg 1pF 0.8pF 1.2pF\n"
        << "[Pin] signal_name model_name R_pin L_pin C_pin\n";
    for (int pin = 1; pin <= 2000; ++pin) out << pin << " DQ" << pin << " io" << (pin % 8) << " 100m 2n 0.5p\n";
    for (int model = 0; model < 8; ++model) {
      out << "[Model] io" << model << "\nModel_type I/O\n[Voltage Range] 1.2V 1.14V 1.26V\n";
      for (const char* table : {"[Pulldown]", "[Pullup]", "[GND Clamp]", "[POWER Clamp]"}) {
        out << table << "\n";
        for (int i = 0; i < 100; ++i)
          out << (i * 0.024 - 1.2) << "V " << i * 0.1 << "mA " << i * 0.09 << "mA " << i * 0.11 << "mA\n";
      }
      out << "[Rising Waveform]\nR_fixture = 50\nV_fixture = 0.0\n";
      for (int i = 0; i < 100; ++i) out << i * 10 << "ps " << i * 0.006 << " " << i * 0.005 << " " << i * 0.007 << "\n";
    }
    out << "[End]\n";
    return p;
  }()};
  return generated.path;
}

// What a file of many parts repeats: [Model] sections, [Component]
// sections, or lines of the header's [Notes].
enum class Repeated { kModels, kComponents, kNoteLines };

// A file of `count` such parts, written once per kind and count and removed
// when the program ends.
const std::string& RepeatedFile(Repeated what, int64_t count) {
  static std::map<std::string, Generated> files;
  static const char* const kNames[] = {"models", "components", "notes"};
  const std::string key = kNames[static_cast<int>(what)] + std::to_string(count);
  Generated& file = files[key];
  if (!file.path.empty()) return file.path;
  const std::string name = "bench_ibischeck_" + std::to_string(::getpid()) + "_" + key + ".ibs";
  file.path = (fs::temp_directory_path() / name).string();
  std::ofstream out(file.path, std::ios::binary);
  out << "[IBIS Ver] 4.2\n[File Name] " << name << "\n[File Rev] 1.0\n[Notes] generated\n";
  for (int64_t i = 0; i < count; ++i) {
    if (what == Repeated::kModels)
      out << "[Model] m" << i << "\nModel_type I/O\n";
    else if (what == Repeated::kComponents)
      out << "[Component] c" << i
          << "\n[Manufacturer] bench\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n"
          << "[Pin] signal_name model_name\n1 vdd POWER\n2 vss GND\n";
    else
      out << "note line " << i << " of a long text that the header keeps whole\n";
  }
  out << "[End]\n";
  return file.path;
}

// One model of a vendor file: an I/O buffer on 3.3 V whose pull-down and
// pull-up are 50 ohm, with clamps, [Ramp] and four waveforms into 50 ohm
// that agree with its tables, so that every check and every consistency
// computation runs.
void WriteVendorModel(std::ostream& out, int64_t index) {
  out << "[Model] io" << index << "\nModel_type I/O\nPolarity Non-Inverting\nVinl = 0.8\nVinh = 2.0\n"
      << "C_comp 1.2pF 1.0pF 1.4pF\n[Temperature Range] 50 100 0\n[Voltage Range] 3.3V 3.0V 3.6V\n";
  const double vcc[3] = {3.3, 3.0, 3.6};
  for (const char* table : {"[Pulldown]", "[Pullup]"}) {
    const double sign = std::string(table) == "[Pulldown]" ? 1.0 : -1.0;
    out << table << "\n";
    for (int i = 0; i < 30; ++i) {
      const double v = -3.3 + i * (9.9 / 29);
      out << v << " " << sign * v / 50 << " " << sign * v / 50 << " " << sign * v / 50 << "\n";
    }
  }
  for (const char* table : {"[GND Clamp]", "[POWER Clamp]"}) {
    out << table << "\n";
    const double sign = std::string(table) == "[GND Clamp]" ? -1.0 : 1.0;
    for (int i = 0; i < 10; ++i) {
      const double v = -3.3 + i * (3.3 / 9);
      const double current = v < -0.6 ? (v + 0.6) * 0.1 : 0.0;
      out << v << " " << sign * -current << " " << sign * -current << " " << sign * -current << "\n";
    }
  }
  out << "[Ramp]\nR_load = 50\ndV/dt_r 0.99/0.6n 0.9/0.6n 1.08/0.6n\ndV/dt_f 0.99/0.6n 0.9/0.6n 1.08/0.6n\n";
  // Levels into 50 ohm: to 0 V the pull-up gives Vcc/2, to Vcc the pull-down gives Vcc/2.
  for (int w = 0; w < 4; ++w) {
    const bool rising = w < 2, toVcc = w % 2 == 1;
    out << (rising ? "[Rising Waveform]" : "[Falling Waveform]")
        << "\nR_fixture = 50\nV_fixture = " << (toVcc ? "3.3" : "0") << "\nV_fixture_min = " << (toVcc ? "3.0" : "0")
        << "\nV_fixture_max = " << (toVcc ? "3.6" : "0") << "\n";
    for (int i = 0; i < 40; ++i) {
      const double f = i < 10 ? 0.0 : i >= 30 ? 1.0 : (i - 10) / 20.0;
      out << i * 50 << "ps";
      for (double v : vcc) {
        const double lo = toVcc ? v / 2 : 0.0, hi = toVcc ? v : v / 2;
        out << " " << (rising ? lo + f * (hi - lo) : hi - f * (hi - lo));
      }
      out << "\n";
    }
  }
}

// A vendor-sized file of about `megabytes` MB: a component of 2000 pins and
// as many models as fill the size (about 2000 per 20 MB).
const std::string& VendorFile(int64_t megabytes) {
  static std::map<int64_t, Generated> files;
  Generated& file = files[megabytes];
  if (!file.path.empty()) return file.path;
  const std::string name =
      "bench_ibischeck_" + std::to_string(::getpid()) + "_vendor" + std::to_string(megabytes) + ".ibs";
  file.path = (fs::temp_directory_path() / name).string();
  std::ofstream out(file.path, std::ios::binary);
  out << "[IBIS Ver] 5.0\n[File Name] " << name << "\n[File Rev] 1.0\n[Component] U1\n[Manufacturer] bench\n"
      << "[Package]\nR_pkg 250m 200m 300m\nL_pkg 5nH 4nH 6nH\nC_pkg 1pF 0.8pF 1.2pF\n"
      << "[Pin] signal_name model_name\n";
  for (int pin = 1; pin <= 2000; ++pin) out << pin << " DQ" << pin << " io" << pin % 100 << "\n";
  for (int64_t model = 0; out.tellp() < megabytes * 1000000; ++model) WriteVendorModel(out, model);
  out << "[End]\n";
  return file.path;
}

void CheckFile(benchmark::State& state, const std::string& path) {
  FILE* sink = std::fopen("/dev/null", "w");
  FILE* saved = gpMsgStream;
  gpMsgStream = sink;
  gbParseQuiet = 1;
  std::error_code ec;
  auto bytes = fs::file_size(path, ec);
  for (auto _ : state) benchmark::DoNotOptimize(PARSE_CheckFile(path.c_str(), PARSE_MODE_IBS));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(ec ? 0 : bytes));
  gpMsgStream = saved;
  if (sink) std::fclose(sink);
}

void BM_CheckGeneratedFile(benchmark::State& state) { CheckFile(state, GeneratedFile()); }
BENCHMARK(BM_CheckGeneratedFile)->Unit(benchmark::kMillisecond);

// A vendor file of 10 and 20 MB, thousands of models with their tables:
// checked well under a second per 10 MB, twice the size in about twice the time.
void BM_CheckVendorSizedFile(benchmark::State& state) {
  CheckFile(state, VendorFile(state.range(0)));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_CheckVendorSizedFile)->Arg(10)->Arg(20)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

void BM_CheckLargestCorpusFile(benchmark::State& state) {
  std::string largest;
  std::uintmax_t size = 0;
  std::error_code ec;
  for (const auto& entry : fs::recursive_directory_iterator(TESSALUNE_CORPUS_DIR, ec)) {
    if (entry.path().extension() != ".ibs") continue;
    std::uintmax_t n = entry.file_size(ec);
    if (!ec && n > size) size = n, largest = entry.path().string();
  }
  if (largest.empty()) {
    state.SkipWithError("no corpus");
    return;
  }
  state.SetLabel(fs::path(largest).filename().string());
  CheckFile(state, largest);
}
BENCHMARK(BM_CheckLargestCorpusFile)->Unit(benchmark::kMillisecond);

// Time against the number of sections (or lines of a text): appending one
// must not walk or copy what came before it, so checking stays linear.
void BM_CheckManyParts(benchmark::State& state, Repeated what) {
  CheckFile(state, RepeatedFile(what, state.range(0)));
  state.SetComplexityN(state.range(0));
}
BENCHMARK_CAPTURE(BM_CheckManyParts, Models, Repeated::kModels)
    ->RangeMultiplier(10)
    ->Range(10000, 1000000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK_CAPTURE(BM_CheckManyParts, Components, Repeated::kComponents)
    ->RangeMultiplier(10)
    ->Range(10000, 1000000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK_CAPTURE(BM_CheckManyParts, NoteLines, Repeated::kNoteLines)
    ->RangeMultiplier(10)
    ->Range(10000, 1000000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace

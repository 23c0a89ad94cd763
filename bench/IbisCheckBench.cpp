// Throughput of the IBIS file checker: a generated file of typical shape
// (header, a component with many pins and its package, models with I-V and
// waveform tables), and the largest real file of the corpus when present.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
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

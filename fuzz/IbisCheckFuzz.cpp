// Fuzz target: arbitrary bytes as the content of an IBIS file, checked by the
// per-file check as an .ibs file (and, for small inputs, as .pkg and .ebd
// files too, whose keyword rules differ). Must never crash, hang or leak.
#include <unistd.h>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "IbisParser/Parse.h"
#include "amiparam/Msg.h"

namespace {

// A folder of this process's own, so that files an input names are looked
// up next to the checked file and nowhere else. A memory file system, where
// there is one, spares the disk a flush for every rewritten input.
// The folder is removed when the process ends.
struct Folder {
  std::string path;
  Folder() {
    std::error_code ec;
    std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec) ? std::filesystem::path("/dev/shm")
                                                                               : std::filesystem::temp_directory_path();
    path = (base / ("fuzz_ibischeck_" + std::to_string(::getpid()))).string();
    std::filesystem::create_directories(path, ec);
  }
  ~Folder() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
};

void CheckAs(const std::string& path, int mode, const uint8_t* data, size_t size) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return;
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  PARSE_CheckFile(path.c_str(), mode);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static FILE* sink = std::fopen("/dev/null", "w");
  static const Folder folder;
  const std::string& dir = folder.path;
  gpMsgStream = sink;
  gbParseQuiet = 1;
  CheckAs(dir + "/t.ibs", PARSE_MODE_IBS, data, size);
  if (size < 2048) {
    CheckAs(dir + "/t.pkg", PARSE_MODE_PKG, data, size);
    CheckAs(dir + "/t.ebd", PARSE_MODE_EBD, data, size);
  }
  return 0;
}

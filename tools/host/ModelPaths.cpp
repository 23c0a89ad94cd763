#include "tools/host/ModelPaths.h"

#include <unistd.h>

#include <climits>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <system_error>
#include <vector>

namespace {

bool Exists(const std::string& path) { return !path.empty() && access(path.c_str(), R_OK) == 0; }

// The package folder beside an installed program (or under lib/tessalune/
// in a system prefix, as the Debian package has it), or empty.
std::string InstalledPackage() {
  char self[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) return {};
  std::string exe(self, static_cast<size_t>(n));
  const size_t slash = exe.rfind('/');
  if (slash == std::string::npos) return {};
  for (const char* root : {"/../", "/../lib/tessalune/"}) {
    const std::string package = exe.substr(0, slash) + root + kModelPackageFolder;
    if (Exists(package + "/libtessalune_tx.so")) return package;
  }
  return {};
}

}  // namespace

std::string DefaultModelPath() {
  const std::string package = InstalledPackage();
  if (!package.empty()) return package + "/libtessalune_tx.so";
#ifdef TESSALUNE_DEFAULT_MODEL
  return TESSALUNE_DEFAULT_MODEL;
#else
  return {};
#endif
}

std::string DefaultAmiPath() {
  const std::string package = InstalledPackage();
  if (!package.empty() && Exists(package + "/tessalune_tx.ami")) return package + "/tessalune_tx.ami";
#ifdef TESSALUNE_DEFAULT_AMI
  return TESSALUNE_DEFAULT_AMI;
#else
  return {};
#endif
}

bool IsOwnModel(const std::string& path) {
  std::vector<std::string> own = {DefaultModelPath()};
  const std::string package = InstalledPackage();
  if (!package.empty()) own.push_back(package + "/../tessalune_rx/libtessalune_rx.so");
#ifdef TESSALUNE_DEFAULT_RX_MODEL
  own.push_back(TESSALUNE_DEFAULT_RX_MODEL);
#endif
  for (const std::string& candidate : own) {
    std::error_code failed;
    if (!candidate.empty() && std::filesystem::equivalent(path, candidate, failed)) return true;
  }
  return false;
}

#include "AtomicFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

// Permissions of a file the program creates: read and write as the umask lets.
mode_t NewFileMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

}  // namespace

AtomicFile::AtomicFile(std::string path) : path_(std::move(path)) {}

AtomicFile::~AtomicFile() { Discard(); }

std::string AtomicFile::Failure(int error) const { return "cannot write " + path_ + ": " + std::strerror(error); }

bool AtomicFile::Open(std::string& error) {
  Discard();
  // A hidden name in the same folder, so that the rename stays on one file system.
  const size_t slash = path_.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : path_.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path_ : path_.substr(slash + 1);
  std::string pattern = folder + "." + name + ".XXXXXX";
  const int fd = mkstemp(pattern.data());
  if (fd < 0) {
    error = Failure(errno);
    return false;
  }
  temporary_ = pattern;
  file_ = fdopen(fd, "w");
  if (!file_ || fchmod(fd, NewFileMode()) != 0) {
    error = Failure(errno);
    if (!file_) close(fd);
    Discard();
    return false;
  }
  return true;
}

bool AtomicFile::Write(const void* data, size_t size, std::string& error) {
  if (!file_) {
    error = Failure(EBADF);
    return false;
  }
  if (size > 0 && std::fwrite(data, 1, size, file_) != size) {
    error = Failure(errno);
    return false;
  }
  return true;
}

bool AtomicFile::Commit(std::string& error) {
  if (!file_) {
    error = Failure(EBADF);
    return false;
  }
  int failure = 0;
  if (std::fflush(file_) != 0 || std::ferror(file_) || fsync(fileno(file_)) != 0) failure = errno ? errno : EIO;
  if (std::fclose(file_) != 0 && failure == 0) failure = errno;
  file_ = nullptr;
  if (failure == 0 && std::rename(temporary_.c_str(), path_.c_str()) != 0) failure = errno;
  if (failure != 0) {
    error = Failure(failure);
    Discard();
    return false;
  }
  temporary_.clear();
  return true;
}

void AtomicFile::Discard() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  if (!temporary_.empty()) unlink(temporary_.c_str());
  temporary_.clear();
}

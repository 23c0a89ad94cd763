#include "AtomicFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <utility>

namespace {

// Temporary files being written, so that an interrupted program (Ctrl-C, a
// kill) removes them too: a fixed table that the signal handler can read.
// A slot is free (0), being filled (1) or holds a path (2).
struct PendingSlot {
  std::atomic<int> state{0};
  char path[4096];
};
PendingSlot pendingFiles[16];

extern "C" void RemovePendingFilesAndStop(int signal) {
  for (PendingSlot& slot : pendingFiles)
    if (slot.state.load(std::memory_order_acquire) == 2) unlink(slot.path);
  struct sigaction standard {};
  standard.sa_handler = SIG_DFL;
  sigemptyset(&standard.sa_mask);
  sigaction(signal, &standard, nullptr);
  raise(signal);
}

// Once per process, for the signals that end it by default; a signal the
// program was told to ignore or handle is left alone.
void RemovePendingFilesOnInterrupt() {
  static std::once_flag once;
  std::call_once(once, [] {
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
      struct sigaction current {};
      if (sigaction(signal, nullptr, &current) != 0 || current.sa_handler != SIG_DFL) continue;
      struct sigaction cleanup {};
      cleanup.sa_handler = &RemovePendingFilesAndStop;
      sigemptyset(&cleanup.sa_mask);
      sigaction(signal, &cleanup, nullptr);
    }
  });
}

// The slot that now holds `path`, or -1 when none is free.
int RememberPending(const std::string& path) {
  if (path.size() >= sizeof pendingFiles[0].path) return -1;
  for (int i = 0; i < static_cast<int>(sizeof pendingFiles / sizeof pendingFiles[0]); ++i) {
    int free = 0;
    if (!pendingFiles[i].state.compare_exchange_strong(free, 1)) continue;
    std::memcpy(pendingFiles[i].path, path.c_str(), path.size() + 1);
    pendingFiles[i].state.store(2, std::memory_order_release);
    return i;
  }
  return -1;
}

void ForgetPending(int slot) {
  if (slot >= 0) pendingFiles[slot].state.store(0, std::memory_order_release);
}

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
  RemovePendingFilesOnInterrupt();
  pendingSlot_ = RememberPending(temporary_);
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
  ForgetPending(pendingSlot_);
  pendingSlot_ = -1;
  temporary_.clear();
  return true;
}

void AtomicFile::Discard() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  if (!temporary_.empty()) unlink(temporary_.c_str());
  ForgetPending(pendingSlot_);
  pendingSlot_ = -1;
  temporary_.clear();
}

#include "tools/common/AtomicFile.h"

#include <fcntl.h>
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

// Temporary names being written, so that a signal that ends the program
// removes them too: a fixed table that the signal handler can read. A slot
// is free (0), being filled (1) or holds a path (2).
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

// Once per process, for every signal whose default action ends it (with or
// without a core file); a signal the program was told to ignore or handle
// (such as SIGXFSZ, which the simulation host ignores so that a file size
// limit fails the write) is left alone.
void RemovePendingFilesOnSignals() {
  static std::once_flag once;
  std::call_once(once, [] {
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE, SIGALRM, SIGUSR1, SIGUSR2, SIGXCPU, SIGXFSZ,
                       SIGVTALRM, SIGPROF, SIGABRT, SIGBUS, SIGFPE, SIGILL, SIGSEGV, SIGSYS, SIGTRAP}) {
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

// The folder of `path` ("." for a bare name) and the name in it.
std::pair<std::string, std::string> SplitPath(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {".", path};
  return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

// A hidden name beside the target, different on each call.
std::string HiddenName(const std::string& folder, const std::string& name) {
  static std::atomic<unsigned> counter{0};
  return folder + "/." + name + "." + std::to_string(getpid()) + "." + std::to_string(counter++);
}

}  // namespace

AtomicFile::AtomicFile(std::string path, bool unnamed) : path_(std::move(path)), unnamed_(unnamed) {}

AtomicFile::~AtomicFile() { Discard(); }

std::string AtomicFile::Failure(int error) const { return "cannot write " + path_ + ": " + std::strerror(error); }

bool AtomicFile::Open(std::string& error) {
  Discard();
  struct stat target {};
  if (stat(path_.c_str(), &target) == 0) {
    if (S_ISDIR(target.st_mode)) {
      error = Failure(EISDIR);
      return false;
    }
    if (!S_ISREG(target.st_mode)) return OpenInPlace(error);
    // A file the user may not write is not replaced behind its back.
    if (access(path_.c_str(), W_OK) != 0) {
      error = Failure(errno);
      return false;
    }
  } else if (errno != ENOENT) {
    error = Failure(errno);
    return false;
  }
  const auto [folder, name] = SplitPath(path_);
  bool unsupported = true;
  if (unnamed_ && OpenUnnamed(folder, unsupported, error)) return true;
  return unsupported && OpenNamed(folder, name, error);
}

// A FIFO or a device: opened for writing as it is, never truncated or
// replaced.
bool AtomicFile::OpenInPlace(std::string& error) {
  const int fd = open(path_.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
  struct stat opened {};
  if (fd < 0 || fstat(fd, &opened) != 0) {
    error = Failure(errno);
    if (fd >= 0) close(fd);
    return false;
  }
  file_ = fdopen(fd, "w");
  if (!file_) {
    error = Failure(errno);
    close(fd);
    return false;
  }
  kind_ = Kind::kInPlace;
  return true;
}

// An unnamed file in the folder; `unsupported` says whether a failure is the
// file system's (or the system's) lack of unnamed files, so that a named
// temporary is worth trying.
bool AtomicFile::OpenUnnamed(const std::string& folder, bool& unsupported, std::string& error) {
  unsupported = true;
#if defined(__linux__) && defined(O_TMPFILE)
  // Linking it into place goes through /proc/self/fd; without /proc the
  // named temporary does the job.
  if (access("/proc/self/fd", X_OK) != 0) return false;
  const int fd = open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  if (fd < 0) {
    // Older kernels answer EISDIR (O_TMPFILE holds O_DIRECTORY), file
    // systems without unnamed files EOPNOTSUPP.
    unsupported = errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL;
    error = Failure(errno);
    return false;
  }
  file_ = fdopen(fd, "w");
  if (!file_) {
    unsupported = false;
    error = Failure(errno);
    close(fd);
    return false;
  }
  kind_ = Kind::kUnnamed;
  return true;
#else
  (void)folder;
  (void)error;
  return false;
#endif
}

bool AtomicFile::OpenNamed(const std::string& folder, const std::string& name, std::string& error) {
  std::string pattern = folder + "/." + name + ".XXXXXX";
  const int fd = mkstemp(pattern.data());
  if (fd < 0) {
    error = Failure(errno);
    return false;
  }
  temporary_ = pattern;
  RemovePendingFilesOnSignals();
  pendingSlot_ = RememberPending(temporary_);
  file_ = fdopen(fd, "w");
  if (!file_ || fchmod(fd, NewFileMode()) != 0) {
    error = Failure(errno);
    if (!file_) close(fd);
    Discard();
    return false;
  }
  kind_ = Kind::kNamedTemporary;
  return true;
}

bool AtomicFile::Write(const void* data, size_t size, std::string& error) {
  if (!file_) {
    error = Failure(EBADF);
    return false;
  }
  if (size > 0 && std::fwrite(data, 1, size, file_) != size) {
    error = Failure(errno ? errno : EIO);
    return false;
  }
  return true;
}

// The unnamed file under the target's name: straight there when there is no
// file of that name, else under a hidden name renamed over the old file (so
// that a reader sees the old file or the new one, never neither).
bool AtomicFile::LinkUnnamed(int& failure) {
  char proc[64];
  std::snprintf(proc, sizeof proc, "/proc/self/fd/%d", fileno(file_));
  if (linkat(AT_FDCWD, proc, AT_FDCWD, path_.c_str(), AT_SYMLINK_FOLLOW) == 0) return true;
  if (errno != EEXIST) {
    failure = errno;
    return false;
  }
  const auto [folder, name] = SplitPath(path_);
  RemovePendingFilesOnSignals();
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string hidden = HiddenName(folder, name);
    pendingSlot_ = RememberPending(hidden);
    if (linkat(AT_FDCWD, proc, AT_FDCWD, hidden.c_str(), AT_SYMLINK_FOLLOW) != 0) {
      failure = errno;
      Forget();
      if (failure == EEXIST) continue;
      return false;
    }
    temporary_ = hidden;
    if (std::rename(hidden.c_str(), path_.c_str()) != 0) {
      failure = errno;
      return false;  // Discard removes the hidden name
    }
    temporary_.clear();
    Forget();
    return true;
  }
  return false;
}

bool AtomicFile::Commit(std::string& error) {
  if (!file_) {
    error = Failure(EBADF);
    return false;
  }
  int failure = 0;
  if (std::fflush(file_) != 0 || std::ferror(file_)) failure = errno ? errno : EIO;
  // A FIFO or a device takes no fsync; a file does, before it gets its name.
  if (failure == 0 && kind_ != Kind::kInPlace && fsync(fileno(file_)) != 0) failure = errno;
  if (failure == 0 && kind_ == Kind::kUnnamed) LinkUnnamed(failure);
  if (std::fclose(file_) != 0 && failure == 0) failure = errno;
  file_ = nullptr;
  if (failure == 0 && kind_ == Kind::kNamedTemporary && std::rename(temporary_.c_str(), path_.c_str()) != 0)
    failure = errno;
  if (failure != 0) {
    error = Failure(failure);
    Discard();
    return false;
  }
  Forget();
  temporary_.clear();
  kind_ = Kind::kClosed;
  return true;
}

void AtomicFile::Forget() {
  ForgetPending(pendingSlot_);
  pendingSlot_ = -1;
}

void AtomicFile::Discard() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  if (!temporary_.empty()) unlink(temporary_.c_str());
  Forget();
  temporary_.clear();
  kind_ = Kind::kClosed;
}

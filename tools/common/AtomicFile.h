// An output file (a waveform CSV, an eye picture, a channel's CSV or
// Touchstone file) that appears whole or not at all.
//
// On Linux the bytes go to an unnamed file in the target's folder (O_TMPFILE)
// that is linked into place with linkat once every byte is written: a
// process that ends in any way before that (a signal, a crash, power off
// aside) leaves nothing behind. Where the folder's file system has no
// unnamed files, a hidden temporary name in the same folder is used and
// renamed at the end; a signal that ends the program (interrupt, hang-up,
// quit, broken pipe, CPU time limit, ...) removes it on the way out.
// Either way a failed write (a full disk, a file size limit, a run that
// stops half way) leaves neither a truncated file nor a temporary one, and a
// file that had the target's name before stays as it was.
//
// A target that exists and is not a regular file (a FIFO, a device such as
// /dev/null) is written in place: it is never replaced. A directory, and a
// regular file the user may not write, are refused when the file is opened,
// so that a run can check its outputs before it starts.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

class AtomicFile {
 public:
  // How the bytes reach the target.
  enum class Kind { kClosed, kUnnamed, kNamedTemporary, kInPlace };

  // `unnamed` false: a named temporary even where unnamed files exist, as
  // on systems without them (tests use it to check the cleanup on signals).
  explicit AtomicFile(std::string path, bool unnamed = true);
  // Drops what was written unless it was committed.
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  const std::string& Path() const { return path_; }
  Kind Mode() const { return kind_; }
  bool IsOpen() const { return file_ != nullptr; }

  // Gets the file ready for writing. False, with "cannot write PATH: reason"
  // (the system's reason) in `error`, when the target or its folder does not
  // take it. A FIFO target waits here for its reader, as any writer does.
  bool Open(std::string& error);
  // Appends `size` bytes; false, with the reason in `error`, when they cannot
  // be written (the file is then of no use).
  bool Write(const void* data, size_t size, std::string& error);
  // Makes the file complete under its name. False, with the reason in
  // `error`, when the last bytes cannot be written; nothing is left then.
  bool Commit(std::string& error);
  // Drops what was written (what went to a FIFO or device is gone already).
  void Discard();

 private:
  std::string Failure(int error) const;
  bool OpenInPlace(std::string& error);
  bool OpenUnnamed(const std::string& folder, bool& unsupported, std::string& error);
  bool OpenNamed(const std::string& folder, const std::string& name, std::string& error);
  bool LinkUnnamed(int& failure);
  void Forget();

  std::string path_;
  std::string temporary_;  // the named temporary, while it exists
  std::FILE* file_ = nullptr;
  Kind kind_ = Kind::kClosed;
  bool unnamed_;
  int pendingSlot_ = -1;  // where a terminating signal finds the temporary name
};

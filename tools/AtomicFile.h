// An output file (a waveform CSV, an eye picture) written under a temporary
// name in its target's folder and renamed to the target only once every byte
// is written. A failed write (a full disk, a file size limit, a run that stops
// half way, an interrupt such as Ctrl-C) leaves neither a truncated file nor
// the temporary one behind, and a file that had the target's name before
// stays as it was.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

class AtomicFile {
 public:
  explicit AtomicFile(std::string path);
  // Removes the temporary file unless it was committed.
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  const std::string& Path() const { return path_; }

  // Creates the temporary file. False, with "cannot write PATH: reason" in
  // `error`, when the folder does not take it.
  bool Open(std::string& error);
  // Appends `size` bytes; false, with the reason in `error`, when they cannot
  // be written (the file is then of no use).
  bool Write(const void* data, size_t size, std::string& error);
  // Makes the file complete under its name. False, with the reason in
  // `error`, when the last bytes cannot be written; nothing is left then.
  bool Commit(std::string& error);
  // Drops what was written.
  void Discard();

 private:
  std::string Failure(int error) const;

  std::string path_;
  std::string temporary_;
  std::FILE* file_ = nullptr;
  int pendingSlot_ = -1;  // where an interrupt finds the temporary file
};

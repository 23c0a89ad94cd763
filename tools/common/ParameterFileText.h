// Reads a parameter file (an .ami file or an AMI parameter string) whole into
// memory, up to a size that no real parameter file comes near, so that an
// endless or huge input such as /dev/zero is refused with a clear message
// instead of exhausting memory.
#pragma once

#include <cstddef>
#include <string>

// Largest parameter file read: 16 MiB. The parser's tree and the JSON of
// `tessalune tree` take some tens of times the text's size.
constexpr size_t kParameterFileMax = size_t{16} << 20;

enum class ParameterFileRead {
  kOk,
  kCannotRead,  // cannot be opened, or a read error
  kTooLarge,    // more than the limit (nothing is kept)
};

// Reads `path` into `text` if it holds at most `limit` bytes.
ParameterFileRead ReadParameterFile(const std::string& path, std::string& text, size_t limit = kParameterFileMax);

// One sentence for a failed read of `path`, e.g.
// "/dev/zero holds more than 16 MiB, more than a parameter file may hold".
std::string ParameterFileError(ParameterFileRead result, const std::string& path, size_t limit = kParameterFileMax);

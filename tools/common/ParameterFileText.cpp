#include "tools/common/ParameterFileText.h"

#include <fstream>

ParameterFileRead ReadParameterFile(const std::string& path, std::string& text, size_t limit) {
  text.clear();
  std::ifstream in(path, std::ios::binary);
  if (!in) return ParameterFileRead::kCannotRead;
  // In chunks, so that reading stops one chunk past the limit whatever the
  // file is: a device or pipe has no size to ask for beforehand.
  constexpr size_t kChunk = 64 * 1024;
  std::string chunk(kChunk, '\0');
  while (in) {
    in.read(&chunk[0], static_cast<std::streamsize>(kChunk));
    const size_t got = static_cast<size_t>(in.gcount());
    if (got > limit - text.size()) {
      text.clear();
      text.shrink_to_fit();
      return ParameterFileRead::kTooLarge;
    }
    text.append(chunk, 0, got);
  }
  return in.bad() ? ParameterFileRead::kCannotRead : ParameterFileRead::kOk;
}

std::string ParameterFileError(ParameterFileRead result, const std::string& path, size_t limit) {
  switch (result) {
    case ParameterFileRead::kOk:
      return {};
    case ParameterFileRead::kCannotRead:
      return "cannot read " + path;
    case ParameterFileRead::kTooLarge:
      break;
  }
  const std::string size =
      limit % (1u << 20) == 0 ? std::to_string(limit >> 20) + " MiB" : std::to_string(limit) + " bytes";
  return path + " holds more than " + size + ", more than a parameter file may hold";
}

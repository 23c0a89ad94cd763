#include "tools/host/PeImage.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>

namespace {

// At most this many names per table: no real DLL comes near it.
constexpr uint32_t kMaxEntries = 65536;
constexpr size_t kMaxName = 512;

struct Section {
  uint32_t address = 0;  // virtual address
  uint32_t size = 0;     // bytes in the file
  uint32_t offset = 0;   // where they start in the file
};

struct Image {
  const std::string& bytes;
  std::vector<Section> sections;
};

template <typename T>
bool At(const std::string& bytes, uint64_t offset, T& out) {
  if (offset > bytes.size() || bytes.size() - offset < sizeof(T)) return false;
  std::memcpy(&out, bytes.data() + offset, sizeof(T));
  return true;
}

// The file offset of a relative virtual address, through the sections.
bool Offset(const Image& image, uint32_t rva, uint64_t& offset) {
  for (const Section& s : image.sections) {
    if (rva >= s.address && rva - s.address < s.size) {
      offset = uint64_t{s.offset} + (rva - s.address);
      return offset < image.bytes.size();
    }
  }
  return false;
}

// The NUL-ended name at `rva` (at most kMaxName bytes).
bool Name(const Image& image, uint32_t rva, std::string& name) {
  uint64_t offset = 0;
  if (!Offset(image, rva, offset)) return false;
  const size_t room = std::min<size_t>(kMaxName, image.bytes.size() - offset);
  const char* start = image.bytes.data() + offset;
  const void* end = std::memchr(start, '\0', room);
  if (!end) return false;
  name.assign(start, static_cast<const char*>(end));
  return true;
}

bool ReadExports(const Image& image, uint32_t rva, PeTables& tables, std::string& error) {
  uint64_t at = 0;
  uint32_t count = 0;
  uint32_t names = 0;
  if (!Offset(image, rva, at) || !At(image.bytes, at + 24, count) || !At(image.bytes, at + 32, names)) {
    error = "the export directory lies outside the file";
    return false;
  }
  if (count > kMaxEntries) {
    error = "the export table claims " + std::to_string(count) + " names";
    return false;
  }
  uint64_t list = 0;
  if (count > 0 && !Offset(image, names, list)) {
    error = "the export table's names lie outside the file";
    return false;
  }
  for (uint32_t i = 0; i < count; ++i) {
    uint32_t nameRva = 0;
    std::string name;
    if (!At(image.bytes, list + uint64_t{i} * 4, nameRva) || !Name(image, nameRva, name)) {
      error = "export name " + std::to_string(i + 1) + " lies outside the file";
      return false;
    }
    tables.exports.push_back(name);
  }
  return true;
}

// The import descriptors (20 bytes, the name at 12) or the delay-load ones
// (32 bytes, the name at 4), up to the one of zeros.
bool ReadImports(const Image& image, uint32_t rva, uint32_t stride, uint32_t nameAt, std::vector<std::string>& dlls,
                 std::string& error) {
  uint64_t at = 0;
  if (!Offset(image, rva, at)) {
    error = "the import directory lies outside the file";
    return false;
  }
  for (uint32_t i = 0; i < kMaxEntries; ++i) {
    uint32_t nameRva = 0;
    if (!At(image.bytes, at + uint64_t{i} * stride + nameAt, nameRva)) break;
    if (nameRva == 0) return true;
    std::string name;
    if (!Name(image, nameRva, name)) {
      error = "the name of imported DLL " + std::to_string(i + 1) + " lies outside the file";
      return false;
    }
    dlls.push_back(name);
  }
  error = "the import directory has no end";
  return false;
}

// The sections and the data directories' (address, size) pairs.
bool ReadHeaders(Image& image, std::vector<std::pair<uint32_t, uint32_t>>& directories, std::string& error) {
  const std::string& bytes = image.bytes;
  uint32_t header = 0;
  uint32_t signature = 0;
  uint16_t sections = 0;
  uint16_t optionalSize = 0;
  uint16_t magic = 0;
  if (!PeImage::LooksLikePe(bytes) || !At(bytes, 0x3c, header) || !At(bytes, header, signature) ||
      signature != 0x00004550 || !At(bytes, uint64_t{header} + 6, sections) ||
      !At(bytes, uint64_t{header} + 20, optionalSize) || !At(bytes, uint64_t{header} + 24, magic) ||
      (magic != 0x10b && magic != 0x20b)) {
    error = "no PE image (its headers lie outside the file or are not those of a PE file)";
    return false;
  }
  const uint64_t optional = uint64_t{header} + 24;
  const uint64_t countAt = optional + (magic == 0x20b ? 108 : 92);
  uint32_t count = 0;
  if (!At(bytes, countAt, count)) count = 0;
  for (uint32_t i = 0; i < std::min<uint32_t>(count, 16); ++i) {
    std::pair<uint32_t, uint32_t> d{0, 0};
    if (countAt + 4 + uint64_t{i} * 8 + 8 > optional + optionalSize) break;
    if (!At(bytes, countAt + 4 + uint64_t{i} * 8, d.first) || !At(bytes, countAt + 8 + uint64_t{i} * 8, d.second))
      break;
    directories.push_back(d);
  }
  const uint64_t table = optional + optionalSize;
  for (uint16_t i = 0; i < sections; ++i) {
    Section s;
    const uint64_t entry = table + uint64_t{i} * 40;
    if (!At(bytes, entry + 12, s.address) || !At(bytes, entry + 16, s.size) || !At(bytes, entry + 20, s.offset)) {
      error = "the section table runs past the end of the file";
      return false;
    }
    image.sections.push_back(s);
  }
  return true;
}

}  // namespace

bool PeImage::LooksLikePe(const std::string& bytes) { return bytes.size() >= 2 && bytes[0] == 'M' && bytes[1] == 'Z'; }

bool PeImage::Read(const std::string& bytes, PeTables& tables, std::string& error) {
  Image image{bytes, {}};
  std::vector<std::pair<uint32_t, uint32_t>> directories;
  if (!ReadHeaders(image, directories, error)) return false;
  // Directories 0 (exports), 1 (imports) and 13 (delay-load imports).
  if (directories.size() > 0 && directories[0].first != 0 && !ReadExports(image, directories[0].first, tables, error))
    return false;
  if (directories.size() > 1 && directories[1].first != 0 &&
      !ReadImports(image, directories[1].first, 20, 12, tables.imports, error))
    return false;
  if (directories.size() > 13 && directories[13].first != 0 &&
      !ReadImports(image, directories[13].first, 32, 4, tables.delayImports, error))
    return false;
  return true;
}

bool PeImage::IsWindowsSystem(const std::string& name) {
  std::string lower;
  for (char c : name) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (lower.rfind("api-ms-win-", 0) == 0 || lower.rfind("ext-ms-win-", 0) == 0) return true;
  static const char* const system[] = {"kernel32.dll", "kernelbase.dll", "ntdll.dll",    "msvcrt.dll",  "ucrtbase.dll",
                                       "advapi32.dll", "user32.dll",     "gdi32.dll",    "shell32.dll", "ole32.dll",
                                       "oleaut32.dll", "ws2_32.dll",     "shlwapi.dll",  "version.dll", "bcrypt.dll",
                                       "psapi.dll",    "dbghelp.dll",    "secur32.dll",  "crypt32.dll", "rpcrt4.dll",
                                       "winmm.dll",    "iphlpapi.dll",   "comdlg32.dll", "comctl32.dll"};
  for (const char* s : system)
    if (lower == s) return true;
  return false;
}

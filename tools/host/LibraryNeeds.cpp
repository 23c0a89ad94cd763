#include "tools/host/LibraryNeeds.h"

#include <elf.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <regex>

namespace {

// The file's bytes, at most 512 MiB (no model library is larger).
bool ReadBytes(const std::string& path, std::string& bytes, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot read " + path;
    return false;
  }
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0 || size > (std::streamoff{1} << 29)) {
    error = path + " is no file of a model library's size";
    return false;
  }
  in.seekg(0);
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

template <typename T>
bool At(const std::string& bytes, uint64_t offset, T& out) {
  if (offset > bytes.size() || bytes.size() - offset < sizeof(T)) return false;
  std::memcpy(&out, bytes.data() + offset, sizeof(T));
  return true;
}

// The file offset of a virtual address, through the PT_LOAD segments.
bool FileOffset(const std::string& bytes, const Elf64_Ehdr& header, uint64_t address, uint64_t& offset) {
  for (uint16_t i = 0; i < header.e_phnum; ++i) {
    Elf64_Phdr segment{};
    if (!At(bytes, header.e_phoff + uint64_t{i} * header.e_phentsize, segment)) return false;
    if (segment.p_type == PT_LOAD && address >= segment.p_vaddr && address - segment.p_vaddr < segment.p_filesz) {
      offset = segment.p_offset + (address - segment.p_vaddr);
      return true;
    }
  }
  return false;
}

// The dynamic section's entries (offset and count), from PT_DYNAMIC.
bool DynamicEntries(const std::string& bytes, const Elf64_Ehdr& header, std::vector<Elf64_Dyn>& entries) {
  for (uint16_t i = 0; i < header.e_phnum; ++i) {
    Elf64_Phdr segment{};
    if (!At(bytes, header.e_phoff + uint64_t{i} * header.e_phentsize, segment)) return false;
    if (segment.p_type != PT_DYNAMIC) continue;
    for (uint64_t at = 0; at + sizeof(Elf64_Dyn) <= segment.p_filesz; at += sizeof(Elf64_Dyn)) {
      Elf64_Dyn entry{};
      if (!At(bytes, segment.p_offset + at, entry)) return false;
      if (entry.d_tag == DT_NULL) break;
      entries.push_back(entry);
    }
    return true;
  }
  return true;  // no dynamic segment: needs nothing
}

}  // namespace

bool LibraryNeeds::Read(const std::string& path, std::vector<std::string>& needed, std::string& error) {
  std::string bytes;
  if (!ReadBytes(path, bytes, error)) return false;
  Elf64_Ehdr header{};
  if (!At(bytes, 0, header) || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
      header.e_ident[EI_CLASS] != ELFCLASS64 || header.e_ident[EI_DATA] != ELFDATA2LSB ||
      header.e_phentsize != sizeof(Elf64_Phdr)) {
    error = path + " is not a 64-bit little-endian ELF file";
    return false;
  }
  std::vector<Elf64_Dyn> entries;
  uint64_t table = 0;
  if (!DynamicEntries(bytes, header, entries)) {
    error = path + ": program headers run past the end of the file";
    return false;
  }
  bool haveTable = false;
  for (const Elf64_Dyn& entry : entries) {
    if (entry.d_tag == DT_STRTAB) haveTable = FileOffset(bytes, header, entry.d_un.d_ptr, table);
  }
  for (const Elf64_Dyn& entry : entries) {
    if (entry.d_tag != DT_NEEDED) continue;
    const uint64_t at = table + entry.d_un.d_val;
    if (!haveTable || at >= bytes.size()) {
      error = path + ": a needed library's name lies outside the file";
      return false;
    }
    const size_t end = bytes.find('\0', at);
    needed.push_back(bytes.substr(at, (end == std::string::npos ? bytes.size() : end) - at));
  }
  return true;
}

bool LibraryNeeds::IsPlainSystem(const std::string& name) {
  static const std::regex plain(
      R"((libc|libm|libstdc\+\+|libgcc_s|libpthread|libdl|librt|libasan|libubsan|libtsan|liblsan)\.so(\.[0-9]+)*|ld-linux[-a-z0-9_.]*\.so(\.[0-9]+)*|linux-vdso\.so\.1)");
  return std::regex_match(name, plain);
}

#include "tools/host/ProbePlatform.h"

#include <cstdio>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
// After windows.h.
#include <psapi.h>
#else
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

#ifdef _WIN32

namespace {

std::wstring Wide(const std::string& text) {
  const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(size > 0 ? size : 0), L'\0');
  if (size > 0) MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], size);
  return wide;
}

std::string LastErrorWords(const char* call) {
  const DWORD code = GetLastError();
  char text[512] = {};
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text, sizeof text,
                 nullptr);
  std::string words = text;
  while (!words.empty() && (words.back() == '\n' || words.back() == '\r' || words.back() == ' ')) words.pop_back();
  return std::string(call) + " failed with error " + std::to_string(code) + (words.empty() ? "" : ": " + words);
}

}  // namespace

void* ProbePlatform::OpenLibrary(const std::string& path, std::string& error) {
  // The DLLs it imports are looked for beside it first, as a simulator that
  // loads it by its full path finds them.
  HMODULE library = LoadLibraryExW(Wide(path).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (!library) error = LastErrorWords("LoadLibrary");
  return reinterpret_cast<void*>(library);
}

void* ProbePlatform::Symbol(void* library, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

const char* ProbePlatform::LoadCall() { return "LoadLibrary, every import bound at load"; }

size_t ProbePlatform::PageSize() {
  SYSTEM_INFO info{};
  GetSystemInfo(&info);
  return info.dwPageSize;
}

void* ProbePlatform::MapGuarded(size_t dataBytes, size_t& mapped) {
  const size_t page = PageSize();
  const size_t dataPages = (dataBytes + page - 1) / page * page;
  mapped = dataPages + page;
  void* base = VirtualAlloc(nullptr, mapped, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
  DWORD old = 0;
  if (base) VirtualProtect(static_cast<char*>(base) + dataPages, page, PAGE_NOACCESS, &old);
  return base;
}

void ProbePlatform::Unmap(void* base, size_t) { VirtualFree(base, 0, MEM_RELEASE); }

double ProbePlatform::ResidentBytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 0.0;
  return static_cast<double>(counters.WorkingSetSize);
}

const char* ProbePlatform::ResidentWords() { return "working set"; }

int ProbePlatform::OpenAppend(const std::string& path) {
  return _wopen(Wide(path).c_str(), _O_WRONLY | _O_CREAT | _O_APPEND | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
}

void ProbePlatform::WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const int n = _write(fd, data, static_cast<unsigned>(size > (1u << 30) ? (1u << 30) : size));
    if (n <= 0) return;
    data += n;
    size -= static_cast<size_t>(n);
  }
}

void ProbePlatform::Close(int fd) { _close(fd); }

namespace {
FILE* OpenForReading(const std::string& path) { return _wfopen(Wide(path).c_str(), L"rb"); }
}  // namespace

#else

void* ProbePlatform::OpenLibrary(const std::string& path, std::string& error) {
  const std::string target = path.find('/') == std::string::npos ? "./" + path : path;
  void* library = dlopen(target.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    const char* why = dlerror();
    error = why ? why : "dlopen failed";
  }
  return library;
}

void* ProbePlatform::Symbol(void* library, const char* name) { return dlsym(library, name); }

const char* ProbePlatform::LoadCall() { return "dlopen with every symbol bound at load"; }

size_t ProbePlatform::PageSize() { return static_cast<size_t>(sysconf(_SC_PAGESIZE)); }

void* ProbePlatform::MapGuarded(size_t dataBytes, size_t& mapped) {
  const size_t page = PageSize();
  const size_t dataPages = (dataBytes + page - 1) / page * page;
  mapped = dataPages + page;
  void* base = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (base == MAP_FAILED) return nullptr;
  mprotect(static_cast<char*>(base) + dataPages, page, PROT_NONE);
  return base;
}

void ProbePlatform::Unmap(void* base, size_t mapped) { munmap(base, mapped); }

double ProbePlatform::ResidentBytes() {
  long pages = 0;
  long resident = 0;
  FILE* file = std::fopen("/proc/self/statm", "r");
  if (!file) return 0.0;
  if (std::fscanf(file, "%ld %ld", &pages, &resident) != 2) resident = 0;
  std::fclose(file);
  return static_cast<double>(resident) * static_cast<double>(PageSize());
}

const char* ProbePlatform::ResidentWords() { return "resident size"; }

int ProbePlatform::OpenAppend(const std::string& path) {
  return open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
}

void ProbePlatform::WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = write(fd, data, size);
    if (n <= 0) return;
    data += n;
    size -= static_cast<size_t>(n);
  }
}

void ProbePlatform::Close(int fd) { close(fd); }

namespace {
FILE* OpenForReading(const std::string& path) { return std::fopen(path.c_str(), "rb"); }
}  // namespace

#endif

bool ProbePlatform::ReadFile(const std::string& path, size_t limit, std::string& bytes, std::string& error) {
  FILE* file = OpenForReading(path);
  if (!file) {
    error = "cannot read " + path;
    return false;
  }
  bytes.clear();
  char chunk[1 << 16];
  size_t n = 0;
  while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
    if (bytes.size() + n > limit) {
      std::fclose(file);
      error = path + " is larger than " + std::to_string(limit) + " bytes";
      return false;
    }
    bytes.append(chunk, n);
  }
  std::fclose(file);
  return true;
}

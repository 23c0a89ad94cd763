// What the probes of `qualify` need from the system they run on, for Linux
// (the child process `qualify` forks) and for Windows (tessalune-probe.exe,
// which `qualify` runs under Wine for a DLL): loading the library, a memory
// region that ends at a page no one may touch, the process's resident size,
// and the files of a probe (its request, its report). Paths are UTF-8.
#pragma once

#include <cstddef>
#include <string>

namespace ProbePlatform {

// The library loaded with every symbol (every import) bound now: null, and
// the loader's words in `error`, when it does not load.
void* OpenLibrary(const std::string& path, std::string& error);
void* Symbol(void* library, const char* name);
// The loading call, as the report's `start` line names it.
const char* LoadCall();

size_t PageSize();
// `dataBytes` readable and writable, ending at a page no one may touch:
// the whole mapping's start (null when none could be made) and its size.
void* MapGuarded(size_t dataBytes, size_t& mapped);
void Unmap(void* base, size_t mapped);

// The process's resident size in bytes (Windows: its working set), and the
// words for it.
double ResidentBytes();
const char* ResidentWords();

// A file opened for appending (created when missing): -1 when it cannot be.
int OpenAppend(const std::string& path);
void WriteAll(int fd, const char* data, size_t size);
void Close(int fd);
// A file's bytes, at most `limit` of them: false with the reason otherwise.
bool ReadFile(const std::string& path, size_t limit, std::string& bytes, std::string& error);

}  // namespace ProbePlatform

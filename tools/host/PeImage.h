// The tables of a Windows DLL (a PE file) that say what it offers and what
// it needs: the names it exports and the DLLs it imports (those bound at
// load and those loaded at a first call), read from the file's bytes with
// every offset and count checked, so that a hostile file gives a reason,
// never a crash or an endless loop.
#pragma once

#include <string>
#include <vector>

struct PeTables {
  std::vector<std::string> exports;       // the export table's names, in its order
  std::vector<std::string> imports;       // the DLLs bound at load
  std::vector<std::string> delayImports;  // the DLLs loaded at a first call
};

namespace PeImage {

// Whether the bytes begin as a PE file does ("MZ").
bool LooksLikePe(const std::string& bytes);

// Reads the tables of a PE32 or PE32+ image; false with the reason when the
// bytes are no such image or a table points outside them.
bool Read(const std::string& bytes, PeTables& tables, std::string& error);

// True for the DLLs every Windows installation has: the kernel, the C
// runtime of the system (msvcrt, the universal CRT and its api-ms-win sets)
// and the other system DLLs of the Windows API. A C++ runtime (the Visual
// C++ redistributable, libstdc++, libgcc, winpthread) is not among them.
bool IsWindowsSystem(const std::string& name);

}  // namespace PeImage

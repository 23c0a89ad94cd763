// The shared libraries a model library asks the loader for (its ELF
// DT_NEEDED entries), read from the file's bytes with every offset checked,
// and whether each is one a plain system has: the C and C++ runtimes and the
// loader. A model that needs anything else fails to load on a user's
// machine that lacks it.
#pragma once

#include <string>
#include <vector>

namespace LibraryNeeds {

// Reads the DT_NEEDED names of the 64-bit little-endian ELF file at `path`.
// False with the reason when the file cannot be read or is not such a file.
bool Read(const std::string& path, std::vector<std::string>& needed, std::string& error);

// True for the C library, the maths library, the C++ runtime, the GCC
// support library, the threads, dl and rt libraries, the loader, and the
// sanitizers' runtimes (present only in a sanitizer build's models).
bool IsPlainSystem(const std::string& name);

}  // namespace LibraryNeeds

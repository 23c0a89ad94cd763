// Where the tools find the model when no path is given: the package folder
// next to an installed program (DIR/bin/tessalune with the model in
// DIR/tessalune_tx/), else the library and .ami file of the build tree.
#pragma once

#include <string>

// Folder of the installed model package, relative to the install prefix.
inline constexpr const char* kModelPackageFolder = "tessalune_tx";

// Path of libtessalune_tx.so, or empty when none is known.
std::string DefaultModelPath();
// Path of tessalune_tx.ami, or empty when none is known.
std::string DefaultAmiPath();

// Whether `path` is one of the model libraries built with these tools (the
// transmitter of DefaultModelPath, or the reference receiver of the build
// tree or package): models the host runs in its own process.
bool IsOwnModel(const std::string& path);

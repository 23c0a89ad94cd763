// Files that one IBIS file names beside itself: a package model's .pkg
// file, the files of a board's [Reference Designator Map], the corner files
// of [External Model] and [External Circuit], the data files of an
// [Interconnect Model]. The checker does not check these files again; it
// looks whether they are there and which names they define.
#pragma once

#include <string>
#include <vector>

// What a named file is.
enum { NAMED_MISSING = 0, NAMED_FILE = 1, NAMED_SPECIAL = 2 };

// The file `name` relative to directory `dir` (with its trailing '/', or
// empty): NAMED_FILE when it is a regular file that can be opened,
// NAMED_SPECIAL for a directory, pipe or device, else NAMED_MISSING.
// *path (when not null) receives the joined path.
int NAMED_Kind(const char* dir, const std::string& name, std::string* path);

// The first word after every «[keyword]» line of the file at `path`, in
// file order; `keyword` is compared without regard to case, a blank and
// '_' counting as the same. Only these names are kept while the file is
// read, so any file is read in bounded memory.
std::vector<std::string> NAMED_Defined(const std::string& path, const char* keyword);

// The names of the files in directory `dir` whose extension is `extension`
// («.pkg»), without regard to case, in name order.
std::vector<std::string> NAMED_FilesWithExtension(const char* dir, const char* extension);

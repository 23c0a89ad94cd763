// The check of an option that names a file: an empty text names none, so it
// is a usage error rather than "no file" (which is the option left out).
#pragma once

#include <CLI/CLI.hpp>

// Rejects "" (and a text of blanks only) as a usage error.
CLI::Validator NonEmptyPath();

#include "tools/commands/PathOption.h"

#include <string>

CLI::Validator NonEmptyPath() {
  auto check = [](std::string& input) {
    if (input.find_first_not_of(" \t") == std::string::npos) return std::string("an empty path names no file");
    return std::string();
  };
  return CLI::Validator(check, "PATH");
}

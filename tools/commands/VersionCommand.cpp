#include "tools/commands/VersionCommand.h"

#include <cstdio>

#ifndef TESSALUNE_VERSION
#define TESSALUNE_VERSION "0.1.0"
#endif

void AddVersionCommand(CLI::App& app, std::function<int()>& action) {
  CLI::App* cmd = app.add_subcommand("version", "Print the version of the tools and the model");
  cmd->callback([&action] {
    action = [] {
      std::printf("tessalune %s\n", TESSALUNE_VERSION);
      return 0;
    };
  });
}

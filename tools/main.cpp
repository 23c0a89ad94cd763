// tessalune: the project's command-line program. Each subcommand registers
// itself here and hands back the action to run once the arguments parse.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <functional>
#include <new>
#include <string>

// Subcommands (one file pair each).
#include "tools/commands/ChannelCommand.h"
#include "tools/commands/CheckCommand.h"
#include "tools/commands/MakeChannelCommand.h"
#include "tools/commands/MergeCommand.h"
#include "tools/commands/NewModelCommand.h"
#include "tools/commands/QualifyCommand.h"
#include "tools/commands/SimCommand.h"
#include "tools/commands/SweepCommand.h"
#include "tools/commands/TreeCommand.h"
#include "tools/commands/VersionCommand.h"

int main(int argc, char** argv) {
  CLI::App app{"tessalune: tools around the tessalune_tx transmitter model"};
  app.require_subcommand(1);

  std::function<int()> action;
  AddChannelCommand(app, action);
  AddCheckCommand(app, action);
  AddMakeChannelCommand(app, action);
  AddMergeCommand(app, action);
  AddNewModelCommand(app, action);
  AddQualifyCommand(app, action);
  AddSimCommand(app, action);
  AddSweepCommand(app, action);
  AddTreeCommand(app, action);
  AddVersionCommand(app, action);

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return 2;
  }
  try {
    return action ? action() : 2;
  } catch (const std::bad_alloc&) {
    // Out of memory is the one failure that comes as an exception: a clear
    // message and a failure status, not an abort.
    std::string command = "tessalune";
    for (const CLI::App* sub : app.get_subcommands()) command += " " + sub->get_name();
    std::fprintf(stderr, "%s: out of memory\n", command.c_str());
    return 1;
  }
}

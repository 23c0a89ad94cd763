// tessalune: the project's command-line program. Each subcommand registers
// itself here and hands back the action to run once the arguments parse.
#include <CLI/CLI.hpp>

#include <functional>

// Subcommands (one file pair each).
#include "ChannelCommand.h"
#include "CheckCommand.h"
#include "MakeChannelCommand.h"
#include "SimCommand.h"
#include "SweepCommand.h"
#include "TreeCommand.h"
#include "VersionCommand.h"

int main(int argc, char** argv) {
  CLI::App app{"tessalune: tools around the tessalune_tx transmitter model"};
  app.require_subcommand(1);

  std::function<int()> action;
  AddChannelCommand(app, action);
  AddCheckCommand(app, action);
  AddMakeChannelCommand(app, action);
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
  return action ? action() : 2;
}

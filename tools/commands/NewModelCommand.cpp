#include "tools/commands/NewModelCommand.h"

#include "IbisParser/base/IbisVersion.h"
#include "tools/commands/NewModelTemplates.h"
#include "tools/common/AtomicFile.h"

#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <memory>
#include <system_error>

#include <unistd.h>

#ifndef TESSALUNE_VERSION
#define TESSALUNE_VERSION "0.1.0"
#endif

namespace {

struct Placeholder {
  const char* key;
  std::string value;
};

// The words that differ between a transmitter's README and a receiver's.
std::vector<Placeholder> DirectionWords(const std::string& name, const std::string& direction) {
  const std::string lib = "build/lib" + name + ".so", ami = "build/" + name + ".ami";
  if (direction == "tx")
    return {{"@DIRECTION_WORD@", "transmitter"},
            {"@WHAT@", "a 3-tap feed-forward equaliser (FFE) whose taps are its parameters."},
            {"@SIM_COMMAND@", "tessalune sim --model " + lib + " --ami " + ami + "   # the eye at the far end"},
            {"@CHANGE_FIRST@", "- `ibis/" + name +
                                   ".ami`: the taps' ranges and defaults (`tap_pre`, `tap_main`,\n"
                                   "  `tap_post`); a new parameter is read in `src/EntryPoints.cpp` (`Configure`).\n"
                                   "- `src/Network.cpp`: the FFE's taps and spacing, or more blocks in `Setup`,\n"
                                   "  `Initialize` and `Run`."}};
  return {{"@DIRECTION_WORD@", "receiver"},
          {"@WHAT@", "a CTLE, then a slicer at the instants of a bang-bang clock recovery, returning its clock times."},
          {"@SIM_COMMAND@", "tessalune sim --rx " + lib + " --rx-ami " + ami + "   # behind the project's transmitter"},
          {"@CHANGE_FIRST@", "- `ibis/" + name +
                                 ".ami`: the CTLE's gain and peaking and the clock recovery's\n"
                                 "  step; a new parameter is read in `src/EntryPoints.cpp` (`Configure`).\n"
                                 "- `src/Network.cpp`: the CTLE's settings, or a DFE (`blocks/DFE.h`) between the\n"
                                 "  CTLE and the slicer."}};
}

std::string Fill(std::string text, const std::vector<Placeholder>& placeholders) {
  for (const Placeholder& p : placeholders)
    for (size_t at = text.find(p.key); at != std::string::npos; at = text.find(p.key, at + p.value.size()))
      text.replace(at, std::strlen(p.key), p.value);
  return text;
}

// The project path of a template: the part after "common/" or "tx/"/"rx/",
// the IBIS files named after the model.
std::string ProjectPath(const std::string& templatePath, const std::string& name) {
  std::string path = templatePath.substr(templatePath.find('/') + 1);
  if (path == "ibis/model.ibs") return "ibis/" + name + ".ibs";
  if (path == "ibis/model.ami") return "ibis/" + name + ".ami";
  return path;
}

std::string Today(const char* format) {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[64];
  return std::strftime(text, sizeof text, format, &utc) > 0 ? text : "";
}

// Writes the files into `folder`; false, with the reason on stderr, at the
// first that cannot be written.
bool WriteFiles(const std::filesystem::path& folder, const std::vector<NewModelFile>& files) {
  for (const NewModelFile& file : files) {
    const std::filesystem::path path = folder / file.path;
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    AtomicFile out(path.string());
    std::string error;
    if (ec || !out.Open(error) || !out.Write(file.text.data(), file.text.size(), error) || !out.Commit(error)) {
      std::fprintf(stderr, "new-model: %s\n", ec ? ec.message().c_str() : error.c_str());
      return false;
    }
  }
  return true;
}

// Writes the project into `dir`, which must not exist or be empty: first
// into a folder beside it, which then takes its place, so that the project
// appears whole or not at all.
int WriteProject(const std::string& dir, const std::vector<NewModelFile>& files) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (fs::exists(dir, ec) && !(fs::is_directory(dir, ec) && fs::is_empty(dir, ec))) {
    std::fprintf(stderr, "new-model: %s exists and is not an empty folder: nothing written\n", dir.c_str());
    return 1;
  }
  const fs::path target = fs::absolute(dir, ec).lexically_normal();
  const fs::path staging = target.parent_path() / ("." + target.filename().string() + ".new-model-" +
                                                   std::to_string(static_cast<long>(getpid())));
  const bool written = !ec && WriteFiles(staging, files);
  if (written) fs::rename(staging, target, ec);
  if (!written || ec) {
    if (ec) std::fprintf(stderr, "new-model: cannot write %s: %s\n", dir.c_str(), ec.message().c_str());
    fs::remove_all(staging, ec);
    std::fprintf(stderr, "new-model: nothing written\n");
    return 1;
  }
  for (const NewModelFile& file : files) std::printf("wrote %s\n", (fs::path(dir) / file.path).string().c_str());
  return 0;
}

}  // namespace

std::string NewModelNameProblem(const std::string& name) {
  bool ok = !name.empty() && name.size() <= 20 && name[0] >= 'a' && name[0] <= 'z';
  for (char c : name) ok = ok && ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_');
  return ok ? std::string()
            : "the name must be a lower-case letter followed by at most 19 lower-case letters, digits or "
              "underscores";
}

std::vector<NewModelFile> NewModelFiles(const std::string& name, const std::string& direction,
                                        const std::string& date) {
  std::vector<Placeholder> placeholders = DirectionWords(name, direction);
  const std::string version = TESSALUNE_VERSION;
  placeholders.push_back({"@NAME@", name});
  placeholders.push_back({"@IBIS_VER@", IBISVER_Name(IBIS_RELEASE_NEWEST)});
  placeholders.push_back({"@DATE@", date});
  placeholders.push_back({"@YEAR@", date.size() >= 4 ? date.substr(date.size() - 4) : date});
  placeholders.push_back({"@KIT_VERSION@", version.substr(0, version.rfind('.'))});
  std::vector<NewModelFile> files;
  for (size_t i = 0; i < kNewModelTemplateCount; ++i) {
    const std::string path = kNewModelTemplates[i].path;
    if (path.rfind("common/", 0) == 0 || path.rfind(direction + "/", 0) == 0)
      files.push_back({ProjectPath(path, name), Fill(kNewModelTemplates[i].text, placeholders)});
  }
  return files;
}

void AddNewModelCommand(CLI::App& app, std::function<int()>& action) {
  struct Options {
    std::string dir, name, direction;
  };
  auto options = std::make_shared<Options>();
  CLI::App* cmd = app.add_subcommand("new-model", "Write a model project that builds against the installed kit");
  cmd->add_option("dir", options->dir, "Folder of the new project (must not exist, or be empty)")->required();
  cmd->add_option("--name", options->name, "The model's name: its library, .ibs and .ami files")->required();
  cmd->add_option("--direction", options->direction, "tx: a transmitter; rx: a receiver")
      ->required()
      ->check(CLI::IsMember({"tx", "rx"}));
  cmd->callback([&action, options] {
    action = [options] {
      const std::string problem = NewModelNameProblem(options->name);
      if (!problem.empty()) {
        std::fprintf(stderr, "new-model: %s: %s\n", options->name.c_str(), problem.c_str());
        return 2;
      }
      const int status =
          WriteProject(options->dir, NewModelFiles(options->name, options->direction, Today("%B %e, %Y")));
      if (status == 0)
        std::printf("next: cmake -S %s -B %s/build && cmake --build %s/build (see %s/README.md)\n",
                    options->dir.c_str(), options->dir.c_str(), options->dir.c_str(), options->dir.c_str());
      return status;
    };
  });
}

#include "tools/commands/TreeCommand.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <memory>
#include <new>

#include "amiparam/AmiParameters.h"
#include "amiparam/AmiTreeWalk.h"
#include "tools/common/ParameterFileText.h"

namespace {

// A JSON string; bytes that are not valid UTF-8 become U+FFFD.
std::string Quote(const char* text) {
  return nlohmann::json(text ? text : "").dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

void AppendLeaf(std::string& out, const AMINODE& node) {
  const AMILEAF* leaf = static_cast<const AMILEAF*>(node.body);
  out += "{\"kind\":\"leaf\",\"name\":" + Quote(leaf->name) + ",\"level\":" + std::to_string(node.level) +
         ",\"property\":" + std::to_string(leaf->property) + ",\"values\":[";
  for (int32_t i = 0; i < leaf->value_count; ++i) {
    const AMIVALUE& value = leaf->values[i];
    if (i) out += ",";
    out += "{\"text\":" + Quote(value.text) + ",\"kind\":" + std::to_string(value.kind) +
           ",\"keyword\":" + std::to_string(value.keyword) + "}";
  }
  out += "]}";
}

// Writes NODE and everything below it without recursion: a parameter string
// may nest deeper than the call stack would allow. The text is built
// directly (no JSON value is built, dumped or destroyed, which would recurse
// as deep as the tree).
void AppendNode(std::string& out, const AMINODE& root) {
  auto open = [&out](const AMINODE& node) {
    if (!node.body) {
      out += "null";
      return false;
    }
    if (node.kind != AMINODE_BRANCH) {
      AppendLeaf(out, node);
      return false;
    }
    const AMIBRANCH* branch = static_cast<const AMIBRANCH*>(node.body);
    out += "{\"kind\":\"branch\",\"name\":" + Quote(branch->name) + ",\"level\":" + std::to_string(node.level) +
           ",\"children\":[";
    return true;
  };
  if (!open(root)) return;
  AMITREE_Walk(
      static_cast<const AMIBRANCH*>(root.body), 0,
      [&](const AMINODE& child, int32_t index, const AMIBRANCH*, int, int&) {
        if (index > 0) out += ",";
        return open(child) ? AmiWalkStep::kEnter : AmiWalkStep::kNext;
      },
      [&out](const AMIBRANCH*, int) { out += "]}"; });
}

struct TreeOptions {
  std::string text;
  std::string file;
  std::string path;
  std::string as = "double";
  bool get = false;  // --get given
};

int RunTreeOn(const TreeOptions& options) {
  std::string text = options.text;
  if (!options.file.empty()) {
    const ParameterFileRead read = ReadParameterFile(options.file, text);
    if (read != ParameterFileRead::kOk) {
      std::fprintf(stderr, "tree: %s\n", ParameterFileError(read, options.file).c_str());
      return read == ParameterFileRead::kCannotRead ? 2 : 1;
    }
  }
  if (options.get) {
    AmiParameters params(text.c_str());
    const char* path = options.path.c_str();
    bool found = false;
    if (options.as == "int") {
      int32_t value = 0;
      if ((found = params.GetInt(value, path))) std::printf("%d\n", static_cast<int>(value));
    } else if (options.as == "string") {
      char* value = nullptr;
      if ((found = params.GetString(value, path))) std::printf("%s\n", value);
      delete[] value;
    } else if (options.as == "bool") {
      bool value = false;
      if ((found = params.GetBool(value, path))) std::printf("%s\n", value ? "true" : "false");
    } else {
      double value = 0.0;
      if ((found = params.GetDouble(value, path))) std::printf("%.17g\n", value);
    }
    if (!found) std::printf("not found\n");
    return found ? 0 : 1;
  }
  AMITREE* tree = nullptr;
  int32_t result = AMITREE_Parse(text.c_str(), &tree);
  std::string json;
  try {
    json = TreeJson(result, tree);
  } catch (...) {
    AMITREE_Free(&tree);
    throw;
  }
  AMITREE_Free(&tree);
  std::printf("%s\n", json.c_str());
  return result == AMITREE_OK ? 0 : 1;
}

int RunTree(const TreeOptions& options) {
  try {
    return RunTreeOn(options);
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "tree: out of memory\n");
    return 1;
  }
}

}  // namespace

std::string TreeJson(int32_t result, const AMITREE* tree) {
  std::string out = "{\"result\":" + std::to_string(result);
  if (result == AMITREE_OK && tree && tree->nodes && tree->slots > 0) {
    out += ",\"slots\":" + std::to_string(tree->slots) + ",\"root\":";
    AppendNode(out, tree->nodes[0]);
  }
  out += "}";
  return out;
}

void AddTreeCommand(CLI::App& app, std::function<int()>& action) {
  auto options = std::make_shared<TreeOptions>();
  CLI::App* cmd = app.add_subcommand("tree", "Parse an AMI parameter string and print its tree as JSON");
  CLI::Option* text = cmd->add_option("text", options->text, "The parameter string, e.g. \"(model (a 1))\"");
  CLI::Option* file =
      cmd->add_option("-f,--file", options->file, "Read the parameter string from FILE")->check(CLI::ExistingFile);
  text->excludes(file);
  CLI::Option* get = cmd->add_option("--get", options->path, "Print the value at the dotted PATH instead");
  cmd->add_option("--as", options->as, "Type to read the value as (default double)")
      ->check(CLI::IsMember({"double", "int", "string", "bool"}))
      ->needs(get);
  cmd->callback([&action, options, text, file, get] {
    if (text->count() == 0 && file->count() == 0) {
      throw CLI::RequiredError("TEXT or --file");
    }
    options->get = get->count() > 0;
    action = [options] { return RunTree(*options); };
  });
}

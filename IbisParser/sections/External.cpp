#include "IbisParser/sections/External.h"
#include "IbisParser/base/RecordList.h"

#include "IbisParser/base/CmnWords.h"
#include "IbisParser/base/IbisVersion.h"
#include "IbisParser/base/KeywordTables.h"
#include "IbisParser/base/NamedFile.h"
#include "IbisParser/base/ParseContext.h"
#include "IbisParser/rules/RuleReport.h"
#include "amiparam/Msg.h"

namespace {

// Languages of [External Model] and [External Circuit], with the release
// that allows each (IBIS 4.1 multi-lingual model extensions; IBIS-ISS and
// Touchstone added later).
struct Language {
  const char* name;
  int since;
};
constexpr Language kLanguages[] = {
    {"SPICE", IBIS_RELEASE_42},      {"VHDL-AMS", IBIS_RELEASE_42},      {"Verilog-AMS", IBIS_RELEASE_42},
    {"VHDL-A(MS)", IBIS_RELEASE_42}, {"Verilog-A(MS)", IBIS_RELEASE_42}, {"IBIS-ISS", IBIS_RELEASE_51},
    {"Touchstone", IBIS_RELEASE_60},
};

// The languages the file's version allows, for the message.
std::string AllowedLanguages(PARSE_CONTEXT& ctx) {
  std::string list;
  for (const Language& l : kLanguages)
    if (ctx.ibisRelease >= l.since) list += (list.empty() ? "" : ", ") + std::string(l.name);
  return list;
}

const char* KeywordOf(const EXTERNAL* ext) { return ext->circuit ? "External Circuit" : "External Model"; }

void Open(PARSE_CONTEXT& ctx, bool circuit, const std::string& name) {
  EXTERNAL* ext = new EXTERNAL();
  ext->circuit = circuit;
  ext->name = name;
  ext->line = gulLineNumber;
  LIST_Append(&ctx.externals, &ctx.lastExternal, ext);
  ctx.external = ext;
}

// A subparameter line of the open block.
void DataLine(PARSE_CONTEXT& ctx, EXTERNAL* ext, const char* text) {
  std::vector<std::string> words = LINE_Words(text);
  if (words.empty()) return;
  const char* keyword = KeywordOf(ext);
  const std::string& sub = words[0];
  if (CMN_EqualNoCase(sub.c_str(), "Language")) {
    if (++ext->languageCount > 1) CHECK_Report(5605, keyword, "Language");
    const std::string value = words.size() > 1 ? words[1] : std::string();
    bool legal = false;
    for (const Language& l : kLanguages)
      legal = legal || (CMN_EqualNoCase(value.c_str(), l.name) && ctx.ibisRelease >= l.since);
    if (!legal || words.size() != 2) CHECK_Report(5601, keyword, value.c_str(), AllowedLanguages(ctx).c_str());
    if (ext->language.empty()) ext->language = value;
  } else if (CMN_EqualNoCase(sub.c_str(), "Corner")) {
    // Corner corner_name file_name circuit_name, corner_name Typ, Min or Max.
    if (words.size() != 4) {
      CHECK_Report(5603, keyword, static_cast<int>(words.size()));
      if (words.size() < 3) return;
    }
    const std::string& corner = words[1];
    if (!CMN_EqualNoCase(corner.c_str(), "Typ") && !CMN_EqualNoCase(corner.c_str(), "Min") &&
        !CMN_EqualNoCase(corner.c_str(), "Max")) {
      CHECK_Report(5602, keyword, corner.c_str());
      return;
    }
    for (const NAME_AT& c : ext->corners)
      if (CMN_EqualNoCase(c.name.c_str(), corner.c_str())) {
        CHECK_Report(5605, keyword, ("Corner " + corner).c_str());
        return;
      }
    ext->corners.push_back({corner, gulLineNumber});
    ext->cornerFiles.push_back(words[2]);
    if (NAMED_Kind(ctx.where.dir, words[2], nullptr) != NAMED_FILE) CHECK_Report(5604, keyword, words[2].c_str());
  } else if (CMN_EqualNoCase(sub.c_str(), "Ports")) {
    ++ext->portsCount;
    ext->ports.insert(ext->ports.end(), words.begin() + 1, words.end());
  }
}

// A block ends: Language and a Typ corner are required in both; an
// [External Circuit] also declares its Ports (IBIS 4.1 multi-lingual model
// extensions).
void Close(PARSE_CONTEXT& ctx, EXTERNAL* ext) {
  const char* keyword = KeywordOf(ext);
  const char* name = ext->name.c_str();
  if (!ext->languageCount) CHECK_ReportAt(ext->line, 5600, keyword, name, "Language");
  bool typ = false;
  for (const NAME_AT& c : ext->corners) typ = typ || CMN_EqualNoCase(c.name.c_str(), "Typ");
  if (!typ) CHECK_ReportAt(ext->line, 5600, keyword, name, "Corner Typ");
  if (ext->circuit && !ext->portsCount) CHECK_ReportAt(ext->line, 5600, keyword, name, "Ports");
  if (!ext->ended) CHECK_ReportAt(ext->line, 5606, keyword, name, keyword);
  ctx.external = nullptr;
}

}  // namespace

void EXT_ModelLine(PARSE_CONTEXT& ctx, const char* model, int kind, int id, const char* text) {
  if (kind == PARSE_LINE_KEYWORD && id == KEY_EXTERNAL_MODEL) {
    if (ctx.external) Close(ctx, ctx.external);
    Open(ctx, false, model ? model : "");
    return;
  }
  EXTERNAL* ext = ctx.external;
  if (!ext || ext->circuit) return;
  if (kind == PARSE_LINE_KEYWORD && id == KEY_END_EXTERNAL_MODEL) {
    ext->ended = true;
    Close(ctx, ext);
    return;
  }
  if (kind == PARSE_LINE_DATA) DataLine(ctx, ext, text);
}

void EXT_ModelEnd(PARSE_CONTEXT& ctx) {
  if (ctx.external && !ctx.external->circuit) Close(ctx, ctx.external);
}

void EXT_CircuitBegin(PARSE_CONTEXT& ctx) {
  if (ctx.external) Close(ctx, ctx.external);
  Open(ctx, true, std::string());
}

void EXT_CircuitLine(PARSE_CONTEXT& ctx, int kind, int id, const char* text) {
  EXTERNAL* ext = ctx.external;
  if (!ext || !ext->circuit) return;
  if (kind == PARSE_LINE_KEYWORD && id == KEY_EXTERNAL_CIRCUIT) {
    std::vector<std::string> words = LINE_Words(KEY_AfterKeyword(text));
    if (words.empty())
      CHECK_Report(5500, "External Circuit");
    else
      ext->name = words[0];
    ext->line = gulLineNumber;
  } else if (kind == PARSE_LINE_KEYWORD && id == KEY_END_EXTERNAL_CIRCUIT) {
    ext->ended = true;
  } else if (kind == PARSE_LINE_DATA) {
    if (ext->ended)
      CHECK_Report(5428, "Data", "End External Circuit", "external circuit");
    else
      DataLine(ctx, ext, text);
  }
}

void EXT_CircuitEnd(PARSE_CONTEXT& ctx) {
  if (ctx.external && ctx.external->circuit) Close(ctx, ctx.external);
}

const EXTERNAL* EXT_FindCircuit(const EXTERNAL* list, const std::string& name) {
  for (const EXTERNAL* e = list; e; e = e->next)
    if (e->circuit && e->name == name) return e;
  return nullptr;
}

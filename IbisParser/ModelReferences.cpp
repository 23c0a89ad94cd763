#include "IbisParser/ModelReferences.h"

#include <string>
#include <unordered_map>
#include <unordered_set>

#include "IbisParser/LineWords.h"
#include "IbisParser/Model.h"
#include "IbisParser/ModelData.h"
#include "IbisParser/ModelKeywords.h"
#include "IbisParser/RuleReport.h"
#include "amiparam/Msg.h"

std::string MODREF_Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

void MODREF_CheckFile(const MODEL* models, const SUBMODEL* submodels) {
  // Model names are unique in a file (IBIS 2.1 §6 [Model]; names compare
  // without regard to case, as the pins' references to them do).
  std::unordered_map<std::string, const MODEL*> byName;
  for (const MODEL* m = models; m; m = m->next) {
    if (!m->name) continue;
    auto first = byName.emplace(MODREF_Lower(m->name), m);
    if (!first.second) CHECK_ReportAt(m->line, 5114, m->name, static_cast<int>(first.first->second->line));
  }
  std::unordered_set<std::string> submodelNames;
  for (const SUBMODEL* s = submodels; s; s = s->next) submodelNames.insert(MODREF_Lower(s->name));
  for (const MODEL* m = models; m; m = m->next) {
    if (!m->data) continue;
    const char* owner = m->name ? m->name : "";
    // IBIS 3.2 §6 [Driver Schedule]: each row names a [Model] of the file
    // whose type drives the pin.
    for (const SCHEDULE_ROW& row : m->data->schedule) {
      auto found = byName.find(MODREF_Lower(row.model));
      if (found == byName.end()) {
        CHECK_ReportAt(row.line, 5231, owner, row.model.c_str());
        continue;
      }
      const std::string type = MODKEY_Type(found->second);
      if (!type.empty() && !MODKEY_Drives(type.c_str()))
        CHECK_ReportAt(row.line, 5232, owner, row.model.c_str(), type.c_str());
    }
    // IBIS 3.2 §6a [Add Submodel]: each row names a [Submodel] of the file.
    for (const ADD_SUBMODEL_ROW& row : m->data->addSubmodels)
      if (!submodelNames.count(MODREF_Lower(row.submodel))) CHECK_ReportAt(row.line, 5241, owner, row.submodel.c_str());
  }
}

#include "IbisParser/passes/ModelReferences.h"

#include <string>
#include <unordered_map>
#include <unordered_set>

#include "IbisParser/base/LineWords.h"
#include "IbisParser/records/ModelData.h"
#include "IbisParser/rules/RuleReport.h"
#include "IbisParser/sections/Model.h"
#include "IbisParser/sections/ModelKeywords.h"
#include "amiparam/Msg.h"

void MODREF_CheckFile(const MODEL* models, const SUBMODEL* submodels) {
  // Model names are unique in a file (IBIS 2.1 §6 [Model]; names compare
  // without regard to case, as the pins' references to them do).
  std::unordered_map<std::string, const MODEL*> byName;
  for (const MODEL* m = models; m; m = m->next) {
    if (!m->name) continue;
    auto first = byName.emplace(LINE_Lower(m->name), m);
    if (!first.second) CHECK_ReportAt(m->line, 5114, m->name, static_cast<int>(first.first->second->line));
  }
  std::unordered_set<std::string> submodelNames;
  for (const SUBMODEL* s = submodels; s; s = s->next) submodelNames.insert(LINE_Lower(s->name));
  for (const MODEL* m = models; m; m = m->next) {
    if (!m->data) continue;
    const char* owner = m->name ? m->name : "";
    // IBIS 3.2 §6 [Driver Schedule]: each row names a [Model] of the file
    // whose type drives the pin.
    for (const SCHEDULE_ROW& row : m->data->schedule) {
      auto found = byName.find(LINE_Lower(row.model));
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
      if (!submodelNames.count(LINE_Lower(row.submodel))) CHECK_ReportAt(row.line, 5241, owner, row.submodel.c_str());
  }
}

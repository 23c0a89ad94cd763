#include "IbisParser/passes/FilePasses.h"

#include <vector>

#include "IbisParser/ami/AlgMod.h"
#include "IbisParser/base/ParseContext.h"
#include "IbisParser/passes/ModelConsistency.h"
#include "IbisParser/passes/ModelPairings.h"
#include "IbisParser/passes/ModelReferences.h"
#include "IbisParser/passes/QualityNotes.h"
#include "IbisParser/passes/References.h"
#include "IbisParser/passes/Relations.h"
#include "IbisParser/sections/ComponentLinks.h"
#include "IbisParser/sections/Model.h"
#include "IbisParser/sections/TestData.h"

namespace {

// Each model's [Algorithmic Model] files, then the models' references,
// consistency and test data.
void CheckModels(PARSE_CONTEXT& ctx, MODEL* models) {
  std::vector<ALGMOD_MODEL> list;
  for (MODEL* m = models; m; m = m->next) list.push_back({m->name ? m->name : "", m->algModList});
  ALGMOD_CheckFiles(ctx, list.data(), static_cast<int>(list.size()), ctx.where.dir);
  MODREF_CheckFile(models, ctx.submodels);
  MODCONS_CheckFile(models);
  TEST_CheckFile(ctx, models);
}

}  // namespace

void PASS_CheckFile(PARSE_CONTEXT& ctx) {
  REF_CheckFile(ctx);
  LINKS_CheckFile(ctx);
  CheckModels(ctx, ctx.models);
  REL_CheckFile(ctx);
  MPAIR_CheckFile(ctx);
  QUAL_CheckFile(ctx);
}

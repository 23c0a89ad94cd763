#include "IbisParser/sections/OtherSections.h"

#include "IbisParser/base/KeywordTables.h"
#include "IbisParser/base/ParseContext.h"
#include "IbisParser/sections/BoardDescription.h"
#include "IbisParser/sections/External.h"
#include "IbisParser/sections/Interconnect.h"
#include "IbisParser/sections/ModelSelector.h"
#include "IbisParser/sections/PackageModel.h"
#include "IbisParser/sections/Submodel.h"
#include "IbisParser/sections/TestData.h"

void OTHER_Begin(PARSE_CONTEXT& ctx, int section) {
  if (section == KEY_SECTION_SUBMODEL) ctx.inSubmodel = 1;
  if (section == KEY_SECTION_SUBMODEL) SUBM_Begin(ctx);
  if (section == KEY_SECTION_MODEL_SELECTOR) SEL_Begin(ctx);
  if (section == KEY_SECTION_PACKAGE_MODEL) PKGM_Begin(ctx);
  if (section == KEY_SECTION_BOARD) EBD_Begin(ctx);
  if (section == KEY_SECTION_EXTERNAL_CIRCUIT) EXT_CircuitBegin(ctx);
  if (section == KEY_SECTION_INTERCONNECT) ICM_Begin(ctx);
}

void OTHER_Line(PARSE_CONTEXT& ctx, int section, int kind, int id, const char* text) {
  if (section == KEY_SECTION_MODEL_SELECTOR) SEL_Line(ctx, kind, text);
  if (section == KEY_SECTION_SUBMODEL) SUBM_Line(ctx, kind, id, text);
  if (section == KEY_SECTION_TEST_DATA || section == KEY_SECTION_TEST_LOAD)
    TEST_Line(ctx, section == KEY_SECTION_TEST_LOAD, kind, id, text);
  if (section == KEY_SECTION_PACKAGE_MODEL) PKGM_Line(ctx, kind, id, text);
  if (section == KEY_SECTION_BOARD) EBD_Line(ctx, kind, id, text);
  if (section == KEY_SECTION_EXTERNAL_CIRCUIT) EXT_CircuitLine(ctx, kind, id, text);
  if (section == KEY_SECTION_INTERCONNECT) ICM_Line(ctx, kind, id, text);
}

int OTHER_End(PARSE_CONTEXT& ctx, int section, int nextId) {
  if (KEY_SectionOf(nextId) == section && !KEY_OpensSection(nextId)) return 0;
  if (section == KEY_SECTION_SUBMODEL) ctx.inSubmodel = 0;
  if (section == KEY_SECTION_SUBMODEL) SUBM_End(ctx);
  if (section == KEY_SECTION_MODEL_SELECTOR) SEL_End(ctx);
  if (section == KEY_SECTION_PACKAGE_MODEL) PKGM_End(ctx);
  if (section == KEY_SECTION_BOARD) EBD_End(ctx);
  if (section == KEY_SECTION_EXTERNAL_CIRCUIT) EXT_CircuitEnd(ctx);
  if (section == KEY_SECTION_INTERCONNECT) ICM_End(ctx);
  return 1;
}

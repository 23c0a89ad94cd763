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

void OTHER_Begin(int section) {
  if (section == KEY_SECTION_SUBMODEL) gParse.inSubmodel = 1;
  if (section == KEY_SECTION_SUBMODEL) SUBM_Begin();
  if (section == KEY_SECTION_MODEL_SELECTOR) SEL_Begin();
  if (section == KEY_SECTION_PACKAGE_MODEL) PKGM_Begin();
  if (section == KEY_SECTION_BOARD) EBD_Begin();
  if (section == KEY_SECTION_EXTERNAL_CIRCUIT) EXT_CircuitBegin();
  if (section == KEY_SECTION_INTERCONNECT) ICM_Begin();
}

void OTHER_Line(int section, int kind, int id, const char* text) {
  if (section == KEY_SECTION_MODEL_SELECTOR) SEL_Line(kind, text);
  if (section == KEY_SECTION_SUBMODEL) SUBM_Line(kind, id, text);
  if (section == KEY_SECTION_TEST_DATA || section == KEY_SECTION_TEST_LOAD)
    TEST_Line(section == KEY_SECTION_TEST_LOAD, kind, id, text);
  if (section == KEY_SECTION_PACKAGE_MODEL) PKGM_Line(kind, id, text);
  if (section == KEY_SECTION_BOARD) EBD_Line(kind, id, text);
  if (section == KEY_SECTION_EXTERNAL_CIRCUIT) EXT_CircuitLine(kind, id, text);
  if (section == KEY_SECTION_INTERCONNECT) ICM_Line(kind, id, text);
}

int OTHER_End(int section, int nextId) {
  if (KEY_SectionOf(nextId) == section && !KEY_OpensSection(nextId)) return 0;
  if (section == KEY_SECTION_SUBMODEL) gParse.inSubmodel = 0;
  if (section == KEY_SECTION_SUBMODEL) SUBM_End();
  if (section == KEY_SECTION_MODEL_SELECTOR) SEL_End();
  if (section == KEY_SECTION_PACKAGE_MODEL) PKGM_End();
  if (section == KEY_SECTION_BOARD) EBD_End();
  if (section == KEY_SECTION_EXTERNAL_CIRCUIT) EXT_CircuitEnd();
  if (section == KEY_SECTION_INTERCONNECT) ICM_End();
  return 1;
}

#include "IbisParser/OtherSections.h"

#include "IbisParser/KeywordTables.h"
#include "IbisParser/ModelSelector.h"
#include "IbisParser/Parse.h"
#include "IbisParser/Submodel.h"
#include "IbisParser/TestData.h"

void OTHER_Begin(int section) {
  if (section == KEY_SECTION_SUBMODEL) gParse.inSubmodel = 1;
  if (section == KEY_SECTION_SUBMODEL) SUBM_Begin();
  if (section == KEY_SECTION_MODEL_SELECTOR) SEL_Begin();
}

void OTHER_Line(int section, int kind, int id, const char* text) {
  if (section == KEY_SECTION_MODEL_SELECTOR) SEL_Line(kind, text);
  if (section == KEY_SECTION_SUBMODEL) SUBM_Line(kind, id, text);
  if (section == KEY_SECTION_TEST_DATA || section == KEY_SECTION_TEST_LOAD)
    TEST_Line(section == KEY_SECTION_TEST_LOAD, kind, id, text);
}

int OTHER_End(int section, int nextId) {
  if (KEY_SectionOf(nextId) == section && !KEY_OpensSection(nextId)) return 0;
  if (section == KEY_SECTION_SUBMODEL) gParse.inSubmodel = 0;
  if (section == KEY_SECTION_SUBMODEL) SUBM_End();
  if (section == KEY_SECTION_MODEL_SELECTOR) SEL_End();
  return 1;
}
